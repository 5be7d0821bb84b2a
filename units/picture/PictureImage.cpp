#include "units/picture/PictureImage.h"

#include <cstring>

namespace vellumry::units {

QImage ToImage(const DecodedPicture& picture)
{
    auto width = static_cast<int>(picture.width);
    auto height = static_cast<int>(picture.height);
    std::size_t stride = static_cast<std::size_t>(width) * 3;
    if (width == 0 || height == 0 || picture.pixels.size() < stride * static_cast<std::size_t>(height))
        return {};
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        // Rows are stored bottom-up in blue-green-red order.
        const std::uint8_t* source = picture.pixels.data() + static_cast<std::size_t>(height - 1 - y) * stride;
        std::uint8_t* target = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            target[3 * x] = source[3 * x + 2];
            target[3 * x + 1] = source[3 * x + 1];
            target[3 * x + 2] = source[3 * x];
        }
    }
    return image;
}

}  // namespace vellumry::units
