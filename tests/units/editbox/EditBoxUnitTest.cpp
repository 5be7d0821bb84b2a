// The edit box unit on a real form: its window and style bits, the record
// versions it accepts, the property table with its clamps and re-creations,
// ContentChanged once per change and once per Content write, the input
// filter, the rewrite on focus loss, the spin modes, the selection, the
// context menu whose keys stay its own, and Content written and read by
// workers while the window thread stops them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "forms/engine/UnitProperties.h"
#include "platform/kernel/HandleTable.h"
#include "platform/kernel/ThreadApi.h"
#include "platform/ui/SimulatedInput.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "runtime/RuntimeHeap.h"
#include "tests/support/GbkText.h"
#include "tests/units/UnitTestForm.h"
#include "units/common/ControlStyles.h"
#include "units/editbox/EditBoxUnit.h"
#include "units/editbox/EditBoxUnitType.h"
#include "units/editbox/EditBoxWidgets.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;
using namespace std::chrono_literals;
namespace kernel = vellumry::kernel;
using namespace vellumry::units;

constexpr forms::UnitId kOtherBox = 0x16010012;
constexpr std::int32_t kContentIndex = 8;  // property 0 as the application numbers it
constexpr std::int32_t kBoxControlId = 1001;

std::vector<std::uint8_t> RecordOf(const EditBoxProperties& p)
{
    units::Bytes record = units::SaveRecord(p);
    return std::vector<std::uint8_t>(record.begin(), record.end());
}

EditBoxProperties Box(const char* content, std::int32_t inputMode = 0)
{
    EditBoxProperties p;
    p.Content = content;
    p.InputMode = inputMode;
    return p;
}

class EditBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareUnitTestForm();
        units::InstallEditBoxUnitType();
    }
    void TearDown() override
    {
        kernel::StopAllWorkers(1);
        PumpUntil([] { return kernel::LiveWorkerCount() == 0; });
        TearDownForms();
    }

    void Load(const EditBoxProperties& p, bool withOtherBox = false)
    {
        std::vector<TestUnitEntry> others;
        if (withOtherBox) {
            others.push_back({kOtherBox, runtime::kEditBoxType, {10, 100, 80, 24},
                              forms::kUnitVisible | forms::kUnitTabStop, {}, "", ""});
            auto record = RecordOf(Box("other"));
            others.back().content.assign(record.begin(), record.end());
        }
        ASSERT_TRUE(LoadUnitTestForm(runtime::kEditBoxType, RecordOf(p), {10, 10, 120, 24},
                                     {{0, kOnEditChange}, {1, kOnWindowEvent}, {-7, kOnWindowEvent},
                                      {-8, kOnWindowEvent}},
                                     0x00808080, std::move(others)));
        ASSERT_NE(Unit(), nullptr);
    }
    CEditBoxUnit* Unit(forms::UnitId unitId = kUnitUnderTest)
    {
        return dynamic_cast<CEditBoxUnit*>(forms::ResolveUnit(kTestFormId, unitId));
    }
    DWORD Style() { return static_cast<DWORD>(GetWindowLongA(Unit()->Handle(), GWL_STYLE)); }
    QLineEdit* Line() { return qobject_cast<QLineEdit*>(Unit()->Editor()); }
    CEditBoxUnit* CreateDirectly(const std::vector<std::uint8_t>& record)
    {
        auto create = forms::OperationsOf(units::host::DataType(runtime::kEditBoxType)).create;
        HWND form = forms::ResolveUnit(kTestFormId, 0)->Handle();
        return static_cast<CEditBoxUnit*>(create(record.data(), static_cast<std::int32_t>(record.size()),
                                                 WS_VISIBLE, form, kBoxControlId, nullptr, 10, 200, 80, 24,
                                                 kTestFormId, 0x16010099, 0, 0));
    }
    void Activate()
    {
        QWidget* form = ui::WidgetOf(forms::ResolveUnit(kTestFormId, 0)->Handle());
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    }
    std::int32_t Read(std::int32_t number)
    {
        forms::UnitPropertyValue value;
        EXPECT_EQ(Unit()->ReadProperty(number, &value), 1);
        return static_cast<std::int32_t>(value.number);
    }
};

