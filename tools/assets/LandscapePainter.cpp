#include "tools/assets/LandscapePainter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "tools/assets/Noise.h"

namespace vellumry::assets {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kWaterLine = 410.0;
constexpr double kSunX = 585.0;
constexpr double kSunRadius = 30.0;

struct SkyStop {
    double y;
    Colour colour;
};

// Dusk: deep blue overhead, warming to gold where the sun goes down.
constexpr std::array<SkyStop, 6> kSky{{
    {0, Hex(0x181C4A)},
    {80, Hex(0x33397A)},
    {150, Hex(0x7A5C98)},
    {205, Hex(0xD98592)},
    {250, Hex(0xF7A77C)},
    {300, Hex(0xFDD699)},
}};

constexpr Colour kSunDisc = Hex(0xFFF7E4);
constexpr Colour kSunGlow = Hex(0xFFD49A);
constexpr Colour kCloudLit = Hex(0xF7B59B);
constexpr Colour kCloudShade = Hex(0x6E5F9A);
constexpr Colour kWaterTint = Hex(0x28305C);
constexpr Colour kGlitter = Hex(0xFFE6B4);
constexpr Colour kBird = Hex(0x2B2748);

// One range of hills: its ridgeline and how it is coloured.
struct LayerStyle {
    double baseY;      // lowest point of the ridgeline
    double amplitude;  // how far the highest peaks rise above it
    double period;     // width in pixels of the broadest undulation
    bool jagged;       // sharp mountain crests rather than rounded hills
    std::uint32_t seed;
    Colour top;     // colour at the ridge
    Colour bottom;  // colour the layer fades to lower down (haze in the valleys)
    double fadeTop;     // rows over which the colour goes from top to bottom
    double fadeBottom;
    double rimLight;  // brightness of the edge that faces the sun
    double texture;   // strength of the mottling that keeps large areas alive
};

constexpr std::array<LayerStyle, 3> kFarLayers{{
    {330, 125, 340, true, 11, Hex(0x8C7CAE), Hex(0xE9A68A), 250, 345, 0.35, 0.0},
    {376, 78, 230, true, 23, Hex(0x65598F), Hex(0xCF8C87), 330, 395, 0.30, 0.0},
    {402, 24, 150, false, 37, Hex(0x433F72), Hex(0x8E6C88), 385, 410, 0.22, 0.0},
}};

constexpr std::array<LayerStyle, 2> kNearLayers{{
    {410, 60, 260, false, 41, Hex(0x363760), Hex(0x1F2140), 380, 616, 0.28, 0.05},
    {560, 60, 220, false, 53, Hex(0x191B36), Hex(0x0F1126), 420, 616, 0.14, 0.04},
}};

// Trees standing on the near layers, by layer.
struct ForestStyle {
    double spacing;  // one candidate tree per this many pixels
    double minHeight;
    double maxHeight;
    double (*density)(double x);  // share of candidates that grow, by position
};

// The shore is wooded towards both edges and bare where it meets the lake.
double ShoreDensity(double x) { return 0.9 * (1.0 - SmoothStep(130, 260, x) + SmoothStep(640, 760, x)); }
// A few tall pines on the foreground bank, left more than right.
double BankDensity(double x) { return 0.9 * (1.0 - SmoothStep(110, 190, x)) + 0.5 * SmoothStep(730, 790, x); }

constexpr std::array<ForestStyle, 2> kForests{{
    {10, 20, 46, ShoreDensity},
    {26, 90, 190, BankDensity},
}};

struct Bird {
    double x;
    double y;
    double span;  // half the wingspan
};

constexpr std::array<Bird, 4> kBirds{{
    {226, 150, 8.0},
    {250, 163, 6.5},
    {238, 180, 5.5},
    {292, 140, 4.5},
}};

// A ridgeline sampled every quarter pixel across the picture (and a margin on
// each side for the rippled reflection), read back with linear interpolation.
class Ridge {
public:
    Ridge(const LayerStyle& style, double (*shape)(double x))
    {
        m_heights.resize(static_cast<std::size_t>((kPictureWidth + 2 * kMargin) * kSteps) + 2);
        for (std::size_t i = 0; i < m_heights.size(); ++i) {
            const double x = static_cast<double>(i) / kSteps - kMargin;
            // Broad swells carry the finer detail, so peaks vary in height.
            const double broad = Fbm1D(x / (style.period * 2.5), 3, style.seed + 500);
            double detail = Fbm1D(x / style.period, 6, style.seed);
            if (style.jagged)
                detail = 1.0 - std::abs(2.0 * detail - 1.0);  // folds the noise into sharp crests
            const double lift = 0.45 * broad + 0.55 * detail * (0.4 + 0.6 * broad);
            // Noise sums crowd around the middle; stretching them gives the
            // ridges their full height.
            m_heights[i] = style.baseY - style.amplitude * SmoothStep(0.22, 0.72, lift) + shape(x);
        }
    }

