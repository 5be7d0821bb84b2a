#include "forms/engine/PropertyValues.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <span>

#include "forms/description/PropertyKinds.h"
#include "forms/engine/UnitCursors.h"
#include "runtime/RuntimeHeap.h"
#include "runtime/ValueHelpers.h"
#include "runtime/Values.h"

namespace vellumry::forms {
namespace {

constexpr std::size_t kLogFontSize = 60;
constexpr std::size_t kHeightOffset = 0;
constexpr std::size_t kOrientationOffset = 12;
constexpr std::size_t kWeightOffset = 16;
constexpr std::size_t kItalicOffset = 20;
constexpr std::size_t kUnderlineOffset = 21;
constexpr std::size_t kStrikeOutOffset = 22;
constexpr std::size_t kCharSetOffset = 23;
constexpr std::size_t kFaceOffset = 28;
constexpr std::size_t kFaceSize = 32;
constexpr std::int32_t kBoldWeight = 700;
constexpr std::int32_t kNormalWeight = 400;
constexpr std::int32_t kScreenDpi = 96;
constexpr std::int32_t kPointsPerInch = 72;
constexpr std::uint8_t kGb2312CharSet = 134;

enum FontMember { kOrientation = 0, kBold, kItalic, kStrikeOut, kUnderline, kPointSize, kFaceName };

std::int32_t Word(const std::vector<std::uint8_t>& font, std::size_t offset)
{
    std::int32_t value;
    std::memcpy(&value, font.data() + offset, sizeof value);
    return value;
}

void SetWord(std::vector<std::uint8_t>& font, std::size_t offset, std::int32_t value)
{
    std::memcpy(font.data() + offset, &value, sizeof value);
}

std::string FaceName(const std::vector<std::uint8_t>& font)
{
    const char* face = reinterpret_cast<const char*>(font.data() + kFaceOffset);
    return std::string(face, strnlen(face, kFaceSize));
}

void SetFaceName(std::vector<std::uint8_t>& font, const char* face)
{
    std::memset(font.data() + kFaceOffset, 0, kFaceSize);
    if (face)
        std::memcpy(font.data() + kFaceOffset, face, std::min(std::strlen(face), kFaceSize - 1));
}

std::int32_t PointSize(const std::vector<std::uint8_t>& font)
{
    std::int32_t height = std::abs(Word(font, kHeightOffset));
    return static_cast<std::int32_t>(std::lround(static_cast<double>(height) * kPointsPerInch / kScreenDpi));
}

void SetPointSize(std::vector<std::uint8_t>& font, std::int32_t points)
{
    SetWord(font, kHeightOffset,
            -static_cast<std::int32_t>(std::lround(static_cast<double>(points) * kScreenDpi / kPointsPerInch)));
}

std::vector<std::uint8_t> FontOrDefault(std::span<const std::uint8_t> bytes)
{
    return bytes.size() == kLogFontSize ? std::vector<std::uint8_t>(bytes.begin(), bytes.end()) : DefaultGuiFont();
}

std::uint64_t Pointer(const void* p)
{
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p));
}

std::uint64_t FontToApplication(std::int32_t subIndex, std::span<const std::uint8_t> stored)
{
    std::vector<std::uint8_t> font = FontOrDefault(stored);
    auto flag = [&](std::size_t offset) { return font[offset] != 0 ? 1 : 0; };
    switch (subIndex) {
    case kOrientation: return static_cast<std::uint32_t>(Word(font, kOrientationOffset));
    case kBold: return Word(font, kWeightOffset) >= kBoldWeight ? 1 : 0;
    case kItalic: return static_cast<std::uint64_t>(flag(kItalicOffset));
    case kStrikeOut: return static_cast<std::uint64_t>(flag(kStrikeOutOffset));
    case kUnderline: return static_cast<std::uint64_t>(flag(kUnderlineOffset));
    case kPointSize: return static_cast<std::uint32_t>(PointSize(font));
    case kFaceName: return Pointer(runtime::MakeTextOrNull(FaceName(font)));
    default: break;
    }
    auto* record = static_cast<FontRecord*>(runtime::RuntimeAlloc(sizeof(FontRecord)));
    record->orientation = Word(font, kOrientationOffset);
    record->bold = Word(font, kWeightOffset) >= kBoldWeight ? 1 : 0;
    record->italic = flag(kItalicOffset);
    record->strikeOut = flag(kStrikeOutOffset);
    record->underline = flag(kUnderlineOffset);
    record->pointSize = PointSize(font);
    record->faceName = runtime::MakeTextOrNull(FaceName(font));
    return Pointer(record);
}

void SetMember(std::vector<std::uint8_t>& font, std::int32_t member, std::uint32_t low, const char* face)
{
    auto value = static_cast<std::int32_t>(low);
    switch (member) {
    case kOrientation: SetWord(font, kOrientationOffset, value); break;
    case kBold: SetWord(font, kWeightOffset, value ? kBoldWeight : kNormalWeight); break;
    case kItalic: font[kItalicOffset] = value ? 1 : 0; break;
    case kStrikeOut: font[kStrikeOutOffset] = value ? 1 : 0; break;
    case kUnderline: font[kUnderlineOffset] = value ? 1 : 0; break;
    case kPointSize: SetPointSize(font, std::max(value, 1)); break;
    case kFaceName: SetFaceName(font, face); break;
    default: break;
    }
}

