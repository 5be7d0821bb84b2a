#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "forms/description/FormTable.h"
#include "tests/support/GbkText.h"
#include "tools/formbuilder/FormDescriptionParser.h"
#include "tools/formbuilder/FormTokens.h"
#include "tools/formbuilder/HandlerList.h"
#include "units/UnitRecordTypes.h"
#include "units/listview/ListViewColumns.h"
#include "units/statusbar/StatusBarParts.h"

namespace {

using namespace vellumry;
using formbuilder::FormBuildError;
using test::Gbk;

formbuilder::BuildInputs Inputs()
{
    formbuilder::BuildInputs inputs;
    inputs.handlerNames = {"Opened", "Clicked"};
    inputs.assets["picture"] = {0xFF, 0xD8, 0xFF, 0xD9};
    return inputs;
}

constexpr const char* kDescription = R"(# a small form
form 0x52010007
    form-words 1 2
    form-texts "甲" ""
unit 0x06010000 window ""
    position 10 20 300 200
    flags 1
    event 0 Opened
    set BackPicture asset picture
    set Caption "窗口"
    set BackColour 0xFF000000
unit 0x16010001 Button "按钮"
    position 1 2 3 4
    flags 5
    tab-order 2
    tag "标记"
    mouse-pointer 0200000041
    event 0 Clicked
    event 1 none
    set ButtonCaption "确定 \"好\""
unit 0x16010002 ListView "列表"
    position -1 -2 30 40
    flags 4
    children 0x16010003 0 0x16010004
    parent 0x16010009
    set ViewType 3
    column 100 "序号"
    column 50 "宽" align 2 image 1 image-on-right
unit 0x16010003 StatusBar "状态条"
    part -1 256 -1 "就绪" "提示"
unit 0x16010004 EditBox "空"
unit 0x16010005 EditBox "默认"
    record
menu-item 0x26010001 "菜单"
    caption "文件"
    menu-flags 4
    handler Clicked
)";

class BuiltForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto forms = formbuilder::ParseFormDescription(kDescription, "small.form", Inputs());
        m_stream = forms::WriteTemplate(forms);
        auto table = forms::ReadTemplate(m_stream, forms::kHandlerCodeBase);
        ASSERT_TRUE(table.has_value());
        m_table = std::move(*table);
        ASSERT_NE(m_table.FindForm(0x52010007), nullptr);
    }

    forms::UnitRecordFields Unit(std::int32_t index) const
    {
        auto unit = m_table.FindForm(0x52010007)->units.UnitData(index);
        auto fields = forms::DecodeUnit(*unit);
        EXPECT_TRUE(fields.has_value());
        return fields.value_or(forms::UnitRecordFields{});
    }

    std::vector<std::uint8_t> m_stream;
    forms::FormTable m_table;
};

TEST_F(BuiltForm, FormAndUnitFieldsAreStoredAsDescribed)
{
    const forms::TemplateForm& form = *m_table.FindForm(0x52010007);
    EXPECT_EQ(form.words[0], 1u);
    EXPECT_EQ(form.words[1], 2u);
    EXPECT_EQ(form.texts[0], Gbk("甲"));
    ASSERT_EQ(form.units.Count(), 7);

    forms::UnitRecordFields button = Unit(1);
    EXPECT_EQ(button.unitId, 0x16010001u);
    EXPECT_EQ(button.type, runtime::kButtonType);
    EXPECT_EQ(button.name, Gbk("按钮"));
    EXPECT_EQ(button.position, (forms::Position{1, 2, 3, 4}));
    EXPECT_EQ(button.flags, 5u);
    EXPECT_EQ(button.tabOrder, 2);
    EXPECT_EQ(button.tag, Gbk("标记"));
    EXPECT_EQ(button.mousePointer, (std::vector<std::uint8_t>{2, 0, 0, 0, 0x41}));
    // Handlers are positions in the handler list, fixed up by the reader.
    EXPECT_EQ(button.events, (std::vector<forms::EventBinding>{{0, forms::kHandlerCodeBase + 1}, {1, forms::kNoHandler}}));
    EXPECT_EQ(Unit(0).events, (std::vector<forms::EventBinding>{{0, forms::kHandlerCodeBase + 0}}));
    EXPECT_EQ(Unit(0).mousePointer, (std::vector<std::uint8_t>{0, 0, 0, 0}));

    forms::UnitRecordFields list = Unit(2);
    EXPECT_EQ(list.children, (std::vector<forms::UnitId>{0x16010003, 0, 0x16010004}));
    EXPECT_EQ(list.parent, 0x16010009u);
    EXPECT_EQ(list.position, (forms::Position{-1, -2, 30, 40}));

    forms::UnitRecordFields menu = Unit(6);
    ASSERT_TRUE(menu.menu.has_value());
    EXPECT_EQ(menu.menu->caption, Gbk("文件"));
    EXPECT_EQ(menu.menu->flags, 4u);
    EXPECT_EQ(menu.menu->handler, forms::kHandlerCodeBase + 1);
}

