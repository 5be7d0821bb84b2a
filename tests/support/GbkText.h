#pragma once

// Tests write their texts in UTF-8; the runtime works in GBK.

#include <string>
#include <string_view>

namespace vellumry::test {

std::string Gbk(std::string_view utf8);
std::string Utf8(std::string_view gbk);

}  // namespace vellumry::test
