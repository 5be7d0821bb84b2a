// VariantChangeType against the conversions the Windows documentation
// describes: numbers to text in their plain decimal form, a boolean to "-1" or
// "0" (or "True"/"False" with VARIANT_ALPHABOOL), floating values rounded half
// to even into integers, a boolean into an unsigned type through VT_I2,
// overflow and type mismatch, references read through, objects through their
// value property.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/com/Bstr.h"
#include "platform/com/DispatchObject.h"
#include "platform/com/VariantApi.h"
#include "tests/support/CaseTable.h"

namespace {

using namespace vellumry::com;
using vellumry::test::PrintTo;

VARIANT I4(LONG v)
{
    VARIANT x{};
    x.vt = VT_I4;
    x.lVal = v;
    return x;
}
VARIANT I2(SHORT v)
{
    VARIANT x{};
    x.vt = VT_I2;
    x.iVal = v;
    return x;
}
VARIANT UI1(BYTE v)
{
    VARIANT x{};
    x.vt = VT_UI1;
    x.bVal = v;
    return x;
}
VARIANT R8(double v)
{
    VARIANT x{};
    x.vt = VT_R8;
    x.dblVal = v;
    return x;
}
VARIANT R4(float v)
{
    VARIANT x{};
    x.vt = VT_R4;
    x.fltVal = v;
    return x;
}
VARIANT Bool(bool v)
{
    VARIANT x{};
    x.vt = VT_BOOL;
    x.boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
    return x;
}
VARIANT Date(double v)
{
    VARIANT x{};
    x.vt = VT_DATE;
    x.date = v;
    return x;
}
VARIANT Typed(VARTYPE vt)
{
    VARIANT x{};
    x.vt = vt;
    return x;
}
// Texts are made when a case runs (a BSTR cannot be a constant).
struct Source {
    VARIANT value{};
    const char16_t* text = nullptr;
};
Source Of(VARIANT v)
{
    return {v, nullptr};
}
Source Str(const char16_t* text)
{
    return {Typed(VT_BSTR), text};
}

struct Expected {
    HRESULT hr = S_OK;
    VARTYPE vt = VT_EMPTY;
    long long integer = 0;
    double real = 0;
    const char16_t* text = nullptr;
};
Expected Fails(HRESULT hr)
{
    return {hr};
}
Expected IsInt(VARTYPE vt, long long v)
{
    return {S_OK, vt, v};
}
Expected IsReal(VARTYPE vt, double v)
{
    return {S_OK, vt, 0, v};
}
Expected IsText(const char16_t* t)
{
    return {S_OK, VT_BSTR, 0, 0, t};
}

struct ConversionCase {
    const char* label;
    Source source;
    VARTYPE target;
    USHORT flags;
    Expected expected;
};

long long IntegerIn(const VARIANT& v)
{
    switch (v.vt) {
    case VT_I1: return static_cast<signed char>(v.cVal);
    case VT_UI1: return v.bVal;
    case VT_I2: return v.iVal;
    case VT_UI2: return v.uiVal;
    case VT_I4:
    case VT_INT: return v.lVal;
    case VT_UI4:
    case VT_UINT: return v.ulVal;
    case VT_I8: return v.llVal;
    case VT_BOOL: return v.boolVal;
    default: return static_cast<long long>(v.ullVal);
    }
}

class VariantChangeTypeConformance : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(VariantChangeTypeConformance, ConvertsAsDocumented)
{
    const ConversionCase& c = GetParam();
    ScopedVariant source;
    source.Get() = c.source.value;
    if (c.source.text)
        source->bstrVal = SysAllocString(c.source.text);
    ScopedVariant target;
    HRESULT hr = VariantChangeType(target.Ptr(), source.Ptr(), c.flags, c.target);
    ASSERT_EQ(hr, c.expected.hr) << std::hex << hr;
    if (FAILED(hr)) {
        EXPECT_EQ(target->vt, VT_EMPTY) << "a failed conversion leaves the target alone";
        return;
    }
    ASSERT_EQ(target->vt, c.expected.vt);
    if (c.expected.text)
        EXPECT_EQ(std::u16string(BstrView(target->bstrVal)), std::u16string(c.expected.text));
    else if (c.expected.vt == VT_R8 || c.expected.vt == VT_DATE)
        EXPECT_DOUBLE_EQ(target->dblVal, c.expected.real);
    else if (c.expected.vt == VT_R4)
        EXPECT_FLOAT_EQ(target->fltVal, static_cast<float>(c.expected.real));
    else
        EXPECT_EQ(IntegerIn(target.Get()), c.expected.integer);
}

INSTANTIATE_TEST_SUITE_P(
    Documented, VariantChangeTypeConformance,
    ::testing::Values(
        // Booleans to text, and back.
        ConversionCase{"TrueToTextIsMinusOne", Of(Bool(true)), VT_BSTR, 0, IsText(u"-1")},
        ConversionCase{"FalseToTextIsZero", Of(Bool(false)), VT_BSTR, 0, IsText(u"0")},
        ConversionCase{"TrueToTextAlpha", Of(Bool(true)), VT_BSTR, VARIANT_ALPHABOOL, IsText(u"True")},
        ConversionCase{"FalseToTextAlpha", Of(Bool(false)), VT_BSTR, VARIANT_ALPHABOOL, IsText(u"False")},
        ConversionCase{"TextTrueToBool", Str(u"true"), VT_BOOL, 0, IsInt(VT_BOOL, VARIANT_TRUE)},
        ConversionCase{"NumericTextToBool", Str(u"0"), VT_BOOL, 0, IsInt(VT_BOOL, VARIANT_FALSE)},
        ConversionCase{"NonZeroToBool", Of(I4(5)), VT_BOOL, 0, IsInt(VT_BOOL, VARIANT_TRUE)},
        // A boolean reaches an unsigned type through VT_I2.
        ConversionCase{"TrueToUnsignedOverflows", Of(Bool(true)), VT_UI4, 0, Fails(DISP_E_OVERFLOW)},
        ConversionCase{"TrueToSignedIsMinusOne", Of(Bool(true)), VT_I4, 0, IsInt(VT_I4, -1)},
        ConversionCase{"FalseToUnsignedIsZero", Of(Bool(false)), VT_UINT, 0, IsInt(VT_UINT, 0)},
        // Numbers to text: the plain decimal form.
        ConversionCase{"IntegerToText", Of(I4(-45)), VT_BSTR, 0, IsText(u"-45")},
        ConversionCase{"ByteToText", Of(UI1(200)), VT_BSTR, 0, IsText(u"200")},
        ConversionCase{"HalfToText", Of(R8(0.5)), VT_BSTR, 0, IsText(u"0.5")},
        ConversionCase{"WholeDoubleToText", Of(R8(3.0)), VT_BSTR, 0, IsText(u"3")},
        ConversionCase{"LargeDoubleToText", Of(R8(1e20)), VT_BSTR, 0, IsText(u"1E+20")},
        ConversionCase{"FifteenDigits", Of(R8(1.0 / 3.0)), VT_BSTR, 0, IsText(u"0.333333333333333")},
        ConversionCase{"SingleSevenDigits", Of(R4(0.1f)), VT_BSTR, 0, IsText(u"0.1")},
        // Floating values to integers: half to even.
        ConversionCase{"TwoAndAHalfToTwo", Of(R8(2.5)), VT_I4, 0, IsInt(VT_I4, 2)},
        ConversionCase{"ThreeAndAHalfToFour", Of(R8(3.5)), VT_I4, 0, IsInt(VT_I4, 4)},
        ConversionCase{"MinusTwoAndAHalf", Of(R8(-2.5)), VT_I4, 0, IsInt(VT_I4, -2)},
        ConversionCase{"BelowHalfDown", Of(R8(1.4)), VT_I2, 0, IsInt(VT_I2, 1)},
        ConversionCase{"DoubleTooLargeForLong", Of(R8(3e9)), VT_I4, 0, Fails(DISP_E_OVERFLOW)},
        // Integer ranges.
        ConversionCase{"IntegerToByteOverflows", Of(I4(300)), VT_UI1, 0, Fails(DISP_E_OVERFLOW)},
        ConversionCase{"NegativeToByteOverflows", Of(I4(-1)), VT_UI1, 0, Fails(DISP_E_OVERFLOW)},
        ConversionCase{"ShortToLong", Of(I2(-7)), VT_I4, 0, IsInt(VT_I4, -7)},
        ConversionCase{"IntegerToDouble", Of(I4(12)), VT_R8, 0, IsReal(VT_R8, 12.0)},
        // Texts to numbers.
        ConversionCase{"TextToInteger", Str(u" 123 "), VT_I4, 0, IsInt(VT_I4, 123)},
        ConversionCase{"GroupedTextToInteger", Str(u"1,000"), VT_I4, 0, IsInt(VT_I4, 1000)},
        ConversionCase{"ExponentTextToInteger", Str(u"1e3"), VT_I4, 0, IsInt(VT_I4, 1000)},
        ConversionCase{"FractionTextRoundsToEven", Str(u"2.5"), VT_I4, 0, IsInt(VT_I4, 2)},
        ConversionCase{"TextToDouble", Str(u"-0.25"), VT_R8, 0, IsReal(VT_R8, -0.25)},
        ConversionCase{"WordToInteger", Str(u"abc"), VT_I4, 0, Fails(DISP_E_TYPEMISMATCH)},
        ConversionCase{"EmptyTextToInteger", Str(u""), VT_I4, 0, Fails(DISP_E_TYPEMISMATCH)},
        ConversionCase{"HugeTextToInteger", Str(u"99999999999"), VT_I4, 0, Fails(DISP_E_OVERFLOW)},
        // Empty and null.
        ConversionCase{"EmptyToInteger", Of(Typed(VT_EMPTY)), VT_I4, 0, IsInt(VT_I4, 0)},
        ConversionCase{"EmptyToText", Of(Typed(VT_EMPTY)), VT_BSTR, 0, IsText(u"")},
        ConversionCase{"EmptyToBool", Of(Typed(VT_EMPTY)), VT_BOOL, 0, IsInt(VT_BOOL, 0)},
        ConversionCase{"NullToInteger", Of(Typed(VT_NULL)), VT_I4, 0, Fails(DISP_E_TYPEMISMATCH)},
        ConversionCase{"NullToText", Of(Typed(VT_NULL)), VT_BSTR, 0, Fails(DISP_E_TYPEMISMATCH)},
        ConversionCase{"ErrorToInteger", Of(Typed(VT_ERROR)), VT_I4, 0, Fails(DISP_E_TYPEMISMATCH)},
        // Dates.
        ConversionCase{"DateToText", Of(Date(45306.5)), VT_BSTR, 0, IsText(u"2024/1/15 12:00:00")},
        ConversionCase{"MidnightDateToText", Of(Date(45306.0)), VT_BSTR, 0, IsText(u"2024/1/15")},
        ConversionCase{"TextToDate", Str(u"2024-01-15 12:00"), VT_DATE, 0, IsReal(VT_DATE, 45306.5)},
        ConversionCase{"BadDateText", Str(u"2024/13/01"), VT_DATE, 0, Fails(DISP_E_TYPEMISMATCH)},
        ConversionCase{"DateOutOfRange", Of(R8(3e6)), VT_DATE, 0, Fails(DISP_E_OVERFLOW)},
        // Types a conversion cannot produce.
        ConversionCase{"NoSuchType", Of(I4(1)), static_cast<VARTYPE>(0x7F), 0, Fails(DISP_E_BADVARTYPE)},
        ConversionCase{"ToVoidIsBad", Of(I4(1)), VT_VOID, 0, Fails(DISP_E_BADVARTYPE)},
        ConversionCase{"ToReferenceIsBad", Of(I4(1)), VT_BYREF | VT_I4, 0, Fails(DISP_E_BADVARTYPE)},
        ConversionCase{"IntegerToObject", Of(I4(1)), VT_DISPATCH, 0, Fails(DISP_E_TYPEMISMATCH)},
        ConversionCase{"ToEmptyClears", Of(I4(9)), VT_EMPTY, 0, IsInt(VT_EMPTY, 0)}),
    vellumry::test::RowLabel());

TEST(VariantChangeType, ReadsThroughAReference)
{
    LONG value = 7;
    VARIANT reference{};
    reference.vt = VT_BYREF | VT_I4;
    reference.plVal = &value;
    ScopedVariant text;
    ASSERT_EQ(VariantChangeType(text.Ptr(), &reference, 0, VT_BSTR), S_OK);
    EXPECT_EQ(std::u16string(BstrView(text->bstrVal)), u"7");
}

TEST(VariantChangeType, ConvertsInPlaceWithoutLosingTheText)
{
    ScopedVariant value;
    value->vt = VT_BSTR;
    value->bstrVal = SysAllocString(u"42");
    ASSERT_EQ(VariantChangeType(value.Ptr(), value.Ptr(), 0, VT_I4), S_OK);
    EXPECT_EQ(value->vt, VT_I4);
    EXPECT_EQ(value->lVal, 42);
}

// An object whose value property is the number 5.
class Valued final : public DispatchObject<Valued> {
public:
    static const DispatchTable<Valued>& Table()
    {
        static const DispatchTable<Valued> table(u"IValued", IID{0x1234, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}},
                                                 {{{u"Value", DISPID_VALUE, MemberKind::PropertyGet, VT_I4},
                                                   &Valued::Value}});
        return table;
    }

private:
    HRESULT Value(InvokeCall& call)
    {
        call.ReturnInt(5);
        return S_OK;
    }
};

TEST(VariantChangeType, AnObjectStandsForItsValueProperty)
{
    ScopedVariant object;
    object->vt = VT_DISPATCH;
    object->pdispVal = MakeObject<Valued>().Detach();
    ScopedVariant text;
    ASSERT_EQ(VariantChangeType(text.Ptr(), object.Ptr(), 0, VT_BSTR), S_OK);
    EXPECT_EQ(std::u16string(BstrView(text->bstrVal)), u"5");
    ScopedVariant refused;
    EXPECT_EQ(VariantChangeType(refused.Ptr(), object.Ptr(), VARIANT_NOVALUEPROP, VT_I4), DISP_E_TYPEMISMATCH);
    ScopedVariant unknown;
    ASSERT_EQ(VariantChangeType(unknown.Ptr(), object.Ptr(), 0, VT_UNKNOWN), S_OK);
    EXPECT_EQ(unknown->vt, VT_UNKNOWN);
    EXPECT_NE(unknown->punkVal, nullptr);
}

}  // namespace
