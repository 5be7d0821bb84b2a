#include "tools/assets/Noise.h"

#include <cmath>

namespace vellumry::assets {

namespace {

// Quintic fade: continuous first and second derivatives at lattice points, so
// ridgelines drawn from the noise have no visible kinks.
double Fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

double Lerp(double a, double b, double t) { return a + (b - a) * t; }

}  // namespace

std::uint32_t HashLattice(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    std::uint32_t h = seed * 0x9E3779B9u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    // Final avalanche so neighbouring lattice points are unrelated.
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

double Hash01(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    return (HashLattice(x, y, seed) >> 8) * (1.0 / 16777216.0);
}

double ValueNoise2D(double x, double y, std::uint32_t seed)
{
    double cellX = std::floor(x);
    double cellY = std::floor(y);
    auto i = static_cast<std::int32_t>(cellX);
    auto j = static_cast<std::int32_t>(cellY);
    double tx = Fade(x - cellX);
    double ty = Fade(y - cellY);
    double top = Lerp(Hash01(i, j, seed), Hash01(i + 1, j, seed), tx);
    double bottom = Lerp(Hash01(i, j + 1, seed), Hash01(i + 1, j + 1, seed), tx);
    return Lerp(top, bottom, ty);
}

double Fbm2D(double x, double y, int octaves, std::uint32_t seed)
{
    double sum = 0;
    double amplitude = 1;
    double total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * ValueNoise2D(x, y, seed + static_cast<std::uint32_t>(o) * 101u);
        total += amplitude;
        amplitude *= 0.5;
        x *= 2.0;
        y *= 2.0;
    }
    return sum / total;
}

// Along the row y = 0 the 2-D lattice is a 1-D one, and every octave stays on
// that row.
double Fbm1D(double x, int octaves, std::uint32_t seed) { return Fbm2D(x, 0.0, octaves, seed); }

}  // namespace vellumry::assets
