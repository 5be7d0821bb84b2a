// The start form loaded in this process with the program's own unit types:
// every unit is made, and the form drawn into an image shows the labels
// over the background picture in their colours, the edit boxes with their
// contents and the five buttons with their captions.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QWidget>

#include <cstdlib>
#include <string>

#include "app/description/ProgramDescription.h"
#include "app/forms/HandlerNames.h"
#include "forms/description/FormTable.h"
#include "forms/engine/FormEngine.h"
#include "forms/engine/HostNotify.h"
#include "forms/engine/UnitProperties.h"
#include "platform/ui/qt/WidgetWindows.h"
#include "tests/forms/engine/TestUnits.h"
#include "tests/support/GbkText.h"
#include "units/button/ButtonUnit.h"
#include "units/button/ButtonUnitType.h"
#include "units/common/UnitHost.h"
#include "units/editbox/EditBoxUnit.h"
#include "units/editbox/EditBoxUnitType.h"
#include "units/listview/ListViewUnit.h"
#include "units/listview/ListViewUnitType.h"
#include "units/picturebox/PictureBoxUnit.h"
#include "units/picturebox/PictureBoxUnitType.h"
#include "units/statusbar/StatusBarUnit.h"
#include "units/statusbar/StatusBarUnitType.h"
#include "units/translabel/TransLabelUnit.h"
#include "units/translabel/TransLabelUnitType.h"
#include "units/window/WindowUnitType.h"

namespace {

using namespace vellumry;

void IgnoreEvent(forms::EventCall&) {}

QColor Colour(std::int32_t reference)
{
    return QColor(reference & 0xFF, (reference >> 8) & 0xFF, (reference >> 16) & 0xFF);
}

bool Near(QColor a, QColor b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// Pixels of `image` inside `area` within `tolerance` of `colour`.
int CountNear(const QImage& image, QRect area, QColor colour, int tolerance = 40)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.rect().contains(x, y) && Near(image.pixelColor(x, y), colour, tolerance))
                ++count;
    return count;
}

class StartFormUnits : public ::testing::Test {
protected:
    void SetUp() override
    {
        units::UnitLibraryNotify(1, reinterpret_cast<std::intptr_t>(&forms::HostNotify), 0);
        units::InstallWindowUnitType();
        units::InstallPictureBoxUnitType();
        units::InstallButtonUnitType();
        units::InstallEditBoxUnitType();
        units::InstallTransLabelUnitType();
        units::InstallStatusBarUnitType();
        units::InstallListViewUnitType();
        static const std::vector<forms::EventHandler> handlers(std::size(app::kHandlerNames), IgnoreEvent);
        forms::SetEventHandlers(handlers);
        auto table = forms::ReadTemplate(forms::TemplateStream(app::ProgramDescription()), forms::kHandlerCodeBase);
        ASSERT_TRUE(table.has_value());
        forms::InstallFormTable(std::move(*table));
        ASSERT_TRUE(forms::LoadForm(app::kStartFormId, false, nullptr));
    }
    void TearDown() override { test::TearDownForms(); }

    template <typename Unit>
    Unit* UnitOf(forms::UnitId unitId)
    {
        return dynamic_cast<Unit*>(forms::ResolveUnit(app::kStartFormId, unitId));
    }
    QWidget* FormWidget() { return ui::WidgetOf(forms::ResolveUnit(app::kStartFormId, 0)->Handle()); }
    QRect RectOf(forms::UnitId unitId)
    {
        return ui::WidgetOf(forms::ResolveUnit(app::kStartFormId, unitId)->Handle())->geometry();
    }
};

TEST_F(StartFormUnits, EveryUnitOfTheFormIsMade)
{
    const std::pair<forms::UnitId, const char*> buttons[] = {
        {0x1601001B, "下载"}, {0x16010019, "停止"}, {0x16010018, "清空"}, {0x16010017, "解析"}, {0x16010002, "打开"}};
    for (const auto& [unitId, caption] : buttons) {
        units::CButtonUnit* button = UnitOf<units::CButtonUnit>(unitId);
        ASSERT_NE(button, nullptr) << std::hex << unitId;
        char text[32];
        int length = GetWindowTextA(button->Handle(), text, sizeof text);
        EXPECT_EQ(test::Utf8(std::string(text, static_cast<std::size_t>(length))), caption);
        EXPECT_TRUE(IsWindowVisible(button->Handle()));
        EXPECT_FALSE(button->IsDefaultButton());
    }
    const std::pair<forms::UnitId, const char*> boxes[] = {
        {0x1601000A, "2"}, {0x16010009, "1"}, {0x16010006, "http://127.0.0.1:8808/gallery/353/1075110353.shtml"},
        {0x16010005, ""}};
    for (const auto& [unitId, content] : boxes) {
        units::CEditBoxUnit* box = UnitOf<units::CEditBoxUnit>(unitId);
        ASSERT_NE(box, nullptr) << std::hex << unitId;
        EXPECT_EQ(box->Text(), content);
        EXPECT_TRUE(IsWindowVisible(box->Handle()));
    }
    for (forms::UnitId unitId : {0x1601000Bu, 0x16010008u, 0x16010007u, 0x16010003u})
        EXPECT_NE(UnitOf<units::CTransLabelUnit>(unitId), nullptr) << std::hex << unitId;
    EXPECT_NE(UnitOf<units::CPicBoxUnit>(0x160149CF), nullptr);
    EXPECT_NE(UnitOf<units::CStatusBarUnit>(0x16010004), nullptr);
    EXPECT_NE(UnitOf<units::CListViewUnit>(0x16010014), nullptr);
}

