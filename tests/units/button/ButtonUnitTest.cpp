// The button unit on a real form: its window and style bits, the property
// table with its clamps, the picture that makes a bitmap or an icon button
// (and a window made anew), the default-button question (operation 10),
// the click and focus events, and the record versions it accepts.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTest>

#include <set>

#include "forms/engine/UnitProperties.h"
#include "platform/ui/SimulatedInput.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "tests/support/GbkText.h"
#include "tests/support/PictureFiles.h"
#include "tests/units/UnitTestForm.h"
#include "units/button/ButtonUnit.h"
#include "units/button/ButtonUnitType.h"
#include "units/common/ControlStyles.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;
using units::BS_BITMAP, units::BS_BOTTOM, units::BS_CENTER, units::BS_DEFPUSHBUTTON, units::BS_ICON,
    units::BS_LEFT, units::BS_MULTILINE, units::BS_RIGHT, units::BS_TOP, units::BS_VCENTER;

constexpr forms::UnitId kOtherButton = 0x16010012;
constexpr DWORD kHorizontalBits = BS_CENTER;
constexpr DWORD kVerticalBits = BS_VCENTER;

units::Bytes Shared(const Bytes& bytes)
{
    return runtime::SharedBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

Bytes RedBmp()
{
    BmpDraft draft;
    draft.width = 6;
    draft.height = 4;
    draft.bitCount = 24;
    draft.pixels = DibRows(std::vector<std::vector<std::uint32_t>>(4, std::vector<std::uint32_t>(6, 0xFF0000)), 24);
    return BmpFileBytes(draft);
}

Bytes BlueIcon()
{
    std::vector<std::vector<std::uint32_t>> colours(16, std::vector<std::uint32_t>(16, 0x0000FF));
    std::vector<std::vector<std::uint32_t>> mask(16, std::vector<std::uint32_t>(16, 0));
    IconEntryDraft entry;
    entry.width = 16;
    entry.height = 16;
    entry.colourCount = 0;
    entry.image = IconDib(16, 16, 24, {}, colours, mask);
    return IconFileBytes(1, {entry});
}

units::ButtonProperties Captioned(const char* caption)
{
    units::ButtonProperties p;
    p.ButtonCaption = Gbk(caption);
    return p;
}

std::vector<std::uint8_t> RecordOf(const units::ButtonProperties& p)
{
    units::Bytes record = units::SaveRecord(p);
    return std::vector<std::uint8_t>(record.begin(), record.end());
}

class Button : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareUnitTestForm();
        units::InstallButtonUnitType();
    }
    void TearDown() override { TearDownForms(); }

    void Load(const units::ButtonProperties& p, bool withOtherButton = false)
    {
        std::vector<TestUnitEntry> others;
        if (withOtherButton) {
            others.push_back({kOtherButton, runtime::kButtonType, {10, 100, 80, 24},
                              forms::kUnitVisible | forms::kUnitTabStop, {}, "", ""});
            auto record = RecordOf(Captioned("其他"));
            others.back().content.assign(record.begin(), record.end());
        }
        ASSERT_TRUE(LoadUnitTestForm(runtime::kButtonType, RecordOf(p), {10, 10, 80, 24},
                                     {{0, kOnButtonClick}, {-7, kOnWindowEvent}, {-8, kOnWindowEvent}}, 0x00808080,
                                     std::move(others)));
        ASSERT_NE(Unit(), nullptr);
    }
    units::CButtonUnit* Unit(forms::UnitId unitId = kUnitUnderTest)
    {
        return dynamic_cast<units::CButtonUnit*>(forms::ResolveUnit(kTestFormId, unitId));
    }
    DWORD Style() { return static_cast<DWORD>(GetWindowLongA(Unit()->Handle(), GWL_STYLE)); }
    bool AskIsDefault()
    {
        auto isDefault = forms::OperationsOf(units::host::DataType(runtime::kButtonType)).isDefaultButton;
        return isDefault && isDefault(Unit());
    }
    // A unit made directly by the type's create routine on the form window.
    units::CButtonUnit* CreateDirectly(const std::vector<std::uint8_t>& record)
    {
        auto create = forms::OperationsOf(units::host::DataType(runtime::kButtonType)).create;
        HWND form = forms::ResolveUnit(kTestFormId, 0)->Handle();
        return static_cast<units::CButtonUnit*>(create(record.data(), static_cast<std::int32_t>(record.size()),
                                                       WS_VISIBLE, form, 77, nullptr, 10, 200, 60, 40, kTestFormId,
                                                       0x16010099, 0, 0));
    }
};

