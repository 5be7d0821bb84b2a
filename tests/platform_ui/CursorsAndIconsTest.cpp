#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <vector>

#include "platform/ui/CursorsAndIcons.h"
#include "platform/ui/QtHandles.h"
#include "platform/ui/WinUser.h"
#include "tests/support/UiPictures.h"

namespace {

using namespace vellumry::ui;

std::vector<std::uint8_t> IcoBytes(int size)
{
    return vellumry::test::IcoFileBytes(size, QColor(200, 30, 40));
}

TEST(Cursors, StandardCursorsAreSharedAndSurviveDestruction)
{
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
    EXPECT_TRUE(DestroyCursor(arrow));
    EXPECT_EQ(CursorOf(arrow).shape(), Qt::ArrowCursor);
    EXPECT_EQ(CursorOf(LoadCursorA(nullptr, IDC_HAND)).shape(), Qt::PointingHandCursor);
    EXPECT_EQ(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(12345)), nullptr);
}

TEST(Cursors, FileDataMakesACursorWithItsHotSpot)
{
    auto bytes = IcoBytes(32);
    // Turn the icon file into a cursor file with the hot spot at (5, 6).
    bytes[2] = 2;
    bytes[10] = 5;
    bytes[12] = 6;
    HCURSOR cursor = CreateCursorFromFileData(bytes);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(CursorOf(cursor).hotSpot(), QPoint(5, 6));
    EXPECT_TRUE(DestroyCursor(cursor));
    EXPECT_FALSE(DestroyCursor(cursor));
    std::vector<std::uint8_t> garbage(40, 0xAB);
    EXPECT_EQ(CreateCursorFromFileData(garbage), nullptr);
    EXPECT_EQ(CreateCursorFromFileData({}), nullptr);
}

TEST(Icons, IconFromFileDataIsScaledToTheAskedSize)
{
    HICON icon = CreateIconFromFileData(IcoBytes(32), 16);
    ASSERT_NE(icon, nullptr);
    QIcon qicon = IconOf(icon);
    ASSERT_FALSE(qicon.isNull());
    EXPECT_EQ(qicon.availableSizes().front(), QSize(16, 16));
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_TRUE(IconOf(icon).isNull());
}

}  // namespace
