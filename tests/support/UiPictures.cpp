#include "tests/support/UiPictures.h"

#include <QBuffer>
#include <QImage>

namespace vellumry::test {
namespace {

std::vector<std::uint8_t> Encode(const QImage& image, const char* format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 95);
    return {data.begin(), data.end()};
}

}  // namespace

std::vector<std::uint8_t> IcoFileBytes(int size, QColor colour)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(colour);
    return Encode(image, "ICO");
}

std::vector<std::uint8_t> JpegFileBytes(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return Encode(image, "JPEG");
}

}  // namespace vellumry::test