    double At(double x) const
    {
        const double position = (std::clamp(x, -kMargin, kPictureWidth + kMargin - 1.0) + kMargin) * kSteps;
        const auto i = static_cast<std::size_t>(position);
        const double t = position - static_cast<double>(i);
        return m_heights[i] + (m_heights[i + 1] - m_heights[i]) * t;
    }

private:
    static constexpr double kMargin = 64;
    static constexpr double kSteps = 4;
    std::vector<double> m_heights;
};

double Flat(double) { return 0.0; }

// The near shore rises on both sides and opens onto the lake in the middle.
double ShoreBowl(double x)
{
    const double d = (x - 440.0) / 250.0;
    return 300.0 * std::exp(-d * d);
}

// The foreground bank climbs out of the bottom-left corner and, lower, the
// bottom-right one.
double ForegroundBank(double x)
{
    const double left = 1.0 / (1.0 + std::exp((x - 150.0) / 40.0));
    const double right = 1.0 / (1.0 + std::exp((700.0 - x) / 45.0));
    return 160.0 - 190.0 * left - 95.0 * right;
}

class Landscape {
public:
    Landscape()
    {
        for (const LayerStyle& style : kFarLayers)
            m_far.emplace_back(style, Flat);
        m_near.emplace_back(kNearLayers[0], ShoreBowl);
        m_near.emplace_back(kNearLayers[1], ForegroundBank);
        // The sun is setting: a third of its disc is behind the far range.
        m_sunY = m_far[0].At(kSunX) - kSunRadius * 0.35;
    }

    Colour Paint(double x, double y) const
    {
        Colour c = y < kWaterLine ? PaintDistance(x, y) : PaintWater(x, y);
        for (std::size_t i = 0; i < m_near.size(); ++i) {
            const double ridge = m_near[i].At(x);
            if (y >= ridge || InTree(i, x, y))
                c = PaintLand(kNearLayers[i], ridge, x, y);
        }
        c = PaintBirds(c, x, y);
        return Vignette(c, x, y);
    }

private:
    Colour PaintSky(double x, double y) const
    {
        Colour c = kSky.front().colour;
        for (std::size_t i = 1; i < kSky.size(); ++i) {
            if (y >= kSky[i - 1].y)
                c = Mix(kSky[i - 1].colour, kSky[i].colour, SmoothStep(kSky[i - 1].y, kSky[i].y, y));
        }

        // Thin, stretched clouds, lit from below by the low sun.
        const double cloud = Fbm2D(x / 260.0, y / 24.0, 5, 7);
        const double band = SmoothStep(50, 100, y) * (1.0 - SmoothStep(190, 250, y));
        const double density = SmoothStep(0.52, 0.74, cloud) * band;
        const Colour cloudColour = Mix(kCloudShade, kCloudLit, SmoothStep(90, 230, y));
        c = Mix(c, cloudColour, 0.7 * density);

        const double dx = x - kSunX;
        const double dy = y - m_sunY;
        const double d = std::sqrt(dx * dx + dy * dy);
        c = Screen(c, kSunGlow, 0.55 * std::exp(-d / 60.0) + 0.30 * std::exp(-d / 220.0));
        const double disc = 1.0 - SmoothStep(kSunRadius - 1.0, kSunRadius + 1.0, d);
        return Mix(c, kSunDisc, disc);
    }

    Colour PaintLand(const LayerStyle& style, double ridge, double x, double y) const
    {
        Colour c = Mix(style.top, style.bottom, SmoothStep(style.fadeTop, style.fadeBottom, y));
        if (style.texture > 0)
            c = Scale(c, 1.0 + style.texture * (Fbm2D(x / 60.0, y / 30.0, 3, style.seed + 900) - 0.5) * 2.0);
        // The edge facing the sun catches a little light, and the haze
        // around the sun brightens the far ranges.
        const double facing = std::exp(-std::abs(x - kSunX) / 300.0);
        c = Screen(c, kSunGlow, style.rimLight * facing * std::exp(-std::max(0.0, y - ridge) / 2.5));
        const double haze = std::exp(-std::hypot(x - kSunX, y - m_sunY) / 160.0);
        return Screen(c, kSunGlow, 0.5 * style.rimLight * haze);
    }

