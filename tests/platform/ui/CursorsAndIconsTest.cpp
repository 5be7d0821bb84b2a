#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <vector>

#include "platform/ui/CursorsAndIcons.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/qt/QtHandles.h"
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

TEST(Icons, TheImageOfTheAskedSizeIsPickedFromSeveral)
{
    // A file with a red 16-pixel and a blue 32-pixel image.
    QImage small(16, 16, QImage::Format_ARGB32);
    small.fill(Qt::red);
    QImage big(32, 32, QImage::Format_ARGB32);
    big.fill(Qt::blue);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ICO");
    ASSERT_TRUE(writer.write(small));
    std::vector<std::uint8_t> one(data.begin(), data.end());
    // Qt writes one image per file; join two files' directories by hand.
    QByteArray second;
    QBuffer secondBuffer(&second);
    secondBuffer.open(QIODevice::WriteOnly);
    big.save(&secondBuffer, "ICO");
    std::vector<std::uint8_t> two(second.begin(), second.end());
    std::vector<std::uint8_t> joined = {0, 0, 1, 0, 2, 0};
    auto entry = [](const std::vector<std::uint8_t>& file, std::uint32_t offset) {
        std::vector<std::uint8_t> e(file.begin() + 6, file.begin() + 22);
        e[12] = offset & 0xFF;
        e[13] = (offset >> 8) & 0xFF;
        e[14] = (offset >> 16) & 0xFF;
        e[15] = 0;
        return e;
    };
    std::uint32_t firstOffset = 6 + 32;
    std::uint32_t secondOffset = firstOffset + static_cast<std::uint32_t>(one.size() - 22);
    for (auto part : {entry(one, firstOffset), entry(two, secondOffset)})
        joined.insert(joined.end(), part.begin(), part.end());
    joined.insert(joined.end(), one.begin() + 22, one.end());
    joined.insert(joined.end(), two.begin() + 22, two.end());

    QIcon bigIcon = IconOf(CreateIconFromFileData(joined, 32));
    QIcon smallIcon = IconOf(CreateIconFromFileData(joined, 16));
    EXPECT_EQ(bigIcon.pixmap(32).toImage().pixelColor(10, 10), QColor(Qt::blue));
    EXPECT_EQ(smallIcon.pixmap(16).toImage().pixelColor(5, 5), QColor(Qt::red));
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