TEST_F(Button, IsAMultiLinePushButtonWithItsCaptionAndCentredBits)
{
    Load(Captioned("下载"));
    HWND button = Unit()->Handle();
    char className[16];
    GetClassNameA(button, className, sizeof className);
    EXPECT_STREQ(className, "BUTTON");
    DWORD style = Style();
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_CLIPSIBLINGS);
    EXPECT_TRUE(style & BS_MULTILINE);
    EXPECT_EQ(style & kHorizontalBits, BS_CENTER);
    EXPECT_EQ(style & kVerticalBits, BS_VCENTER);
    EXPECT_FALSE(style & (BS_BITMAP | BS_ICON));
    EXPECT_EQ(style & 0xF, 0u) << "a plain push button";
    EXPECT_FALSE(AskIsDefault());
    char text[16];
    int length = GetWindowTextA(button, text, sizeof text);
    EXPECT_EQ(Utf8(std::string(text, static_cast<std::size_t>(length))), "下载");
    EXPECT_EQ(ui::WidgetOf(button)->geometry(), QRect(10, 10, 80, 24));
}

TEST_F(Button, TheDefaultButtonPropertySwitchesTheStyleAndOperationTenAnswersIt)
{
    units::ButtonProperties p = Captioned("OK");
    p.DefaultButton = 1;
    Load(p);
    EXPECT_EQ(Style() & 0xF, BS_DEFPUSHBUTTON);
    EXPECT_TRUE(AskIsDefault());

    EXPECT_EQ(Unit()->WriteProperty(1, Number(-3)), 0);
    EXPECT_EQ(Unit()->Properties().DefaultButton, 0);
    EXPECT_FALSE(AskIsDefault());
    EXPECT_EQ(Unit()->WriteProperty(1, Number(7)), 0);
    EXPECT_EQ(Unit()->Properties().DefaultButton, 1) << "clamped to 0..1";
    EXPECT_TRUE(AskIsDefault());
    EXPECT_TRUE(Style() & WS_CHILD) << "other bits stay";
}

TEST_F(Button, AlignmentsAreClampedAndSetTheirBits)
{
    Load(Captioned("A"));
    units::CButtonUnit& button = *Unit();
    struct Case {
        std::int32_t number, written, stored;
        DWORD mask, bits;
    };
    for (Case c : {Case{3, 9, 2, kHorizontalBits, BS_RIGHT}, Case{3, -1, 0, kHorizontalBits, BS_LEFT},
                   Case{3, 1, 1, kHorizontalBits, BS_CENTER}, Case{4, 5, 2, kVerticalBits, BS_BOTTOM},
                   Case{4, -9, 0, kVerticalBits, BS_TOP}, Case{4, 1, 1, kVerticalBits, BS_VCENTER}}) {
        EXPECT_EQ(button.WriteProperty(c.number, Number(c.written)), 0);
        forms::UnitPropertyValue read;
        ASSERT_EQ(button.ReadProperty(c.number, &read), 1);
        EXPECT_EQ(read.number, c.stored) << c.number << " " << c.written;
        EXPECT_EQ(Style() & c.mask, c.bits) << c.number << " " << c.written;
    }
    EXPECT_TRUE(Style() & BS_MULTILINE);
}

