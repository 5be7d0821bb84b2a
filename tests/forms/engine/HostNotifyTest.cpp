#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <cstring>

#include "forms/engine/EventDispatch.h"
#include "forms/engine/FormEngine.h"
#include "forms/engine/HostNotify.h"
#include "platform/ui/qt/QtHandles.h"
#include "runtime/DataTypeTag.h"
#include "runtime/IdleCallbacks.h"
#include "runtime/RuntimeState.h"
#include "tests/forms/engine/TestUnits.h"
#include "tests/support/ReportExpectations.h"
#include "tests/support/UiPictures.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;
using forms::HostNotify;

std::intptr_t Notify(std::int32_t code, std::intptr_t a = 0, std::intptr_t b = 0)
{
    return HostNotify(code, a, b);
}

class HostNotifyCodes : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallTestUnitTypes();
        InstallTestHandlers();
        InstallTestForm(StandardUnits());
        ClearJournal();
    }
    void TearDown() override { TearDownForms(); }
};

TEST_F(HostNotifyCodes, ConstantsAndClassification)
{
    EXPECT_EQ(Notify(forms::kNotifyOne), 1);
    EXPECT_EQ(Notify(forms::kNotifyVersion), 0x70005);
    EXPECT_EQ(Notify(forms::kNotifyZero), 0);
    EXPECT_EQ(Notify(forms::kNotifyFormCount), 1);
    EXPECT_EQ(Notify(forms::kNotifyClassifyType, runtime::kButtonType), 1);     // has a window
    EXPECT_EQ(Notify(forms::kNotifyClassifyType, runtime::kComObjectType), 0);  // neither flag
    EXPECT_EQ(Notify(forms::kNotifyClassifyType, 0x7777), 0);
    EXPECT_NE(Notify(forms::kNotifyDataType, runtime::kListViewType), 0);
    EXPECT_EQ(Notify(forms::kNotifyDataType, runtime::kTextType), 0);
    runtime::Runtime().runMode = 3;
    EXPECT_EQ(Notify(forms::kNotifyRunMode), 3);
}

TEST_F(HostNotifyCodes, ProgramPathsAreCopiedAndAnswered)
{
    runtime::RuntimeState& state = runtime::Runtime();
    state.programFolder = "\\opt\\vellumry";
    state.programFileName = "vellumry";
    char buffer[MAX_PATH];
    EXPECT_EQ(Notify(forms::kNotifyCopyProgramPath, 1, reinterpret_cast<std::intptr_t>(buffer)), 14);
    EXPECT_STREQ(buffer, "\\opt\\vellumry\\");
    Notify(forms::kNotifyCopyProgramPath, 2001, reinterpret_cast<std::intptr_t>(buffer));
    EXPECT_STREQ(buffer, "\\opt\\vellumry\\");
    Notify(forms::kNotifyCopyProgramPath, 2002, reinterpret_cast<std::intptr_t>(buffer));
    EXPECT_STREQ(buffer, "vellumry");
    Notify(forms::kNotifyCopyProgramPath, 7, reinterpret_cast<std::intptr_t>(buffer));
    EXPECT_STREQ(buffer, "");
    EXPECT_STREQ(reinterpret_cast<const char*>(Notify(forms::kNotifyProgramFolder)), "\\opt\\vellumry");
    EXPECT_STREQ(reinterpret_cast<const char*>(Notify(forms::kNotifyProgramFileName)), "vellumry");
}

TEST_F(HostNotifyCodes, LoadFormAndResolveUnits)
{
    EXPECT_EQ(Notify(forms::kNotifyResolveUnit, kTestFormId, kFirstButton), 0);  // not loaded yet
    forms::FormLoadRequest request{kTestFormId, nullptr, 0};
    EXPECT_EQ(Notify(forms::kNotifyLoadForm, reinterpret_cast<std::intptr_t>(&request)), 0);
    EXPECT_EQ(Notify(forms::kNotifyResolveUnit, kTestFormId, kFirstButton),
              reinterpret_cast<std::intptr_t>(UnitOf(kFirstButton)));
    EXPECT_EQ(Notify(forms::kNotifyResolveUnit, kTestFormId, 0), reinterpret_cast<std::intptr_t>(UnitOf(kWindowUnitId)));
    forms::FormLoadRequest missing{0x52012345, nullptr, 0};
    EXPECT_EQ(Notify(forms::kNotifyLoadForm, reinterpret_cast<std::intptr_t>(&missing)), -1);
    EXPECT_EXIT(Notify(forms::kNotifyResolveUnitOrReport, kTestFormId, 0x16019999),
                ::testing::ExitedWithCode(kErrorExit),
                ::testing::HasSubstr("错误信息：指定窗口或窗口组件不存在或尚未载入\r\n" +
                                     RelatedLine(0x52010001, 0x16019999)));
}

TEST_F(HostNotifyCodes, CurrentEventSourceInsideAHandler)
{
    static forms::EventSource seen;
    static std::intptr_t answer;
    static const forms::EventHandler handlers[] = {+[](forms::EventCall&) {
        answer = HostNotify(forms::kNotifyCurrentEventSource, reinterpret_cast<std::intptr_t>(&seen), 0);
    }};
    forms::SetEventHandlers(handlers);
    forms::LoadForm(kTestFormId, false, nullptr);  // window event 0 runs handler 0
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(seen.formId, kTestFormId);
    EXPECT_EQ(seen.unitId, kWindowUnitId);
    forms::EventSource outside;
    EXPECT_EQ(Notify(forms::kNotifyCurrentEventSource, reinterpret_cast<std::intptr_t>(&outside)), 0);
}