TEST_F(EditBox, ASingleLineBoxOfClassEditShowsItsContent)
{
    Load(Box("2"));
    HWND box = Unit()->Handle();
    char className[16];
    GetClassNameA(box, className, sizeof className);
    EXPECT_STREQ(className, "EDIT");
    DWORD style = Style();
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & ES_AUTOHSCROLL);
    EXPECT_FALSE(style & (ES_MULTILINE | ES_NOHIDESEL | ES_READONLY | ES_PASSWORD | ES_CENTER | ES_RIGHT));
    EXPECT_TRUE(GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) << "border 1";
    ASSERT_NE(Line(), nullptr);
    EXPECT_EQ(Line()->text(), QStringLiteral("2"));
    EXPECT_EQ(Unit()->Text(), "2");
    EXPECT_EQ(Unit()->Spin(), nullptr);
}

TEST_F(EditBox, TheRecordsSettingsBecomeStyleBits)
{
    Load(Box(""));
    EditBoxProperties p = Box("line one\r\nline two");
    p.MultiLine = 1;
    p.ScrollBars = 3;
    p.TextAlignment = 2;
    p.HideSelection = 0;
    p.InputMode = 1;
    p.LetterCase = 2;
    CEditBoxUnit* multi = CreateDirectly(RecordOf(p));
    ASSERT_NE(multi, nullptr);
    auto style = static_cast<DWORD>(GetWindowLongA(multi->Handle(), GWL_STYLE));
    for (DWORD bit : {ES_MULTILINE, ES_AUTOVSCROLL, ES_WANTRETURN, ES_AUTOHSCROLL, WS_HSCROLL, WS_VSCROLL, ES_RIGHT,
                      ES_NOHIDESEL, ES_READONLY, ES_UPPERCASE})
        EXPECT_TRUE(style & bit) << std::hex << bit;
    auto* area = qobject_cast<QPlainTextEdit*>(multi->Editor());
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->toPlainText(), QStringLiteral("line one\nline two"));
    EXPECT_EQ(multi->Text(), "line one\r\nline two") << "lines come back with CR LF";
    EXPECT_TRUE(area->isReadOnly());
    DestroyWindow(multi->Handle());

    p = Box("x", 2);
    p.TextAlignment = 1;
    p.LetterCase = 1;
    p.ScrollBars = 2;  // single-line: no scroll bars
    CEditBoxUnit* password = CreateDirectly(RecordOf(p));
    ASSERT_NE(password, nullptr);
    style = static_cast<DWORD>(GetWindowLongA(password->Handle(), GWL_STYLE));
    EXPECT_TRUE(style & ES_PASSWORD);
    EXPECT_TRUE(style & ES_CENTER);
    EXPECT_TRUE(style & ES_LOWERCASE);
    EXPECT_FALSE(style & (WS_VSCROLL | ES_MULTILINE));
    EXPECT_EQ(qobject_cast<QLineEdit*>(password->Editor())->echoMode(), QLineEdit::Password);
    DestroyWindow(password->Handle());
}

TEST_F(EditBox, VersionsZeroToTwoLoadAndHigherOnesMakeNoBox)
{
    Load(Box(""));
    std::vector<std::uint8_t> record = RecordOf(Box("v"));
    // Versions 0 and 1 end before the two texts of version 2.
    std::vector<std::uint8_t> older(record.begin(), record.end() - 8);
    for (std::uint8_t version : {0, 1}) {
        older[0] = version;
        CEditBoxUnit* unit = CreateDirectly(older);
        ASSERT_NE(unit, nullptr) << int(version);
        EXPECT_EQ(unit->Text(), "v");
        DestroyWindow(unit->Handle());
    }
    CEditBoxUnit* current = CreateDirectly(record);
    ASSERT_NE(current, nullptr);
    DestroyWindow(current->Handle());
    record[0] = 3;
    EXPECT_EQ(CreateDirectly(record), nullptr);
}