std::vector<std::uint8_t> FontFromApplication(std::int32_t subIndex, std::uint32_t low, std::uint64_t payload,
                                              std::span<const std::uint8_t> current)
{
    std::vector<std::uint8_t> font = FontOrDefault(current);
    if (subIndex >= kOrientation && subIndex <= kFaceName) {
        SetMember(font, subIndex, low, reinterpret_cast<const char*>(static_cast<std::uintptr_t>(payload)));
        return font;
    }
    const auto* record = reinterpret_cast<const FontRecord*>(static_cast<std::uintptr_t>(payload));
    if (!record)
        return {};  // a null record removes the font: the default is used
    SetMember(font, kOrientation, static_cast<std::uint32_t>(record->orientation), nullptr);
    SetMember(font, kBold, static_cast<std::uint32_t>(record->bold), nullptr);
    SetMember(font, kItalic, static_cast<std::uint32_t>(record->italic), nullptr);
    SetMember(font, kStrikeOut, static_cast<std::uint32_t>(record->strikeOut), nullptr);
    SetMember(font, kUnderline, static_cast<std::uint32_t>(record->underline), nullptr);
    SetMember(font, kPointSize, static_cast<std::uint32_t>(record->pointSize), nullptr);
    SetMember(font, kFaceName, 0, record->faceName);
    return font;
}

std::vector<std::uint8_t> BytesOf(std::uint64_t payload)
{
    auto bytes = runtime::ByteSetBytes(reinterpret_cast<const void*>(static_cast<std::uintptr_t>(payload)));
    return {bytes.begin(), bytes.end()};
}

}  // namespace

ValueForm ValueFormOfKind(std::int16_t kind)
{
    switch (kind) {
    case kIntegerKind: case kPlacementKind: case kPickListKind: case 1014: case 1015: case 1017:
        return ValueForm::Integer;
    case 1002: case 1004:
        return ValueForm::Wide;
    case kBooleanKind:
        return ValueForm::Boolean;
    case kPictureKind: case kSoundKind: case kByteDataKind: case 1023: case 1024:
        return ValueForm::Bytes;
    case kMousePointerKind:
        return ValueForm::MousePointer;
    case kFontKind:
        return ValueForm::Font;
    default:
        return kind >= kFirstPropertyKind && kind <= kLastPropertyKind ? ValueForm::Text : ValueForm::Integer;
    }
}

std::uint64_t ToApplication(std::int16_t kind, std::int32_t subIndex, const UnitPropertyValue& value)
{
    switch (ValueFormOfKind(kind)) {
    case ValueForm::Integer:
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(value.number));
    case ValueForm::Wide:
        return static_cast<std::uint64_t>(value.number);
    case ValueForm::Boolean:
        return value.number == 1 ? 1 : 0;
    case ValueForm::Text:
        return Pointer(runtime::MakeTextOrNull(value.text));
    case ValueForm::Bytes:
        return Pointer(runtime::MakeByteSet(value.bytes));
    case ValueForm::MousePointer: {
        std::vector<std::uint8_t> data = value.bytes.ToVector();
        ToPublicPointerData(data);
        return Pointer(runtime::MakeByteSet(data));
    }
    case ValueForm::Font:
        return FontToApplication(subIndex, value.bytes);
    }
    return 0;
}

UnitPropertyValue FromApplication(std::int16_t kind, std::int32_t subIndex, std::uint32_t low, std::uint32_t high,
                                  const UnitPropertyValue& current)
{
    std::uint64_t payload = (static_cast<std::uint64_t>(high) << 32) | low;
    UnitPropertyValue value;
    switch (ValueFormOfKind(kind)) {
    case ValueForm::Integer:
        value.number = static_cast<std::int32_t>(low);
        if (kind == kPickListKind && value.number < 0)
            value.number = 0;
        break;
    case ValueForm::Wide:
        value.number = static_cast<std::int64_t>(payload);
        break;
    case ValueForm::Boolean:
        value.number = low != 0 ? 1 : 0;
        break;
    case ValueForm::Text:
        value.text = runtime::TextView(reinterpret_cast<const char*>(static_cast<std::uintptr_t>(payload)));
        break;
    case ValueForm::Bytes:
        value.bytes = BytesOf(payload);
        break;
    case ValueForm::MousePointer: {
        std::vector<std::uint8_t> data = BytesOf(payload);
        ToStoredPointerData(data);
        value.bytes = std::move(data);
        break;
    }
    case ValueForm::Font:
        value.bytes = FontFromApplication(subIndex, low, payload, current.bytes);
        break;
    }
    return value;
}

std::vector<std::uint8_t> DefaultGuiFont()
{
    std::vector<std::uint8_t> font(kLogFontSize, 0);
    SetPointSize(font, 9);
    SetWord(font, kWeightOffset, kNormalWeight);
    font[kCharSetOffset] = kGb2312CharSet;
    SetFaceName(font, "\xCB\xCE\xCC\xE5");  // "宋体"
    return font;
}

}  // namespace vellumry::forms
