#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "forms/engine/EventDispatch.h"
#include "forms/engine/FormEngine.h"
#include "forms/engine/HostNotify.h"
#include "runtime/EventSuppression.h"
#include "tests/forms/engine/TestUnits.h"
#include "tests/support/ReportExpectations.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using vellumry::test::kErrorExit;
using vellumry::test::RelatedLine;

class EventDispatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallTestUnitTypes();
        InstallTestHandlers();
        InstallTestForm(StandardUnits());
        forms::LoadForm(kTestFormId, false, nullptr);
        ClearJournal();
    }
    void TearDown() override { TearDownForms(); }
};

TEST_F(EventDispatch, BoundHandlerRunsWithTheUnitAsCurrentSource)
{
    RaisedEvent raised = RaiseEvent(kFirstButton, 0);
    EXPECT_TRUE(raised.ran);
    EXPECT_FALSE(raised.hasResult);
    EXPECT_THAT(Journal(), ElementsAre("event 0 16010001"));
    forms::EventSource after = forms::CurrentEventSource();
    EXPECT_EQ(after.formId, 0u);  // cleared once the handler returned
    EXPECT_EQ(after.unitId, 0u);
}

TEST_F(EventDispatch, UnboundEventsAndNoneHandlersCallNothing)
{
    EXPECT_FALSE(RaiseEvent(kFirstButton, 5).ran);
    EXPECT_FALSE(RaiseEvent(kSecondButton, 0).ran);  // stored as -1
    EXPECT_TRUE(Journal().empty());
}

TEST_F(EventDispatch, ArgumentsAndResultsTravelThroughTheRecord)
{
    RaisedEvent raised = RaiseEvent(kEditBox, 1, {4, -2});
    EXPECT_TRUE(raised.ran);
    EXPECT_TRUE(raised.hasResult);
    EXPECT_EQ(raised.result, 0);  // the handler answered false
    EXPECT_THAT(Journal(), ElementsAre("event 1 16010002 4 -2"));
}

TEST_F(EventDispatch, WindowUnitZeroIsTheFormsWindow)
{
    EXPECT_TRUE(RaiseEvent(0, 3).ran);
    EXPECT_THAT(Journal(), ElementsAre("event 3 06010000"));
}

TEST_F(EventDispatch, SuppressedEventsReachNoHandler)
{
    forms::HostNotify(forms::kNotifyRaiseSuppression, 0, 0);
    EXPECT_FALSE(RaiseEvent(kFirstButton, 0).ran);
    forms::HostNotify(forms::kNotifyLowerSuppression, 0, 0);
    forms::HostNotify(forms::kNotifyLowerSuppression, 0, 0);  // never below 0
    EXPECT_FALSE(runtime::EventsSuppressed());
    EXPECT_TRUE(RaiseEvent(kFirstButton, 0).ran);
}

TEST_F(EventDispatch, TypedArgumentsArePassedByTheirTag)
{
    forms::TypedUnitEvent event;
    event.formId = kTestFormId;
    event.unitId = kFirstButton;
    event.event = 0;
    event.argumentCount = 4;
    event.arguments[0] = {0xFFFFFF85, 0, runtime::kByteType, 0};       // byte: zero-extended
    event.arguments[1] = {0x0000FFFE, 0, runtime::kShortType, 0};      // short: sign-extended
    event.arguments[2] = {1, 2, runtime::kLongType, 0};                // two words
    event.arguments[3] = {5, 9, runtime::kIntType, 0x2};               // flag: both words
    EXPECT_EQ(forms::HostNotify(forms::kNotifyDispatchTypedEvent, reinterpret_cast<std::intptr_t>(&event), 0), 1);
    EXPECT_THAT(Journal(), ElementsAre("event 0 16010001 133 -2 8589934593 38654705669"));
}

TEST_F(EventDispatch, EventSourceLinksLendAnotherUnitsBindings)
{
    TearDownForms();
    auto units = StandardUnits();
    // The second button has no binding of its own but uses the first one's;
    // the edit box links to a button, a unit of another type, so keeps its own.
    units[3].events.clear();
    units[3].eventSource = kFirstButton;
    units[2].eventSource = kFirstButton;
    InstallTestForm(units);
    forms::LoadForm(kTestFormId, false, nullptr);
    ClearJournal();
    EXPECT_TRUE(RaiseEvent(kSecondButton, 0).ran);
    EXPECT_TRUE(RaiseEvent(kEditBox, 1).ran);
    EXPECT_FALSE(RaiseEvent(kEditBox, 0).ran);
    // The source recorded is the unit that raised the event.
    EXPECT_THAT(Journal(), ElementsAre("event 0 16010003", "event 1 16010002"));
}

TEST_F(EventDispatch, ReportsForMissingFormsUnitsAndUnitsThatCannotRaise)
{
    auto raiseFor = [](forms::FormId form, forms::UnitId unit) {
        forms::UnitEvent event;
        event.formId = form;
        event.unitId = unit;
        forms::DispatchEvent(event);
    };
    EXPECT_EXIT(raiseFor(0x52010077, kFirstButton), ::testing::ExitedWithCode(kErrorExit),
                HasSubstr("错误信息：未找到引发事件的窗口\r\n" + RelatedLine(0x52010077, 0)));
    EXPECT_EXIT(raiseFor(kTestFormId, 0x16015555), ::testing::ExitedWithCode(kErrorExit),
                HasSubstr("错误信息：未找到引发事件的窗口组件\r\n" + RelatedLine(0x52010001, 0x16015555)));
}

TEST(EventDispatchDeath, AUnitOfATypeWithoutEventsIsInvalid)
{
    auto scenario = [] {
        InstallTestUnitTypes();
        InstallTestHandlers();
        auto units = StandardUnits();
        units.push_back({kObjectUnit, runtime::kComObjectType, {0, 0, 0, 0}, 0, {{0, kOnButtonClick}}, "", ""});
        InstallTestForm(units);
        RaiseEvent(kObjectUnit, 0);
    };
    EXPECT_EXIT(scenario(), ::testing::ExitedWithCode(kErrorExit),
                HasSubstr("错误信息：引发事件的窗口组件无效\r\n" + RelatedLine(0x52010001, 0x16010004)));
}

}  // namespace
