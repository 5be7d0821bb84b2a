#include "automation/VariantIndex.h"

#include <cstdint>

namespace vellumry::automation {

SAFEARRAY* ArrayIn(const VARIANT& variant)
{
    if (!(variant.vt & VT_ARRAY))
        return nullptr;
    if (variant.vt & VT_BYREF)
        return variant.pparray ? *variant.pparray : nullptr;
    return variant.parray;
}

bool IndexesFromPosition(const SAFEARRAY* array, long long position, LONG* indices)
{
    if (!array || position < 1)
        return false;
    std::uint64_t rest = static_cast<std::uint64_t>(position - 1);
    // Dimension d (1-based, creation order) is rgsabound[cDims - d].
    for (USHORT d = 1; d <= array->cDims; ++d) {
        const SAFEARRAYBOUND& bound = array->rgsabound[array->cDims - d];
        if (bound.cElements == 0)
            return false;
        indices[d - 1] = static_cast<LONG>(bound.lLbound + static_cast<std::int64_t>(rest % bound.cElements));
        rest /= bound.cElements;
    }
    return rest == 0;
}

}  // namespace vellumry::automation
