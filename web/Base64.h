#pragma once

// Base64 with the standard alphabet and "=" as fill, without line breaks, as
// proxy credentials are sent. Empty data gives the empty text.

#include <cstdint>
#include <span>
#include <string>

namespace vellumry::web {

std::string Base64Encode(std::span<const std::uint8_t> data);

}  // namespace vellumry::web
