#pragma once

// The edit box's input rules, by input mode: which typed characters a mode
// accepts, how a mode rewrites the text when the box loses the focus, and
// the number a spin click in spin mode 1 writes. Texts are GBK. Qt-free.
//
// Input modes: 0 anything, 1 read-only, 2 password, 3 integer text, 4 real
// text, 5 byte, 6 short, 7 integer, 8 long, 9 float, 10 double, 11 date-time.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vellumry::units {

inline constexpr std::int32_t kHighestInputMode = 11;

// Whether a typed character (a Unicode code point) is accepted in `mode`.
// Control characters (below 32) always are.
bool AcceptsTypedCharacter(std::int32_t mode, char32_t character);

// The text as the mode writes it back when the box loses the focus, or
// nothing for modes that leave the text alone. Numbers in modes 5 to 10 that
// come out as "0" become the empty text; in mode 11 a text that is not a
// valid, non-zero date and time becomes the empty text.
std::optional<std::string> NormalisedText(std::int32_t mode, std::string_view text);

// Spin mode 1: the text read as a number, one step up (step >= 0) or down,
// wrapped to `lowest` past `highest` when stepping up and to `highest` past
// `lowest` when stepping down.
std::int32_t SpinStep(std::string_view text, std::int32_t step, std::int32_t lowest, std::int32_t highest);

}  // namespace vellumry::units