TEST_F(Button, CaptionAndFontAreAppliedAndSaved)
{
    Load(Captioned("A"));
    units::CButtonUnit& button = *Unit();
    EXPECT_EQ(button.WriteProperty(2, Text(Gbk("停止"))), 0);
    char text[16];
    int length = GetWindowTextA(button.Handle(), text, sizeof text);
    EXPECT_EQ(Utf8(std::string(text, static_cast<std::size_t>(length))), "停止");

    std::vector<std::uint8_t> font(60, 0);
    std::int32_t height = -20, weight = 700;
    std::memcpy(font.data(), &height, 4);
    std::memcpy(font.data() + 16, &weight, 4);
    font[20] = 1;  // italic
    std::memcpy(font.data() + 28, "Sans", 4);
    forms::UnitPropertyValue value;
    value.bytes = runtime::SharedBytes(font);
    EXPECT_EQ(button.WriteProperty(5, value), 0);
    QFont shown = ui::WidgetOf(button.Handle())->font();
    EXPECT_EQ(shown.pixelSize(), 20);
    EXPECT_TRUE(shown.italic());
    EXPECT_EQ(shown.weight(), QFont::Bold);

    auto saved = units::LoadRecord<units::ButtonProperties>(button.Save());
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(*saved, button.Properties());
    EXPECT_EQ(Utf8(saved->ButtonCaption), "停止");
    EXPECT_EQ(saved->Font.size(), 60u);
    EXPECT_EQ(units::StoredVersion(button.Save()), 1);
}