TEST_F(HostNotifyCodes, WindowObjectsWrapDetachAndAttach)
{
    forms::LoadForm(kTestFormId, false, nullptr);
    HWND window = WindowOfUnit(kFirstButton);
    EXPECT_EQ(Notify(forms::kNotifyWrapWindow, reinterpret_cast<std::intptr_t>(window)), 0);  // already wrapped
    HWND bare = CreateWindowExA(0, "TestUnitWindow", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    std::intptr_t wrapper = Notify(forms::kNotifyWrapWindow, reinterpret_cast<std::intptr_t>(bare));
    ASSERT_NE(wrapper, 0);
    EXPECT_EQ(Notify(forms::kNotifyWindowHandle, wrapper), reinterpret_cast<std::intptr_t>(bare));
    EXPECT_EQ(Notify(forms::kNotifyDetachWindow, wrapper), reinterpret_cast<std::intptr_t>(bare));
    EXPECT_EQ(Notify(forms::kNotifyWindowHandle, wrapper), 0);
    EXPECT_EQ(Notify(forms::kNotifyAttachWindow, wrapper, reinterpret_cast<std::intptr_t>(bare)), 1);
    EXPECT_EQ(Notify(forms::kNotifyAttachWindow, wrapper, reinterpret_cast<std::intptr_t>(window)), 0);
    Notify(forms::kNotifyDestroyWrapper, wrapper);
    EXPECT_EQ(ui::WindowObject::FromHandle(bare), nullptr);
    DestroyWindow(bare);
}

int g_idleRuns = 0;

TEST_F(HostNotifyCodes, IdleCallbacksOncePerWindowAndDroppedWithIt)
{
    forms::LoadForm(kTestFormId, false, nullptr);
    HWND window = WindowOfUnit(kFirstButton);
    g_idleRuns = 0;
    forms::IdleCallbackRecord record{[](std::intptr_t argument) { g_idleRuns += static_cast<int>(argument); }, 5};
    Notify(forms::kNotifyAddIdleCallback, reinterpret_cast<std::intptr_t>(window), reinterpret_cast<std::intptr_t>(&record));
    Notify(forms::kNotifyAddIdleCallback, reinterpret_cast<std::intptr_t>(window), reinterpret_cast<std::intptr_t>(&record));
    runtime::RunIdleCallbacks();
    EXPECT_EQ(g_idleRuns, 5);
    Notify(forms::kNotifyRemoveIdleCallback, reinterpret_cast<std::intptr_t>(window));
    runtime::RunIdleCallbacks();
    EXPECT_EQ(g_idleRuns, 5);
    Notify(forms::kNotifyAddIdleCallback, reinterpret_cast<std::intptr_t>(window), reinterpret_cast<std::intptr_t>(&record));
    DestroyWindow(window);
    runtime::RunIdleCallbacks();
    EXPECT_EQ(g_idleRuns, 5);
}

TEST_F(HostNotifyCodes, ProgramIconsAreMadeOnceFromTheIconGroup)
{
    static std::vector<std::uint8_t> ico = IcoFileBytes(32, Qt::blue);
    forms::SetProgramIconData(ico);
    auto* icons = reinterpret_cast<forms::ProgramIcons*>(Notify(forms::kNotifyProgramIcons));
    ASSERT_NE(icons, nullptr);
    ASSERT_NE(icons->big, nullptr);
    EXPECT_EQ(ui::IconOf(icons->small).availableSizes().front(), QSize(16, 16));
    auto* again = reinterpret_cast<forms::ProgramIcons*>(Notify(forms::kNotifyProgramIcons));
    EXPECT_EQ(again->big, icons->big);
    forms::ReleaseProgramIcons();
    EXPECT_TRUE(ui::IconOf(icons->big).isNull());
}

TEST_F(HostNotifyCodes, MemoryThroughTheRuntimeHeap)
{
    auto* block = reinterpret_cast<char*>(Notify(forms::kNotifyAllocate, 16, 0));
    std::memcpy(block, "abc", 4);
    block = reinterpret_cast<char*>(Notify(forms::kNotifyReallocate, reinterpret_cast<std::intptr_t>(block), 64));
    EXPECT_STREQ(block, "abc");
    Notify(forms::kNotifyFree, reinterpret_cast<std::intptr_t>(block));
    EXPECT_EQ(Notify(forms::kNotifyAllocate, -1, 1), 0);  // the raw heap may fail quietly
    EXPECT_EXIT(Notify(forms::kNotifyAllocate, -1, 0), ::testing::ExitedWithCode(kErrorExit),
                ::testing::HasSubstr("分配 -1 字节内存失败!"));
    EXPECT_EXIT(Notify(forms::kNotifyReportError, reinterpret_cast<std::intptr_t>("boom")),
                ::testing::ExitedWithCode(kErrorExit), ::testing::HasSubstr("错误信息：boom\r\n"));
    EXPECT_EXIT(Notify(forms::kNotifyEndProgram, 9), ::testing::ExitedWithCode(9), ::testing::_);
}

}  // namespace
