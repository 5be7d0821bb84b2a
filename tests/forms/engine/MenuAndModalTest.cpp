// Forms holding menu-item records, and forms loaded modally: the focus they
// take and give back, and the idle callbacks of their loop.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

#include <string>

#include "forms/engine/FormEngine.h"
#include "forms/engine/UnitProperties.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "runtime/HeapOwner.h"
#include "runtime/IdleCallbacks.h"
#include "runtime/ValueHelpers.h"
#include "tests/forms/engine/TestUnits.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;
using ::testing::ElementsAre;

// The standard units with a menu item stored between the first button and
// the edit box: created last to first, the engine meets it before the
// units stored ahead of it.
std::vector<TestUnitEntry> UnitsWithMenuItem()
{
    auto units = StandardUnits();
    TestUnitEntry item{kMenuItem, runtime::kMenuItemType, {}, 0, {}, "", ""};
    item.menu = forms::MenuItemFields{forms::kMenuItemChecked, "&File", kOnButtonClick};
    units.insert(units.begin() + 2, item);
    return units;
}

std::string ReadText(forms::UnitId unit, std::int32_t index)
{
    runtime::OwnedText text(reinterpret_cast<char*>(forms::ReadUnitProperty(kTestFormId, unit, index, -1)));
    return std::string(runtime::TextView(text.get()));
}

std::uint64_t Read(forms::UnitId unit, std::int32_t index)
{
    return forms::ReadUnitProperty(kTestFormId, unit, index, -1);
}

class MenuItems : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallTestUnitTypes();
        InstallTestHandlers();
        ClearJournal();
        InstallTestForm(UnitsWithMenuItem());
        ASSERT_TRUE(forms::LoadForm(kTestFormId, false, nullptr));
    }
    void TearDown() override { TearDownForms(); }
};

TEST_F(MenuItems, AMenuItemStopsNoCreation)
{
    EXPECT_THAT(JournalLines("create"), ElementsAre("create 06010000 0", "create 16010003 100",
                                                    "create 16010002 110", "create 16010001 120"));
    EXPECT_NE(forms::ResolveUnit(kTestFormId, kFirstButton), nullptr);
    EXPECT_EQ(forms::ResolveUnit(kTestFormId, kMenuItem), nullptr) << "a menu item has no window";
}

TEST_F(MenuItems, ItsPropertiesActOnTheRecord)
{
    EXPECT_EQ(ReadText(kMenuItem, 0), "&File");
    EXPECT_EQ(Read(kMenuItem, 1), 1u);  // checked
    EXPECT_EQ(Read(kMenuItem, 2), 0u);  // not disabled
    EXPECT_EQ(Read(kMenuItem, 3), 1u);  // visible
    std::string caption = "&Edit";
    auto address = reinterpret_cast<std::uintptr_t>(caption.c_str());
    forms::WriteUnitProperty(kTestFormId, kMenuItem, 0, -1, static_cast<std::uint32_t>(address),
                             static_cast<std::uint32_t>(address >> 32));
    forms::WriteUnitProperty(kTestFormId, kMenuItem, 1, -1, 0, 0);
    forms::WriteUnitProperty(kTestFormId, kMenuItem, 2, -1, 7, 0);
    forms::WriteUnitProperty(kTestFormId, kMenuItem, 3, -1, 0, 0);
    EXPECT_EQ(ReadText(kMenuItem, 0), "&Edit");
    EXPECT_EQ(Read(kMenuItem, 1), 0u);
    EXPECT_EQ(Read(kMenuItem, 2), 1u);
    EXPECT_EQ(Read(kMenuItem, 3), 0u);
    // The units beside it are untouched.
    EXPECT_EQ(ReadText(kEditBox, 8), "hello");
}

TEST_F(MenuItems, ItsEventReachesItsHandlerWithTheItemAsSource)
{
    ClearJournal();
    RaisedEvent raised = RaiseEvent(kMenuItem, 0);
    EXPECT_TRUE(raised.ran);
    EXPECT_THAT(JournalLines("event"), ElementsAre("event 0 26010005"));
}

// Modal loading.

int g_idleCalls = 0;

void CloseFormWhenIdle(std::intptr_t)
{
    ++g_idleCalls;
    if (HWND form = WindowOfUnit(kWindowUnitId))
        DestroyWindow(form);
}

class ModalForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallTestUnitTypes();
        InstallTestHandlers();
        ClearJournal();
        g_idleCalls = 0;
        // Another top-level window with a focused child, as the main form
        // with its focused unit.
        static const char* className = [] {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = DefWindowProcA;
            windowClass.lpszClassName = "ModalTestWindow";
            RegisterClassA(&windowClass);
            return "ModalTestWindow";
        }();
        m_other = CreateWindowExA(0, className, "", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
        m_focused = CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, m_other, nullptr, nullptr,
                                    nullptr);
        ShowWindow(m_other, SW_SHOW);
        QApplication::setActiveWindow(ui::WidgetOf(m_other));
        SetFocus(m_focused);
    }
    void TearDown() override
    {
        TearDownForms();
        DestroyWindow(m_other);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    HWND m_other = nullptr;
    HWND m_focused = nullptr;
};

TEST_F(ModalForm, ReturnsWhenTheFormIsGoneAndGivesTheFocusBack)
{
    ASSERT_EQ(GetFocus(), m_focused);
    InstallTestForm(StandardUnits());
    HWND inLoop = nullptr;
    HWND focusInLoop = nullptr;
    // Inside the modal loop: the form is up; then it closes.
    QTimer inside;
    inside.setSingleShot(true);
    QObject::connect(&inside, &QTimer::timeout, [&] {
        inLoop = WindowOfUnit(kWindowUnitId);
        SetFocus(WindowOfUnit(kSecondButton));
        focusInLoop = GetFocus();
        DestroyWindow(inLoop);
    });
    inside.start(50);
    ASSERT_TRUE(forms::LoadForm(kTestFormId, true, nullptr));
    EXPECT_NE(inLoop, nullptr) << "LoadForm returned before the timer ran the loop";
    EXPECT_FALSE(IsWindow(inLoop));
    EXPECT_NE(focusInLoop, m_focused) << "the modal form had the focus meanwhile";
    EXPECT_THAT(JournalLines("message 8076"), ElementsAre("message 8076 16010003", "message 8076 16010002",
                                                          "message 8076 16010001"));
    EXPECT_EQ(GetFocus(), m_focused) << "the focus goes back to where it was before the form was shown";
}

TEST_F(ModalForm, ItsLoopRunsTheIdleCallbacks)
{
    InstallTestForm(StandardUnits());
    // The form closes from its idle callback; should the loop never run it,
    // a timer closes the form later so that the test ends all the same.
    QTimer enrol;
    enrol.setSingleShot(true);
    QObject::connect(&enrol, &QTimer::timeout, [] {
        if (HWND form = WindowOfUnit(kWindowUnitId))
            runtime::AddIdleCallback(form, CloseFormWhenIdle, 0);
    });
    enrol.start(0);
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [] {
        if (HWND form = WindowOfUnit(kWindowUnitId))
            DestroyWindow(form);
    });
    fallback.start(3000);
    ASSERT_TRUE(forms::LoadForm(kTestFormId, true, nullptr));
    EXPECT_EQ(g_idleCalls, 1);
}

}  // namespace
