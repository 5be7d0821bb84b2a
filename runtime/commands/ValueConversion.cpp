#include "runtime/commands/ValueConversion.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <span>

#include "runtime/CommandTexts.h"
#include "runtime/DataTypeTag.h"
#include "runtime/ValueHelpers.h"
#include "platform/base/OleDate.h"

namespace vellumry::runtime::commands {
namespace {

constexpr int kFloatDigits = 6;
constexpr int kDoubleDigits = 13;

// The bytes a value occupies in memory, for the fixed-size types.
std::size_t ScalarSize(DataTypeTag type)
{
    switch (type) {
    case kByteType:
        return 1;
    case kShortType:
        return 2;
    case kIntType:
    case kFloatType:
    case kBoolType:
    case kSubroutineType:
        return 4;
    case kLongType:
    case kDoubleType:
    case kDateTimeType:
        return 8;
    default:
        return 0;
    }
}

// The element bytes of a numeric array argument (an array reference); empty
// for any other value, a by-reference scalar included.
std::span<const std::uint8_t> NumericArrayBytes(const TypedValue& value)
{
    if (!IsArrayReference(value.tag))
        return {};
    DataTypeTag type = ElementTypeOf(value.tag);
    bool numeric = type == kByteType || type == kShortType || type == kIntType || type == kLongType ||
                   type == kFloatType || type == kDoubleType;
    std::size_t elementSize = numeric ? ScalarSize(type) : 0;
    auto* variable = value.Pointer<void*>();
    if (elementSize == 0 || variable == nullptr)
        return {};
    ArrayElementsView elements = ArrayElements(LoadElement<void*>(variable));
    return {static_cast<const std::uint8_t*>(elements.first), static_cast<std::size_t>(elements.count) * elementSize};
}

std::int32_t TruncateToInteger(double value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

// Walks a text handing out its characters with the full-width forms folded
// to ASCII; any other two-byte character comes out as kOther.
class FoldedCharacters {
public:
    static constexpr int kEnd = -1;
    static constexpr int kOther = -2;

    explicit FoldedCharacters(std::string_view text) : m_text(text) {}

    int Peek() const
    {
        if (m_at >= m_text.size())
            return kEnd;
        auto lead = static_cast<unsigned char>(m_text[m_at]);
        if (lead < 0x80)
            return lead;
        if (m_at + 1 >= m_text.size())
            return kOther;
        auto trail = static_cast<unsigned char>(m_text[m_at + 1]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
            return trail - 0x80;
        if (lead == 0xA1) {
            if (trail == 0xA1)
                return ' ';
            if (trail == 0xAB)
                return '~';
            if (trail == 0xEE || trail == 0xEF)
                return '*';
        }
        return kOther;
    }

    void Skip() { m_at += static_cast<unsigned char>(m_text[m_at]) >= 0x80 ? 2 : 1; }

private:
    std::string_view m_text;
    std::size_t m_at = 0;
};

bool IsCWhiteSpace(int c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

TextValue FormatNumber(double value, int digits)
{
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    return error == std::errc() ? MakeTextOrNull(std::string_view(buffer, static_cast<std::size_t>(end - buffer)))
                                : nullptr;
}

template <typename Integer>
TextValue FormatInteger(Integer value)
{
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)error;  // 32 bytes hold any 64-bit integer
    return MakeText(std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
}

TextValue FormatDateTime(double date)
{
    std::optional<base::CalendarTime> time = base::FromOleDate(date);
    if (!time)
        return nullptr;
    char buffer[128];
    int length = std::snprintf(buffer, sizeof buffer, texts::kDateForm, time->year, time->month, time->day);
    char* tail = buffer + length;
    std::size_t room = sizeof buffer - static_cast<std::size_t>(length);
    if (time->second != 0)
        length += std::snprintf(tail, room, texts::kTimeFormWithSeconds, time->hour, time->minute, time->second);
    else if (time->minute != 0)
        length += std::snprintf(tail, room, texts::kTimeFormWithMinutes, time->hour, time->minute);
    else if (time->hour != 0)
        length += std::snprintf(tail, room, texts::kTimeFormHourOnly, time->hour);
    return MakeText(std::string_view(buffer, static_cast<std::size_t>(length)));
}

// The bytes up to the first zero byte, as a text.
TextValue TextUpToZero(std::span<const std::uint8_t> bytes)
{
    const void* zero = bytes.empty() ? nullptr : std::memchr(bytes.data(), 0, bytes.size());
    std::size_t length = zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - bytes.data())
                              : bytes.size();
    return MakeTextOrNull(std::string_view(reinterpret_cast<const char*>(bytes.data()), length));
}

}  // namespace

std::int32_t IntegerFromText(std::string_view text)
{
    FoldedCharacters characters(text);
    while (IsCWhiteSpace(characters.Peek()))
        characters.Skip();
    bool negative = false;
    if (characters.Peek() == '+' || characters.Peek() == '-') {
        negative = characters.Peek() == '-';
        characters.Skip();
    }
    constexpr std::int64_t kLimit = 2147483648LL;  // the magnitude of INT32_MIN
    std::int64_t magnitude = 0;
    for (int c = characters.Peek(); c >= '0' && c <= '9'; c = characters.Peek()) {
        magnitude = std::min(magnitude * 10 + (c - '0'), kLimit);
        characters.Skip();
    }
    std::int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
    return static_cast<std::int32_t>(value);
}

std::int32_t IntegerOf(const TypedValue& value)
{
    switch (value.tag) {
    case kByteType:
        return value.Byte();
    case kShortType:
        return value.Short();
    case kIntType:
    case kBoolType:
    case kSubroutineType:
        return value.Int();
    case kLongType:
        return static_cast<std::int32_t>(value.low);
    case kFloatType:
        return TruncateToInteger(value.Float());
    case kDoubleType:
        return TruncateToInteger(value.Double());
    case kTextType:
        return IntegerFromText(TextView(value.Pointer<const char>()));
    default:
        return 0;
    }
}

double DoubleOf(const TypedValue& value)
{
    switch (value.tag) {
    case kByteType:
        return value.Byte();
    case kShortType:
        return value.Short();
    case kIntType:
    case kSubroutineType:
        return value.Int();
    case kBoolType:
        return value.Bool() ? 1.0 : 0.0;
    case kLongType:
        return static_cast<double>(value.Long());
    case kFloatType:
        return value.Float();
    case kDoubleType:
    case kDateTimeType:
        return value.Double();
    default:
        return 0.0;
    }
}

TextValue TextOf(const TypedValue& value)
{
    switch (value.tag) {
    case kByteType:
        return FormatInteger(static_cast<unsigned>(value.Byte()));
    case kShortType:
        return FormatInteger(static_cast<int>(value.Short()));
    case kIntType:
        return FormatInteger(value.Int());
    case kLongType:
        return FormatInteger(value.Long());
    case kFloatType:
        return FormatNumber(value.Float(), kFloatDigits);
    case kDoubleType:
        return FormatNumber(value.Double(), kDoubleDigits);
    case kBoolType:
        return MakeText(value.Bool() ? texts::kTrue : texts::kFalse);
    case kDateTimeType:
        return FormatDateTime(value.Double());
    case kTextType:
        return MakeTextOrNull(TextView(value.Pointer<const char>()));
    case kByteSetType:
        return TextUpToZero(ByteSetBytes(value.Pointer<const void>()));
    default:
        return TextUpToZero(NumericArrayBytes(value));
    }
}

ByteSet ByteSetOf(const TypedValue& value)
{
    switch (value.tag) {
    case kTextType: {
        std::string_view text = TextView(value.Pointer<const char>());
        return MakeByteSet({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }
    case kByteSetType:
        return MakeByteSet(ByteSetBytes(value.Pointer<const void>()));
    default:
        break;
    }
    if (std::size_t size = ScalarSize(value.tag)) {
        std::uint8_t bytes[8];
        std::uint64_t payload = value.Payload();
        std::memcpy(bytes, &payload, sizeof bytes);  // little-endian: low word first
        return MakeByteSet({bytes, size});
    }
    return MakeByteSet(NumericArrayBytes(value));
}

}  // namespace vellumry::runtime::commands