TEST_F(Button, APictureMakesABitmapOrIconButtonAndItsWriteAsksForANewWindow)
{
    Load(Captioned("A"));
    forms::UnitPropertyValue picture;
    picture.bytes = Shared(RedBmp());
    EXPECT_EQ(Unit()->WriteProperty(0, picture), 1) << "the picture re-creates the button";
    forms::UnitPropertyValue read;
    ASSERT_EQ(Unit()->ReadProperty(0, &read), 1);
    EXPECT_EQ(read.bytes.size(), RedBmp().size());

    units::ButtonProperties p = Captioned("B");
    p.ButtonPicture = Shared(RedBmp());
    units::CButtonUnit* bitmap = CreateDirectly(RecordOf(p));
    ASSERT_NE(bitmap, nullptr);
    auto style = static_cast<DWORD>(GetWindowLongA(bitmap->Handle(), GWL_STYLE));
    EXPECT_TRUE(style & BS_BITMAP);
    EXPECT_FALSE(style & BS_ICON);
    ASSERT_NE(bitmap->Picture(), nullptr);
    // The face shows the picture, red, in its middle.
    QImage face = ui::WidgetOf(bitmap->Handle())->grab().toImage();
    EXPECT_EQ(face.pixelColor(face.width() / 2, face.height() / 2), QColor(255, 0, 0));

    p.ButtonPicture = Shared(BlueIcon());
    units::CButtonUnit* icon = CreateDirectly(RecordOf(p));
    ASSERT_NE(icon, nullptr);
    style = static_cast<DWORD>(GetWindowLongA(icon->Handle(), GWL_STYLE));
    EXPECT_TRUE(style & BS_ICON);
    EXPECT_FALSE(style & BS_BITMAP);

    // Bytes that are no picture are dropped: the caption shows.
    p.ButtonPicture = Shared(Bytes{'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
    units::CButtonUnit* plain = CreateDirectly(RecordOf(p));
    ASSERT_NE(plain, nullptr);
    style = static_cast<DWORD>(GetWindowLongA(plain->Handle(), GWL_STYLE));
    EXPECT_FALSE(style & (BS_ICON | BS_BITMAP));
    EXPECT_EQ(plain->Picture(), nullptr);
    for (units::CButtonUnit* unit : {bitmap, icon, plain})
        DestroyWindow(unit->Handle());
}

TEST_F(Button, AClickRaisesEventZeroOnce)
{
    Load(Captioned("Go"));
    ClearJournal();
    QTest::mouseClick(ui::WidgetOf(Unit()->Handle()), Qt::LeftButton);
    EXPECT_EQ(EventLines(), (std::vector<std::string>{"event 0 16010011"}));
}

TEST_F(Button, BmClickClicksAnEnabledButtonOnly)
{
    Load(Captioned("Go"));
    ClearJournal();
    EXPECT_EQ(SendMessageA(Unit()->Handle(), BM_CLICK, 0, 0), 0);
    EXPECT_EQ(EventLines(), (std::vector<std::string>{"event 0 16010011"}));
    ClearJournal();
    EnableWindow(Unit()->Handle(), FALSE);
    SendMessageA(Unit()->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(EventLines().empty());
}

TEST_F(Button, AClickMadeForAPersonRaisesEventZeroOnlyWhereAPersonCouldClick)
{
    Load(Captioned("Go"));
    ClearJournal();
    ASSERT_TRUE(ui::ClickWindow(Unit()->Handle()));
    EXPECT_EQ(EventLines(), (std::vector<std::string>{"event 0 16010011"}));

    ClearJournal();
    EnableWindow(Unit()->Handle(), FALSE);
    EXPECT_FALSE(ui::ClickWindow(Unit()->Handle()));
    EnableWindow(Unit()->Handle(), TRUE);
    ShowWindow(Unit()->Handle(), SW_HIDE);
    EXPECT_FALSE(ui::ClickWindow(Unit()->Handle()));
    HWND gone = Unit()->Handle();
    DestroyWindow(gone);
    EXPECT_FALSE(ui::ClickWindow(gone));
    EXPECT_EQ(EventLines(), std::vector<std::string>{});
}

TEST_F(Button, FocusComingAndGoingRaisesMinusSevenThenMinusEight)
{
    Load(Captioned("Go"), true);
    QWidget* form = ui::WidgetOf(forms::ResolveUnit(kTestFormId, 0)->Handle());
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    SetFocus(Unit(kOtherButton)->Handle());
    QApplication::processEvents();
    ClearJournal();
    SetFocus(Unit()->Handle());
    QApplication::processEvents();
    SetFocus(Unit(kOtherButton)->Handle());
    QApplication::processEvents();
    EXPECT_EQ(EventLines(), (std::vector<std::string>{"event -7 16010011", "event -8 16010011"}));
}

TEST_F(Button, EnterOnTheFocusedDefaultButtonClicksIt)
{
    units::ButtonProperties p = Captioned("OK");
    p.DefaultButton = 1;
    Load(p);
    QWidget* form = ui::WidgetOf(forms::ResolveUnit(kTestFormId, 0)->Handle());
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    SetFocus(Unit()->Handle());
    QApplication::processEvents();
    ClearJournal();
    QTest::keyClick(ui::WidgetOf(Unit()->Handle()), Qt::Key_Return);
    EXPECT_EQ(JournalLines("event 0 "), (std::vector<std::string>{"event 0 16010011"}));
}

TEST_F(Button, OnlyVersionsZeroAndOneMakeAButton)
{
    Load(Captioned("A"));
    std::vector<std::uint8_t> record = RecordOf(Captioned("V"));
    for (std::uint8_t version : {0, 1}) {
        record[0] = version;
        units::CButtonUnit* unit = CreateDirectly(record);
        ASSERT_NE(unit, nullptr) << int(version);
        DestroyWindow(unit->Handle());
    }
    record[0] = 2;
    EXPECT_EQ(CreateDirectly(record), nullptr);
}

TEST_F(Button, TheTextsOfARecordAreTheCaptionAndTheFontFace)
{
    units::ButtonProperties p = Captioned("清空");
    std::vector<std::uint8_t> font(60, 0);
    std::memcpy(font.data() + 28, "Serif", 5);
    p.Font = runtime::SharedBytes(font);
    std::vector<std::uint8_t> record = RecordOf(p);
    std::vector<std::string> texts;
    auto enumerate = forms::OperationsOf(units::host::DataType(runtime::kButtonType)).enumerateTexts;
    PrepareUnitTestForm();
    units::InstallButtonUnitType();
    enumerate = forms::OperationsOf(units::host::DataType(runtime::kButtonType)).enumerateTexts;
    ASSERT_NE(enumerate, nullptr);
    enumerate(record.data(), static_cast<std::int32_t>(record.size()),
              [](void* context, const char* text) { static_cast<std::vector<std::string>*>(context)->push_back(text); },
              &texts);
    EXPECT_EQ(texts, (std::vector<std::string>{Gbk("清空"), "Serif"}));
}

}  // namespace
