#pragma once

// The replacement text of Replace, with the markers of JScript replacement
// strings: "$$" a dollar sign, "$&" the match, "$`" the text before it, "$'"
// the text after it, "$n" and "$nn" group n (1 to 99; two digits when that
// group exists, else one; the empty text for a group that took no part). A
// "$" in any other place is itself.

#include <string>
#include <string_view>
#include <vector>

#include "platform/vbscript/private/PatternMatcher.h"

namespace vellumry::vbscript {

// Appends the expansion of `replacement` for the match `spans` (whole match,
// then the groups) in `subject` to `out`.
void AppendReplacement(std::u16string& out, std::u16string_view replacement, std::u16string_view subject,
                       const std::vector<Span>& spans);

}  // namespace vellumry::vbscript
