#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QImage>

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

TEST(StartWindow, StartsPaintsItsStretchedBackgroundAndEndsNormally)
{
    ScopedTempDir dir;
    std::string png = dir.File("start.png");
    ASSERT_EQ(RunProgram("--render-png " + png), 0);
    QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    // The client area of an 815 x 562 window with a fixed frame and a caption.
    EXPECT_EQ(image.size(), QSize(809, 533));
    // The background picture is stretched over all of it: dusk blue at the
    // top left, warm peach at the bottom right, never the plain button face.
    QColor topLeft = image.pixelColor(2, 2);
    QColor bottomRight = image.pixelColor(805, 529);
    EXPECT_GT(topLeft.blue(), topLeft.red()) << topLeft.name().toStdString();
    EXPECT_GT(bottomRight.red(), bottomRight.blue()) << bottomRight.name().toStdString();
    EXPECT_NE(image.pixelColor(400, 260), QColor(0xF0, 0xF0, 0xF0));
}

TEST(StartWindow, AnUnwritablePictureFileFailsTheRun)
{
    EXPECT_EQ(RunProgram("--render-png /nonexistent-folder/start.png"), 1);
    EXPECT_EQ(RunProgram("--no-such-option"), 2);
}

}  // namespace
