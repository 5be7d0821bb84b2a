#include "tests/support/GbkText.h"

#include "platform/codepage/CodePage.h"

namespace vellumry::test {

std::string Gbk(std::string_view utf8)
{
    return codepage::Utf8ToGbk(utf8);
}

std::string Utf8(std::string_view gbk)
{
    return codepage::GbkToUtf8(gbk);
}

}  // namespace vellumry::test
