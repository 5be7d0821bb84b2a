#include "tools/assets/IconPainter.h"

#include <algorithm>
#include <cmath>

#include "tools/assets/Raster.h"

namespace vellumry::assets {

namespace {

// Colour with straight (not premultiplied) coverage.
struct Paint {
    Colour colour;
    double alpha = 0;
};

// Porter-Duff "over" for straight-alpha paints.
Paint Over(Paint below, Colour colour, double alpha)
{
    const double out = alpha + below.alpha * (1.0 - alpha);
    if (out <= 0)
        return {};
    const double keep = below.alpha * (1.0 - alpha);
    return {Scale(Add(Scale(colour, alpha), Scale(below.colour, keep)), 1.0 / out), out};
}

// Signed distance from a rounded rectangle (negative inside); the design
// space is the unit square with y growing downwards.
double RoundedBox(double x, double y, double left, double top, double right, double bottom, double radius)
{
    const double cx = (left + right) / 2;
    const double cy = (top + bottom) / 2;
    const double qx = std::abs(x - cx) - ((right - left) / 2 - radius);
    const double qy = std::abs(y - cy) - ((bottom - top) / 2 - radius);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

bool Inside(double distance) { return distance < 0; }

constexpr Colour kShadow = Hex(0x10122A);
constexpr Colour kPrint = Hex(0xFAF6EF);
constexpr Colour kSkyTop = Hex(0x3A3F8C);
constexpr Colour kSkyMiddle = Hex(0xD77F93);
constexpr Colour kSkyBottom = Hex(0xFBC98A);
constexpr Colour kSun = Hex(0xFFF5DC);
constexpr Colour kFarHill = Hex(0x7A68A6);
constexpr Colour kNearHill = Hex(0x2E3160);
constexpr Colour kBadge = Hex(0x17A57A);
constexpr Colour kBadgeRing = Hex(0xFFFFFF);
constexpr Colour kArrow = Hex(0xFFFFFF);

// The photograph: its white border and, inside it, the landscape.
constexpr double kPrintLeft = 0.04, kPrintTop = 0.10, kPrintRight = 0.92, kPrintBottom = 0.84;
constexpr double kBorder = 0.075;
constexpr double kBadgeX = 0.73, kBadgeY = 0.72, kBadgeRadius = 0.25;

Colour Landscape(double x, double y)
{
    const double top = kPrintTop + kBorder;
    const double bottom = kPrintBottom - kBorder;
    const double v = (y - top) / (bottom - top);
    Colour c = Mix(kSkyTop, kSkyMiddle, SmoothStep(0.0, 0.6, v));
    c = Mix(c, kSkyBottom, SmoothStep(0.45, 0.85, v));
    if (std::hypot(x - 0.60, y - 0.44) < 0.10)
        c = kSun;
    if (y > 0.56 - 0.10 * std::exp(-std::pow((x - 0.30) / 0.18, 2.0)))
        c = kFarHill;
    if (y > 0.70 - 0.12 * std::exp(-std::pow((x - 0.72) / 0.22, 2.0)) - 0.04 * x)
        c = kNearHill;
    return c;
}

// A downward arrow: a shaft and a triangular head.
bool InArrow(double x, double y)
{
    const double dx = x - kBadgeX;
    const double dy = y - kBadgeY;
    const bool shaft = std::abs(dx) < 0.045 && dy > -0.15 && dy < 0.02;
    const bool head = dy >= -0.02 && dy < 0.14 && std::abs(dx) < (0.14 - dy) * 0.85;
    return shaft || head;
}

Paint PaintPoint(double x, double y)
{
    Paint p;
    // A soft shadow under the print lifts it off any background.
    const double shadow = RoundedBox(x, y, kPrintLeft + 0.02, kPrintTop + 0.035, kPrintRight + 0.02,
                                     kPrintBottom + 0.035, 0.06);
    p = Over(p, kShadow, 0.35 * (1.0 - SmoothStep(-0.02, 0.04, shadow)));

    if (Inside(RoundedBox(x, y, kPrintLeft, kPrintTop, kPrintRight, kPrintBottom, 0.05))) {
        const bool photo = Inside(RoundedBox(x, y, kPrintLeft + kBorder, kPrintTop + kBorder, kPrintRight - kBorder,
                                             kPrintBottom - kBorder, 0.015));
        p = Over(p, photo ? Landscape(x, y) : kPrint, 1.0);
    }

    const double badge = std::hypot(x - kBadgeX, y - kBadgeY);
    if (badge < kBadgeRadius)
        p = Over(p, badge < kBadgeRadius - 0.045 ? kBadge : kBadgeRing, 1.0);
    if (InArrow(x, y))
        p = Over(p, kArrow, 1.0);
    return p;
}

}  // namespace

IconImage PaintIcon(int size)
{
    // Enough samples per pixel that even the 16-pixel image has smooth edges.
    constexpr int kSamples = 8;
    IconImage image;
    image.size = size;
    image.bgra.reserve(static_cast<std::size_t>(size) * static_cast<std::size_t>(size) * 4);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            // Averaging premultiplied colour keeps edges from darkening.
            Colour premultiplied;
            double alpha = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Paint p = PaintPoint((px + (sx + 0.5) / kSamples) / size, (py + (sy + 0.5) / kSamples) / size);
                    premultiplied = Add(premultiplied, Scale(p.colour, p.alpha));
                    alpha += p.alpha;
                }
            }
            const Colour colour = alpha > 0 ? Scale(premultiplied, 1.0 / alpha) : Colour{};
            alpha /= kSamples * kSamples;
            image.bgra.push_back(ToByte(colour.b));
            image.bgra.push_back(ToByte(colour.g));
            image.bgra.push_back(ToByte(colour.r));
            image.bgra.push_back(ToByte(alpha));
        }
    }
    return image;
}

std::vector<IconImage> PaintIconImages()
{
    return {PaintIcon(16), PaintIcon(48), PaintIcon(32)};
}

}  // namespace vellumry::assets
