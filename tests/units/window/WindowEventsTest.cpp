// The window unit's events in the order they come, handlers that close or
// use the window from inside its events, and the form's keyboard: Tab and
// Shift+Tab, Enter and the default button, Alt mnemonics. Event orders are
// named tables compared in one step.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QWidget>

#include <string>
#include <vector>

#include "forms/engine/EventDispatch.h"
#include "forms/engine/FormEngine.h"
#include "forms/engine/HostNotify.h"
#include "forms/engine/UnitProperties.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "runtime/HeapOwner.h"
#include "runtime/ValueHelpers.h"
#include "tests/forms/engine/TestUnits.h"
#include "units/common/UnitHost.h"
#include "units/window/WindowProperties.h"
#include "units/window/WindowUnit.h"
#include "units/window/WindowUnitType.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;

using Lines = std::vector<std::string>;

void Note(forms::EventCall& call, const std::string& what = {})
{
    char source[16];
    std::snprintf(source, sizeof source, "%08X", forms::CurrentEventSource().unitId);
    std::string line = "event " + std::to_string(call.event) + " " + source;
    if (!what.empty())
        line += " " + what;
    Journal().push_back(line);
}

HWND FormWindow()
{
    ui::WindowObject* window = forms::ResolveUnit(kTestFormId, 0);
    return window ? window->Handle() : nullptr;
}

// Closes the form from inside the event: its window, and with it the unit
// whose event this is, is gone when the handler returns.
void CloseForm(forms::EventCall& call)
{
    Note(call, "closes");
    DestroyWindow(FormWindow());
}

// Uses the window from its WM_DESTROY: reads the caption through the form
// engine and sends the window a message.
HWND g_dying = nullptr;
void UseDyingWindow(forms::EventCall& call)
{
    runtime::OwnedText caption(reinterpret_cast<char*>(forms::ReadUnitProperty(kTestFormId, 0, 8, -1)));
    Note(call, "caption " + std::string(runtime::TextView(caption.get())) + " valid " +
                   std::to_string(IsWindow(g_dying)));
    SendMessageA(g_dying, forms::kMessageFormIdle, 5, 0);
}

enum Handler : std::uint32_t { kLog = 0, kVeto, kAllow, kCloseForm, kUseDyingWindow };

class WindowEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallTestUnitTypes();
        units::InstallWindowUnitType();
        units::UnitLibraryNotify(1, reinterpret_cast<std::intptr_t>(&forms::HostNotify), 0);
        static const forms::EventHandler handlers[] = {OnEvent, AnswerFalse, AnswerTrue, CloseForm, UseDyingWindow};
        forms::SetEventHandlers(handlers);
        ClearJournal();
    }
    void TearDown() override
    {
        TearDownForms();
        if (m_other)
            DestroyWindow(m_other);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void Load(std::vector<forms::EventBinding> events, units::WindowProperties properties = Standard(),
              std::vector<TestUnitEntry> specs = StandardUnits())
    {
        units::Bytes record = units::SaveRecord(properties);
        specs[0].content.assign(record.begin(), record.end());
        specs[0].events = std::move(events);
        InstallTestForm(specs);
        ASSERT_TRUE(forms::LoadForm(kTestFormId, false, nullptr));
        ASSERT_NE(FormWindow(), nullptr);
    }

    static units::WindowProperties Standard()
    {
        units::WindowProperties p;
        p.Caption = "Vellumry";
        p.StartPosition = 0;
        return p;
    }

    // Another top-level window, to take the activation away.
    HWND Other()
    {
        if (!m_other) {
            m_other = CreateWindowExA(0, units::CWinFormUnit::DefaultClassName(), "other", WS_OVERLAPPED, 0, 0, 50,
                                      50, nullptr, nullptr, nullptr, nullptr);
            ShowWindow(m_other, SW_SHOW);
        }
        return m_other;
    }

    static void Activate(HWND window) { QApplication::setActiveWindow(ui::WidgetOf(window)); }

    HWND m_other = nullptr;
};

