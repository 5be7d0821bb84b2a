#pragma once

// The window's background picture: soft light shapes on a dusk gradient. The
// window stretches it over its whole client area, so it is small and holds no
// detail that stretching would spoil.

#include "tools/assets/Raster.h"

namespace vellumry::assets {

inline constexpr int kBackgroundWidth = 272;
inline constexpr int kBackgroundHeight = 188;

Raster PaintBackground();

}  // namespace vellumry::assets
