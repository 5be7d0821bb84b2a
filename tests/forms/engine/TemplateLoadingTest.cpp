#include <gtest/gtest.h>

#include "forms/engine/TemplateLoading.h"
#include "runtime/ProgramHeader.h"
#include "tests/forms/description/SampleTemplate.h"
#include "tests/support/ReportExpectations.h"

namespace {

using namespace vellumry::forms;
using vellumry::test::kSampleCodeBase;
using vellumry::test::SampleTemplate;

TEST(TemplateLoadingDeath, AnUnreadableTemplateIsTheLoadError)
{
    std::vector<std::uint8_t> stream = SampleTemplate();
    vellumry::runtime::ProgramHeader header;
    header.codeBase = kSampleCodeBase;
    header.windowTemplateStart = stream.data();
    header.windowTemplateSize = static_cast<std::int32_t>(stream.size()) - 1;
    EXPECT_EXIT(LoadTemplate(header), ::testing::ExitedWithCode(vellumry::test::kErrorExit),
                vellumry::test::ReportsMessage("载入窗口模板数据段出错!"));
    header.windowTemplateStart = nullptr;
    header.windowTemplateSize = 0;
    EXPECT_EXIT(LoadTemplate(header), ::testing::ExitedWithCode(vellumry::test::kErrorExit),
                vellumry::test::ReportsMessage("载入窗口模板数据段出错!"));

    header.windowTemplateStart = stream.data();
    header.windowTemplateSize = static_cast<std::int32_t>(stream.size());
    FormTable table = LoadTemplate(header);
    EXPECT_EQ(table.Forms().size(), 2u);
}

}  // namespace
