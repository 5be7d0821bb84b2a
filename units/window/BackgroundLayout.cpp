#include "units/window/BackgroundLayout.h"

#include <algorithm>

namespace vellumry::units {

bool PixelRect::Intersects(const PixelRect& other) const
{
    return x < other.x + other.width && other.x < x + width && y < other.y + other.height &&
           other.y < y + height;
}

BackgroundLayout LayOutBackground(PictureMode mode, int pictureWidth, int pictureHeight, int clientWidth,
                                  int clientHeight, const PixelRect& clip)
{
    BackgroundLayout layout;
    if (pictureWidth <= 0 || pictureHeight <= 0 || clientWidth <= 0 || clientHeight <= 0)
        return layout;
    switch (mode) {
    case PictureMode::AtOrigin:
        layout.pictures.push_back({0, 0, pictureWidth, pictureHeight});
        break;
    case PictureMode::Tiled:
        for (int y = 0; y < clientHeight; y += pictureHeight)
            for (int x = 0; x < clientWidth; x += pictureWidth) {
                PixelRect tile{x, y, pictureWidth, pictureHeight};
                if (tile.Intersects(clip))
                    layout.pictures.push_back(tile);
            }
        layout.coversClient = true;
        break;
    case PictureMode::Centred: {
        double width = pictureWidth;
        double height = pictureHeight;
        if (pictureWidth > clientWidth || pictureHeight > clientHeight) {
            double ratio = std::min(static_cast<double>(clientWidth) / pictureWidth,
                                    static_cast<double>(clientHeight) / pictureHeight);
            width = pictureWidth * ratio;
            height = pictureHeight * ratio;
        }
        int w = std::max(1, static_cast<int>(width));
        int h = std::max(1, static_cast<int>(height));
        layout.pictures.push_back({(clientWidth - w) / 2, (clientHeight - h) / 2, w, h});
        break;
    }
    case PictureMode::Stretched:
        layout.pictures.push_back({0, 0, clientWidth, clientHeight});
        layout.coversClient = true;
        break;
    }
    return layout;
}

}  // namespace vellumry::units
