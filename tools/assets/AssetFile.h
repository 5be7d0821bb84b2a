#pragma once

// Writing a generated asset so that an interrupted build never leaves a
// partial file that looks up to date.

#include <cstdint>
#include <span>
#include <string>

namespace vellumry::assets {

// Writes `bytes` to a temporary file beside `path` and renames it over
// `path`. Returns false (after printing why) when any step fails.
bool WriteAssetFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace vellumry::assets