TEST_F(EditBox, WritingContentRaisesContentChangedExactlyOnce)
{
    Load(Box("old"));
    ClearJournal();
    EXPECT_EQ(Unit()->WriteProperty(0, Text("new")), 0);
    EXPECT_EQ(EventLines(), (std::vector<std::string>{"event 0 16010011"}));
    EXPECT_EQ(Unit()->Text(), "new");
    char text[16];
    EXPECT_EQ(GetWindowTextA(Unit()->Handle(), text, sizeof text), 3);
    EXPECT_STREQ(text, "new");

    // The same text again is still one write and one event.
    ClearJournal();
    Unit()->WriteProperty(0, Text("new"));
    EXPECT_EQ(EventLines().size(), 1u);

    // Through the form engine, as the application writes it.
    ClearJournal();
    std::string gbk = Gbk("网页");
    auto address = reinterpret_cast<std::uintptr_t>(gbk.c_str());
    forms::WriteUnitProperty(kTestFormId, kUnitUnderTest, kContentIndex, -1, static_cast<std::uint32_t>(address),
                             static_cast<std::uint32_t>(address >> 32));
    EXPECT_EQ(EventLines(), (std::vector<std::string>{"event 0 16010011"}));
    EXPECT_EQ(Utf8(Unit()->Text()), "网页");
}

TEST_F(EditBox, TypingRaisesOneEventPerChange)
{
    Load(Box(""));
    Activate();
    SetFocus(Unit()->Handle());
    ClearJournal();
    QTest::keyClicks(Line(), "ab");
    EXPECT_EQ(Line()->text(), QStringLiteral("ab"));
    EXPECT_EQ(JournalLines("event 0 "), (std::vector<std::string>(2, "event 0 16010011")));
}

TEST_F(EditBox, TypedInputReplacesTheTextThroughTheBoxsOwnRules)
{
    // What a person types goes through the editor's filter: letter case,
    // the maximum length (in GBK bytes), one event per change.
    EditBoxProperties p = Box("old text");
    p.LetterCase = 2;
    p.MaxLength = 6;
    Load(p);
    ClearJournal();
    ASSERT_TRUE(ui::TypeIntoWindow(Unit()->Handle(), "ab网页cd9"));
    EXPECT_EQ(Utf8(Unit()->Text()), "AB网页");
    // The selection went with the first character, then one per character
    // until the box was full.
    EXPECT_EQ(JournalLines("event 0 ").size(), 4u);

    // A box a person cannot reach takes nothing.
    EnableWindow(Unit()->Handle(), FALSE);
    EXPECT_FALSE(ui::TypeIntoWindow(Unit()->Handle(), "x"));
    EnableWindow(Unit()->Handle(), TRUE);
    ShowWindow(Unit()->Handle(), SW_HIDE);
    EXPECT_FALSE(ui::TypeIntoWindow(Unit()->Handle(), "x"));
    EXPECT_EQ(Utf8(Unit()->Text()), "AB网页");
}

TEST_F(EditBox, ModeFiveRefusesAMinusAndModeThreeAcceptsIt)
{
    Load(Box("", 5));
    Activate();
    SetFocus(Unit()->Handle());
    ClearJournal();
    QTest::keyClicks(Line(), "-7");
    EXPECT_EQ(Line()->text(), QStringLiteral("7"));
    EXPECT_EQ(JournalLines("event 0 ").size(), 1u) << "the refused character changed nothing";

    Unit()->WriteProperty(10, Number(3));
    Unit()->WriteProperty(0, Text(""));
    QTest::keyClicks(Line(), "-7");
    EXPECT_EQ(Line()->text(), QStringLiteral("-7"));
}

