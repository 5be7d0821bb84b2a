#pragma once

// Where a form window draws its background picture, by picture mode. Pure
// geometry: the window unit paints what this answers and fills the rest of
// the clip region with the background colour.

#include <vector>

namespace vellumry::units {

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PixelRect&) const = default;
    bool Intersects(const PixelRect& other) const;
};

struct BackgroundLayout {
    // Target rectangles, each receiving the whole picture scaled to fit it.
    std::vector<PixelRect> pictures;
    // True when the pictures cover the whole client area (modes 1 and 3), so
    // nothing is left for the colour fill.
    bool coversClient = false;
};

enum class PictureMode { AtOrigin = 0, Tiled = 1, Centred = 2, Stretched = 3 };

// `clip` limits the tiles of mode 1 to those meeting it.
BackgroundLayout LayOutBackground(PictureMode mode, int pictureWidth, int pictureHeight, int clientWidth,
                                  int clientHeight, const PixelRect& clip);

}  // namespace vellumry::units
