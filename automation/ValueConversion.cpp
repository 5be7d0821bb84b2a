#include "automation/ValueConversion.h"

#include <cstring>
#include <string>

#include "automation/AutomationError.h"
#include "platform/codepage/CodePage.h"
#include "platform/com/Bstr.h"
#include "platform/com/Dispatch.h"
#include "platform/com/Ref.h"
#include "platform/com/ByteArray.h"
#include "platform/com/SafeArray.h"
#include "platform/com/VariantApi.h"
#include "runtime/RuntimeHeap.h"
#include "runtime/ValueHelpers.h"
#include "runtime/Values.h"

namespace vellumry::automation {
namespace {

using runtime::DataTypeTag;
using runtime::TypedValue;

// Bytes a variable of `type` occupies (pointer-sized for the heap types).
std::size_t VariableSize(DataTypeTag type)
{
    switch (type) {
    case runtime::kByteType: return 1;
    case runtime::kShortType: return 2;
    case runtime::kIntType:
    case runtime::kFloatType:
    case runtime::kBoolType:
    case runtime::kSubroutineType: return 4;
    case runtime::kLongType:
    case runtime::kDoubleType:
    case runtime::kDateTimeType:
    case runtime::kTwoWordType: return 8;
    case runtime::kTextType:
    case runtime::kByteSetType:
    case runtime::kComObjectType:
    case runtime::kVariantType: return sizeof(void*);
    default: return 0;
    }
}

template <typename T>
T Load(const void* address)
{
    T value;
    std::memcpy(&value, address, sizeof value);
    return value;
}

template <typename T>
void StoreAt(void* address, T value)
{
    std::memcpy(address, &value, sizeof value);
}

std::int32_t TextToVariant(std::string_view gbk, VARIANT* out)
{
    // Straight into the BSTR, which a GBK text never outgrows in units.
    BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(gbk.size()));
    if (!text)
        return kOtherFailure;
    std::size_t units = codepage::GbkToUtf16(gbk, text);
    if (units != gbk.size() && !SysReAllocStringLen(&text, text, static_cast<UINT>(units))) {
        SysFreeString(text);
        return kOtherFailure;
    }
    out->vt = VT_BSTR;
    out->bstrVal = text;
    return kAutomationOk;
}

// A copy of `source` with references resolved, changed to `vt`.
bool ChangedCopy(const VARIANT& source, VARTYPE vt, com::ScopedVariant& out)
{
    com::ScopedVariant copy;
    if (FAILED(VariantCopyInd(copy.Ptr(), &source)))
        return false;
    return SUCCEEDED(VariantChangeType(out.Ptr(), copy.Ptr(), 0, vt));
}

}  // namespace

TypedValue ArgumentValue(const TypedValue& argument)
{
    if (!runtime::IsByReference(argument.tag))
        return argument;
    DataTypeTag type = runtime::WithoutReference(argument.tag);
    const void* address = argument.Pointer<const void>();
    if (!address)
        return TypedValue();
    TypedValue value;
    value.tag = type;
    std::uint64_t bits = 0;
    std::size_t size = VariableSize(type);
    std::memcpy(&bits, address, size);
    // Narrow integers are widened as their payload forms are.
    if (type == runtime::kShortType)
        bits = static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int16_t>(bits)));
    value.SetPayload(bits);
    return value;
}

ObjectHolder* HolderOf(const TypedValue& value)
{
    return value.tag == runtime::kComObjectType ? value.Pointer<ObjectHolder>() : nullptr;
}

VARIANT* VariantOf(const TypedValue& value)
{
    return value.tag == runtime::kVariantType ? value.Pointer<VARIANT>() : nullptr;
}

std::int32_t ToVariant(const TypedValue& value, ObjectForm objectForm, VARIANT* out)
{
    VariantInit(out);
    switch (value.tag) {
    case runtime::kComObjectType: {
        ObjectHolder* holder = HolderOf(value);
        if (holder && holder->recordData)
            return kArgumentRefused;
        IUnknown* object = holder ? holder->object : nullptr;
        if (objectForm == ObjectForm::Dispatch) {
            auto dispatch = com::Ref<IDispatch>::QueryFrom(object);
            if (dispatch || !object) {
                out->vt = VT_DISPATCH;
                out->pdispVal = dispatch.Detach();
                return kAutomationOk;
            }
        }
        out->vt = VT_UNKNOWN;
        out->punkVal = object;
        if (object)
            object->AddRef();
        return kAutomationOk;
    }
    case runtime::kVariantType: {
        const VARIANT* variant = VariantOf(value);
        if (!variant)
            return kAutomationOk;  // no block: the empty variant
        return SUCCEEDED(VariantCopyInd(out, variant)) ? kAutomationOk : kArgumentRefused;
    }
    case runtime::kBoolType:
        out->vt = VT_BOOL;
        out->boolVal = value.Bool() ? VARIANT_TRUE : VARIANT_FALSE;
        return kAutomationOk;
    case runtime::kDateTimeType:
        out->vt = VT_DATE;
        out->date = value.Double();
        return kAutomationOk;
    case runtime::kTextType: return TextToVariant(runtime::TextView(value.Pointer<const char>()), out);
    case runtime::kByteType:
        out->vt = VT_UI1;
        out->bVal = value.Byte();
        return kAutomationOk;
    case runtime::kShortType:
        out->vt = VT_I2;
        out->iVal = value.Short();
        return kAutomationOk;
    case runtime::kIntType:
    case runtime::kLongType:
        out->vt = VT_I4;
        out->lVal = static_cast<LONG>(value.low);
        return kAutomationOk;
    case runtime::kFloatType:
        out->vt = VT_R4;
        out->fltVal = value.Float();
        return kAutomationOk;
    case runtime::kDoubleType:
        out->vt = VT_R8;
        out->dblVal = value.Double();
        return kAutomationOk;
    default: return kArgumentRefused;
    }
}