TEST_F(WindowEvents, ShowActivateDeactivateHideComeAsFiveSixEightTenEleven)
{
    Load({{5, kLog}, {6, kLog}, {8, kLog}, {10, kLog}, {11, kLog}});
    HWND form = FormWindow();
    Activate(form);
    Activate(Other());
    Activate(form);
    ShowWindow(form, SW_HIDE);
    ShowWindow(form, SW_SHOW);
    const Lines expected = {
        "event 10 06010000",  // shown by the load
        "event 8 06010000",   // the first activation only
        "event 5 06010000",
        "event 6 06010000",
        "event 5 06010000",
        "event 6 06010000",   // hiding takes the activation away
        "event 11 06010000",
        "event 10 06010000",
    };
    EXPECT_EQ(JournalLines("event"), expected);
}

TEST_F(WindowEvents, EventOneCanKeepTheWindowOpenAfterEventTwelveAllowed)
{
    Load({{12, kAllow}, {1, kVeto}, {2, kLog}});
    HWND form = FormWindow();
    SendMessageA(form, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(form));
    SendMessageA(form, WM_CLOSE, 0, 0);
    Lines seen = JournalLines("event");
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen, (Lines{"event 12 06010000", "event 1 06010000", "event 12 06010000", "event 1 06010000"}));
    EXPECT_TRUE(IsWindow(form));
}

TEST_F(WindowEvents, ClosingInEventTwelveEndsTheCloseThere)
{
    Load({{12, kCloseForm}, {1, kLog}, {2, kLog}});
    HWND form = FormWindow();
    SendMessageA(form, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ(JournalLines("event"), (Lines{"event 12 06010000 closes", "event 2 06010000"}));
}

TEST_F(WindowEvents, ClosingInTheFirstActivationRaisesNoActivation)
{
    Load({{8, kCloseForm}, {5, kLog}, {2, kLog}});
    HWND form = FormWindow();
    Activate(form);
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ(JournalLines("event"), (Lines{"event 8 06010000 closes", "event 2 06010000"}));
}

TEST_F(WindowEvents, EventTwoMayReadTheFormAndSendItMessages)
{
    Load({{2, kUseDyingWindow}, {7, kLog}});
    g_dying = FormWindow();
    DestroyWindow(g_dying);
    EXPECT_FALSE(IsWindow(g_dying));
    EXPECT_EQ(JournalLines("event"),
              (Lines{"event 2 06010000 caption Vellumry valid 1", "event 7 06010000 5"}));
}

// The keyboard.

class FormKeyboard : public WindowEvents {
protected:
    // The standard units, all visible and taking the focus, with their clicks
    // bound: button 1, edit box, button 2 in unit order.
    void LoadUnits(units::WindowProperties properties = Standard())
    {
        auto specs = StandardUnits();
        for (std::size_t i = 1; i < specs.size(); ++i) {
            specs[i].flags = forms::kUnitVisible | forms::kUnitTabStop;
            specs[i].events = {{0, kLog}};
        }
        Load({}, properties, specs);
        Activate(FormWindow());
    }
    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target ? target : ui::WidgetOf(FormWindow()), key, modifiers);
    }
    static void MakeDefault(forms::UnitId unit) { forms::WriteUnitProperty(kTestFormId, unit, 9, -1, 1, 0); }
};

TEST_F(FormKeyboard, TabAndShiftTabWalkTheUnitsInUnitOrderAndWrapAround)
{
    LoadUnits();
    SetFocus(WindowOfUnit(kFirstButton));
    std::vector<HWND> visited;
    for (int i = 0; i < 3; ++i) {
        Press(Qt::Key_Tab);
        visited.push_back(GetFocus());
    }
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    visited.push_back(GetFocus());
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    visited.push_back(GetFocus());
    const std::vector<HWND> expected = {WindowOfUnit(kEditBox), WindowOfUnit(kSecondButton), WindowOfUnit(kFirstButton),
                                        WindowOfUnit(kSecondButton), WindowOfUnit(kEditBox)};
    EXPECT_EQ(visited, expected);
}

TEST_F(FormKeyboard, TabSkipsUnitsThatAreHiddenOrDisabled)
{
    LoadUnits();
    EnableWindow(WindowOfUnit(kEditBox), FALSE);
    SetFocus(WindowOfUnit(kFirstButton));
    Press(Qt::Key_Tab);
    EXPECT_EQ(GetFocus(), WindowOfUnit(kSecondButton));
    EnableWindow(WindowOfUnit(kEditBox), TRUE);
    ShowWindow(WindowOfUnit(kEditBox), SW_HIDE);
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(GetFocus(), WindowOfUnit(kFirstButton));
}

