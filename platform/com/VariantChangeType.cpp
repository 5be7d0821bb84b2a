// VariantChangeType and VariantChangeTypeEx; what they do is described in
// VariantApi.h.

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/com/Bstr.h"
#include "platform/com/Dispatch.h"
#include "platform/com/Ref.h"
#include "platform/com/VariantApi.h"
#include "platform/com/private/VariantText.h"

namespace vellumry::com {
namespace {

// 1 January 100 and the day after 31 December 9999.
constexpr double kFirstDate = -657434.0;
constexpr double kEndDate = 2958466.0;

// A source value read once, whatever its variant type.
struct Scalar {
    enum class Kind { Empty, Null, Signed, Unsigned, Real, Bool, Text, Error, Object } kind = Kind::Empty;
    std::int64_t signedValue = 0;
    std::uint64_t unsignedValue = 0;
    double real = 0;
    std::u16string_view text;
};

Scalar Read(const VARIANT& value)
{
    Scalar s;
    auto setSigned = [&](std::int64_t v) {
        s.kind = Scalar::Kind::Signed;
        s.signedValue = v;
    };
    auto setUnsigned = [&](std::uint64_t v) {
        s.kind = Scalar::Kind::Unsigned;
        s.unsignedValue = v;
    };
    auto setReal = [&](double v) {
        s.kind = Scalar::Kind::Real;
        s.real = v;
    };
    switch (value.vt) {
    case VT_EMPTY: s.kind = Scalar::Kind::Empty; break;
    case VT_NULL: s.kind = Scalar::Kind::Null; break;
    case VT_I1: setSigned(static_cast<signed char>(value.cVal)); break;
    case VT_I2: setSigned(value.iVal); break;
    case VT_I4:
    case VT_INT: setSigned(value.lVal); break;
    case VT_I8: setSigned(value.llVal); break;
    case VT_UI1: setUnsigned(value.bVal); break;
    case VT_UI2: setUnsigned(value.uiVal); break;
    case VT_UI4:
    case VT_UINT: setUnsigned(value.ulVal); break;
    case VT_UI8: setUnsigned(value.ullVal); break;
    case VT_R4: setReal(value.fltVal); break;
    case VT_R8:
    case VT_DATE: setReal(value.dblVal); break;
    case VT_BOOL:
        s.kind = Scalar::Kind::Bool;
        s.signedValue = value.boolVal ? -1 : 0;
        break;
    case VT_BSTR:
        s.kind = Scalar::Kind::Text;
        s.text = BstrView(value.bstrVal);
        break;
    case VT_ERROR: s.kind = Scalar::Kind::Error; break;
    default: s.kind = Scalar::Kind::Object; break;
    }
    return s;
}

// The range of an integer type as signed/unsigned limits.
void IntegerRange(VARTYPE vt, std::int64_t* low, std::uint64_t* high)
{
    switch (vt) {
    case VT_I1: *low = INT8_MIN, *high = INT8_MAX; return;
    case VT_UI1: *low = 0, *high = UINT8_MAX; return;
    case VT_I2: *low = INT16_MIN, *high = INT16_MAX; return;
    case VT_UI2: *low = 0, *high = UINT16_MAX; return;
    case VT_I4:
    case VT_INT: *low = INT32_MIN, *high = INT32_MAX; return;
    case VT_UI4:
    case VT_UINT: *low = 0, *high = UINT32_MAX; return;
    case VT_I8: *low = INT64_MIN, *high = INT64_MAX; return;
    default: *low = 0, *high = UINT64_MAX; return;
    }
}

// A double rounded half to even, as a signed or unsigned 64-bit value when it
// fits the target's range.
HRESULT RoundToInteger(double value, VARTYPE vt, std::int64_t* signedValue, std::uint64_t* unsignedValue,
                       bool* negative)
{
    if (!std::isfinite(value))
        return DISP_E_OVERFLOW;
    double rounded = std::nearbyint(value);  // the default mode rounds half to even
    if (std::fegetround() != FE_TONEAREST) {
        double whole = std::floor(value);
        double rest = value - whole;
        rounded = rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0) ? whole + 1 : whole;
    }
    std::int64_t low;
    std::uint64_t high;
    IntegerRange(vt, &low, &high);
    if (rounded < static_cast<double>(low) || rounded > static_cast<double>(high) ||
        rounded >= 18446744073709551616.0 || rounded < -9223372036854775808.0)
        return DISP_E_OVERFLOW;
    *negative = rounded < 0;
    if (*negative)
        *signedValue = static_cast<std::int64_t>(rounded);
    else
        *unsignedValue = static_cast<std::uint64_t>(rounded);
    return S_OK;
}

HRESULT StoreInteger(VARIANT& out, VARTYPE vt, bool negative, std::int64_t signedValue, std::uint64_t unsignedValue)
{
    std::int64_t low;
    std::uint64_t high;
    IntegerRange(vt, &low, &high);
    if (negative ? signedValue < low : unsignedValue > high)
        return DISP_E_OVERFLOW;
    std::uint64_t bits = negative ? static_cast<std::uint64_t>(signedValue) : unsignedValue;
    out.vt = vt;
    out.llVal = 0;
    switch (vt) {
    case VT_I1: out.cVal = static_cast<char>(bits); break;
    case VT_UI1: out.bVal = static_cast<BYTE>(bits); break;
    case VT_I2: out.iVal = static_cast<SHORT>(bits); break;
    case VT_UI2: out.uiVal = static_cast<USHORT>(bits); break;
    case VT_I4:
    case VT_INT: out.lVal = static_cast<LONG>(bits); break;
    case VT_UI4:
    case VT_UINT: out.ulVal = static_cast<ULONG>(bits); break;
    default: out.ullVal = bits; break;
    }
    return S_OK;
}

HRESULT ToInteger(const Scalar& s, VARTYPE vt, VARIANT& out)
{
    switch (s.kind) {
    case Scalar::Kind::Empty: return StoreInteger(out, vt, false, 0, 0);
    case Scalar::Kind::Signed:
    case Scalar::Kind::Bool:
        // A boolean reaches an unsigned type through VT_I2, so true overflows.
        return StoreInteger(out, vt, s.signedValue < 0, s.signedValue, static_cast<std::uint64_t>(s.signedValue));
    case Scalar::Kind::Unsigned: return StoreInteger(out, vt, false, 0, s.unsignedValue);
    case Scalar::Kind::Real:
    case Scalar::Kind::Text: {
        double value = s.real;
        if (s.kind == Scalar::Kind::Text) {
            auto number = ParseNumberText(s.text);
            if (!number)
                return DISP_E_TYPEMISMATCH;
            if (number->exact)
                return StoreInteger(out, vt, number->integer < 0, number->integer,
                                    static_cast<std::uint64_t>(number->integer));
            value = number->value;
        }
        bool negative = false;
        std::int64_t signedValue = 0;
        std::uint64_t unsignedValue = 0;
        HRESULT hr = RoundToInteger(value, vt, &signedValue, &unsignedValue, &negative);
        if (FAILED(hr))
            return hr;
        return StoreInteger(out, vt, negative, signedValue, unsignedValue);
    }
    default: return DISP_E_TYPEMISMATCH;
    }
}

// The numeric value of a source for the floating types and dates.
HRESULT NumberOf(const Scalar& s, double* value)
{
    switch (s.kind) {
    case Scalar::Kind::Empty: *value = 0; return S_OK;
    case Scalar::Kind::Signed:
    case Scalar::Kind::Bool: *value = static_cast<double>(s.signedValue); return S_OK;
    case Scalar::Kind::Unsigned: *value = static_cast<double>(s.unsignedValue); return S_OK;
    case Scalar::Kind::Real: *value = s.real; return S_OK;
    case Scalar::Kind::Text: {
        auto number = ParseNumberText(s.text);
        if (!number)
            return DISP_E_TYPEMISMATCH;
        *value = number->value;
        return S_OK;
    }
    default: return DISP_E_TYPEMISMATCH;
    }
}

HRESULT ToReal(const Scalar& s, VARTYPE vt, VARIANT& out)
{
    double value = 0;
    if (vt == VT_DATE && s.kind == Scalar::Kind::Text) {
        auto date = ParseDateText(s.text);
        if (!date)
            return DISP_E_TYPEMISMATCH;
        value = *date;
    } else {
        HRESULT hr = NumberOf(s, &value);
        if (FAILED(hr))
            return hr;
    }
    out.llVal = 0;
    if (vt == VT_R4) {
        if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max())
            return DISP_E_OVERFLOW;
        out.fltVal = static_cast<float>(value);
    } else if (vt == VT_DATE) {
        if (!(value > kFirstDate - 1.0 && value < kEndDate))
            return DISP_E_OVERFLOW;
        out.date = value;
    } else {
        out.dblVal = value;
    }
    out.vt = vt;
    return S_OK;
}

