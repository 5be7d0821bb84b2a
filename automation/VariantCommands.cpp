// AssignVariant, VariantToText, VariantToByteSet, CopyVariant and
// ClearVariant.

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "automation/AutomationCommands.h"
#include "automation/AutomationError.h"
#include "automation/ValueConversion.h"
#include "automation/VariantIndex.h"
#include "platform/codepage/CodePage.h"
#include "platform/com/Bstr.h"
#include "platform/com/SafeArray.h"
#include "platform/com/VariantApi.h"
#include "runtime/RuntimeHeap.h"
#include "runtime/ValueHelpers.h"
#include "runtime/commands/CommandArguments.h"
#include "runtime/commands/ValueConversion.h"

namespace vellumry::automation {
namespace {

using runtime::commands::Arguments;

VARIANT* VariantArgument(const Arguments& arguments, std::int32_t i)
{
    return VariantOf(ArgumentValue(arguments.At(i)));
}

// The optional 1-based index argument.
std::optional<long long> IndexArgument(const Arguments& arguments, std::int32_t i)
{
    TypedValue index = ArgumentValue(arguments.At(i));
    if (index.tag == runtime::kNoType)
        return std::nullopt;
    return runtime::commands::IntegerOf(index);
}

// The element `position` of the array a variant holds, or the variant
// itself when it holds no array or no index is given. Null when the
// position lies outside the array.
const VARIANT* Selected(const VARIANT& variant, std::optional<long long> position, com::ScopedVariant& element)
{
    SAFEARRAY* array = ArrayIn(variant);
    if (!position || !array)
        return &variant;
    std::vector<LONG> indices(array->cDims);
    VARTYPE type = VT_EMPTY;
    if (!IndexesFromPosition(array, *position, indices.data()) || FAILED(SafeArrayGetVartype(array, &type)))
        return nullptr;
    if (type == VT_VARIANT) {
        if (FAILED(SafeArrayGetElement(array, indices.data(), element.Ptr())))
            return nullptr;
    } else {
        if (FAILED(SafeArrayGetElement(array, indices.data(), &element->llVal)))
            return nullptr;
        element->vt = type;
    }
    return element.Ptr();
}

// The variant argument, or the element its index argument names.
const VARIANT* SelectedArgument(const Arguments& arguments, com::ScopedVariant& element)
{
    VARIANT* variant = VariantArgument(arguments, 0);
    return variant ? Selected(*variant, IndexArgument(arguments, 1), element) : nullptr;
}

bool StoreElement(VARIANT& variant, long long position, const TypedValue& value)
{
    SAFEARRAY* array = ArrayIn(variant);
    if (!array)
        return false;
    std::vector<LONG> indices(array->cDims);
    VARTYPE type = VT_EMPTY;
    if (!IndexesFromPosition(array, position, indices.data()) || FAILED(SafeArrayGetVartype(array, &type)))
        return false;
    com::ScopedVariant converted;
    if (ToStoredVariant(value, converted.Ptr()) != kAutomationOk)
        return false;
    if (type == VT_VARIANT)
        return SUCCEEDED(SafeArrayPutElement(array, indices.data(), converted.Ptr()));
    if (FAILED(VariantChangeType(converted.Ptr(), converted.Ptr(), 0, type)))
        return false;
    // Strings and interfaces go in as the pointer itself, others by address.
    bool pointer = type == VT_BSTR || type == VT_UNKNOWN || type == VT_DISPATCH;
    return SUCCEEDED(SafeArrayPutElement(array, indices.data(), pointer ? converted->byref : &converted->llVal));
}

}  // namespace

void AssignVariant(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments a(count, arguments);
    VARIANT* variant = VariantArgument(a, 0);
    TypedValue value = ArgumentValue(a.At(1));
    bool stored = false;
    if (variant) {
        if (std::optional<long long> position = IndexArgument(a, 2)) {
            stored = StoreElement(*variant, *position, value);
        } else {
            // Converted before the variant is cleared: it may be its own source.
            com::ScopedVariant converted;
            stored = ToStoredVariant(value, converted.Ptr()) == kAutomationOk;
            VariantClear(variant);
            if (stored)
                *variant = converted.Release();
        }
    }
    *result = TypedValue::OfBool(stored);
}

void VariantToText(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    *result = TypedValue::OfPointer(runtime::kTextType, nullptr);
    com::ScopedVariant element;
    const VARIANT* source = SelectedArgument(Arguments(count, arguments), element);
    com::ScopedVariant text;
    if (!source || FAILED(VariantChangeType(text.Ptr(), source, 0, VT_BSTR)))
        return;
    std::string gbk = codepage::Utf16ToGbk(com::BstrView(text->bstrVal));
    *result = TypedValue::OfPointer(runtime::kTextType, runtime::MakeTextOrNull(gbk));
}

void VariantToByteSet(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    *result = TypedValue::OfPointer(runtime::kByteSetType, nullptr);
    com::ScopedVariant element;
    const VARIANT* source = SelectedArgument(Arguments(count, arguments), element);
    SAFEARRAY* array = source ? ArrayIn(*source) : nullptr;
    VARTYPE type = VT_EMPTY;
    if (!array || FAILED(SafeArrayGetVartype(array, &type)) || (type != VT_UI1 && type != VT_I1) || !array->pvData)
        return;
    std::size_t size = com::SafeArrayElementCount(array);
    if (size > static_cast<std::size_t>(runtime::kMaxBlockSize))
        return;
    auto* bytes = static_cast<const std::uint8_t*>(array->pvData);
    *result = TypedValue::OfPointer(runtime::kByteSetType, runtime::MakeByteSet({bytes, size}));
}

void CopyVariant(TypedValue*, std::int32_t count, const TypedValue* arguments)
{
    Arguments a(count, arguments);
    VARIANT* target = VariantArgument(a, 0);
    VARIANT* source = VariantArgument(a, 1);
    if (!target || target == source)
        return;
    std::memset(target, 0, sizeof *target);
    if (source)
        VariantCopy(target, source);
}

void ClearVariant(TypedValue*, std::int32_t count, const TypedValue* arguments)
{
    VARIANT* variant = VariantArgument(Arguments(count, arguments), 0);
    if (!variant)
        return;
    VariantClear(variant);
    std::memset(variant, 0, sizeof *variant);
}

}  // namespace vellumry::automation
