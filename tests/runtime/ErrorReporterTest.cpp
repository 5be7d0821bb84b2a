#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <map>

#include "runtime/ErrorContext.h"
#include "runtime/ErrorReporter.h"
#include "runtime/EventSuppression.h"
#include "runtime/ExitRoutines.h"
#include "runtime/RuntimeInterface.h"
#include "runtime/RuntimeState.h"
#include "tests/support/GbkText.h"
#include "tests/support/ReportExpectations.h"

namespace {

using namespace vellumry::runtime;
using vellumry::test::Gbk;
using vellumry::test::kErrorExit;
using vellumry::test::RelatedLine;
using vellumry::test::ReportOutput;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::uint32_t kFormId = 0x52010001;

// A small program description: one form whose window and two units carry tags,
// and one menu item.
class SmallDescription : public ErrorContextSource {
public:
    std::optional<std::string> FormTag(std::uint32_t formId) const override
    {
        if (formId != kFormId)
            return std::nullopt;
        return Gbk("主窗口");
    }
    std::optional<std::string> UnitTag(std::uint32_t formId, std::uint32_t unitId) const override
    {
        if (formId != kFormId)
            return std::nullopt;
        static const std::map<std::uint32_t, std::string> tags = {
            {0, Gbk("主窗口")}, {0x06010000, Gbk("主窗口")}, {0x1601001B, Gbk("下载")}, {0x16010002, ""}};
        auto it = tags.find(unitId);
        return it == tags.end() ? std::nullopt : std::optional(it->second);
    }
};

class ErrorReport : public ::testing::Test {
protected:
    void SetUp() override { SetErrorContextSource(&m_description); }
    void TearDown() override { SetErrorContextSource(nullptr); }
    SmallDescription m_description;
};

TEST_F(ErrorReport, CodedErrorShowsCodeMessageAndRelatedValues)
{
    std::string expected = ReportOutput(
        "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n" + RelatedLine(12, 34) + "\r\n");
    EXPECT_EXIT(ReportErrorCode(6, 12, 34), ::testing::ExitedWithCode(kErrorExit), HasSubstr(expected));
}

TEST_F(ErrorReport, MessageOnlyErrorHasNoCodeLine)
{
    std::string expected =
        ReportOutput("运行时出错!\r\n\r\n错误信息：不能求余数于零\r\n" + RelatedLine(0, 0) + "\r\n");
    EXPECT_EXIT(ReportError(Gbk("不能求余数于零").c_str(), 0, 0, 0), ::testing::ExitedWithCode(kErrorExit),
                AllOf(HasSubstr(expected), Not(HasSubstr("错误代码"))));
}

TEST_F(ErrorReport, RelatedFormAndUnitAreDescribedByTheirTags)
{
    std::string expected = ReportOutput(
        "运行时出错!\r\n\r\n错误信息：指定窗口或窗口组件不存在或尚未载入\r\n" + RelatedLine(0x52010001, 0x1601001B) +
        "\r\n所访问窗口的\"标记\"属性值: \"主窗口\"\r\n所访问窗口组件的\"标记\"属性值: \"下载\"\r\n");
    EXPECT_EXIT(ReportError(Gbk("指定窗口或窗口组件不存在或尚未载入").c_str(), 0, 0x52010001, 0x1601001B),
                ::testing::ExitedWithCode(kErrorExit), HasSubstr(expected));
}

TEST_F(ErrorReport, FormWithUnitZeroDescribesTheWindowAsBoth)
{
    std::string expected = ReportOutput("运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n" +
                                        RelatedLine(0x52010001, 0) +
                                        "\r\n所访问窗口的\"标记\"属性值: \"主窗口\"\r\n所访问窗口组件的\"标记\"属性值: "
                                        "\"主窗口\"\r\n");
    EXPECT_EXIT(ReportErrorCode(1, 0x52010001, 0), ::testing::ExitedWithCode(kErrorExit), HasSubstr(expected));
}

TEST_F(ErrorReport, MissingFormOrUnitIsDescribedNotReportedAgain)
{
    EXPECT_EXIT(ReportErrorCode(5, 0x52010002, 0), ::testing::ExitedWithCode(kErrorExit),
                HasSubstr(RelatedLine(0x52010002, 0) + "\r\n未找到所指定的窗口\r\n\n"));
    EXPECT_EXIT(ReportErrorCode(5, 0x52010001, 0x16019999), ::testing::ExitedWithCode(kErrorExit),
                HasSubstr("\"主窗口\"\r\n未找到所指定的窗口组件\r\n\n"));
}

TEST_F(ErrorReport, RelatedValueThatIsNoFormGivesOnlyTheRelatedLine)
{
    // Bits 24 to 27 are 6 (a unit id), not 2.
    std::string expected = ReportOutput("运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n" +
                                        RelatedLine(0x16010001, -7) + "\r\n");
    EXPECT_EXIT(ReportErrorCode(4, 0x16010001, -7), ::testing::ExitedWithCode(kErrorExit),
                AllOf(HasSubstr(expected), Not(HasSubstr("标记"))));
}

TEST_F(ErrorReport, EveryCodeHasItsMessageAndUnknownCodesHaveNone)
{
    for (int code = 1; code <= 11; ++code)
        EXPECT_NE(ErrorCodeMessage(code), nullptr) << code;
    EXPECT_EQ(ErrorCodeMessage(0), nullptr);
    EXPECT_EQ(ErrorCodeMessage(12), nullptr);
    EXPECT_EQ(ErrorCodeMessage(-1), nullptr);
    EXPECT_EQ(vellumry::test::Utf8(ErrorCodeMessage(9)), "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围");
    // An unknown code still reports, with the code line and no message line.
    EXPECT_EXIT(ReportErrorCode(99, 0, 0), ::testing::ExitedWithCode(kErrorExit),
                AllOf(HasSubstr("\r\n错误代码：99\r\n"), Not(HasSubstr("错误信息"))));
}

void NoisyExitRoutine(std::int32_t)
{
    std::fputs("exit routine ran\n", stderr);
}

TEST_F(ErrorReport, ExitRoutinesAreDroppedAfterAnError)
{
    auto scenario = [] {
        RegisterExitRoutine(NoisyExitRoutine);
        ReportErrorCode(2, 0, 0);
    };
    EXPECT_EXIT(scenario(), ::testing::ExitedWithCode(kErrorExit),
                AllOf(HasSubstr("未得到所需要的数值型数据"), Not(HasSubstr("exit routine ran"))));
}

TEST_F(ErrorReport, SuppressesEventsWhileReporting)
{
    auto scenario = [] {
        SetErrorHook([](std::int32_t, const char*) -> std::int32_t {
            std::fprintf(stderr, "suppressed=%d\n", EventsSuppressed() ? 1 : 0);
            return 0;
        });
        ReportErrorCode(3, 0, 0);
    };
    EXPECT_EXIT(scenario(), ::testing::ExitedWithCode(kErrorExit), HasSubstr("suppressed=1\n"));
}

TEST_F(ErrorReport, HookThatHandlesTheErrorSuppressesTheBox)
{
    auto scenario = [] {
        SetErrorHook([](std::int32_t code, const char* text) -> std::int32_t {
            std::fprintf(stderr, "hook %d <%s>\n", code, vellumry::test::Utf8(text).c_str());
            return 1;
        });
        ReportError(Gbk("坏了").c_str(), 7, 1, 2);
    };
    EXPECT_EXIT(scenario(), ::testing::ExitedWithCode(kErrorExit),
                AllOf(HasSubstr("hook 7 <坏了" + RelatedLine(1, 2) + "\r\n>"), Not(HasSubstr("[错误]"))));
}

TEST_F(ErrorReport, ErrorInsideTheHookGoesStraightToTheBox)
{
    auto scenario = [] {
        SetErrorHook([](std::int32_t, const char*) -> std::int32_t {
            std::fputs("hook entered\n", stderr);
            ReportError("inner", 0, 0, 0);
        });
        ReportError("outer", 0, 0, 0);
    };
    // The hook runs once; the inner report shows its box and ends the program.
    EXPECT_EXIT(scenario(), ::testing::ExitedWithCode(kErrorExit),
                AllOf(HasSubstr("hook entered\n[错误]\n运行时出错!\r\n\r\n错误信息：inner"), Not(HasSubstr("outer"))));
}

TEST_F(ErrorReport, RunModeTwoBreaksIntoTheDebugger)
{
    auto scenario = [] {
        Runtime().runMode = 2;
        ReportErrorCode(1, 0, 0);
    };
    EXPECT_EXIT(scenario(), ::testing::KilledBySignal(SIGTRAP), HasSubstr("数组成员引用下标超出定义范围"));
}

TEST_F(ErrorReport, RuntimeInterfaceEntryZeroReports)
{
    EXPECT_EXIT(GetRuntimeInterface().reportErrorCode(8, 3, 4), ::testing::ExitedWithCode(kErrorExit),
                HasSubstr("\r\n错误代码：8\r\n\r\n错误信息：被比较数据只能使用等于或不等于命令比较\r\n"));
}

TEST(ErrorReportWithoutForms, FormEngineEntriesReportAnEmptyFormTable)
{
    const RuntimeInterface& api = GetRuntimeInterface();
    EXPECT_EXIT(api.loadStartForm(kFormId), ::testing::ExitedWithCode(kErrorExit),
                HasSubstr("错误信息：载入启动窗口失败\r\n" + RelatedLine(0x52010001, 0) + "\r\n未找到所指定的窗口\r\n"));
    EXPECT_EXIT(api.readUnitProperty(kFormId, 0x16010004, 5, -1), ::testing::ExitedWithCode(kErrorExit),
                HasSubstr("错误信息：未载入欲访问窗口组件所在的窗口\r\n"));
    EXPECT_EXIT(api.writeUnitProperty(kFormId, 0x16010004, 5, -1, 1, 0), ::testing::ExitedWithCode(kErrorExit),
                HasSubstr("错误信息：未载入欲访问窗口组件所在的窗口\r\n"));
    api.runMessageLoop();  // no form, returns at once
}

}  // namespace
