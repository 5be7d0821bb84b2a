#include "units/common/LogFontBlock.h"

#include <QApplication>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/codepage/CodePage.h"

namespace vellumry::units {
namespace {

std::int32_t IntAt(std::span<const std::uint8_t> block, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | block[offset + static_cast<std::size_t>(i)];
    return static_cast<std::int32_t>(value);
}

constexpr std::size_t kWeight = 16;
constexpr std::size_t kItalic = 20;
constexpr std::size_t kUnderline = 21;
constexpr std::size_t kStrikeOut = 22;
constexpr std::size_t kFaceName = 28;
constexpr std::size_t kFaceNameSize = 32;
// LOGFONT weights run 0..1000 (0: the default); Qt's 1..1000 the same way.
constexpr int kHighestWeight = 1000;

}  // namespace

QFont FontOfBlock(std::span<const std::uint8_t> block)
{
    QFont font = QApplication::font();
    if (block.size() != kLogFontSize)
        return font;
    const char* face = reinterpret_cast<const char*>(block.data() + kFaceName);
    std::string_view name(face, strnlen(face, kFaceNameSize));
    if (!name.empty()) {
        std::u16string utf16 = codepage::GbkToUtf16(name);
        font.setFamily(QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size())));
    }
    // Negative heights are the character height, positive ones the cell
    // height; either way the size in pixels.
    std::int64_t height = IntAt(block, 0);
    height = height < 0 ? -height : height;
    if (height > 0)
        font.setPixelSize(static_cast<int>(std::min<std::int64_t>(height, 1000)));
    std::int32_t weight = IntAt(block, kWeight);
    if (weight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, kHighestWeight)));
    font.setItalic(block[kItalic] != 0);
    font.setUnderline(block[kUnderline] != 0);
    font.setStrikeOut(block[kStrikeOut] != 0);
    return font;
}

}  // namespace vellumry::units
