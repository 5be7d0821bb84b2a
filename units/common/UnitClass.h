#pragma once

// Window classes of the units, and the colours their properties name.
// Window thread only.

#include <QColor>

#include <cstdint>

namespace vellumry::units {

// Registers the class once: redrawn whole when resized either way, double
// clicks reported, the arrow cursor and no background brush (the unit paints
// every pixel). False when it cannot be registered.
bool EnsureUnitClass(const char* name);

// A colour reference (0x00BBGGRR); 0xFF000000 is the button-face colour.
QColor ColourOfReference(std::int32_t colour);

}  // namespace vellumry::units