TEST_F(BuiltForm, RecordsAreWrittenByTheUnitsOwnRecordCode)
{
    auto window = units::LoadRecord<units::WindowProperties>(Unit(0).specific);
    ASSERT_TRUE(window.has_value());
    EXPECT_EQ(window->Caption, Gbk("窗口"));
    EXPECT_EQ(window->BackPicture, (units::Bytes{0xFF, 0xD8, 0xFF, 0xD9}));
    EXPECT_EQ(window->BackColour, units::kButtonFaceColour);

    auto button = units::LoadRecord<units::ButtonProperties>(Unit(1).specific);
    ASSERT_TRUE(button.has_value());
    EXPECT_EQ(button->ButtonCaption, Gbk("确定 \"好\""));

    auto list = units::LoadRecord<units::ListViewProperties>(Unit(2).specific);
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(list->ViewType, 3);
    auto columns = units::ParseListViewColumns(list->Columns);
    ASSERT_TRUE(columns.has_value());
    EXPECT_EQ(*columns, (std::vector<units::ListViewColumn>{{0, -1, 0, 100, Gbk("序号")}, {1, 1, 2, 50, Gbk("宽")}}));

    auto bar = units::LoadRecord<units::StatusBarProperties>(Unit(3).specific);
    ASSERT_TRUE(bar.has_value());
    auto parts = units::ParseStatusBarParts(bar->Parts);
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(*parts, (std::vector<units::StatusBarPart>{{-1, 256, -1, Gbk("就绪"), Gbk("提示")}}));

    EXPECT_TRUE(Unit(4).specific.empty());  // no record line: no unit-specific data
    auto defaults = units::LoadRecord<units::EditBoxProperties>(Unit(5).specific);
    ASSERT_TRUE(defaults.has_value());
    EXPECT_FALSE(Unit(5).specific.empty());
    EXPECT_EQ(*defaults, units::EditBoxProperties{});
}

struct Mistake {
    const char* name;
    std::string description;
    std::string message;
};

void PrintTo(const Mistake& mistake, std::ostream* out)
{
    *out << mistake.name;
}

class DescriptionMistake : public ::testing::TestWithParam<Mistake> {};

TEST_P(DescriptionMistake, IsReportedWithItsLine)
{
    try {
        formbuilder::ParseFormDescription(GetParam().description, "bad.form", Inputs());
        FAIL() << "no error for " << GetParam().name;
    } catch (const FormBuildError& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr(GetParam().message));
    }
}

const std::string kForm = "form 0x52010001\nunit 0x06010000 window \"\"\n";

