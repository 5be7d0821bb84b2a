#include "units/common/FontFaceName.h"

#include <cstring>

namespace vellumry::units {
namespace {

constexpr std::size_t kFaceOffset = 28;
constexpr std::size_t kFaceSize = 32;

}  // namespace

std::string FontFaceName(std::span<const std::uint8_t> block)
{
    if (block.size() != kLogFontSize)
        return {};
    const char* face = reinterpret_cast<const char*>(block.data() + kFaceOffset);
    return std::string(face, strnlen(face, kFaceSize));
}

}  // namespace vellumry::units