TEST_F(EditBox, LetterCaseAndMaxLengthApplyToTyping)
{
    EditBoxProperties p = Box("");
    p.LetterCase = 2;
    p.MaxLength = 3;
    Load(p);
    Activate();
    SetFocus(Unit()->Handle());
    QTest::keyClicks(Line(), "abcde");
    EXPECT_EQ(Line()->text(), QStringLiteral("ABC"));
    // A longer text set by the program is not cut.
    Unit()->WriteProperty(0, Text("abcdef"));
    EXPECT_EQ(Unit()->Text(), "abcdef");
    Unit()->WriteProperty(6, Number(-4));
    EXPECT_EQ(Read(6), 0) << "below 0 becomes 0: no limit";
    QTest::keyClick(Line(), Qt::Key_End);
    QTest::keyClicks(Line(), "g");
    EXPECT_EQ(Unit()->Text(), "abcdefG");
}

TEST_F(EditBox, LosingTheFocusRewritesTheNumberBeforeEventMinusEight)
{
    Load(Box("", 5), true);
    Activate();
    SetFocus(Unit()->Handle());
    QTest::keyClicks(Line(), "300");
    ClearJournal();
    SetFocus(Unit(kOtherBox)->Handle());
    QApplication::processEvents();
    EXPECT_EQ(Unit()->Text(), "255");
    std::vector<std::string> own;
    for (const std::string& line : EventLines())
        if (line.find("16010011") != std::string::npos)
            own.push_back(line);
    EXPECT_EQ(own, (std::vector<std::string>{"event 0 16010011", "event -8 16010011"}));

    // A text the mode keeps as it is raises no change.
    SetFocus(Unit()->Handle());
    QApplication::processEvents();
    ClearJournal();
    SetFocus(Unit(kOtherBox)->Handle());
    QApplication::processEvents();
    EXPECT_EQ(JournalLines("event 0 16010011").size(), 0u);
    EXPECT_EQ(JournalLines("event -8 16010011").size(), 1u);
}

TEST_F(EditBox, SpinModeOneStepsAndWrapsAtTheBounds)
{
    EditBoxProperties p = Box("10");
    p.SpinMode = 1;
    p.SpinMin = 10;  // the smaller of the two is the lower bound
    p.SpinMax = 0;
    Load(p);
    UpDownControl* spin = Unit()->Spin();
    ASSERT_NE(spin, nullptr);
    HWND spinWindow = ui::WindowOf(spin);
    char className[32];
    GetClassNameA(spinWindow, className, sizeof className);
    EXPECT_STREQ(className, "msctls_updown32");
    EXPECT_EQ(GetWindowLongA(spinWindow, GWL_ID), GetWindowLongA(Unit()->Handle(), GWL_ID) + 4);
    EXPECT_TRUE(GetWindowLongA(spinWindow, GWL_EXSTYLE) & WS_EX_STATICEDGE) << "border 1";

    QTest::mouseClick(spin->UpButton(), Qt::LeftButton);
    EXPECT_EQ(Unit()->Text(), "0") << "up past the upper bound gives the lower";
    EXPECT_EQ(Line()->selectedText(), QStringLiteral("0")) << "all text selected";
    QTest::mouseClick(spin->DownButton(), Qt::LeftButton);
    EXPECT_EQ(Unit()->Text(), "10") << "down past the lower bound gives the upper";
    QTest::mouseClick(spin->DownButton(), Qt::LeftButton);
    EXPECT_EQ(Unit()->Text(), "9");

    // The range applies at once; a disabled box does not step.
    Unit()->WriteProperty(15, Number(9));
    Unit()->WriteProperty(14, Number(5));
    QTest::mouseClick(spin->UpButton(), Qt::LeftButton);
    EXPECT_EQ(Unit()->Text(), "5");
    EnableWindow(Unit()->Handle(), FALSE);
    QTest::mouseClick(spin->UpButton(), Qt::LeftButton);
    EXPECT_EQ(Unit()->Text(), "5");

    // The static edge follows the border.
    Unit()->WriteProperty(1, Number(2));
    EXPECT_FALSE(GetWindowLongA(spinWindow, GWL_EXSTYLE) & WS_EX_STATICEDGE);
    Unit()->WriteProperty(1, Number(3));
    EXPECT_TRUE(GetWindowLongA(spinWindow, GWL_EXSTYLE) & WS_EX_STATICEDGE);
}