INSTANTIATE_TEST_SUITE_P(
    Mistakes, DescriptionMistake,
    ::testing::Values(
        Mistake{"UnitBeforeForm", "unit 0x06010000 window \"\"\n", "bad.form:1: a form statement must come first"},
        Mistake{"NoForm", "# nothing\n", "the description holds no form"},
        Mistake{"UnknownStatement", kForm + "colour 3\n", "bad.form:3: unknown statement colour"},
        Mistake{"UnknownType", kForm + "unit 0x16010001 Slider \"s\"\n", "not a unit type: Slider"},
        Mistake{"ObjectIsNoUnit", kForm + "unit 0x16010001 ComObject \"s\"\n", "not a unit type: ComObject"},
        Mistake{"FirstUnitNotAWindow", "form 0x52010001\nunit 0x16010001 Button \"b\"\n",
                "bad.form:2: a form's first unit, and only that one, is its window"},
        Mistake{"WindowIdOnAButton", kForm + "unit 0x06010005 Button \"b\"\n", "not an identifier of a Button unit"},
        Mistake{"SecondWindow", kForm + "unit 0x06010001 window \"w\"\n", "only that one, is its window"},
        Mistake{"FormIdOfAUnit", "form 0x16010001\n", "not a form identifier"},
        Mistake{"UnknownHandler", kForm + "event 0 Closed\n", "no handler named Closed"},
        Mistake{"UnknownField", kForm + "set Colour 1\n", "WindowProperties has no field Colour"},
        Mistake{"TextForANumber", kForm + "set BackColour \"red\"\n", "BackColour takes a number"},
        Mistake{"NumberForAText", kForm + "set Caption 3\n", "Caption takes a text"},
        Mistake{"NumberTooLarge", kForm + "set BackColour 0x100000000\n", "out of 32-bit range"},
        Mistake{"UnknownAsset", kForm + "set BackMusic asset music\n", "no asset named music"},
        Mistake{"OddHex", kForm + "mouse-pointer 000\n", "even number of digits"},
        Mistake{"NotGbk", kForm + "set Caption \"\xF0\x9F\x98\x80\"\n", "without a GBK form"},
        Mistake{"UnclosedText", kForm + "set Caption \"open\n", "missing closing quote"},
        Mistake{"ColumnOnAButton", kForm + "unit 0x16010001 Button \"b\"\ncolumn 10 \"x\"\n",
                "column belongs to a ListView unit"},
        Mistake{"PartOnAList", kForm + "unit 0x16010001 ListView \"l\"\npart -1 0 -1 \"\" \"\"\n",
                "part belongs to a StatusBar unit"},
        Mistake{"MenuFieldOnAUnit", kForm + "caption \"x\"\n", "only a menu item has this field"},
        Mistake{"UnitFieldOnAMenuItem", kForm + "menu-item 0x26010001 \"m\"\nposition 1 2 3 4\n",
                "a menu item has no such field"},
        Mistake{"WrongArgumentCount", kForm + "position 1 2 3\n", "expected 4 argument(s), found 3"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HandlerList, NamesInOrderWithCommentsBetween)
{
    auto names = formbuilder::ParseHandlerList("// list\n\nVELLUMRY_HANDLER(First)\n  VELLUMRY_HANDLER(Second_2)\r\n");
    EXPECT_EQ(names, (std::vector<std::string>{"First", "Second_2"}));
    EXPECT_THROW(formbuilder::ParseHandlerList("VELLUMRY_HANDLER(A)\nVELLUMRY_HANDLER(A)\n"), FormBuildError);
    EXPECT_THROW(formbuilder::ParseHandlerList("HANDLER(A)\n"), FormBuildError);
    EXPECT_THROW(formbuilder::ParseHandlerList("VELLUMRY_HANDLER(2A)\n"), FormBuildError);
}

TEST(FormTokens, NumbersCoverBothSignedAndUnsignedWords)
{
    EXPECT_EQ(formbuilder::ParseNumber("-2147483648"), -2147483648LL);
    EXPECT_EQ(formbuilder::ParseNumber("0xFFFFFFFF"), 0xFFFFFFFFLL);
    EXPECT_EQ(formbuilder::ParseNumber("-0x10"), -16);
    EXPECT_THROW(formbuilder::ParseNumber("-2147483649"), FormBuildError);
    EXPECT_THROW(formbuilder::ParseNumber("12a"), FormBuildError);
    EXPECT_THROW(formbuilder::ParseNumber(""), FormBuildError);
    auto tokens = formbuilder::SplitLine("  set Caption \"a b\\\\\" 3\t");
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[2].text, "a b\\");
    EXPECT_TRUE(tokens[2].quoted);
    EXPECT_FALSE(tokens[3].quoted);
}

}  // namespace
