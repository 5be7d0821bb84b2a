#include "platform/com/ByteArray.h"

#include <cstring>
#include <limits>

#include "platform/com/SafeArray.h"
#include "platform/com/VariantApi.h"

namespace vellumry::com {

bool MakeByteArrayVariant(std::span<const std::uint8_t> bytes, LONG lowerBound, VARIANT* out)
{
    VariantInit(out);
    if (bytes.size() > std::numeric_limits<ULONG>::max())
        return false;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, lowerBound, static_cast<ULONG>(bytes.size()));
    if (array == nullptr)
        return false;
    if (!bytes.empty())
        std::memcpy(array->pvData, bytes.data(), bytes.size());
    out->vt = VT_ARRAY | VT_UI1;
    out->parray = array;
    return true;
}

}  // namespace vellumry::com
