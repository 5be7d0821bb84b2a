#pragma once

// The lexical side of form descriptions: a line is a keyword and arguments
// separated by blanks; an argument in double quotes is a text (UTF-8, with
// the escapes \" \\ \r \n \t) and may hold blanks. Numbers are decimal or
// 0x-hexadecimal, optionally negative.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vellumry::formbuilder {

// A mistake in a builder input; the message says where.
class FormBuildError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Token {
    std::string text;
    bool quoted = false;
};

// Throws FormBuildError (without a position) for an unterminated text or an
// unknown escape.
std::vector<Token> SplitLine(std::string_view line);

// A number that fits 32 bits, signed or unsigned: -2^31 to 2^32 - 1. Throws
// FormBuildError otherwise.
std::int64_t ParseNumber(std::string_view text);

// A text turned into GBK; throws FormBuildError when a character has no GBK
// form.
std::string ToGbk(std::string_view utf8);

// Hexadecimal digits, in pairs, into bytes.
std::vector<std::uint8_t> ParseHex(std::string_view digits);

}  // namespace vellumry::formbuilder