TEST_F(StartFormUnits, TheDrawnFormShowsLabelsBoxesAndButtons)
{
    QImage image = FormWidget()->grab().toImage();
    if (const char* folder = std::getenv("VELLUMRY_SNAPSHOT_DIR"))
        image.save(QString::fromUtf8(folder) + QStringLiteral("/start-form-units.png"));

    // The labels: their letters in their colours, the picture around them
    // (not a fill of one colour).
    const std::pair<forms::UnitId, std::int32_t> labels[] = {
        {0x16010007, 0x000080FF}, {0x1601000B, 0x00FFFF00}};
    for (const auto& [unitId, colour] : labels) {
        QRect rect = RectOf(unitId);
        int area = rect.width() * rect.height();
        int letters = CountNear(image, rect, Colour(colour));
        EXPECT_GT(letters, 20) << std::hex << unitId;
        EXPECT_LT(letters, area / 2) << std::hex << unitId;
        QColor corner = image.pixelColor(rect.topLeft());
        EXPECT_LT(CountNear(image, rect, corner, 4), area * 9 / 10) << "a label filled its background";
    }

    // The boxes: white, with dark letters where they hold text.
    QRect address = RectOf(0x16010006);
    EXPECT_GT(CountNear(image, address, Qt::white, 8), address.width() * address.height() / 2);
    EXPECT_GT(CountNear(image, address, Qt::black, 100), 30);
    QRect savePath = RectOf(0x16010005);
    EXPECT_EQ(CountNear(image, savePath.adjusted(4, 4, -4, -4), Qt::black, 100), 0);

    // The buttons: a face of their own with dark caption letters.
    for (forms::UnitId unitId : {0x1601001Bu, 0x16010019u, 0x16010018u, 0x16010017u, 0x16010002u}) {
        QRect rect = RectOf(unitId).adjusted(4, 4, -4, -4);
        EXPECT_GT(CountNear(image, rect, Qt::black, 110), 10) << std::hex << unitId;
    }
}

TEST_F(StartFormUnits, TheReportListMadeVisibleShowsItsThreeColumns)
{
    constexpr forms::UnitId kList = 0x16010014;
    units::CListViewUnit* list = UnitOf<units::CListViewUnit>(kList);
    ASSERT_NE(list, nullptr);
    // As the program shows it: the common visibility property (index 5).
    forms::WriteUnitProperty(app::kStartFormId, kList, 5, -1, 1, 0);
    ASSERT_TRUE(IsWindowVisible(list->Handle()));
    for (int row = 0; row < 3; ++row) {
        units::NewRow added;
        added.text = std::to_string(row + 1);
        list->InsertRow(added);
        list->SetCell(units::CellField::Text, row, 1, 0, "http://127.0.0.1:8808/pictures/" + std::to_string(row) + ".jpg");
        list->SetCell(units::CellField::Text, row, 2, 0, test::Gbk("下载完成"));
    }
    list->FlushView();
    QImage image = FormWidget()->grab().toImage();
    if (const char* folder = std::getenv("VELLUMRY_SNAPSHOT_DIR"))
        image.save(QString::fromUtf8(folder) + QStringLiteral("/start-form-list.png"));

    QRect rect = RectOf(kList);
    // The header: three titles, each with dark letters inside its own
    // section (widths 100, 500, 150).
    const int sectionLefts[] = {0, 100, 600, 750};
    for (int section = 0; section < 3; ++section) {
        QRect title(rect.left() + sectionLefts[section] + 3, rect.top() + 3,
                    std::min(sectionLefts[section + 1], rect.width() - 4) - sectionLefts[section] - 6, 16);
        EXPECT_GT(CountNear(image, title, Qt::black, 110), 10) << "section " << section;
    }
    // The rows: cells on the grey text background with dark letters in
    // every column, white below the last row.
    QRect cells(rect.left() + 4, rect.top() + 26, 740, 50);
    EXPECT_GT(CountNear(image, cells, QColor(0xEC, 0xEC, 0xEC), 6), 2000);
    for (int section = 0; section < 3; ++section) {
        QRect column(rect.left() + sectionLefts[section] + 3, rect.top() + 24,
                     std::min(sectionLefts[section + 1], rect.width() - 4) - sectionLefts[section] - 6, 50);
        EXPECT_GT(CountNear(image, column, Qt::black, 110), 10) << "column " << section;
    }
    QRect below(rect.left() + 10, rect.bottom() - 40, rect.width() - 40, 30);
    EXPECT_GT(CountNear(image, below, Qt::white, 4), below.width() * below.height() * 9 / 10);
}

}  // namespace
