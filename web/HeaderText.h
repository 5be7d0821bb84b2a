#pragma once

// Cutting header lines and other texts by markers. Texts are GBK bytes;
// searches move forward character by character and match only where a
// character starts, exactly unless `ignoreCase` (ASCII letters only). A start
// position is 1-based; below 1 counts as 1. Stateless; any thread.

#include <cstdint>
#include <string>
#include <string_view>

namespace vellumry::web {

// The trimmed text before / after the first ":" of the line; empty for a line
// without ":".
std::string HeaderName(std::string_view line);
std::string HeaderValue(std::string_view line);

// The text from its first byte up to the marker found from `start`; empty
// when the marker is not found.
std::string TextBefore(std::string_view text, std::string_view marker, std::int32_t start = 1,
                       bool ignoreCase = false);

// The bytes between the first `left` found from `start` and the first `right`
// after it; empty when either is missing. In both markers "#引号" stands for a
// double quote.
std::string TextBetween(std::string_view text, std::string_view left, std::string_view right,
                        std::int32_t start = 1, bool ignoreCase = false);

}  // namespace vellumry::web
