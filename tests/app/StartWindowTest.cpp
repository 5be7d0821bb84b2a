#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "tests/support/ScopedTempDir.h"

namespace {

using vellumry::test::ScopedTempDir;

int RunProgram(const std::string& arguments)
{
    std::string command = "QT_QPA_PLATFORM=offscreen " + std::string(VELLUMRY_EXE) + " " + arguments +
                          " > /dev/null 2>&1";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Where the start form's other units sit over the picture box (client
// coordinates): buttons, edit boxes, labels, and the status bar, which
// places itself along the bottom edge.
const QRect kUnitsOverThePicture[] = {
    {224, 472, 80, 24}, {624, 472, 80, 24}, {424, 472, 80, 24}, {24, 472, 80, 24}, {680, 440, 80, 20},
    {608, 432, 56, 32}, {96, 440, 80, 20},  {24, 432, 56, 32},  {104, 56, 568, 24}, {32, 48, 64, 40},
    {104, 16, 568, 24}, {0, 404, 719, 20},  {0, 503, 809, 30},  {32, 8, 64, 40},   {720, 16, 56, 24}};

bool UnderAUnit(QPoint point)
{
    return std::any_of(std::begin(kUnitsOverThePicture), std::end(kUnitsOverThePicture),
                       [&](const QRect& rect) { return rect.contains(point); });
}

int CountNear(const QImage& image, QRect area, QColor colour, int tolerance)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            QColor shown = image.pixelColor(x, y);
            if (std::abs(shown.red() - colour.red()) <= tolerance &&
                std::abs(shown.green() - colour.green()) <= tolerance &&
                std::abs(shown.blue() - colour.blue()) <= tolerance)
                ++count;
        }
    return count;
}

TEST(StartWindow, StartsShowsThePictureBoxOverTheWholeClientAreaAndEndsNormally)
{
    ScopedTempDir dir;
    std::string png = dir.File("start.png");
    ASSERT_EQ(RunProgram("--render-png " + png), 0);
    QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    // The client area of an 815 x 562 window with a fixed frame and a caption.
    ASSERT_EQ(image.size(), QSize(809, 533));
    // The picture box sits at (-6, -48) with the picture's own size, 824 x
    // 616, so it covers the client area and shows its picture there
    // unscaled: client pixel (x, y) is picture pixel (x + 6, y + 48). Neither
    // the box's white background nor the window's own background shows.
    QImage picture(QStringLiteral(VELLUMRY_BOX_PICTURE));
    ASSERT_EQ(picture.size(), QSize(824, 616));
    int mismatches = 0;
    for (int y = 0; y < image.height(); y += 13) {
        for (int x = 0; x < image.width(); x += 17) {
            if (UnderAUnit({x, y}))
                continue;
            QColor shown = image.pixelColor(x, y);
            QColor stored = picture.pixelColor(x + 6, y + 48);
            int difference = std::max({std::abs(shown.red() - stored.red()), std::abs(shown.green() - stored.green()),
                                       std::abs(shown.blue() - stored.blue())});
            if (difference > 8 && ++mismatches <= 5)
                ADD_FAILURE() << "at " << x << ", " << y << ": " << shown.name().toStdString() << " instead of "
                              << stored.name().toStdString();
        }
    }
    EXPECT_EQ(mismatches, 0);
    // The edges too: the box reaches past every side of the client area.
    for (QPoint corner : {QPoint(0, 0), QPoint(808, 0), QPoint(0, 532), QPoint(808, 532)})
        EXPECT_NE(image.pixelColor(corner), QColor(Qt::white)) << corner.x() << ", " << corner.y();

    // The units made after the picture box, in the engine's order: the
    // folder button with its light face, the save-path label in orange
    // letters over the picture.
    QRect folderButton(722, 18, 52, 20);
    EXPECT_GT(CountNear(image, folderButton, QColor(240, 240, 240), 20), 52 * 20 / 2);
    EXPECT_GT(CountNear(image, folderButton, Qt::black, 110), 10) << "the caption";
    QRect saveLabel(32, 8, 64, 40);
    int orange = CountNear(image, saveLabel, QColor(255, 128, 0), 50);
    EXPECT_GT(orange, 20);
    EXPECT_LT(orange, 64 * 40 / 3);
}

TEST(StartWindow, AnUnwritablePictureFileFailsTheRun)
{
    EXPECT_EQ(RunProgram("--render-png /nonexistent-folder/start.png"), 1);
    EXPECT_EQ(RunProgram("--no-such-option"), 2);
}

}  // namespace