TEST_F(EditBox, SpinModeTwoReportsTheStepAndLeavesTheText)
{
    EditBoxProperties p = Box("4");
    p.SpinMode = 2;
    Load(p);
    ClearJournal();
    QTest::mouseClick(Unit()->Spin()->UpButton(), Qt::LeftButton);
    QTest::mouseClick(Unit()->Spin()->DownButton(), Qt::LeftButton);
    EXPECT_EQ(EventLines(), (std::vector<std::string>{"event 1 16010011 1", "event 1 16010011 -1"}));
    EXPECT_EQ(Unit()->Text(), "4");
}

TEST_F(EditBox, ChangesOfTheWindowsMakingAskForReCreationAndOthersDoNot)
{
    Load(Box("keep"));
    CEditBoxUnit& box = *Unit();
    struct Case {
        std::int32_t number, written, stored, recreate;
    };
    for (Case c : {Case{7, 0, 0, 0}, Case{7, 1, 1, 1}, Case{8, 9, 3, 1}, Case{8, 3, 3, 0}, Case{9, -2, 0, 0},
                   Case{9, 5, 2, 1}, Case{12, 4, 2, 1}, Case{13, 7, 2, 1}, Case{13, 2, 2, 0}, Case{5, 0, 0, 1},
                   Case{5, 0, 0, 0}, Case{1, 9, 5, 0}, Case{1, -1, 0, 0}, Case{10, 20, 11, 0}, Case{10, -3, 0, 0},
                   Case{6, -5, 0, 0}, Case{2, 0xFF, 0xFF, 0}, Case{3, 0xEE, 0xEE, 0}}) {
        EXPECT_EQ(box.WriteProperty(c.number, Number(c.written)), c.recreate) << c.number << " " << c.written;
        EXPECT_EQ(Read(c.number), c.stored) << c.number << " " << c.written;
    }
    EXPECT_EQ(GetWindowLongA(box.Handle(), GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE), 0)
        << "border 0 has no edge";
}

TEST_F(EditBox, TheEngineReCreatesTheBoxWithItsTextForAMultiLineWrite)
{
    Load(Box("keep"));
    CEditBoxUnit* before = Unit();
    forms::WriteUnitProperty(kTestFormId, kUnitUnderTest, 8 + 7, -1, 1, 0);
    CEditBoxUnit* after = Unit();
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_NE(qobject_cast<QPlainTextEdit*>(after->Editor()), nullptr);
    EXPECT_EQ(after->Text(), "keep");
    EXPECT_TRUE(GetWindowLongA(after->Handle(), GWL_STYLE) & ES_MULTILINE);
}

TEST_F(EditBox, OnlyAMultiLineBoxKeepsEnterFromTheForm)
{
    auto keeps = [&](WPARAM key) {
        MSG message{};
        message.hwnd = Unit()->Handle();
        message.message = WM_KEYDOWN;
        message.wParam = key;
        return (SendMessageA(Unit()->Handle(), WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&message)) &
                DLGC_WANTALLKEYS) != 0;
    };
    Load(Box("one line"));
    EXPECT_FALSE(keeps(VK_RETURN));
    EXPECT_FALSE(keeps(VK_ESCAPE));
    forms::WriteUnitProperty(kTestFormId, kUnitUnderTest, 8 + 7, -1, 1, 0);  // MultiLine
    EXPECT_TRUE(keeps(VK_RETURN));
    EXPECT_FALSE(keeps(VK_ESCAPE));
    EXPECT_FALSE(keeps(VK_TAB));
}

TEST_F(EditBox, InputModeSetsReadOnlyAndPasswordAndThePasswordCharacter)
{
    Load(Box("secret"));
    Unit()->WriteProperty(10, Number(1));
    EXPECT_TRUE(Line()->isReadOnly());
    EXPECT_TRUE(Style() & ES_READONLY);
    Unit()->WriteProperty(10, Number(2));
    EXPECT_FALSE(Line()->isReadOnly());
    EXPECT_FALSE(Style() & ES_READONLY);
    EXPECT_TRUE(Style() & ES_PASSWORD);
    EXPECT_EQ(Line()->echoMode(), QLineEdit::Password);
    Unit()->WriteProperty(11, Text("#x"));
    forms::UnitPropertyValue read;
    Unit()->ReadProperty(11, &read);
    EXPECT_EQ(read.text, "#");
    EXPECT_TRUE(Line()->styleSheet().contains(QString::number('#')));
    Unit()->WriteProperty(10, Number(0));
    EXPECT_EQ(Line()->echoMode(), QLineEdit::Normal);
    EXPECT_FALSE(Style() & ES_PASSWORD);
}

