#pragma once

// A decoded picture prepared for drawing with Qt.

#include <QImage>

#include "units/picture/DecodedPicture.h"

namespace vellumry::units {

// The picture as an RGB image; a null image for a picture without pixels.
QImage ToImage(const DecodedPicture& picture);

}  // namespace vellumry::units
