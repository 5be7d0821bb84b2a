#pragma once

// Images in memory for large blocks (huge pages where the system has them):
// for pictures that are written in full right after they are made, so that
// a large one costs a few page faults instead of hundreds.

#include <QImage>

namespace vellumry::ui {

// A `width` × `height` image of `format` (32 bits per pixel), its pixels not
// yet written; the image's last copy gives the memory back. Null when the
// sizes are not positive or the memory cannot be had.
QImage NewLargeImage(int width, int height, QImage::Format format);

}  // namespace vellumry::ui