TEST_F(EditBox, SelectionPropertiesFollowTheirNegativeRules)
{
    Load(Box("hello"));
    Unit()->WriteProperty(16, Number(-1));
    EXPECT_EQ(Unit()->Selection(), (std::pair<int, int>{5, 0})) << "-1: the caret at the end";
    Unit()->WriteProperty(17, Number(-1));
    EXPECT_EQ(Unit()->Selection(), (std::pair<int, int>{0, 5})) << "-1: everything";
    Unit()->WriteProperty(16, Number(1));
    Unit()->WriteProperty(17, Number(2));
    EXPECT_EQ(Read(16), 1);
    EXPECT_EQ(Read(17), 2);
    forms::UnitPropertyValue selected;
    ASSERT_EQ(Unit()->ReadProperty(18, &selected), 1);
    EXPECT_EQ(selected.text, "el");
    Unit()->WriteProperty(16, Number(-7));
    EXPECT_EQ(Read(16), 0) << "other negatives are 0";

    Unit()->WriteProperty(16, Number(1));
    Unit()->WriteProperty(17, Number(2));
    ClearJournal();
    Unit()->WriteProperty(18, Text("XY"));
    EXPECT_EQ(Unit()->Text(), "hXYlo");
    EXPECT_EQ(EventLines(), (std::vector<std::string>{"event 0 16010011"}));

    // The saved record keeps the text and the selection.
    auto saved = units::LoadRecord<EditBoxProperties>(Unit()->Save());
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->Content, "hXYlo");
    EXPECT_EQ(saved->SelectionStart, 3);
    EXPECT_EQ(saved->SelectionLength, 0);
    EXPECT_EQ(units::StoredVersion(Unit()->Save()), 2);
}

TEST_F(EditBox, TheContextMenuKeepsItsKeysFromTheForm)
{
    Load(Box("text"));
    Activate();
    SetFocus(Unit()->Handle());
    HWND form = forms::ResolveUnit(kTestFormId, 0)->Handle();
    bool menuHadNoParent = false;
    bool menuSeen = false;
    QTimer::singleShot(50, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        menuSeen = qobject_cast<QMenu*>(popup) != nullptr;
        menuHadNoParent = popup && !popup->parentWidget();
        if (popup)
            QTest::keyClick(popup, Qt::Key_Escape);
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), Line()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(Line(), &event);
    EXPECT_TRUE(menuSeen);
    EXPECT_TRUE(menuHadNoParent);
    QApplication::processEvents();
    EXPECT_TRUE(IsWindow(form)) << "Esc closed the menu, not the form";
    EXPECT_EQ(Unit()->Text(), "text");
    EXPECT_TRUE(JournalLines("event -8 ").empty()) << "the menu took no focus from the box";

    // Esc on the box itself does close the form (EscCloses is 1).
    QTest::keyClick(Line(), Qt::Key_Escape);
    PumpUntil([&] { return !IsWindow(form); });
    EXPECT_FALSE(IsWindow(form));
}

void DestroyTheForm(forms::EventCall&)
{
    DestroyWindow(forms::ResolveUnit(kTestFormId, 0)->Handle());
}

