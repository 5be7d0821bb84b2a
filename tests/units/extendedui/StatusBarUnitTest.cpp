// The status bar unit on a real form: its parts from the `Parts` block,
// SetPartText through the library's command slot, its properties, and
// blocks that do not hold whole parts.

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <vector>

#include "forms/engine/UnitType.h"
#include "forms/engine/UnitProperties.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "tests/support/GbkText.h"
#include "tests/units/extendedui/ExtendedUiForm.h"
#include "units/common/UnitHost.h"
#include "units/statusbar/StatusBarLayout.h"
#include "units/statusbar/StatusBarParts.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;
using runtime::ExtendedUiCommand;

units::StatusBarProperties BarWith(std::vector<units::StatusBarPart> parts)
{
    units::StatusBarProperties p;
    p.Parts = units::WriteStatusBarParts(parts);
    return p;
}

// The start form's bar: one part to the right edge, no text.
units::StatusBarProperties StartFormBar()
{
    return BarWith({units::StatusBarPart{-1, 0, -1, "", ""}});
}

forms::UnitPropertyValue Block(std::vector<std::uint8_t> bytes)
{
    forms::UnitPropertyValue value;
    value.bytes = std::move(bytes);
    return value;
}

class StatusBar : public ExtendedUiForm {
protected:
    runtime::TypedValue SetPartText(std::initializer_list<runtime::TypedValue> arguments)
    {
        return Call(ExtendedUiCommand::SetPartText, kBarId, arguments);
    }
};

TEST_F(StatusBar, TheStartFormsBarHasOnePartAcrossTheBottom)
{
    units::StatusBarProperties p = StartFormBar();
    EXPECT_EQ(p.Parts.size(), 18u);
    Load({}, p);
    units::CStatusBarUnit& bar = *Bar();
    ASSERT_EQ(bar.Parts().size(), 1u);
    EXPECT_EQ(bar.Edges(), (std::vector<std::int32_t>{-1}));
    auto style = static_cast<DWORD>(GetWindowLongA(bar.Handle(), GWL_STYLE));
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_EQ(style & (units::SBT_TOOLTIPS | units::CCS_BOTTOM), units::SBT_TOOLTIPS | units::CCS_BOTTOM);
    // Aligned to the bottom of the form's client area, at its full width.
    QWidget* widget = ui::WidgetOf(bar.Handle());
    RECT client{};
    GetClientRect(GetParent(bar.Handle()), &client);
    EXPECT_EQ(widget->geometry(), QRect(0, client.bottom - 20, client.right, 20));
}

TEST_F(StatusBar, FollowsItsParentsSizeAndItsLastPartTheRightEdge)
{
    Load({}, BarWith({units::StatusBarPart{100, 0, -1, "a", ""}, units::StatusBarPart{-1, 0, -1, "b", ""}}));
    units::CStatusBarUnit& bar = *Bar();
    QWidget* widget = ui::WidgetOf(bar.Handle());
    QWidget* form = widget->parentWidget();
    ASSERT_NE(form, nullptr);
    form->resize(form->width() + 150, form->height() - 60);
    RECT client{};
    GetClientRect(GetParent(bar.Handle()), &client);
    EXPECT_EQ(widget->geometry(), QRect(0, client.bottom - 20, client.right, 20));
    EXPECT_EQ(bar.PartAt(client.right - 1), 1);  // the -1 part reaches the new right edge
    EXPECT_EQ(bar.PartAt(99), 0);

    // At the top, the bar stays at the top.
    forms::WriteUnitProperty(kTestFormId, kBarId, 8 + 1, -1, 1, 0);  // BarPosition: a new bar
    QWidget* top = ui::WidgetOf(Bar()->Handle());
    form->resize(form->width() - 100, form->height() + 30);
    GetClientRect(GetParent(Bar()->Handle()), &client);
    EXPECT_EQ(top->geometry(), QRect(0, 0, client.right, 20));

    // Not aligned to its parent: where it was put.
    forms::WriteUnitProperty(kTestFormId, kBarId, 8 + 1, -1, 2, 0);
    QWidget* free = ui::WidgetOf(Bar()->Handle());
    QRect before = free->geometry();
    form->resize(form->width() + 40, form->height() + 40);
    EXPECT_EQ(free->geometry(), before);
}

TEST_F(StatusBar, SetPartTextShowsTheTextInThePartAndKeepsItInTheBlock)
{
    Load({}, StartFormBar());
    std::string text = Gbk("正在解析第3页内容。");
    SetPartText({Int(0), Text(text)});
    units::CStatusBarUnit& bar = *Bar();
    EXPECT_EQ(bar.Parts()[0].Text, text);
    auto saved = units::LoadRecord<units::StatusBarProperties>(bar.Save());
    ASSERT_TRUE(saved.has_value());
    auto parts = units::ParseStatusBarParts(saved->Parts);
    ASSERT_TRUE(parts.has_value());
    ASSERT_EQ(parts->size(), 1u);
    EXPECT_EQ((*parts)[0].Text, text);

    // The painted bar is not what it was before the text came.
    QWidget* widget = ui::WidgetOf(bar.Handle());
    QImage withText = widget->grab().toImage();
    SetPartText({Int(0)});  // text left out: the part is emptied
    EXPECT_EQ(bar.Parts()[0].Text, "");
    EXPECT_NE(widget->grab().toImage(), withText);
}

