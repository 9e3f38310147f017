#pragma once

#include "support/random.h"
#include "texture/scalar/basis.h"

#include <cstddef>
#include <cstdint>

namespace tex {

// Three-dimensional gradient noise on a lattice that wraps with period
// `size` on every axis, with a quintic fade and a byte permutation table
// shuffled by the field's own generator: the same seed gives the same field.
// No parameters beyond those of Basis.
//
// Final: nothing derives from it (fields that need noise hold one by value).
class Noise final : public Basis {
public:
    // Its entry in the catalogue.
    static const NodeType& nodeType();

    // `size` is the lattice period, meant to be a power of two; sizes below
    // 1 are taken as 1 and sizes above 256 as 256, so that every table
    // index stays inside the permutation table.
    Noise(int seed, int size);
    // Seeded from the clock: two fields built in the same second are equal.
    explicit Noise(int size);

    // The raw lattice noise: 0 at every lattice point, centred on 0; no
    // scaling, no contrast. Defined for every finite point, however far
    // out: with a power-of-two size the lattice repeats with period size on
    // every axis, so noise(x + size k, y, z) is noise(x, y, z) for every
    // integer k for which x + size k is a double (likewise on y and z). 0 at
    // a point with a NaN or infinite coordinate, as at a lattice point.
    double noise(double x, double y, double z) const;

    // No raw noise exceeds this in magnitude. Each corner's gradient term is
    // a sum of two offsets in [-1, 1], so at most 2; the corners are blended
    // with fade weights in [0, 1] (fade may round a few ulps above 1), which
    // keeps the blend within 2 up to a few roundings; the margin covers them
    // many times over.
    static constexpr double bound = 2.0 + 0x1p-40;

    // noise() at each of n points: out[i] is noise(x[i], y[i], z[i]) to the
    // last bit, several points at once in vector lanes (see values()). Any
    // n; out may be one of the coordinate arrays.
    void noiseRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const;

    int latticeSize() const { return size; }
    // The 512-entry permutation table, read-only.
    const std::uint8_t* permutation() const { return perm; }

protected:
    // (noise(x, y, z) + 1) * 0.5, so value() is the contrast stage of 0.5
    // at a point that is not finite after the scales.
    double formula(double x, double y, double z) const override;
    void formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const override;

private:
    void buildPermutation();
    void buildGradientTerms();

    std::int32_t size;
    std::int32_t mask;
    Random random;
    // A permutation of 0..255, repeated once so that perm[a] + b needs no wrap.
    std::uint8_t perm[512];
    // For each lattice corner and each last-level hash position i: where,
    // among the twelve signed offsets of a point, the two gradient terms of
    // hash perm[i] lie. Derived from perm once, so that evaluation reads the
    // terms of a corner in one step instead of reading the hash first.
    std::uint8_t gradientTerms[8][2][512];
    // perm in 64-bit words, which vector lanes of doubles gather from.
    std::int64_t wideTable[512];
};

} // namespace tex
