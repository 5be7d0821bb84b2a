// The transparent label unit on a real form: its window, the property table
// with its clamps, and what it draws over the window's background: the four
// text effects, alignment and word wrap, an empty caption, and the
// background shown again after a write or a move.

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <cstring>
#include <functional>

#include "platform/ui/qt/WidgetWindows.h"
#include "tests/support/GbkText.h"
#include "tests/units/UnitTestForm.h"
#include "units/common/ControlStyles.h"
#include "units/translabel/TransLabelUnit.h"
#include "units/translabel/TransLabelUnitType.h"

namespace {

using namespace vellumry;
using namespace vellumry::test;

constexpr std::int32_t kGrey = 0x00808080;
constexpr std::int32_t kRed = 0x000000FF;
constexpr std::int32_t kGreen = 0x0000FF00;
const QColor kGreyShown(128, 128, 128);

runtime::SharedBytes LargeFont()
{
    std::vector<std::uint8_t> font(60, 0);
    std::int32_t height = -28, weight = 700;
    std::memcpy(font.data(), &height, 4);
    std::memcpy(font.data() + 16, &weight, 4);
    return runtime::SharedBytes(font);
}

units::TransLabelProperties Label(const char* caption, std::int32_t colour = kRed, std::int32_t effect = 0)
{
    units::TransLabelProperties p;
    p.Caption = Gbk(caption);
    p.TextColour = colour;
    p.TextEffect = effect;
    p.Font = LargeFont();
    return p;
}

bool Near(QColor a, QColor b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

std::vector<QPoint> PointsNear(const QImage& image, QColor colour, int tolerance)
{
    std::vector<QPoint> points;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Near(image.pixelColor(x, y), colour, tolerance))
                points.push_back({x, y});
    return points;
}

class TransLabel : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareUnitTestForm();
        units::InstallTransLabelUnitType();
    }
    void TearDown() override { TearDownForms(); }

    void Load(const units::TransLabelProperties& p, forms::Position position = {20, 20, 200, 80})
    {
        units::Bytes record = units::SaveRecord(p);
        ASSERT_TRUE(LoadUnitTestForm(runtime::kTransLabelType, std::vector<std::uint8_t>(record.begin(), record.end()),
                                     position, {}, kGrey));
        ASSERT_NE(Unit(), nullptr);
    }
    units::CTransLabelUnit* Unit()
    {
        return dynamic_cast<units::CTransLabelUnit*>(forms::ResolveUnit(kTestFormId, kUnitUnderTest));
    }
    // The form drawn, cut to the label's place.
    QImage Shot(QRect area = {20, 20, 200, 80})
    {
        QWidget* form = ui::WidgetOf(forms::ResolveUnit(kTestFormId, 0)->Handle());
        return form->grab().toImage().copy(area);
    }
};

TEST_F(TransLabel, IsATransparentChildWindowOfItsOwnClassWithItsCaption)
{
    Load(Label("网页地址："));
    HWND label = Unit()->Handle();
    char className[32];
    GetClassNameA(label, className, sizeof className);
    EXPECT_STREQ(className, "_QV_TransLabel");
    auto style = static_cast<DWORD>(GetWindowLongA(label, GWL_STYLE));
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_CLIPSIBLINGS);
    EXPECT_TRUE(GetWindowLongA(label, GWL_EXSTYLE) & units::WS_EX_TRANSPARENT);
    WNDCLASSA registered{};
    ASSERT_TRUE(GetClassInfoA(nullptr, "_QV_TransLabel", &registered));
    EXPECT_EQ(registered.style, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS);
    EXPECT_EQ(registered.hbrBackground, nullptr);
    char text[32];
    int length = GetWindowTextA(label, text, sizeof text);
    EXPECT_EQ(Utf8(std::string(text, static_cast<std::size_t>(length))), "网页地址：");
}

