#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "forms/description/SupportLibraries.h"
#include "forms/engine/FormEngine.h"
#include "forms/engine/FormEngineWiring.h"
#include "forms/engine/HostNotify.h"
#include "forms/engine/UnitCursors.h"
#include "platform/ui/qt/QtHandles.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "runtime/EventSuppression.h"
#include "runtime/Startup.h"
#include "tests/forms/engine/TestUnits.h"
#include "tests/support/ReportExpectations.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;
using vellumry::test::kErrorExit;
using vellumry::test::RelatedLine;
using ::testing::ElementsAre;

class FormLoading : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallTestUnitTypes();
        InstallTestHandlers();
        ClearJournal();
    }
    void TearDown() override { TearDownForms(); }
};

TEST_F(FormLoading, WindowFirstThenUnitsFromTheLastWithControlIdsInCreationOrder)
{
    InstallTestForm(StandardUnits());
    ASSERT_TRUE(forms::LoadForm(kTestFormId, false, nullptr));
    EXPECT_THAT(JournalLines("create"), ElementsAre("create 06010000 0", "create 16010003 100",
                                                    "create 16010002 110", "create 16010001 120"));
    EXPECT_EQ(GetWindowLongA(WindowOfUnit(kSecondButton), GWL_ID), 100);
    EXPECT_EQ(GetParent(WindowOfUnit(kFirstButton)), WindowOfUnit(kWindowUnitId));
}

TEST_F(FormLoading, StyleCarriesDisabledAndTabStopFromTheFlags)
{
    auto units = StandardUnits();
    units[1].flags = forms::kUnitVisible | forms::kUnitDisabled;
    InstallTestForm(units);
    forms::LoadForm(kTestFormId, false, nullptr);
    EXPECT_EQ(UnitOf(kFirstButton)->style, 0x08000000u);
    EXPECT_EQ(UnitOf(kSecondButton)->style, 0x00010000u);  // takes the focus
}

TEST_F(FormLoading, StoredOrderIsTopToBottomZOrder)
{
    InstallTestForm(StandardUnits());
    forms::LoadForm(kTestFormId, false, nullptr);
    HWND form = WindowOfUnit(kWindowUnitId);
    EXPECT_EQ(GetTopWindow(form), WindowOfUnit(kFirstButton));
    EXPECT_EQ(GetNextWindow(WindowOfUnit(kFirstButton), GW_HWNDNEXT), WindowOfUnit(kEditBox));
    EXPECT_EQ(GetNextWindow(WindowOfUnit(kEditBox), GW_HWNDNEXT), WindowOfUnit(kSecondButton));
    EXPECT_EQ(GetNextWindow(WindowOfUnit(kSecondButton), GW_HWNDNEXT), nullptr);
}

TEST_F(FormLoading, EngineMessagesThenVisibilityThenEventsZeroThreeFour)
{
    InstallTestForm(StandardUnits());
    forms::LoadForm(kTestFormId, false, nullptr);
    EXPECT_THAT(JournalLines("message"), ElementsAre("message 806F 16010003", "message 806F 16010002",
                                                     "message 806F 16010001", "message 8004 06010000"));
    // Events raised during creation reached no handler; afterwards the window's
    // events 0, 3 and 4 ran in order, each with the window as their source.
    EXPECT_TRUE(JournalLines("event during creation").empty());
    EXPECT_THAT(JournalLines("event"), ElementsAre("event 0 06010000", "event 3 06010000", "event 4 06010000"));
    EXPECT_FALSE(runtime::EventsSuppressed());
    EXPECT_TRUE(IsWindowVisible(WindowOfUnit(kWindowUnitId)));
    EXPECT_TRUE(IsWindowVisible(WindowOfUnit(kFirstButton)));
    EXPECT_FALSE(IsWindowVisible(WindowOfUnit(kEditBox)));  // stored invisible
}

TEST_F(FormLoading, LoadingAgainBringsTheFormForwardInsteadOfASecondWindow)
{
    InstallTestForm(StandardUnits());
    forms::LoadForm(kTestFormId, false, nullptr);
    HWND first = WindowOfUnit(kWindowUnitId);
    ClearJournal();
    EXPECT_TRUE(forms::LoadForm(kTestFormId, false, nullptr));
    EXPECT_TRUE(JournalLines("create").empty());
    EXPECT_EQ(WindowOfUnit(kWindowUnitId), first);
}