TEST_F(EditBox, AHandlerDestroyingTheFormDuringASpinStepOrAContentWriteEndsNothingElse)
{
    // ContentChanged is bound to the third position (kOnEditChange).
    static const forms::EventHandler handlers[] = {DestroyTheForm, DestroyTheForm, DestroyTheForm};
    EditBoxProperties p = Box("3");
    p.SpinMode = 1;
    Load(p);
    forms::SetEventHandlers(handlers);
    HWND form = forms::ResolveUnit(kTestFormId, 0)->Handle();
    QTest::mouseClick(Unit()->Spin()->UpButton(), Qt::LeftButton);
    EXPECT_FALSE(IsWindow(form));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    InstallTestHandlers();
    Load(Box("x"));
    forms::SetEventHandlers(handlers);
    form = forms::ResolveUnit(kTestFormId, 0)->Handle();
    EXPECT_EQ(Unit()->WriteProperty(0, Text("y")), 0);
    EXPECT_FALSE(IsWindow(form));
}

// Workers write and read Content through the form engine while the window
// thread stops them: every call is whole, nothing deadlocks, and a
// stopped worker's text never appears after its stop returned.
struct Writer {
    char name;
    std::atomic<int> writes{0};
};

DWORD WriteForever(LPVOID parameter)
{
    auto* writer = static_cast<Writer*>(parameter);
    for (int i = 0;; ++i) {
        std::string text = std::string(1, writer->name) + std::to_string(i);
        auto address = reinterpret_cast<std::uintptr_t>(text.c_str());
        forms::WriteUnitProperty(kTestFormId, kUnitUnderTest, kContentIndex, -1,
                                 static_cast<std::uint32_t>(address), static_cast<std::uint32_t>(address >> 32));
        writer->writes.fetch_add(1);
        std::uint64_t read = forms::ReadUnitProperty(kTestFormId, kUnitUnderTest, kContentIndex, -1);
        runtime::RuntimeFree(reinterpret_cast<void*>(static_cast<std::uintptr_t>(read)));
    }
}

TEST_F(EditBox, WorkersWriteContentWhileTheWindowThreadStopsThem)
{
    Load(Box(""));
    std::mt19937 random(7);
    int lateTexts = 0;
    int tornTexts = 0;
    bool aStopped = false;
    QObject::connect(Line(), &QLineEdit::textChanged, Line(), [&](const QString& text) {
        if (text.isEmpty())
            return;
        // Whole texts only: a name and a number.
        bool number = false;
        text.mid(1).toInt(&number);
        if ((text[0] != QLatin1Char('A') && text[0] != QLatin1Char('B')) || !number)
            ++tornTexts;
        if (aStopped && text[0] == QLatin1Char('A'))
            ++lateTexts;
    });
    constexpr int kRounds = 150;
    int writes = 0;
    for (int round = 0; round < kRounds; ++round) {
        Writer a{'A'}, b{'B'};
        aStopped = false;
        HANDLE threadA = CreateThread(nullptr, 0, WriteForever, &a, 0, nullptr);
        HANDLE threadB = CreateThread(nullptr, 0, WriteForever, &b, 0, nullptr);
        ASSERT_NE(threadA, nullptr);
        ASSERT_NE(threadB, nullptr);
        auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(random() % 2000);
        PumpUntil([&] { return std::chrono::steady_clock::now() >= until; });
        ASSERT_TRUE(TerminateThread(threadA, 259));
        aStopped = true;
        // B goes on for a while after A's stop.
        int bBefore = b.writes.load();
        PumpUntil([&] { return b.writes.load() > bBefore + 3; });
        ASSERT_TRUE(TerminateThread(threadB, 259));
        for (HANDLE thread : {threadA, threadB}) {
            ASSERT_TRUE(PumpUntil([&] { return kernel::WaitForThreadEnd(thread, 0ms); })) << "round " << round;
            CloseHandle(thread);
        }
        writes += a.writes.load() + b.writes.load();
        std::string last = Unit()->Text();
        QApplication::processEvents();
        ASSERT_EQ(Unit()->Text(), last) << "a stopped worker changed the box, round " << round;
        ASSERT_EQ(lateTexts, 0) << "round " << round;
    }
    EXPECT_EQ(tornTexts, 0);
    EXPECT_GT(writes, kRounds) << "the workers' writes did run";
    EXPECT_EQ(kernel::LiveWorkerCount(), 0u);
}

}  // namespace