TEST_F(TransLabel, PropertiesAreClampedStoredReadAndSavedWithoutReCreation)
{
    Load(Label("A"));
    units::CTransLabelUnit& label = *Unit();
    struct Case {
        std::int32_t number, written, stored;
    };
    for (Case c : {Case{1, 9, 3}, Case{1, -1, 0}, Case{1, 2, 2}, Case{4, 3, 2}, Case{4, -4, 0}, Case{6, 7, 2},
                   Case{6, -1, 0}, Case{3, kGreen, kGreen}, Case{5, 1, 1}}) {
        EXPECT_EQ(label.WriteProperty(c.number, Number(c.written)), 0) << c.number;
        forms::UnitPropertyValue read;
        ASSERT_EQ(label.ReadProperty(c.number, &read), 1);
        EXPECT_EQ(read.number, c.stored) << c.number << " " << c.written;
    }
    forms::UnitPropertyValue caption;
    caption.text = Gbk("终止页码：");
    EXPECT_EQ(label.WriteProperty(0, caption), 0);
    forms::UnitPropertyValue font;
    ASSERT_EQ(label.ReadProperty(2, &font), 1);
    EXPECT_EQ(font.bytes.size(), 60u);
    forms::UnitPropertyValue none;
    EXPECT_EQ(label.ReadProperty(7, &none), 0);

    auto saved = units::LoadRecord<units::TransLabelProperties>(label.Save());
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(*saved, label.Properties());
    EXPECT_EQ(Utf8(saved->Caption), "终止页码：");
    EXPECT_EQ(saved->TextEffect, 2);
    EXPECT_EQ(units::StoredVersion(label.Save()), 1);
}

TEST_F(TransLabel, OnlyVersionsZeroAndOneMakeALabel)
{
    Load(Label("A"));
    units::Bytes saved = units::SaveRecord(Label("B"));
    std::vector<std::uint8_t> record(saved.begin(), saved.end());
    auto create = forms::OperationsOf(units::host::DataType(runtime::kTransLabelType)).create;
    HWND form = forms::ResolveUnit(kTestFormId, 0)->Handle();
    auto make = [&] {
        return create(record.data(), static_cast<std::int32_t>(record.size()), WS_VISIBLE, form, 9, nullptr, 0, 0, 50,
                      20, kTestFormId, 0x16010098, 0, 0);
    };
    record[0] = 0;
    ui::WindowObject* old = make();
    ASSERT_NE(old, nullptr);
    DestroyWindow(old->Handle());
    record[0] = 2;
    EXPECT_EQ(make(), nullptr);
}

TEST_F(TransLabel, DrawsItsLettersOverTheBackgroundAndNothingElse)
{
    Load(Label("WWWW"));
    QImage shot = Shot();
    auto letters = PointsNear(shot, QColor(255, 0, 0), 40);
    auto background = PointsNear(shot, kGreyShown, 2);
    EXPECT_GT(letters.size(), 100u);
    EXPECT_GT(background.size(), static_cast<std::size_t>(shot.width() * shot.height()) / 2);
    EXPECT_TRUE(PointsNear(shot, Qt::black, 60).empty()) << "effect 0 draws no shadow";
    EXPECT_TRUE(PointsNear(shot, Qt::white, 60).empty());
}

TEST_F(TransLabel, EffectThreeDrawsABlackCopyTwoPixelsDownAndRight)
{
    Load(Label("WWWW", kRed, 0));
    QImage plainShot = Shot();
    auto plain = PointsNear(plainShot, QColor(255, 0, 0), 40);
    ASSERT_EQ(Unit()->WriteProperty(1, Number(3)), 0);
    QImage shot = Shot();
    auto shadow = PointsNear(shot, Qt::black, 60);
    ASSERT_GT(shadow.size(), 50u);
    std::set<std::pair<int, int>> letters;
    for (QPoint p : plain)
        letters.insert({p.x(), p.y()});
    std::size_t matched = 0;
    for (QPoint p : shadow)
        matched += letters.count({p.x() - 2, p.y() - 2});
    EXPECT_GT(matched, shadow.size() * 9 / 10) << "each shadow pixel is a letter pixel moved by (2, 2)";
    // The letters stay on top: their solid pixels are as red as before.
    auto solid = PointsNear(plainShot, QColor(255, 0, 0), 2);
    ASSERT_GT(solid.size(), 50u);
    for (QPoint p : solid)
        ASSERT_TRUE(Near(shot.pixelColor(p), QColor(255, 0, 0), 30))
            << p.x() << ", " << p.y() << ": " << shot.pixelColor(p).name().toStdString();
}

