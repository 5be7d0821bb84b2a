#pragma once

// Deterministic value noise: the same coordinates and seed give the same value
// on every run and every machine, because the lattice values come from an
// integer hash rather than from a random generator.

#include <cstdint>

namespace vellumry::assets {

// A well-mixed 32-bit value of two lattice coordinates and a seed.
std::uint32_t HashLattice(std::int32_t x, std::int32_t y, std::uint32_t seed);
// The same as a number in [0, 1).
double Hash01(std::int32_t x, std::int32_t y, std::uint32_t seed);

// Smoothly interpolated lattice noise in [0, 1].
double ValueNoise2D(double x, double y, std::uint32_t seed);

// Sums of octaves (each twice the frequency and half the amplitude of the
// one before), normalised back to [0, 1].
double Fbm1D(double x, int octaves, std::uint32_t seed);
double Fbm2D(double x, double y, int octaves, std::uint32_t seed);

}  // namespace vellumry::assets