    // Sky and the far ranges: everything beyond the lake.
    Colour PaintDistance(double x, double y) const
    {
        Colour c = PaintSky(x, y);
        for (std::size_t i = 0; i < m_far.size(); ++i) {
            const double ridge = m_far[i].At(x);
            if (y >= ridge)
                c = PaintLand(kFarLayers[i], ridge, x, y);
        }
        return c;
    }

    // The lake mirrors the distance, broken up by ripples that grow towards
    // the viewer, and carries a path of glitter under the sun.
    Colour PaintWater(double x, double y) const
    {
        const double depth = y - kWaterLine;
        const double nearness = depth / (kPictureHeight - kWaterLine);
        const double ripple = Fbm2D(x / 90.0, depth / (2.0 + 6.0 * nearness), 4, 61) - 0.5;
        const double mirroredY = kWaterLine - depth - ripple * (2.0 + 14.0 * nearness);
        const double mirroredX = x + ripple * 6.0 * nearness;
        Colour c = PaintDistance(mirroredX, std::max(0.0, mirroredY));
        c = Mix(c, kWaterTint, 0.22 + 0.38 * nearness);

        // Faint light lines along the surface.
        const double streak = Fbm2D(x / 200.0, depth / 2.5, 3, 67);
        c = Screen(c, kSunGlow, 0.10 * SmoothStep(0.6, 0.8, streak) * (1.0 - nearness));

        const double width = 14.0 + depth * 0.45;
        const double column = std::exp(-std::pow((x - kSunX) / width, 2.0));
        const double sparkle = SmoothStep(0.56, 0.72, Fbm2D(x / 9.0, depth / 1.6, 3, 71));
        c = Screen(c, kGlitter, 0.85 * column * sparkle);
        // A bright seam where the far shore meets the water.
        return Screen(c, kGlitter, 0.25 * std::exp(-depth / 1.5) * std::exp(-std::abs(x - kSunX) / 200.0));
    }

    // Layered pines: a narrow trunk and tiers that are widest at their base.
    bool InTree(std::size_t layer, double x, double y) const
    {
        const ForestStyle& forest = kForests[layer];
        const auto seed = static_cast<std::uint32_t>(1000 + layer * 17);
        const auto cell = static_cast<std::int32_t>(std::floor(x / forest.spacing));
        const int reach = static_cast<int>(std::ceil(forest.maxHeight * 0.25 / forest.spacing));
        for (std::int32_t k = cell - reach; k <= cell + reach; ++k) {
            const double treeX = (k + 0.2 + 0.6 * Hash01(k, 1, seed)) * forest.spacing;
            if (Hash01(k, 2, seed) >= forest.density(treeX))
                continue;
            const double baseY = m_near[layer].At(treeX) + 4.0;
            const double height = forest.minHeight + (forest.maxHeight - forest.minHeight) * Hash01(k, 3, seed);
            const double t = (baseY - y) / height;  // 0 at the foot, 1 at the tip
            if (t < 0.0 || t > 1.0)
                continue;
            const double dx = std::abs(x - treeX);
            if (t < 0.15 && dx < height * 0.018 + 0.6)
                return true;
            if (t >= 0.1) {
                const double tiers = 4.0 + std::floor(Hash01(k, 4, seed) * 4.0);
                const double along = (t - 0.1) / 0.9 * tiers;
                const double withinTier = along - std::floor(along);
                const double halfWidth = height * 0.2 * (1.0 - t) * (1.0 - 0.45 * withinTier) + 0.4;
                if (dx < halfWidth)
                    return true;
            }
        }
        return false;
    }

    static Colour PaintBirds(Colour c, double x, double y)
    {
        for (const Bird& bird : kBirds) {
            const double dx = std::abs(x - bird.x);
            if (dx > bird.span)
                continue;
            // Two arched wings meeting at the body.
            const double wingY = bird.y - bird.span * 0.45 * std::sin(kPi * dx / bird.span);
            const double thickness = 0.45 + 0.75 * (1.0 - dx / bird.span);
            if (std::abs(y - wingY) < thickness)
                c = Mix(c, kBird, 0.8);
        }
        return c;
    }

    static Colour Vignette(Colour c, double x, double y)
    {
        const double u = (x / kPictureWidth - 0.5) * 2.0;
        const double v = (y / kPictureHeight - 0.5) * 2.0;
        return Scale(c, 1.0 - 0.18 * SmoothStep(0.3, 1.6, u * u + v * v));
    }

    std::vector<Ridge> m_far;
    std::vector<Ridge> m_near;
    double m_sunY = 0;
};

}  // namespace

Raster PaintLandscape()
{
    const Landscape landscape;
    return RenderSupersampled(kPictureWidth, kPictureHeight, 3,
                              [&landscape](double x, double y) { return landscape.Paint(x, y); });
}

}  // namespace vellumry::assets
