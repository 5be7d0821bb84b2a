#pragma once

// Colours and a floating-point picture that the painters fill, plus the
// supersampling loop that turns a painter's point function into pixels.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vellumry::assets {

// Display-encoded RGB, each channel 0..1 (values outside are clamped on output).
struct Colour {
    double r = 0;
    double g = 0;
    double b = 0;
};

// From 0xRRGGBB, the way colours are written in the painters.
constexpr Colour Hex(std::uint32_t rgb)
{
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

inline Colour Mix(Colour a, Colour b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

inline Colour Scale(Colour c, double factor) { return {c.r * factor, c.g * factor, c.b * factor}; }
inline Colour Add(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }

// Screen blend: brightens without ever passing white.
inline Colour Screen(Colour base, Colour light, double amount)
{
    auto one = [amount](double b, double l) { return 1.0 - (1.0 - b) * (1.0 - l * amount); };
    return {one(base.r, light.r), one(base.g, light.g), one(base.b, light.b)};
}

inline double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

inline double SmoothStep(double edge0, double edge1, double x)
{
    double t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

class Raster {
public:
    Raster(int width, int height) : m_width(width), m_height(height), m_pixels(static_cast<std::size_t>(width) * height) {}

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Colour& At(int x, int y) { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }
    const Colour& At(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }

    // Rows top-down, 3 bytes per pixel in R, G, B order.
    std::vector<std::uint8_t> ToRgb8() const;

private:
    int m_width;
    int m_height;
    std::vector<Colour> m_pixels;
};

inline std::uint8_t ToByte(double channel) { return static_cast<std::uint8_t>(Clamp01(channel) * 255.0 + 0.5); }

// Fills a raster with the average of `samples` x `samples` evaluations of
// `paint(x, y)` per pixel, x and y in pixel units with (0, 0) at the top-left
// corner of the picture. Averaging smooths every edge the painter draws.
template <typename Painter>
Raster RenderSupersampled(int width, int height, int samples, Painter&& paint)
{
    Raster raster(width, height);
    const double weight = 1.0 / (samples * samples);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Colour sum;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    Colour c = paint(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples);
                    sum = Add(sum, c);
                }
            }
            raster.At(x, y) = Scale(sum, weight);
        }
    }
    return raster;
}

}  // namespace vellumry::assets
