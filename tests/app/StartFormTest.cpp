// The start form as the executable carries it, read through the template
// reader: the seventeen units and their stored property records.

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "app/description/ProgramDescription.h"
#include "app/forms/HandlerNames.h"
#include "forms/description/FormTable.h"
#include "runtime/Values.h"
#include "tests/support/GbkText.h"
#include "units/UnitRecordTypes.h"
#include "units/listview/ListViewColumns.h"
#include "units/statusbar/StatusBarParts.h"

namespace {

using namespace vellumry;
using test::Gbk;

const forms::TemplateForm& StartForm()
{
    static const std::optional<forms::FormTable> table =
        forms::ReadTemplate(forms::TemplateStream(app::ProgramDescription()), forms::kHandlerCodeBase);
    const forms::TemplateForm* form = table ? table->FindForm(app::kStartFormId) : nullptr;
    if (!form)
        throw std::runtime_error("the start form is missing");
    return *form;
}

forms::UnitRecordFields Unit(forms::UnitId unitId)
{
    auto unit = StartForm().units.FindUnit(unitId);
    if (!unit)
        throw std::runtime_error("unit missing");
    auto fields = forms::DecodeUnit(*unit);
    if (!fields)
        throw std::runtime_error("unit record malformed");
    return *fields;
}

template <typename Record>
Record RecordOf(forms::UnitId unitId)
{
    auto record = units::LoadRecord<Record>(Unit(unitId).specific);
    if (!record)
        throw std::runtime_error("record does not load");
    return *record;
}

struct UnitRow {
    std::int32_t index;
    forms::UnitId unitId;
    const char* name;
    runtime::DataTypeTag type;
    forms::Position position;
    std::uint32_t flags;
    const char* handler;  // bound to event 0, or null
};

void PrintTo(const UnitRow& row, std::ostream* out)
{
    *out << "#" << row.index;
}

class StartFormUnit : public ::testing::TestWithParam<UnitRow> {};

TEST_P(StartFormUnit, MatchesTheTableRow)
{
    const UnitRow& row = GetParam();
    auto unit = StartForm().units.UnitData(row.index);
    ASSERT_TRUE(unit.has_value());
    EXPECT_EQ(unit->unitId, row.unitId);
    auto fields = forms::DecodeUnit(*unit);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(test::Utf8(fields->name), row.name);
    EXPECT_EQ(fields->type, row.type);
    EXPECT_EQ(fields->position, row.position);
    EXPECT_EQ(fields->flags, row.flags);
    if (row.handler) {
        ASSERT_EQ(fields->events.size(), 1u);
        EXPECT_EQ(fields->events[0].event, 0);
        auto position = forms::HandlerPosition(fields->events[0].handler, app::ProgramDescription().codeBase);
        ASSERT_TRUE(position.has_value());
        ASSERT_LT(*position, std::size(app::kHandlerNames));
        EXPECT_EQ(app::kHandlerNames[*position], row.handler);
    } else {
        EXPECT_TRUE(fields->events.empty());
    }
    // Common to all seventeen.
    EXPECT_EQ(fields->eventSource, 0u);
    EXPECT_EQ(fields->remark, "");
    EXPECT_EQ(fields->objectSlot, 0u);
    EXPECT_EQ(fields->cursorSlot, 0u);
    EXPECT_EQ(fields->parent, 0u);
    EXPECT_TRUE(fields->children.empty());
    EXPECT_EQ(fields->mousePointer, (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(fields->tag, "");
    EXPECT_EQ(fields->tabOrder, 0);
    EXPECT_FALSE(fields->menu.has_value());
}

using runtime::kButtonType, runtime::kEditBoxType, runtime::kListViewType, runtime::kTransLabelType;

INSTANTIATE_TEST_SUITE_P(
    SeventeenUnits, StartFormUnit,
    ::testing::Values(UnitRow{0, 0x06010000, "", runtime::kWindowType, {50, 50, 815, 562}, 1, "LoadSettings"},
                      UnitRow{1, 0x1601001B, "按钮_下载", kButtonType, {224, 472, 80, 24}, 5, "DownloadButtonClicked"},
                      UnitRow{2, 0x16010019, "按钮_停止", kButtonType, {624, 472, 80, 24}, 5, "StopButtonClicked"},
                      UnitRow{3, 0x16010018, "按钮_清空", kButtonType, {424, 472, 80, 24}, 5, "ClearButtonClicked"},
                      UnitRow{4, 0x16010017, "按钮_解析", kButtonType, {24, 472, 80, 24}, 5, "ParseButtonClicked"},
                      UnitRow{5, 0x16010014, "超级列表框1", kListViewType, {24, 104, 759, 336}, 4, nullptr},
                      UnitRow{6, 0x1601000A, "编辑框_终止页码", kEditBoxType, {680, 440, 80, 20}, 5, nullptr},
                      UnitRow{7, 0x1601000B, "透明标签4", kTransLabelType, {608, 432, 56, 32}, 1, nullptr},
                      UnitRow{8, 0x16010009, "编辑框_起始页码", kEditBoxType, {96, 440, 80, 20}, 5, nullptr},
                      UnitRow{9, 0x16010008, "透明标签3", kTransLabelType, {24, 432, 56, 32}, 1, nullptr},
                      UnitRow{10, 0x16010006, "编辑框_网页地址", kEditBoxType, {104, 56, 568, 24}, 5, nullptr},
                      UnitRow{11, 0x16010007, "透明标签2", kTransLabelType, {32, 48, 64, 40}, 1, nullptr},
                      UnitRow{12, 0x16010005, "编辑框_保存路径", kEditBoxType, {104, 16, 568, 24}, 5, nullptr},
                      UnitRow{13, 0x16010004, "状态条1", runtime::kStatusBarType, {0, 404, 719, 20}, 1, nullptr},
                      UnitRow{14, 0x16010003, "透明标签1", kTransLabelType, {32, 8, 64, 40}, 1, nullptr},
                      UnitRow{15, 0x16010002, "按钮_保存路径", kButtonType, {720, 16, 56, 24}, 5, "FolderButtonClicked"},
                      UnitRow{16, 0x160149CF, "图片框1", runtime::kPicBoxType, {-6, -48, 824, 616}, 1, nullptr}));

TEST(StartForm, OneFormWithSeventeenUnitsAndEmptyTexts)
{
    const runtime::ProgramHeader& header = app::ProgramDescription();
    auto table = forms::ReadTemplate(std::span(header.windowTemplateStart, header.windowTemplateSize), header.codeBase);
    ASSERT_TRUE(table.has_value());
    ASSERT_EQ(table->Forms().size(), 1u);
    const forms::TemplateForm& form = table->Forms()[0];
    EXPECT_EQ(form.formId, 0x52010001u);
    EXPECT_EQ(form.units.Count(), 17);
    EXPECT_EQ(form.texts[0], "");
    EXPECT_EQ(form.texts[1], "");
}

TEST(StartForm, SavePathRecordEndsAfterTheFiveReservedWords)
{
    auto unit = StartForm().units.FindUnit(0x16010005);
    ASSERT_TRUE(unit.has_value());
    auto layout = forms::WalkUnitRecord(unit->data);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->eventCount, 0u);
    EXPECT_EQ(unit->data.size(), layout->events + 4 + 5 * 4);
    EXPECT_EQ(forms::UnitSpecificData(unit->data)->size(), 0u);
    // The other three boxes carry their contents.
    EXPECT_EQ(RecordOf<units::EditBoxProperties>(0x16010009).Content, "1");
    EXPECT_EQ(RecordOf<units::EditBoxProperties>(0x1601000A).Content, "2");
    EXPECT_EQ(RecordOf<units::EditBoxProperties>(0x16010006).Content,
              "http://127.0.0.1:8808/gallery/353/1075110353.shtml");
    EXPECT_EQ(units::StoredVersion(Unit(0x1601000A).specific), 2);
    EXPECT_EQ(RecordOf<units::EditBoxProperties>(0x1601000A).BorderStyle, 1);
}

TEST(StartForm, WindowRecordHoldsPictureMusicAndCaption)
{
    auto window = RecordOf<units::WindowProperties>(0x06010000);
    EXPECT_EQ(units::StoredVersion(Unit(0x06010000).specific), 6);
    EXPECT_EQ(window.WindowBorder, 2);
    EXPECT_EQ(window.MinButton, 1);
    EXPECT_EQ(window.ControlBox, 1);
    EXPECT_EQ(window.MaxButton, 0);
    EXPECT_EQ(window.StartPosition, 1);
    EXPECT_EQ(window.CloseButton, 1);
    EXPECT_EQ(window.ShowInTaskbar, 1);
    EXPECT_EQ(window.EscCloses, 1);
    EXPECT_EQ(window.BackColour, static_cast<std::int32_t>(0xFF000000));
    EXPECT_EQ(window.BackPictureMode, 3);
    EXPECT_EQ(window.MusicPlayMode, 0);
    EXPECT_EQ(window.Caption, "Vellumry");
    EXPECT_EQ(window.WindowClassName, "");
    EXPECT_TRUE(window.WindowIcon.empty());
    ASSERT_GE(window.BackPicture.size(), 2u);
    EXPECT_EQ(window.BackPicture[0], 0xFF);
    EXPECT_EQ(window.BackPicture[1], 0xD8);

    // The music: RIFF/WAVE with "fmt ", "LIST" and "data" chunks.
    const units::Bytes& music = window.BackMusic;
    ASSERT_EQ(music.size(), 10956878u);
    EXPECT_EQ(std::memcmp(music.data(), "RIFF", 4), 0);
    EXPECT_EQ(std::memcmp(music.data() + 8, "WAVE", 4), 0);
    std::vector<std::string> chunks;
    std::size_t at = 12;
    std::uint32_t dataSize = 0;
    while (at + 8 <= music.size()) {
        std::string id(reinterpret_cast<const char*>(music.data() + at), 4);
        auto size = static_cast<std::uint32_t>(runtime::LoadWord(music.data() + at + 4));
        chunks.push_back(id);
        if (id == "fmt ") {
            EXPECT_EQ(runtime::LoadWord(music.data() + at + 8) & 0xFFFF, 1);       // PCM
            EXPECT_EQ(runtime::LoadWord(music.data() + at + 8) >> 16, 2);          // channels
            EXPECT_EQ(runtime::LoadWord(music.data() + at + 12), 48000);           // samples per second
            EXPECT_EQ(runtime::LoadWord(music.data() + at + 20) >> 16, 16);        // bits per sample
        }
        if (id == "data")
            dataSize = size;
        at += 8 + size;
    }
    EXPECT_EQ(chunks, (std::vector<std::string>{"fmt ", "LIST", "data"}));
    EXPECT_EQ(dataSize, 10956800u);
    EXPECT_EQ(at, music.size());
}

TEST(StartForm, ButtonsCarryTheirCaptions)
{
    const std::pair<forms::UnitId, const char*> buttons[] = {
        {0x1601001B, "下载"}, {0x16010019, "停止"}, {0x16010018, "清空"}, {0x16010017, "解析"}, {0x16010002, "打开"}};
    for (const auto& [unitId, caption] : buttons) {
        auto button = RecordOf<units::ButtonProperties>(unitId);
        EXPECT_EQ(test::Utf8(button.ButtonCaption), caption);
        EXPECT_EQ(button.HorizontalAlignment, 1);
        EXPECT_EQ(button.VerticalAlignment, 1);
        EXPECT_TRUE(button.ButtonPicture.empty());
        EXPECT_TRUE(button.Font.empty());
        EXPECT_EQ(units::StoredVersion(Unit(unitId).specific), 1);
    }
}

TEST(StartForm, ReportListIsAReportViewWithThreeColumns)
{
    auto list = RecordOf<units::ListViewProperties>(0x16010014);
    EXPECT_EQ(list.ViewType, units::kReportView);
    EXPECT_EQ(list.FullRowSelect, 1);
    EXPECT_EQ(list.GridLines, 1);
    EXPECT_EQ(list.ClickableHeader, 1);
    EXPECT_EQ(list.SingleSelection, 1);
    EXPECT_EQ(list.BorderStyle, 3);
    EXPECT_EQ(list.TextColour, 0);
    EXPECT_EQ(list.TextBackColour, 0xECECEC);
    EXPECT_EQ(list.BackColour, 0xFFFFFF);
    EXPECT_TRUE(list.InitialRows.empty());
    EXPECT_EQ(list.Columns.size(), 66u);
    auto columns = units::ParseListViewColumns(list.Columns);
    ASSERT_TRUE(columns.has_value());
    EXPECT_EQ(*columns, (std::vector<units::ListViewColumn>{{0, -1, 0, 100, Gbk("序号")},
                                                             {0, -1, 0, 500, Gbk("图片下载地址")},
                                                             {0, -1, 0, 150, Gbk("下载状态")}}));
}

TEST(StartForm, StatusBarHasOnePartLabelsTheirCaptionsPictureBoxItsPicture)
{
    auto bar = RecordOf<units::StatusBarProperties>(0x16010004);
    EXPECT_EQ(bar.Parts.size(), 18u);
    EXPECT_EQ(units::ParseStatusBarParts(bar.Parts), std::vector<units::StatusBarPart>{units::StatusBarPart{}});

    auto address = RecordOf<units::TransLabelProperties>(0x16010007);
    EXPECT_EQ(test::Utf8(address.Caption), "网页地址：");
    EXPECT_EQ(address.TextColour, 0x000080FF);
    auto endPage = RecordOf<units::TransLabelProperties>(0x1601000B);
    EXPECT_EQ(test::Utf8(endPage.Caption), "终止页码：");
    EXPECT_EQ(endPage.TextColour, 0x00FFFF00);
    EXPECT_EQ(test::Utf8(RecordOf<units::TransLabelProperties>(0x16010008).Caption), "起始页码：");
    EXPECT_EQ(test::Utf8(RecordOf<units::TransLabelProperties>(0x16010003).Caption), "保存路径：");

    auto picture = RecordOf<units::PictureBoxProperties>(0x160149CF);
    EXPECT_EQ(picture.BorderStyle, 0);
    EXPECT_EQ(picture.BackColour, 0xFFFFFF);
    EXPECT_EQ(picture.DisplayMode, 2);
    EXPECT_EQ(picture.Animate, 1);
    ASSERT_GE(picture.Picture.size(), 2u);
    EXPECT_EQ(picture.Picture[0], 0xFF);
    EXPECT_EQ(picture.Picture[1], 0xD8);
}

}  // namespace
