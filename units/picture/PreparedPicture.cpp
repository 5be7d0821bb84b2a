#include "units/picture/PreparedPicture.h"

#include <QPaintDevice>
#include <QPainter>

#include "platform/ui/qt/LargeImage.h"
#include "units/picture/private/BgrRows.h"
#include "units/picture/private/PictureBudget.h"

namespace vellumry::units {
namespace {

constexpr int kHalftoneAboveBits = 16;

// An image whose pixels are about to be written in full, in memory for large
// blocks. Null when the memory cannot be had.
QImage NewImage(int width, int height, QImage::Format format)
{
    return ui::NewLargeImage(width, height, format);
}

bool Holds(const DecodedPicture& picture, std::uint64_t bytes)
{
    return picture.width > 0 && picture.height > 0 && picture.width <= kMaxPictureSide &&
           picture.height <= kMaxPictureSide && picture.pixels.size() == bytes;
}

// Blue-green-red rows, bottom-up and packed, as an opaque image.
QImage FromBottomUpBgr(const DecodedPicture& picture)
{
    const int width = static_cast<int>(picture.width);
    const int height = static_cast<int>(picture.height);
    QImage image = NewImage(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const std::size_t stride = std::size_t{picture.width} * 3;
    for (int y = 0; y < height; ++y)
        BgrToOpaqueRow(picture.pixels.data() + static_cast<std::size_t>(height - 1 - y) * stride,
                       reinterpret_cast<std::uint32_t*>(image.scanLine(y)), picture.width);
    return image;
}

// The 8-bit layout (header, colour table, bottom-up rows) copied into an
// opaque image, as a device-compatible bitmap would be.
QImage FromIndexed(const DecodedPicture& picture)
{
    const int width = static_cast<int>(picture.width);
    const int height = static_cast<int>(picture.height);
    QList<QRgb> colours(256);
    const std::uint8_t* table = picture.pixels.data() + kIndexedHeaderBytes;
    for (int i = 0; i < 256; ++i)
        colours[i] = qRgb(table[4 * i + 2], table[4 * i + 1], table[4 * i]);
    QImage image = NewImage(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const std::size_t stride = PaddedRowBytes(picture.width, 8, 4);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source =
            picture.pixels.data() + kIndexedPixelOffset + static_cast<std::size_t>(height - 1 - y) * stride;
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            target[x] = colours[source[x]];
    }
    return image;
}

// Monochrome rows, top-down and padded to 16 bits; a set bit is white.
QImage FromMonochrome(const DecodedPicture& picture)
{
    const int width = static_cast<int>(picture.width);
    const int height = static_cast<int>(picture.height);
    QImage image = NewImage(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const std::size_t stride = PaddedRowBytes(picture.width, 1, 2);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = picture.pixels.data() + static_cast<std::size_t>(y) * stride;
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            target[x] = (source[x / 8] & (0x80 >> (x % 8))) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
    return image;
}

// Blue-green-red-alpha rows, top-down; every pixel with alpha A below 255
// blended over the background: A/255 × pixel + (1 - A/255) × background.
QImage BlendedOver(const std::uint8_t* pixels, std::uint32_t w, std::uint32_t h, QColor background)
{
    const int width = static_cast<int>(w);
    const int height = static_cast<int>(h);
    const int backRed = background.red();
    const int backGreen = background.green();
    const int backBlue = background.blue();
    auto blend = [](int value, int back, int alpha) { return (value * alpha + back * (255 - alpha) + 127) / 255; };
    QImage image = NewImage(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = pixels + static_cast<std::size_t>(y) * w * 4;
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, source += 4) {
            int alpha = source[3];
            if (alpha == 255)
                target[x] = qRgb(source[2], source[1], source[0]);
            else
                target[x] = qRgb(blend(source[2], backRed, alpha), blend(source[1], backGreen, alpha),
                                 blend(source[0], backBlue, alpha));
        }
    }
    return image;
}

// Blue-green-red-alpha rows, top-down, kept with their alpha.
QImage WithAlpha(const DecodedPicture& picture)
{
    const int width = static_cast<int>(picture.width);
    const int height = static_cast<int>(picture.height);
    QImage image = NewImage(width, height, QImage::Format_ARGB32);
    if (image.isNull())
        return image;
    const std::size_t stride = std::size_t{picture.width} * 4;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = picture.pixels.data() + static_cast<std::size_t>(y) * stride;
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, source += 4)
            target[x] = qRgba(source[2], source[1], source[0], source[3]);
    }
    return image;
}

std::optional<QPainter::CompositionMode> ModeOf(std::int32_t rasterOperation)
{
    switch (rasterOperation) {
    case SRCCOPY: return QPainter::CompositionMode_SourceOver;
    case SRCPAINT: return QPainter::RasterOp_SourceOrDestination;
    case SRCAND: return QPainter::RasterOp_SourceAndDestination;
    case SRCINVERT: return QPainter::RasterOp_SourceXorDestination;
    case SRCERASE: return QPainter::RasterOp_SourceAndNotDestination;
    case NOTSRCCOPY: return QPainter::RasterOp_NotSource;
    case NOTSRCERASE: return QPainter::RasterOp_NotSourceAndNotDestination;
    default: return std::nullopt;
    }
}

// The image with every pixel of the colour reference `key` transparent.
QImage Masked(const QImage& image, std::uint32_t key)
{
    QRgb transparent = qRgb(key & 0xFF, (key >> 8) & 0xFF, (key >> 16) & 0xFF);
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < masked.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if ((row[x] & 0x00FFFFFF) == (transparent & 0x00FFFFFF))
                row[x] = 0;
    }
    return masked;
}

}  // namespace

