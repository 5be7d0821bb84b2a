#pragma once

// The picture box's picture: a lake at dusk between layered hills, with pines
// on the near shores and the sun low over the far range. It fills the box
// exactly (the box shows it centred without scaling), and its top rows lie
// under the window's caption area, so nothing important sits there.

#include "tools/assets/Raster.h"

namespace vellumry::assets {

inline constexpr int kPictureWidth = 824;
inline constexpr int kPictureHeight = 616;

Raster PaintLandscape();

}  // namespace vellumry::assets