TEST_F(TransLabel, EffectsOneAndTwoDrawAWhiteCopy)
{
    Load(Label("WWWW", kRed, 1));
    QImage below = Shot();
    EXPECT_GT(PointsNear(below, Qt::white, 40).size(), 50u);
    // Effect 1: white under the letters, one pixel down; effect 2: the
    // letters one pixel down over white. The red letters move by one.
    auto redBelow = PointsNear(below, QColor(255, 0, 0), 40);
    ASSERT_EQ(Unit()->WriteProperty(1, Number(2)), 0);
    QImage above = Shot();
    EXPECT_GT(PointsNear(above, Qt::white, 40).size(), 20u);
    auto redAbove = PointsNear(above, QColor(255, 0, 0), 40);
    ASSERT_FALSE(redBelow.empty());
    ASSERT_FALSE(redAbove.empty());
    auto topLeft = [](const std::vector<QPoint>& points) {
        QPoint best = points.front();
        for (QPoint p : points)
            if (p.y() < best.y() || (p.y() == best.y() && p.x() < best.x()))
                best = p;
        return best;
    };
    EXPECT_EQ(topLeft(redAbove).y(), topLeft(redBelow).y() + 1);
}

TEST_F(TransLabel, AnEmptyCaptionLeavesTheBackgroundFullyVisible)
{
    Load(Label(""));
    QImage shot = Shot();
    EXPECT_EQ(PointsNear(shot, kGreyShown, 2).size(), static_cast<std::size_t>(shot.width() * shot.height()));
}

TEST_F(TransLabel, AlignmentPlacesTheTextAndWordWrapIgnoresTheVerticalOne)
{
    Load(Label("W"));
    auto box = [&] {
        auto points = PointsNear(Shot(), QColor(255, 0, 0), 40);
        QRect r;
        for (QPoint p : points)
            r |= QRect(p, QSize(1, 1));
        return r;
    };
    QRect left = box();
    Unit()->WriteProperty(4, Number(2));
    QRect right = box();
    EXPECT_LT(left.left(), 10);
    EXPECT_GT(right.right(), 190);
    Unit()->WriteProperty(6, Number(0));
    QRect top = box();
    Unit()->WriteProperty(6, Number(2));
    QRect bottom = box();
    EXPECT_LT(top.top(), 10);
    EXPECT_GT(bottom.bottom(), 70);

    Unit()->WriteProperty(5, Number(1));
    QRect wrappedBottom = box();
    Unit()->WriteProperty(6, Number(0));
    QRect wrappedTop = box();
    EXPECT_EQ(wrappedBottom, wrappedTop);
    EXPECT_GT(wrappedTop.top(), top.top()) << "wrapped text is centred vertically";
}

TEST_F(TransLabel, AWriteAndAMoveShowTheBackgroundAgainWhereTheOldLettersWere)
{
    Load(Label("WWWW"));
    ASSERT_EQ(Unit()->WriteProperty(3, Number(kGreen)), 0);
    QImage shot = Shot();
    EXPECT_TRUE(PointsNear(shot, QColor(255, 0, 0), 60).empty()) << "no red letter is left behind";
    EXPECT_GT(PointsNear(shot, QColor(0, 255, 0), 40).size(), 100u);

    MoveWindow(Unit()->Handle(), 20, 150, 200, 80, TRUE);
    QImage oldPlace = Shot();
    EXPECT_EQ(PointsNear(oldPlace, kGreyShown, 2).size(), static_cast<std::size_t>(200 * 80));
    QImage newPlace = Shot({20, 150, 200, 80});
    EXPECT_GT(PointsNear(newPlace, QColor(0, 255, 0), 40).size(), 100u);
}

}  // namespace
