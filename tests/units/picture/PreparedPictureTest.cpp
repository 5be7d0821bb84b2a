// Preparing decoded pictures for drawing (PNG blended over the background,
// icons with their alpha, every layout the right way up) and DrawPicture's
// sizes, stretch quality and raster operations.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include "tests/support/PictureFiles.h"
#include "units/picture/DecodedPicture.h"
#include "units/picture/PreparedPicture.h"

namespace {

using namespace vellumry::units;
using namespace vellumry::test;

PreparedPicture Prepared(const Bytes& file, QColor background = Qt::white)
{
    auto picture = DecodePicture(file);
    EXPECT_TRUE(picture);
    if (!picture)
        return {};
    auto prepared = PreparePicture(*picture, background);
    EXPECT_TRUE(prepared);
    return prepared ? *prepared : PreparedPicture{};
}

QRgb Opaque(Rgb colour)
{
    return 0xFF000000u | colour;
}

TEST(PreparePicture, BlendsPngAlphaOverTheBackground)
{
    PreparedPicture prepared =
        Prepared(PngFileBytes(3, 1, {0x00102030, 0xFF102030, 0x80C86432}), QColor(255, 255, 255));
    ASSERT_FALSE(prepared.icon);
    // Alpha 0 shows the background, 255 the pixel, 128 the two mixed.
    EXPECT_EQ(prepared.image.pixel(0, 0), Opaque(0xFFFFFF));
    EXPECT_EQ(prepared.image.pixel(1, 0), Opaque(0x102030));
    auto mixed = [](int value, int back) { return (value * 128 + back * 127 + 127) / 255; };
    EXPECT_EQ(prepared.image.pixel(2, 0), qRgb(mixed(0xC8, 255), mixed(0x64, 255), mixed(0x32, 255)));
    // Over another colour the same pixel comes out otherwise.
    prepared = Prepared(PngFileBytes(1, 1, {0x00102030}), QColor(0, 0, 255));
    EXPECT_EQ(prepared.image.pixel(0, 0), Opaque(0x0000FF));
}

TEST(PreparePicture, PutsEveryLayoutTheRightWayUp)
{
    // Top row red, bottom row blue, in every kind with opaque pixels.
    BmpDraft bmp;
    bmp.width = 2;
    bmp.height = 2;
    bmp.bitCount = 24;
    bmp.pixels = DibRows({{0xFF0000, 0xFF0000}, {0x0000FF, 0x0000FF}}, 24);
    GifDraft gif;
    gif.width = 2;
    gif.height = 2;
    gif.globalTable = {0xFF0000, 0x0000FF};
    GifFrameDraft frame;
    frame.width = 2;
    frame.height = 2;
    frame.indexes = {0, 0, 1, 1};
    gif.frames = {frame};
    PcxDraft pcx;
    pcx.width = 2;
    pcx.height = 2;
    pcx.bytesPerLine = 2;
    pcx.lines = {0, 0, 1, 1};
    pcx.palette = {0xFF0000, 0x0000FF};
    RgbPicture jpeg{8, 8, std::vector<Rgb>(64, 0xFF0000)};
    for (int i = 32; i < 64; ++i)
        jpeg.pixels[i] = 0x0000FF;

    for (const Bytes& file : {BmpFileBytes(bmp), GifFileBytes(gif), PcxFileBytes(pcx), JpegFileBytes(jpeg)}) {
        PreparedPicture prepared = Prepared(file);
        ASSERT_FALSE(prepared.image.isNull());
        QColor top = prepared.image.pixelColor(0, 0);
        QColor bottom = prepared.image.pixelColor(0, prepared.image.height() - 1);
        EXPECT_GT(top.red(), 240) << "kind " << static_cast<int>(DetectPictureKind(file));
        EXPECT_LT(top.blue(), 16);
        EXPECT_GT(bottom.blue(), 240);
        EXPECT_LT(bottom.red(), 16);
    }
}

TEST(PreparePicture, CarriesEveryPixelOfATwentyFourBitPicture)
{
    // Five columns: four go through the word-wise copy, one through the rest.
    std::vector<std::vector<std::uint32_t>> rows = {{0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F},
                                                    {0xF1F2F3, 0xE1E2E3, 0xD1D2D3, 0xC1C2C3, 0xB1B2B3}};
    BmpDraft bmp;
    bmp.width = 5;
    bmp.height = 2;
    bmp.bitCount = 24;
    bmp.pixels = DibRows(rows, 24);
    PreparedPicture prepared = Prepared(BmpFileBytes(bmp));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(prepared.image.pixel(x, y), Opaque(rows[y][x])) << x << "," << y;
}

TEST(PreparePicture, GivesMonochromePicturesBlackAndWhite)
{
    PcxDraft pcx;
    pcx.version = 3;
    pcx.bitsPerPixel = 1;
    pcx.width = 3;
    pcx.height = 1;
    pcx.bytesPerLine = 2;
    pcx.lines = {0b10100000, 0};
    PreparedPicture prepared = Prepared(PcxFileBytes(pcx));
    EXPECT_EQ(prepared.image.pixel(0, 0), Opaque(0xFFFFFF));
    EXPECT_EQ(prepared.image.pixel(1, 0), Opaque(0x000000));
    EXPECT_EQ(prepared.image.pixel(2, 0), Opaque(0xFFFFFF));
}

TEST(PreparePicture, KeepsAnIconsTransparency)
{
    IconEntryDraft entry;
    entry.width = 2;
    entry.height = 1;
    entry.image = IconDib(2, 1, 24, {}, {{0x00FF00, 0x0000FF}}, {{1, 0}});
    PreparedPicture prepared = Prepared(IconFileBytes(1, {entry}));
    EXPECT_TRUE(prepared.icon);
    EXPECT_EQ(qAlpha(prepared.image.pixel(0, 0)), 0);
    EXPECT_EQ(prepared.image.pixel(1, 0), Opaque(0x0000FF));
}

TEST(PreparePicture, FailsWithoutPixelsOrWithTheWrongBlock)
{
    EXPECT_FALSE(PreparePicture(DecodedPicture{}, Qt::white));
    DecodedPicture picture;
    picture.kind = PictureKind::Jpeg;
    picture.width = 4;
    picture.height = 4;
    picture.pixels.resize(4 * 4 * 3 - 1);
    EXPECT_FALSE(PreparePicture(picture, Qt::white));
    picture.pixels.resize(4 * 4 * 3);
    EXPECT_TRUE(PreparePicture(picture, Qt::white));
}

// Two pixels, black and white, drawn into a fresh canvas.
struct Canvas {
    explicit Canvas(QImage::Format format = QImage::Format_RGB32, QColor fill = QColor(0, 0, 255))
        : image(8, 4, format)
    {
        image.fill(fill);
    }
    bool Draw(const PreparedPicture& picture, int x, int y, int w, int h, std::int32_t operation)
    {
        QPainter painter(&image);
        return DrawPicture(painter, picture, x, y, w, h, operation);
    }
    QImage image;
};

PreparedPicture BlackWhite()
{
    PreparedPicture picture;
    picture.image = QImage(2, 1, QImage::Format_RGB32);
    picture.image.setPixel(0, 0, qRgb(0, 0, 0));
    picture.image.setPixel(1, 0, qRgb(255, 255, 255));
    return picture;
}

TEST(DrawPicture, MinusOneMeansThePicturesOwnSize)
{
    Canvas canvas;
    ASSERT_TRUE(canvas.Draw(BlackWhite(), 3, 2, -1, -1, SRCCOPY));
    EXPECT_EQ(canvas.image.pixel(3, 2), Opaque(0x000000));
    EXPECT_EQ(canvas.image.pixel(4, 2), Opaque(0xFFFFFF));
    EXPECT_EQ(canvas.image.pixel(5, 2), Opaque(0x0000FF));
    EXPECT_EQ(canvas.image.pixel(3, 3), Opaque(0x0000FF));
}

TEST(DrawPicture, StretchesSmoothlyOnlyOnDeepDisplays)
{
    // Eight pixels wide from two: smooth stretching gives greys between
    // black and white, nearest-pixel stretching none.
    auto greys = [](const QImage& image) {
        int count = 0;
        for (int x = 0; x < 8; ++x) {
            int red = qRed(image.pixel(x, 0));
            count += red > 8 && red < 247;
        }
        return count;
    };
    Canvas deep;
    ASSERT_TRUE(deep.Draw(BlackWhite(), 0, 0, 8, 1, SRCCOPY));
    EXPECT_GT(greys(deep.image), 0);
    Canvas shallow(QImage::Format_RGB16);
    ASSERT_EQ(shallow.image.depth(), 16);
    ASSERT_TRUE(shallow.Draw(BlackWhite(), 0, 0, 8, 1, SRCCOPY));
    EXPECT_EQ(greys(shallow.image), 0);
}

TEST(DrawPicture, CombinesWithTheRasterOperation)
{
    Canvas canvas;
    ASSERT_TRUE(canvas.Draw(BlackWhite(), 0, 0, -1, -1, SRCINVERT));
    EXPECT_EQ(canvas.image.pixel(0, 0), Opaque(0x0000FF));  // black xor blue
    EXPECT_EQ(canvas.image.pixel(1, 0), Opaque(0xFFFF00));  // white xor blue
    ASSERT_TRUE(canvas.Draw(BlackWhite(), 0, 1, -1, -1, SRCAND));
    EXPECT_EQ(canvas.image.pixel(0, 1), Opaque(0x000000));
    EXPECT_EQ(canvas.image.pixel(1, 1), Opaque(0x0000FF));
}

TEST(DrawPicture, RefusesAnOperationItDoesNotKnow)
{
    Canvas canvas;
    EXPECT_FALSE(canvas.Draw(BlackWhite(), 0, 0, -1, -1, 0x00123456));
    EXPECT_EQ(canvas.image.pixel(0, 0), Opaque(0x0000FF));
}

TEST(DrawPicture, MaskedDrawingLeavesTheKeyColourOut)
{
    // The colour reference of white is 0x00FFFFFF; its negation draws white
    // as transparent.
    Canvas canvas;
    ASSERT_TRUE(canvas.Draw(BlackWhite(), 0, 0, -1, -1, -0x00FFFFFF));
    EXPECT_EQ(canvas.image.pixel(0, 0), Opaque(0x000000));
    EXPECT_EQ(canvas.image.pixel(1, 0), Opaque(0x0000FF));
}

TEST(DrawPicture, BlendsIconsAtTheSizeAsked)
{
    PreparedPicture icon;
    icon.icon = true;
    icon.image = QImage(2, 2, QImage::Format_ARGB32);
    icon.image.fill(qRgba(0, 255, 0, 255));
    icon.image.setPixel(0, 0, qRgba(0, 0, 0, 0));
    Canvas canvas;
    ASSERT_TRUE(canvas.Draw(icon, 0, 0, 4, 4, SRCCOPY));
    EXPECT_EQ(canvas.image.pixel(0, 0), Opaque(0x0000FF));  // the canvas through the hole
    EXPECT_EQ(canvas.image.pixel(3, 3), Opaque(0x00FF00));
}

// The test's GIF writer against Qt's GIF reader: the streams the reader
// tests decode are standard LZW, not a private dialect the two share.
TEST(GifTestFiles, ReadTheSameWithQt)
{
    const int width = 300;
    const int height = 200;
    std::vector<Rgb> table(256);
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<Rgb>(i * 0x010203 & 0xFFFFFF);
    GifFrameDraft frame;
    frame.width = width;
    frame.height = height;
    frame.indexes = NoiseBytes(static_cast<std::size_t>(width) * height, 11);
    GifDraft draft;
    draft.width = width;
    draft.height = height;
    draft.globalTable = table;
    draft.frames = {frame};
    Bytes file = GifFileBytes(draft);
    QByteArray data(reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(file.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "GIF");
    QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, table[frame.indexes[y * width + x]]) << x << "," << y;
}

}  // namespace
