#pragma once

// What the error reporter writes to standard error for a report: the caption
// line, then the box text as UTF-8.

#include <gmock/gmock.h>

#include <string>

namespace vellumry::test {

inline std::string ReportOutput(const std::string& boxUtf8)
{
    return "[错误]\n" + boxUtf8 + "\n";
}

inline std::string RelatedLine(int related1, int related2)
{
    return "\r\n运行时错误相关信息值(在IDE中打开对应源程序后执行\"运行->到运行时错误相关位置\"菜单功能查看): " +
           std::to_string(related1) + ", " + std::to_string(related2);
}

// A report with a message and no code, nothing about forms.
inline ::testing::Matcher<const std::string&> ReportsMessage(const std::string& messageUtf8, int related1 = 0,
                                                             int related2 = 0)
{
    return ::testing::HasSubstr(ReportOutput("运行时出错!\r\n\r\n错误信息：" + messageUtf8 + "\r\n" +
                                             RelatedLine(related1, related2) + "\r\n"));
}

inline constexpr int kErrorExit = 255;

}  // namespace vellumry::test
