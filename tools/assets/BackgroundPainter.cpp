#include "tools/assets/BackgroundPainter.h"

#include <array>
#include <cmath>

namespace vellumry::assets {

namespace {

struct Glow {
    double x;  // centre, as fractions of the width and height
    double y;
    double radius;  // as a fraction of the height
    double strength;
};

// Out-of-focus lights, brighter towards the warm corner.
constexpr std::array<Glow, 7> kGlows{{
    {0.14, 0.30, 0.20, 0.16},
    {0.36, 0.76, 0.26, 0.12},
    {0.57, 0.20, 0.14, 0.16},
    {0.72, 0.60, 0.30, 0.14},
    {0.87, 0.26, 0.22, 0.22},
    {0.95, 0.86, 0.18, 0.20},
    {0.46, 0.46, 0.10, 0.14},
}};

constexpr Colour kTopLeft = Hex(0x3E4283);
constexpr Colour kMiddle = Hex(0x9A6E9E);
constexpr Colour kBottomRight = Hex(0xF5B98C);
constexpr Colour kGlowColour = Hex(0xFFF1DC);
constexpr Colour kBandColour = Hex(0xFBD9B8);

Colour PaintPoint(double px, double py)
{
    const double u = px / kBackgroundWidth;
    const double v = py / kBackgroundHeight;
    const double aspect = static_cast<double>(kBackgroundWidth) / kBackgroundHeight;

    // Diagonal gradient from dusk blue through mauve to warm peach.
    const double diagonal = 0.55 * u + 0.45 * v;
    Colour c = Mix(kTopLeft, kMiddle, SmoothStep(-0.1, 0.55, diagonal));
    c = Mix(c, kBottomRight, SmoothStep(0.45, 1.1, diagonal));

    // A soft wave of light across the lower half.
    const double wave = 0.62 + 0.08 * std::sin(u * 5.2 + 0.6) + 0.04 * std::sin(u * 11.0 + 2.0);
    const double bandDistance = (v - wave) / 0.15;
    c = Screen(c, kBandColour, 0.22 * std::exp(-bandDistance * bandDistance));

    for (const Glow& glow : kGlows) {
        const double dx = (u - glow.x) * aspect;
        const double dy = v - glow.y;
        const double d = std::sqrt(dx * dx + dy * dy) / glow.radius;
        // A disc with a blurred, slightly brighter rim, like a light out of
        // focus.
        const double disc = 1.0 - SmoothStep(0.8, 1.0, d);
        const double rim = std::exp(-std::pow((d - 0.88) / 0.08, 2.0));
        c = Screen(c, kGlowColour, glow.strength * (disc + 0.6 * rim));
    }
    return c;
}

}  // namespace

Raster PaintBackground()
{
    return RenderSupersampled(kBackgroundWidth, kBackgroundHeight, 3, PaintPoint);
}

}  // namespace vellumry::assets