HRESULT ToBool(const Scalar& s, VARIANT& out)
{
    bool value = false;
    if (s.kind == Scalar::Kind::Text) {
        if (auto word = ParseBoolText(s.text)) {
            value = *word;
        } else {
            auto number = ParseNumberText(s.text);
            if (!number)
                return DISP_E_TYPEMISMATCH;
            value = number->value != 0;
        }
    } else {
        double number = 0;
        HRESULT hr = NumberOf(s, &number);
        if (FAILED(hr))
            return hr;
        value = number != 0;
    }
    out.llVal = 0;
    out.vt = VT_BOOL;
    out.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT ToText(const Scalar& s, VARTYPE sourceType, USHORT flags, VARIANT& out)
{
    std::u16string text;
    switch (s.kind) {
    case Scalar::Kind::Empty: break;
    case Scalar::Kind::Signed: text = FormatIntegerText(s.signedValue); break;
    case Scalar::Kind::Unsigned: text = FormatUnsignedText(s.unsignedValue); break;
    case Scalar::Kind::Bool:
        if (flags & VARIANT_ALPHABOOL)
            text = s.signedValue ? u"True" : u"False";
        else
            text = s.signedValue ? u"-1" : u"0";
        break;
    case Scalar::Kind::Real:
        if (sourceType == VT_DATE) {
            auto date = FormatDateText(s.real);
            if (!date)
                return E_INVALIDARG;
            text = std::move(*date);
        } else {
            text = FormatNumberText(s.real, sourceType == VT_R4 ? 7 : 15);
        }
        break;
    default: return DISP_E_TYPEMISMATCH;
    }
    BSTR result = AllocBstr(text);
    if (!result)
        return E_OUTOFMEMORY;
    out.llVal = 0;
    out.vt = VT_BSTR;
    out.bstrVal = result;
    return S_OK;
}

HRESULT ToInterface(const VARIANT& value, VARTYPE vt, VARIANT& out)
{
    if (value.vt != VT_UNKNOWN && value.vt != VT_DISPATCH)
        return DISP_E_TYPEMISMATCH;
    out.llVal = 0;
    out.vt = vt;
    if (!value.punkVal)
        return S_OK;
    void* result = nullptr;
    if (FAILED(value.punkVal->QueryInterface(vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown, &result)))
        return DISP_E_TYPEMISMATCH;
    out.punkVal = static_cast<IUnknown*>(result);
    return S_OK;
}

// Converts a value without references or arrays to `vt`.
HRESULT ConvertValue(const VARIANT& value, VARTYPE vt, USHORT flags, VARIANT& out)
{
    Scalar s = Read(value);
    switch (vt) {
    case VT_EMPTY: VariantInit(&out); return S_OK;
    case VT_NULL:
    case VT_ERROR: return DISP_E_TYPEMISMATCH;
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT: return ToInteger(s, vt, out);
    case VT_R4:
    case VT_R8:
    case VT_DATE: return ToReal(s, vt, out);
    case VT_BOOL: return ToBool(s, out);
    case VT_BSTR: return ToText(s, value.vt, flags, out);
    case VT_UNKNOWN:
    case VT_DISPATCH: return ToInterface(value, vt, out);
    default: return DISP_E_BADVARTYPE;
    }
}

// An object's value property, for conversions of an object to a plain type.
HRESULT ValueProperty(IDispatch* object, LCID lcid, VARIANT* value)
{
    if (!object)
        return DISP_E_TYPEMISMATCH;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    HRESULT hr = object->Invoke(DISPID_VALUE, IID_NULL, lcid, DISPATCH_PROPERTYGET, &none, value, nullptr, nullptr);
    if (FAILED(hr))
        return DISP_E_TYPEMISMATCH;
    if (value->vt == VT_DISPATCH || value->vt == VT_UNKNOWN || (value->vt & (VT_BYREF | VT_ARRAY)))
        return DISP_E_TYPEMISMATCH;
    return S_OK;
}

}  // namespace
}  // namespace vellumry::com