std::int32_t ToStoredVariant(const TypedValue& value, VARIANT* out)
{
    if (value.tag != runtime::kByteSetType)
        return ToVariant(value, ObjectForm::Unknown, out);
    std::span<const std::uint8_t> bytes = runtime::ByteSetBytes(value.Pointer<const void>());
    return com::MakeByteArrayVariant(bytes, 1, out) ? kAutomationOk : kOtherFailure;
}

bool FromVariant(const VARIANT& source, DataTypeTag type, TypedValue* out)
{
    *out = TypedValue();
    if (type == runtime::kVariantType) {
        com::ScopedVariant copy;
        if (FAILED(VariantCopy(copy.Ptr(), &source)))
            return false;
        VARIANT* block = NewVariantBlock();
        *block = copy.Release();
        *out = TypedValue::OfPointer(type, block);
        return true;
    }
    VARTYPE wanted = VT_EMPTY;
    switch (type) {
    case runtime::kComObjectType: wanted = VT_UNKNOWN; break;
    case runtime::kBoolType: wanted = VT_BOOL; break;
    case runtime::kDateTimeType: wanted = VT_DATE; break;
    case runtime::kTextType: wanted = VT_BSTR; break;
    case runtime::kByteType: wanted = VT_UI1; break;
    case runtime::kShortType: wanted = VT_I2; break;
    case runtime::kIntType:
    case runtime::kLongType: wanted = VT_I4; break;
    case runtime::kFloatType: wanted = VT_R4; break;
    case runtime::kDoubleType: wanted = VT_R8; break;
    default: return false;
    }
    com::ScopedVariant changed;
    if (!ChangedCopy(source, wanted, changed))
        return false;
    const VARIANT& v = changed.Get();
    switch (type) {
    case runtime::kComObjectType: {
        ObjectHolder* holder = NewObjectHolder();
        holder->object = changed.Release().punkVal;
        *out = TypedValue::OfPointer(type, holder);
        return true;
    }
    case runtime::kBoolType: *out = TypedValue::OfBool(v.boolVal != VARIANT_FALSE); return true;
    case runtime::kDateTimeType: *out = TypedValue::OfDouble(v.date, runtime::kDateTimeType); return true;
    case runtime::kTextType: {
        std::string gbk = codepage::Utf16ToGbk(com::BstrView(v.bstrVal));
        *out = TypedValue::OfPointer(type, runtime::MakeTextOrNull(gbk));
        return true;
    }
    case runtime::kByteType: *out = TypedValue::OfByte(v.bVal); return true;
    case runtime::kShortType: *out = TypedValue::OfShort(v.iVal); return true;
    case runtime::kIntType: *out = TypedValue::OfInt(v.lVal); return true;
    case runtime::kLongType: *out = TypedValue::OfLong(v.lVal); return true;
    case runtime::kFloatType: *out = TypedValue::OfFloat(v.fltVal); return true;
    default: *out = TypedValue::OfDouble(v.dblVal); return true;
    }
}

bool StoreIntoVariable(const VARIANT& source, DataTypeTag type, void* address)
{
    if (!address)
        return false;
    if (type == runtime::kVariantType) {
        auto* block = Load<VARIANT*>(address);
        if (!block) {
            block = NewVariantBlock();
            StoreAt(address, block);
        }
        return SUCCEEDED(VariantCopy(block, &source));
    }
    TypedValue value;
    if (!FromVariant(source, type, &value))
        return false;
    switch (type) {
    case runtime::kComObjectType: {
        // The variable keeps its own holder; only the object changes.
        ObjectHolder* converted = value.Pointer<ObjectHolder>();
        auto* holder = Load<ObjectHolder*>(address);
        if (!holder) {
            StoreAt(address, converted);
            return true;
        }
        ClearHolder(holder);
        *holder = *converted;
        runtime::RuntimeFree(converted);
        return true;
    }
    case runtime::kTextType:
        runtime::RuntimeFree(Load<char*>(address));
        StoreAt(address, value.Pointer<char>());
        return true;
    default: {
        std::uint64_t bits = value.Payload();
        std::memcpy(address, &bits, VariableSize(type));
        return true;
    }
    }
}

TypedValue EmptyValueOf(DataTypeTag type)
{
    switch (type) {
    case runtime::kNoType: return TypedValue();
    case runtime::kComObjectType: return TypedValue::OfPointer(type, NewObjectHolder());
    case runtime::kVariantType: return TypedValue::OfPointer(type, NewVariantBlock());
    default: return TypedValue::Of(type, 0);
    }
}

}  // namespace vellumry::automation
