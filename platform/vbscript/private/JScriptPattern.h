#pragma once

// Turns a pattern in the syntax of VBScript 5.5 regular expressions (the
// JScript syntax) into a PCRE2 pattern that matches the same texts, compiled
// with the options of PatternMatcher (UTF, ALLOW_EMPTY_CLASS,
// MATCH_UNSET_BACKREF).
//
// What differs between the two syntaxes is rewritten:
// - an escape of a character without a meaning of its own is that character
//   ("\A" is "A", "\z" is "z", "\Q" is "Q"), where PCRE2 gives many letters a
//   meaning;
// - "\v" is the vertical tab character, "\cX" a control character, "\0" the
//   zero character, "\xHH" and "\uHHHH" characters (a malformed one the letter
//   itself);
// - "\n" for a number n is a back-reference when the pattern has n capturing
//   groups, otherwise an octal character escape (or the digits themselves);
// - a "[" inside a class is a character, so POSIX classes do not exist;
// - a "{" that does not start a quantifier is a character, as are "}" and
//   "]" outside a class.
// Constructs JScript does not have are syntax errors: groups "(?" other than
// "(?:", "(?=" and "(?!", and possessive quantifiers ("a*+").

#include <optional>
#include <string>
#include <string_view>

namespace vellumry::vbscript {

// The PCRE2 pattern, or no value with `error` describing the fault.
std::optional<std::u16string> TranslateJScriptPattern(std::u16string_view pattern, std::string* error);

}  // namespace vellumry::vbscript