TEST_F(StatusBar, SetPartTextOutsideThePartsDoesNothing)
{
    Load({}, BarWith({units::StatusBarPart{-1, 0, -1, "kept", "tip"}}));
    units::CStatusBarUnit& bar = *Bar();
    std::vector<std::uint8_t> before = bar.Save();
    SetPartText({Int(1), Text("nowhere")});
    SetPartText({Int(-1), Text("nowhere")});
    EXPECT_EQ(bar.Save(), before);
    EXPECT_EQ(bar.Parts()[0].Text, "kept");
}

TEST_F(StatusBar, PartsGetRunningEdgesAndTheSelectorsSetTheOtherFields)
{
    Load({}, BarWith({{100, 0, -1, "a", ""}, {-1, 256, -1, "b", ""}, {50, 512, -1, "c", ""}}));
    units::CStatusBarUnit& bar = *Bar();
    EXPECT_EQ(bar.Edges(), (std::vector<std::int32_t>{100, -1, 0}));
    EXPECT_EQ(bar.PartAt(99), 0);
    EXPECT_EQ(bar.PartAt(100), 1);
    EXPECT_EQ(bar.PartAt(600), 1);
    EXPECT_TRUE(bar.SetPart(units::PartField::Width, 1, 30, {}));
    EXPECT_EQ(bar.Edges(), (std::vector<std::int32_t>{100, 130, 180}));
    EXPECT_TRUE(bar.SetPart(units::PartField::TipText, 2, 0, "tip"));
    EXPECT_TRUE(bar.SetPart(units::PartField::Style, 2, 0, {}));
    EXPECT_TRUE(bar.SetPart(units::PartField::Image, 2, 3, {}));
    EXPECT_EQ(bar.Parts()[2], (units::StatusBarPart{50, 0, 3, "c", "tip"}));
    EXPECT_FALSE(bar.SetPart(units::PartField::Width, 3, 30, {}));
}

TEST_F(StatusBar, APartsBlockWhoseCountRunsPastItsEndGivesNoParts)
{
    Load({}, StartFormBar());
    units::CStatusBarUnit& bar = *Bar();
    std::vector<std::uint8_t> block = units::WriteStatusBarParts(std::vector<units::StatusBarPart>{{-1, 0, -1, "x", ""}});
    block[0] = 200;  // 200 parts claimed, one there
    EXPECT_EQ(bar.WriteProperty(5, Block(block)), 0);
    EXPECT_TRUE(bar.Parts().empty());
    EXPECT_TRUE(bar.Edges().empty());
    SetPartText({Int(0), Text("nothing to set")});
    EXPECT_TRUE(bar.Parts().empty());

    std::vector<std::uint8_t> cut = units::WriteStatusBarParts(std::vector<units::StatusBarPart>{{-1, 0, -1, "xy", ""}});
    cut.resize(cut.size() - 2);  // the text's zero byte and the tip are missing
    bar.WriteProperty(5, Block(cut));
    EXPECT_TRUE(bar.Parts().empty());
}

TEST_F(StatusBar, PropertiesAreClampedAndAskForRecreation)
{
    Load({}, StartFormBar());
    units::CStatusBarUnit& bar = *Bar();
    forms::UnitPropertyValue value;
    value.number = 9;
    EXPECT_EQ(bar.WriteProperty(1, value), 1);  // BarPosition
    EXPECT_EQ(bar.Properties().BarPosition, 2);
    value.number = 1;
    EXPECT_EQ(bar.WriteProperty(2, value), 1);  // SizeGrip
    value.number = 0x00FF0000;
    EXPECT_EQ(bar.WriteProperty(0, value), 0);  // BackColour
    forms::UnitPropertyValue read;
    ASSERT_EQ(bar.ReadProperty(0, &read), 1);
    EXPECT_EQ(read.number, 0x00FF0000);
    EXPECT_EQ(bar.ReadProperty(6, &read), 0);
    QImage shot = ui::WidgetOf(bar.Handle())->grab().toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() / 2, 1), QColor(0, 0, 255));
}

TEST_F(StatusBar, ARecordOfAnUnknownVersionMakesNoBar)
{
    std::vector<std::uint8_t> bytes = units::SaveRecord(StartFormBar());
    bytes[0] = 2;
    forms::UnitType type = forms::OperationsOf(units::host::DataType(runtime::kStatusBarType));
    ASSERT_NE(type.create, nullptr);
    EXPECT_EQ(type.create(bytes.data(), static_cast<std::int32_t>(bytes.size()), 0, nullptr, 0, nullptr, 0, 0, 10,
                          10, kTestFormId, kBarId, 0, 0),
              nullptr);
}

}  // namespace
