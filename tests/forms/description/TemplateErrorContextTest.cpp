#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "forms/description/TemplateErrorContext.h"
#include "runtime/ErrorReporter.h"
#include "tests/forms/description/SampleTemplate.h"
#include "tests/support/GbkText.h"
#include "tests/support/ReportExpectations.h"

namespace {

using namespace vellumry::forms;
using vellumry::test::Gbk;

class TemplateContext : public ::testing::Test {
protected:
    FormTable m_table = vellumry::test::ReadSampleTemplate();
};

TEST_F(TemplateContext, FormAndUnitTagsComeFromTheRecords)
{
    TemplateErrorContext context(m_table);
    EXPECT_EQ(context.FormTag(vellumry::test::kSampleFormId), Gbk("主窗口"));
    EXPECT_EQ(context.FormTag(vellumry::test::kSecondFormId), "second");
    EXPECT_EQ(context.UnitTag(vellumry::test::kSampleFormId, 0), Gbk("主窗口"));
    EXPECT_EQ(context.UnitTag(vellumry::test::kSampleFormId, 0x06010000), Gbk("主窗口"));
    EXPECT_EQ(context.UnitTag(vellumry::test::kSampleFormId, 0x1601001B), Gbk("下载"));
    EXPECT_EQ(context.UnitTag(vellumry::test::kSampleFormId, 0x16010005), "");
}

TEST_F(TemplateContext, MissingFormsUnitsAndMenuItemsAreNotFound)
{
    TemplateErrorContext context(m_table);
    EXPECT_EQ(context.FormTag(0x52010009), std::nullopt);
    EXPECT_EQ(context.UnitTag(0x52010009, 0), std::nullopt);
    EXPECT_EQ(context.UnitTag(vellumry::test::kSampleFormId, 0x16019999), std::nullopt);
    EXPECT_EQ(context.UnitTag(vellumry::test::kSampleFormId, 0x26010001), std::nullopt);
}

TEST_F(TemplateContext, ErrorReportsDescribeTheUnitFromTheTemplate)
{
    auto scenario = [this] {
        TemplateErrorContext context(m_table);
        vellumry::runtime::SetErrorContextSource(&context);
        vellumry::runtime::ReportErrorCode(1, vellumry::test::kSampleFormId, 0x1601001B);
    };
    EXPECT_EXIT(scenario(), ::testing::ExitedWithCode(vellumry::test::kErrorExit),
                ::testing::HasSubstr("\r\n所访问窗口的\"标记\"属性值: \"主窗口\"\r\n所访问窗口组件的\"标记\"属性值: "
                                     "\"下载\"\r\n"));
    auto menu = [this] {
        TemplateErrorContext context(m_table);
        vellumry::runtime::SetErrorContextSource(&context);
        vellumry::runtime::ReportErrorCode(1, vellumry::test::kSampleFormId, 0x26010001);
    };
    EXPECT_EXIT(menu(), ::testing::ExitedWithCode(vellumry::test::kErrorExit),
                ::testing::HasSubstr("\"主窗口\"\r\n未找到所指定的窗口组件\r\n"));
}

}  // namespace
