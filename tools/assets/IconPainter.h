#pragma once

// The program icon: a framed photograph of hills under a setting sun with a
// download badge in its corner. One design, drawn at each size in the icon.

#include <vector>

#include "tools/assets/IcoWriter.h"

namespace vellumry::assets {

IconImage PaintIcon(int size);

// The images of the program's icon file, in stored order. The 32-pixel image
// comes last: an icon reader that finds no entry of fewer than 256 colours
// takes the last one, and 32 pixels is the size a window's big icon wants.
std::vector<IconImage> PaintIconImages();

}  // namespace vellumry::assets