TEST_F(FormLoading, AUnitTypeWithoutCreateRoutineStopsTheCreation)
{
    auto units = StandardUnits();
    // A picture box between the buttons: created second-to-first, it stops the
    // creation of everything stored before it.
    units.insert(units.begin() + 2, {0x16010009, runtime::kPicBoxType, {0, 0, 5, 5}, 1, {}, "", ""});
    InstallTestForm(units);
    ASSERT_TRUE(forms::LoadForm(kTestFormId, false, nullptr));
    EXPECT_THAT(JournalLines("create"), ElementsAre("create 06010000 0", "create 16010003 100",
                                                    "create 16010002 110"));
    EXPECT_EQ(forms::ResolveUnit(kTestFormId, kFirstButton), nullptr);
}

TEST_F(FormLoading, AnOwnerThatIsNoWindowFailsWithoutReport)
{
    InstallTestForm(StandardUnits());
    ui::WindowObject stranger;  // attached to nothing
    EXPECT_FALSE(forms::LoadForm(kTestFormId, false, &stranger));
    EXPECT_TRUE(JournalLines("create").empty());
    EXPECT_FALSE(forms::LoadForm(0x52019999, false, nullptr));
}

TEST_F(FormLoading, PointerDataGivesTheUnitItsCursor)
{
    auto units = StandardUnits();
    units[1].mousePointer = {0x89, 0x7F, 0, 0};  // stored kind 32649, the hand
    InstallTestForm(units);
    forms::LoadForm(kTestFormId, false, nullptr);
    QWidget* button = ui::WidgetOf(WindowOfUnit(kFirstButton));
    EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(ui::WidgetOf(WindowOfUnit(kSecondButton))->testAttribute(Qt::WA_SetCursor));
}

TEST_F(FormLoading, ClosingTheWindowRestoresTheTemplateTableAndReleasesUnits)
{
    InstallTestForm(StandardUnits());
    forms::LoadForm(kTestFormId, false, nullptr);
    ASSERT_TRUE(forms::AnyLiveForm());
    DestroyWindow(WindowOfUnit(kWindowUnitId));
    EXPECT_FALSE(forms::AnyLiveForm());
    forms::LoadedForm* form = forms::FindLoadedForm(kTestFormId);
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->working.has_value());
    EXPECT_EQ(forms::ResolveUnit(kTestFormId, kEditBox), nullptr);
    // Units go first, the window last.
    EXPECT_EQ(JournalLines("destroyed").back(), "destroyed 06010000");
    // The form loads again from its template.
    ClearJournal();
    EXPECT_TRUE(forms::LoadForm(kTestFormId, false, nullptr));
    EXPECT_EQ(JournalLines("create").size(), 4u);
}

TEST_F(FormLoading, IdleCallsGoToEachFormUntilItWantsNoMore)
{
    InstallTestForm(StandardUnits());
    forms::LoadForm(kTestFormId, false, nullptr);
    TestUnit* window = UnitOf(kWindowUnitId);
    window->idleCallsLeft = 2;
    EXPECT_TRUE(forms::IdleForms(0, 0));
    EXPECT_FALSE(forms::IdleForms(1, 15));
    EXPECT_FALSE(forms::IdleForms(2, 30));  // no more calls in this idle period
    EXPECT_EQ(window->idleMilliseconds, (std::vector<std::uint32_t>{0, 15}));
    window->idleCallsLeft = 1;
    forms::IdleForms(0, 0);  // a new idle period
    EXPECT_EQ(window->idleMilliseconds.size(), 3u);
}

TEST(FormLoadingDeath, AMissingStartFormIsReportedWithItsId)
{
    auto scenario = [] {
        forms::InstallFormEngine();
        InstallTestUnitTypes();
        InstallTestForm(StandardUnits());
        runtime::LoadStartForm(0x52010005);
    };
    EXPECT_EXIT(scenario(), ::testing::ExitedWithCode(kErrorExit),
                ::testing::HasSubstr("错误信息：载入启动窗口失败\r\n" + RelatedLine(0x52010005, 0) +
                                     "\r\n未找到所指定的窗口\r\n"));
}

TEST(FormLoadingDeath, AStartFormWhoseWindowCannotBeCreatedIsReported)
{
    auto scenario = [] {
        forms::InstallFormEngine();
        InstallTestUnitTypes();
        forms::SetUnitInterface(runtime::kWindowType, nullptr);  // no way to create the window
        InstallTestForm(StandardUnits());
        runtime::LoadStartForm(kTestFormId);
    };
    EXPECT_EXIT(scenario(), ::testing::ExitedWithCode(kErrorExit),
                ::testing::HasSubstr("错误信息：载入启动窗口失败\r\n" + RelatedLine(0x52010001, 0) +
                                     "\r\n所访问窗口的\"标记\"属性值: \"main\""));
}

}  // namespace
