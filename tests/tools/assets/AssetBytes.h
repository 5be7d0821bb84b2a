#pragma once

// Reading the generated assets and the little-endian fields inside them.

#include <cstdint>
#include <string>
#include <string_view>

#include "tests/support/ScopedTempDir.h"

namespace vellumry::test {

inline std::string AssetPath(std::string_view file) { return std::string(VELLUMRY_ASSET_DIR) + "/" + std::string(file); }

inline std::string ReadAsset(std::string_view file) { return ReadHostFile(AssetPath(file)); }

// Fields past the end throw std::out_of_range, which fails the test.
inline std::uint32_t U8At(const std::string& bytes, std::size_t offset)
{
    return static_cast<unsigned char>(bytes.at(offset));
}
inline std::uint32_t U16At(const std::string& bytes, std::size_t offset)
{
    return U8At(bytes, offset) | U8At(bytes, offset + 1) << 8;
}
inline std::uint32_t U32At(const std::string& bytes, std::size_t offset)
{
    return U16At(bytes, offset) | U16At(bytes, offset + 2) << 16;
}
inline std::int32_t I32At(const std::string& bytes, std::size_t offset)
{
    return static_cast<std::int32_t>(U32At(bytes, offset));
}
inline std::int16_t I16At(const std::string& bytes, std::size_t offset)
{
    return static_cast<std::int16_t>(U16At(bytes, offset));
}
inline std::string TagAt(const std::string& bytes, std::size_t offset) { return bytes.substr(offset, 4); }

}  // namespace vellumry::test