TEST_F(FormKeyboard, EnterClicksTheFocusedDefaultButtonElseTheFirstDefaultButton)
{
    LoadUnits();
    MakeDefault(kSecondButton);
    SetFocus(WindowOfUnit(kEditBox));
    Press(Qt::Key_Return);  // the edit box is no default button: the form's first one is clicked
    MakeDefault(kFirstButton);
    SetFocus(WindowOfUnit(kSecondButton));
    Press(Qt::Key_Return);  // the focused default button itself
    SetFocus(WindowOfUnit(kEditBox));
    Press(Qt::Key_Return);  // now button 1 comes first in unit order
    EnableWindow(WindowOfUnit(kFirstButton), FALSE);
    Press(Qt::Key_Return);  // a disabled default button is passed over
    EXPECT_EQ(JournalLines("event"), (Lines{"event 0 16010003", "event 0 16010003", "event 0 16010001",
                                            "event 0 16010003"}));
}

TEST_F(FormKeyboard, AUnitKeepsTheKeysItAsksForFromTheForm)
{
    LoadUnits();
    MakeDefault(kSecondButton);
    HWND box = WindowOfUnit(kEditBox);
    auto* unit = dynamic_cast<TestUnit*>(ui::WindowObject::FromHandle(box));
    ASSERT_NE(unit, nullptr);
    SetFocus(box);

    // Every key: neither Enter nor Esc nor Tab is the form's.
    unit->dialogCode = DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    Press(Qt::Key_Return);
    Press(Qt::Key_Escape);
    Press(Qt::Key_Tab);
    EXPECT_TRUE(IsWindow(FormWindow()));
    EXPECT_EQ(GetFocus(), box);
    EXPECT_TRUE(JournalLines("event").empty());

    // Tab only: Enter is the form's again.
    unit->dialogCode = DLGC_WANTTAB;
    Press(Qt::Key_Tab);
    EXPECT_EQ(GetFocus(), box);
    Press(Qt::Key_Return);
    EXPECT_EQ(JournalLines("event"), (Lines{"event 0 16010003"}));

    // Nothing: Tab moves on, Esc closes.
    unit->dialogCode = DLGC_WANTCHARS;
    Press(Qt::Key_Tab);
    EXPECT_EQ(GetFocus(), WindowOfUnit(kSecondButton));
    SetFocus(box);
    Press(Qt::Key_Escape);
    EXPECT_FALSE(IsWindow(FormWindow()));
}

TEST_F(FormKeyboard, EnterMovesTheFocusWhenTheFormSaysSo)
{
    units::WindowProperties p = Standard();
    p.EnterMovesFocus = 1;
    LoadUnits(p);
    MakeDefault(kSecondButton);
    SetFocus(WindowOfUnit(kFirstButton));
    Press(Qt::Key_Return);
    EXPECT_EQ(GetFocus(), WindowOfUnit(kEditBox));
    EXPECT_TRUE(JournalLines("event").empty());
    SetFocus(WindowOfUnit(kSecondButton));
    Press(Qt::Key_Return);  // the focused default button is still clicked
    EXPECT_EQ(JournalLines("event"), (Lines{"event 0 16010003"}));
}

TEST_F(FormKeyboard, AltWithALetterClicksTheVisibleEnabledButtonMarkedWithIt)
{
    LoadUnits();
    SetWindowTextA(WindowOfUnit(kFirstButton), "&Start");
    SetWindowTextA(WindowOfUnit(kSecondButton), "S&top");
    SetFocus(WindowOfUnit(kEditBox));
    Press(Qt::Key_T, Qt::AltModifier);
    Press(Qt::Key_S, Qt::AltModifier);
    Press(Qt::Key_X, Qt::AltModifier);  // nobody's mnemonic
    EnableWindow(WindowOfUnit(kSecondButton), FALSE);
    Press(Qt::Key_T, Qt::AltModifier);  // disabled: not clicked
    ShowWindow(WindowOfUnit(kFirstButton), SW_HIDE);
    Press(Qt::Key_S, Qt::AltModifier);  // hidden: not clicked
    Press(Qt::Key_S);                   // without Alt it is no mnemonic
    EXPECT_EQ(JournalLines("event"), (Lines{"event 0 16010003", "event 0 16010001"}));
}

}  // namespace
