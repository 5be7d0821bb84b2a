#include "units/common/UnitFont.h"

#include <QApplication>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "platform/codepage/CodePage.h"
#include "units/common/FontFaceName.h"

namespace vellumry::units {
namespace {

constexpr std::size_t kHeightOffset = 0;
constexpr std::size_t kWeightOffset = 16;
constexpr std::size_t kItalicOffset = 20;
constexpr std::size_t kUnderlineOffset = 21;
constexpr std::size_t kStrikeOutOffset = 22;
constexpr std::int32_t kLightest = 1;
constexpr std::int32_t kHeaviest = 1000;

std::int32_t Word(std::span<const std::uint8_t> block, std::size_t offset)
{
    std::int32_t value;
    std::memcpy(&value, block.data() + offset, sizeof value);
    return value;
}

}  // namespace

QFont FontOfBlock(std::span<const std::uint8_t> block)
{
    QFont font = QApplication::font();
    if (block.size() != kLogFontSize)
        return font;
    std::string name = FontFaceName(block);
    if (!name.empty())
        font.setFamilies({QString::fromStdString(codepage::GbkToUtf8(name))});
    // A height of 0 keeps the default size; either sign gives the height in
    // pixels (a positive one counts the cell, a close enough measure here).
    std::int32_t height = Word(block, kHeightOffset);
    if (height != 0 && height != std::numeric_limits<std::int32_t>::min())
        font.setPixelSize(std::abs(height));
    std::int32_t weight = Word(block, kWeightOffset);
    if (weight != 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, kLightest, kHeaviest)));
    font.setItalic(block[kItalicOffset] != 0);
    font.setUnderline(block[kUnderlineOffset] != 0);
    font.setStrikeOut(block[kStrikeOutOffset] != 0);
    return font;
}

}  // namespace vellumry::units
