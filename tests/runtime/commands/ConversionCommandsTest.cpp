#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#include "tests/runtime/commands/CommandTestSupport.h"
#include "tests/support/CaseTable.h"
#include "tests/support/GbkText.h"
#include "tests/support/ReportExpectations.h"

namespace {

using vellumry::test::PrintTo;
using vellumry::test::RowLabel;
using namespace vellumry::test;
namespace rt = vellumry::runtime;

// Values whose payload points at strings need the strings to stay; the
// tables hold them here.
struct Storage {
    std::string fullWidth = Gbk("１２") + "3abc";
    std::string fullWidthSigned = Gbk("　－１５");
    std::string twoByteFirst = Gbk("啊") + "12";
    std::string decimal = "2.9";
    std::string negativeDecimal = "-2.9";
    std::string padded = " \t\n+42x";
    std::string tooBig = "99999999999";
    std::string tooSmall = "-99999999999";
    std::string minimum = "-2147483648";
    std::string justAbove = "2147483648";
    std::string letters = "abc";
    std::string gbk = Gbk("真的");
};

const Storage& Strings()
{
    static const Storage storage;
    return storage;
}

TypedValue TextValue(const std::string& s)
{
    return TypedValue::OfPointer(rt::kTextType, s.c_str());
}

TypedValue DateTime(double date)
{
    return TypedValue::OfDouble(date, rt::kDateTimeType);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// ---- ToInteger -----------------------------------------------------------------

struct IntegerCase {
    const char* label;
    TypedValue value;
    std::int32_t expected;
};

class ToIntegerCases : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ToIntegerCases, ReadsEveryTag)
{
    const IntegerCase& c = GetParam();
    TypedValue result = Call(CoreCommand::ToInteger, {c.value});
    EXPECT_EQ(result.tag, rt::kIntType);
    EXPECT_EQ(result.Int(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    ConversionCommands, ToIntegerCases,
    ::testing::Values(IntegerCase{"ByteZeroExtended", TypedValue::OfByte(200), 200},
                      IntegerCase{"ShortSignExtended", TypedValue::OfShort(-5), -5},
                      IntegerCase{"Integer", TypedValue::OfInt(-123456), -123456},
                      IntegerCase{"Boolean", TypedValue::OfBool(true), 1},
                      IntegerCase{"LongLowBits", TypedValue::OfLong(0x100000005LL), 5},
                      IntegerCase{"LongMinusOne", TypedValue::OfLong(-1), -1},
                      IntegerCase{"FloatTruncated", TypedValue::OfFloat(2.9f), 2},
                      IntegerCase{"DoubleTowardZero", TypedValue::OfDouble(-2.9), -2},
                      IntegerCase{"DoubleOutOfRange", TypedValue::OfDouble(1e20), INT_MIN},
                      IntegerCase{"DoubleNaN", TypedValue::OfDouble(kNaN), INT_MIN},
                      IntegerCase{"DoubleLargest", TypedValue::OfDouble(2147483647.9), INT_MAX},
                      IntegerCase{"FullWidthDigits", TextValue(Strings().fullWidth), 123},
                      IntegerCase{"FullWidthSpaceAndSign", TextValue(Strings().fullWidthSigned), -15},
                      IntegerCase{"OtherTwoByteCharacterFirst", TextValue(Strings().twoByteFirst), 0},
                      IntegerCase{"NoDigits", TextValue(Strings().letters), 0},
                      IntegerCase{"DecimalText", TextValue(Strings().decimal), 2},
                      IntegerCase{"NegativeDecimalText", TextValue(Strings().negativeDecimal), -2},
                      IntegerCase{"WhiteSpaceAndSign", TextValue(Strings().padded), 42},
                      IntegerCase{"TextAboveTheRange", TextValue(Strings().tooBig), INT_MAX},
                      IntegerCase{"TextBelowTheRange", TextValue(Strings().tooSmall), INT_MIN},
                      IntegerCase{"TextMinimum", TextValue(Strings().minimum), INT_MIN},
                      IntegerCase{"TextJustAbove", TextValue(Strings().justAbove), INT_MAX},
                      IntegerCase{"NullText", TypedValue::OfPointer(rt::kTextType, nullptr), 0},
                      IntegerCase{"DateTime", DateTime(45000.0), 0},
                      IntegerCase{"UnitReference", TypedValue::OfUnit(rt::kEditBoxType, 1, 2), 0},
                      IntegerCase{"Omitted", TypedValue(), 0}),
    RowLabel());

TEST(ConversionCommands, ToByteKeepsTheLowEightBits)
{
    TypedValue result = Call(CoreCommand::ToByte, {Int(0x1FF)});
    EXPECT_EQ(result.tag, rt::kByteType);
    EXPECT_EQ(result.low, 0xFFu);
    std::string text = "257";
    EXPECT_EQ(Call(CoreCommand::ToByte, {Text(text)}).low, 1u);
    EXPECT_EQ(Call(CoreCommand::ToByte, {Int(-1)}).low, 0xFFu);
}

// ---- ToText -----------------------------------------------------------------------

// An array variable holding a one-dimensional array of 32-bit integers, passed
// as an array reference.
class IntegerArray {
public:
    explicit IntegerArray(std::vector<std::int32_t> values)
        : m_array(rt::MakeArray(static_cast<std::int32_t>(values.size()), 4))
    {
        auto* at = static_cast<std::uint8_t*>(rt::ArrayElements(m_array).first);
        for (std::size_t i = 0; i < values.size(); ++i)
            rt::StoreElement(at + 4 * i, values[i]);
    }
    ~IntegerArray() { rt::RuntimeFree(m_array); }
    IntegerArray(const IntegerArray&) = delete;
    IntegerArray& operator=(const IntegerArray&) = delete;
    TypedValue ByReference(rt::DataTypeTag type = rt::kIntType) const
    {
        return TypedValue::OfPointer(rt::ArrayReference(type), &m_array);
    }
    // Rewrites the dimension header, as damaged data would.
    void SetHeader(std::vector<std::int32_t> header)
    {
        rt::RuntimeFree(m_array);
        m_array = rt::RuntimeAlloc(static_cast<std::int32_t>(4 * header.size() + 64));
        std::memset(m_array, 0, 4 * header.size() + 64);
        for (std::size_t i = 0; i < header.size(); ++i)
            rt::StoreWord(static_cast<std::uint8_t*>(m_array) + 4 * i, header[i]);
    }

private:
    rt::ArrayBlock m_array;
};

struct TextCase {
    const char* label;
    TypedValue value;
    std::optional<std::string> expected;
};

class ToTextCases : public ::testing::TestWithParam<TextCase> {};

TEST_P(ToTextCases, FormatsEveryTag)
{
    const TextCase& c = GetParam();
    EXPECT_EQ(TakeText(Call(CoreCommand::ToText, {c.value})), c.expected);
}

constexpr double kHour = 1.0 / 24;
constexpr double kMinute = kHour / 60;
constexpr double kSecond = kMinute / 60;

INSTANTIATE_TEST_SUITE_P(
    ConversionCommands, ToTextCases,
    ::testing::Values(TextCase{"ByteUnsigned", TypedValue::OfByte(200), "200"},
                      TextCase{"Short", TypedValue::OfShort(-5), "-5"},
                      TextCase{"Integer", TypedValue::OfInt(INT_MIN), "-2147483648"},
                      TextCase{"Long", TypedValue::OfLong(LLONG_MIN), "-9223372036854775808"},
                      TextCase{"FloatSixDigits", TypedValue::OfFloat(0.1f), "0.1"},
                      TextCase{"FloatExponent", TypedValue::OfFloat(1234567.0f), "1.23457e+06"},
                      TextCase{"DoubleOne", TypedValue::OfDouble(1.0), "1"},
                      TextCase{"DoubleHalf", TypedValue::OfDouble(0.5), "0.5"},
                      TextCase{"DoubleThirteenDigits", TypedValue::OfDouble(1.0 / 3), "0.3333333333333"},
                      TextCase{"DoubleExponent", TypedValue::OfDouble(1e20), "1e+20"},
                      TextCase{"True", TypedValue::OfBool(true), Gbk("真")},
                      TextCase{"False", TypedValue::OfBool(false), Gbk("假")},
                      TextCase{"AnyNonzeroIsTrue", TypedValue::Of(rt::kBoolType, 2), Gbk("真")},
                      TextCase{"DateOnly", DateTime(45000.0), Gbk("2023年3月15日")},
                      TextCase{"DateAndHour", DateTime(45000.5), Gbk("2023年3月15日12时")},
                      TextCase{"DateHourMinute", DateTime(45000 + 13 * kHour + 5 * kMinute), Gbk("2023年3月15日13时5分")},
                      TextCase{"DateWithSeconds", DateTime(45000 + 5 * kMinute + 7 * kSecond),
                               Gbk("2023年3月15日0时5分7秒")},
                      TextCase{"DateRoundsToTheNextDay", DateTime(45000 + 1 - 0.2 * kSecond), Gbk("2023年3月16日")},
                      TextCase{"DateEpoch", DateTime(0.0), Gbk("1899年12月30日")},
                      TextCase{"DateBeforeTheEpoch", DateTime(-1.25), Gbk("1899年12月29日6时")},
                      TextCase{"DateLeapDay", DateTime(36585.0), Gbk("2000年2月29日")},
                      TextCase{"DateNaN", DateTime(kNaN), std::nullopt},
                      TextCase{"DateOutOfRange", DateTime(1e12), std::nullopt},
                      TextCase{"TextCopied", TextValue(Strings().gbk), Gbk("真的")},
                      TextCase{"NullText", TypedValue::OfPointer(rt::kTextType, nullptr), std::nullopt},
                      TextCase{"UnitReference", TypedValue::OfUnit(rt::kWindowType, 1, 0), std::nullopt},
                      TextCase{"Omitted", TypedValue(), std::nullopt}),
    RowLabel());

TEST(ConversionCommands, ToTextOfBytesStopsAtTheFirstZero)
{
    HeapBytes withZero(std::string("ab\0cd", 5));
    EXPECT_EQ(TakeText(Call(CoreCommand::ToText, {withZero.Value()})), "ab");
    HeapBytes gbk("\xB0\xA1x");
    EXPECT_EQ(TakeText(Call(CoreCommand::ToText, {gbk.Value()})), "\xB0\xA1x") << "no character-set conversion";
    HeapBytes leadingZero(std::string("\0a", 2));
    EXPECT_EQ(TakeText(Call(CoreCommand::ToText, {leadingZero.Value()})), std::nullopt);

    IntegerArray array({0x64636261, 0x00006665, 0x41414141});
    EXPECT_EQ(TakeText(Call(CoreCommand::ToText, {array.ByReference()})), "abcdef");
    EXPECT_EQ(TakeText(Call(CoreCommand::ToText, {array.ByReference(rt::kTextType)})), std::nullopt)
        << "a text array is no array of numbers";
}

// ---- ToByteSet --------------------------------------------------------------------

struct ByteSetCase {
    const char* label;
    TypedValue value;
    std::optional<std::string> expected;
};

class ToByteSetCases : public ::testing::TestWithParam<ByteSetCase> {};

TEST_P(ToByteSetCases, GivesTheBytesInMemoryOrder)
{
    const ByteSetCase& c = GetParam();
    EXPECT_EQ(TakeByteSet(Call(CoreCommand::ToByteSet, {c.value})), c.expected);
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values)
        bytes.push_back(static_cast<char>(v));
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    ConversionCommands, ToByteSetCases,
    ::testing::Values(
        ByteSetCase{"TextWithoutTerminator", TextValue(Strings().letters), "abc"},
        ByteSetCase{"NullText", TypedValue::OfPointer(rt::kTextType, nullptr), std::nullopt},
        ByteSetCase{"Byte", TypedValue::OfByte(0x41), "A"},
        ByteSetCase{"Short", TypedValue::OfShort(0x4241), "AB"},
        ByteSetCase{"Integer", TypedValue::OfInt(0x64636261), "abcd"},
        ByteSetCase{"Float", TypedValue::OfFloat(1.0f), Bytes({0, 0, 0x80, 0x3F})},
        ByteSetCase{"Boolean", TypedValue::OfBool(true), Bytes({1, 0, 0, 0})},
        ByteSetCase{"Long", TypedValue::OfLong(0x0102030405060708LL), Bytes({8, 7, 6, 5, 4, 3, 2, 1})},
        ByteSetCase{"Double", TypedValue::OfDouble(1.0), Bytes({0, 0, 0, 0, 0, 0, 0xF0, 0x3F})},
        ByteSetCase{"DateTime", DateTime(-2.0), Bytes({0, 0, 0, 0, 0, 0, 0, 0xC0})},
        ByteSetCase{"UnitReference", TypedValue::OfUnit(rt::kEditBoxType, 1, 2), std::nullopt},
        ByteSetCase{"Omitted", TypedValue(), std::nullopt}),
    RowLabel());

TEST(ConversionCommands, ToByteSetOfByteSetsAndArrays)
{
    HeapBytes bytes(std::string("a\0b", 3));
    EXPECT_EQ(TakeByteSet(Call(CoreCommand::ToByteSet, {bytes.Value()})), std::string("a\0b", 3));
    IntegerArray array({1, -1});
    EXPECT_EQ(TakeByteSet(Call(CoreCommand::ToByteSet, {array.ByReference()})), Bytes({1, 0, 0, 0, 255, 255, 255, 255}));
    IntegerArray empty({});
    EXPECT_EQ(TakeByteSet(Call(CoreCommand::ToByteSet, {empty.ByReference()})), std::nullopt);
    EXPECT_EQ(TakeByteSet(Call(CoreCommand::ToByteSet, {TypedValue::OfPointer(rt::ArrayReference(rt::kIntType), nullptr)})),
              std::nullopt);
}

TEST(ConversionCommands, ByReferenceScalarsAreNotReadAsArrays)
{
    // A variable that holds a number, not an array: its bytes are no pointer.
    std::int64_t variable = 0x41;
    TypedValue scalar = TypedValue::OfPointer(rt::ByReference(rt::kIntType), &variable);
    EXPECT_EQ(TakeText(Call(CoreCommand::ToText, {scalar})), std::nullopt);
    EXPECT_EQ(TakeByteSet(Call(CoreCommand::ToByteSet, {scalar})), std::nullopt);
    TypedValue longScalar = TypedValue::OfPointer(rt::ByReference(rt::kLongType), &variable);
    EXPECT_EQ(TakeByteSet(Call(CoreCommand::ToByteSet, {longScalar})), std::nullopt);
}

struct MalformedArray {
    const char* label;
    std::vector<std::int32_t> header;
};

class MalformedArrayHeaders : public ::testing::TestWithParam<MalformedArray> {};

TEST_P(MalformedArrayHeaders, AreRefusedWithARuntimeError)
{
    IntegerArray array({});
    array.SetHeader(GetParam().header);
    for (CoreCommand command : {CoreCommand::ToText, CoreCommand::ToByteSet})
        EXPECT_EXIT(Call(command, {array.ByReference()}), ::testing::ExitedWithCode(vellumry::test::kErrorExit),
                    ::testing::HasSubstr("错误代码：10"));
}

INSTANTIATE_TEST_SUITE_P(
    ConversionCommands, MalformedArrayHeaders,
    ::testing::Values(MalformedArray{"NegativeDimensionCount", {-1}},
                      MalformedArray{"TooManyDimensions", {33}},
                      MalformedArray{"NegativeSize", {1, -4}},
                      MalformedArray{"NegativeSizeBesideOthers", {2, 3, -1}},
                      MalformedArray{"ProductBeyond32Bits", {2, 65536, 65536}},
                      MalformedArray{"ProductOfThreeBeyond32Bits", {3, 2048, 2048, 1024}}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