std::optional<PreparedPicture> PreparePicture(const DecodedPicture& picture, QColor background)
{
    const std::uint64_t pixels = std::uint64_t{picture.width} * picture.height;
    PreparedPicture prepared;
    switch (picture.kind) {
    case PictureKind::Jpeg:
    case PictureKind::Bmp:
        if (!Holds(picture, pixels * 3))
            return std::nullopt;
        prepared.image = FromBottomUpBgr(picture);
        break;
    case PictureKind::Gif:
    case PictureKind::Pcx8:
        if (!Holds(picture, kIndexedPixelOffset + PaddedRowBytes(picture.width, 8, 4) * picture.height))
            return std::nullopt;
        prepared.image = FromIndexed(picture);
        break;
    case PictureKind::Pcx1:
        if (!Holds(picture, PaddedRowBytes(picture.width, 1, 2) * picture.height))
            return std::nullopt;
        prepared.image = FromMonochrome(picture);
        break;
    case PictureKind::Png:
        if (!Holds(picture, pixels * 4))
            return std::nullopt;
        prepared.image = BlendedOver(picture.pixels.data(), picture.width, picture.height, background);
        break;
    case PictureKind::Ico:
    case PictureKind::Cur:
        if (!Holds(picture, pixels * 4))
            return std::nullopt;
        prepared.image = WithAlpha(picture);
        prepared.icon = true;
        break;
    case PictureKind::None:
        return std::nullopt;
    }
    if (prepared.image.isNull())
        return std::nullopt;
    return prepared;
}

std::optional<PreparedPicture> PrepareFrame(const AnimationFrame& frame, QColor background)
{
    if (frame.width == 0 || frame.height == 0 || frame.pixels.size() != std::uint64_t{frame.width} * frame.height * 4)
        return std::nullopt;
    PreparedPicture prepared;
    prepared.image = BlendedOver(frame.pixels.data(), frame.width, frame.height, background);
    if (prepared.image.isNull())
        return std::nullopt;
    return prepared;
}

bool DrawPicture(QPainter& painter, const PreparedPicture& picture, int x, int y, int width, int height,
                 std::int32_t rasterOperation)
{
    const QImage& image = picture.image;
    if (image.isNull())
        return false;
    QRect target(x, y, width == -1 ? image.width() : width, height == -1 ? image.height() : height);
    painter.save();
    if (picture.icon) {
        // DrawIconEx with DI_NORMAL: the icon blended through its mask.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(target, image);
        painter.restore();
        return true;
    }
    // StretchBlt's HALFTONE on deep displays, COLORONCOLOR otherwise.
    QPaintDevice* device = painter.device();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, device && device->depth() > kHalftoneAboveBits);
    if (rasterOperation < 0) {
        auto key = static_cast<std::uint32_t>(-static_cast<std::int64_t>(rasterOperation));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(target, Masked(image, key));
        painter.restore();
        return true;
    }
    auto mode = ModeOf(rasterOperation);
    if (!mode) {
        painter.restore();
        return false;
    }
    painter.setCompositionMode(*mode);
    painter.drawImage(target, image);
    painter.restore();
    return true;
}

}  // namespace vellumry::units
