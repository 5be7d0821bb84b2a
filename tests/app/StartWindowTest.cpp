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
}

TEST(StartWindow, AnUnwritablePictureFileFailsTheRun)
{
    EXPECT_EQ(RunProgram("--render-png /nonexistent-folder/start.png"), 1);
    EXPECT_EQ(RunProgram("--no-such-option"), 2);
}

}  // namespace
