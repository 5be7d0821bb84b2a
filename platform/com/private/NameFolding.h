#pragma once

// The letter-case folding of member names, and the 16-bit name hash that
// LHashValOfNameSys carries in its low half.

#include <string_view>

#include "platform/com/ComTypes.h"

namespace vellumry::com {

char16_t FoldNameChar(char16_t c);
WORD NameHash(std::u16string_view name);

}  // namespace vellumry::com