HRESULT VariantChangeTypeEx(VARIANTARG* target, const VARIANTARG* source, LCID lcid, USHORT flags, VARTYPE vt)
{
    using namespace vellumry::com;
    if (!target || !source)
        return E_INVALIDARG;
    if (!IsSupportedVariantType(vt) || (vt & VT_BYREF) || !IsSupportedVariantType(source->vt))
        return DISP_E_BADVARTYPE;
    ScopedVariant value;
    HRESULT hr = VariantCopyInd(value.Ptr(), source);
    if (FAILED(hr))
        return hr;
    if (value->vt != vt && ((value->vt & VT_ARRAY) || (vt & VT_ARRAY)))
        return DISP_E_TYPEMISMATCH;
    // An object stands for its value property, unless an interface is asked.
    if (value->vt == VT_DISPATCH && vt != VT_DISPATCH && vt != VT_UNKNOWN) {
        if (flags & VARIANT_NOVALUEPROP)
            return DISP_E_TYPEMISMATCH;
        ScopedVariant property;
        hr = ValueProperty(value->pdispVal, lcid, property.Ptr());
        if (FAILED(hr))
            return hr;
        VariantClear(value.Ptr());
        value.Get() = property.Release();
    }
    ScopedVariant result;
    if (value->vt == vt) {
        result.Get() = value.Release();
    } else {
        hr = ConvertValue(value.Get(), vt, flags, result.Get());
        if (FAILED(hr)) {
            VariantInit(result.Ptr());  // nothing was made
            return hr;
        }
    }
    hr = VariantClear(target);
    if (FAILED(hr))
        return hr;
    *target = result.Release();
    return S_OK;
}

HRESULT VariantChangeType(VARIANTARG* target, const VARIANTARG* source, USHORT flags, VARTYPE vt)
{
    return VariantChangeTypeEx(target, source, LOCALE_USER_DEFAULT, flags, vt);
}
