#pragma once

#include "texture/scalar/basis.h"

#include <cstddef>
#include <cstdint>

namespace tex {

// What FBM and Turbulence share: a sum of some term over `octaves` ever
// finer octaves, each multiplying the point by `lacunarity` and dividing the
// weight by it, so that lacunarity sets both the frequency and the
// amplitude step.
// Parameters: the Basis ones, then "octaves" (integer, 1..16, default 8;
// below 1 nothing is summed) and "lacunarity" (real, 0.01..4.0, default 2.0;
// 0 makes the weights infinite). Values outside the ranges are stored as
// given. Other names go on to Basis by their kind.
//
// Octaves are honoured as far as they can change the value. Beyond the 16
// listed, the sum ends early, with the value it has after every octave, once
//  - the contrast stage gives the same value for every sum (contrast 0 or
//    NaN);
//  - the sum is NaN, which it stays, or infinite: the value is then that of
//    an infinite sum, the end of the range, even where a later term would
//    have made it NaN (an infinite weight times a term of 0, or an infinite
//    term of the other sign);
//  - with a lacunarity of magnitude 1 or more, the largest that any later
//    term can be is at most an eighth of the spacing of doubles at the sum,
//    so that adding it rounds back to the sum;
//  - with a positive lacunarity, where the sum can only grow, the contrast
//    stage of the sum already gives what it gives for an infinite sum.
// These are asked every eighth octave from octave 16 on, so a sum may run
// up to seven octaves past the first one at which it could have ended.
// With a lacunarity of magnitude 2 or more the sum ends within 1080 octaves
// (from octave 1075 on every weight is 0), and at lacunarity 2 after 56
// octaves at most points. Where none of them applies (a lacunarity near 1
// or of magnitude below 1, at a contrast that the sum does not take to an
// end of the range), at most maxOctaves octaves are summed.
class FractalSum : public Basis {
public:
    // The most octaves summed, for lacunarities where no other rule ends
    // the sum: enough for every lacunarity of magnitude 1.5 or more to reach
    // a weight of 0 first.
    static constexpr int maxOctaves = 2048;

protected:
    // Its parameters, which the tables of derived classes extend.
    static const ParameterTable& parameterTable();

    // `inputCount` inputs; "octaves" and "lacunarity" at their defaults.
    explicit FractalSum(int inputCount);
    // The same with `octaves` octaves instead of the default.
    FractalSum(int inputCount, int octaves);

    // scale * sum, the sum over octaves of term(p) * weight, p starting at
    // (x, y, z) and the weight at 1; the sum is 0 when octaves is below 1.
    // Every term(p) must lie in [0, termBound]; the contrast stage of the
    // result is the field's value. Defined in detail/octave_sum.h, which
    // only the library's own fields include.
    template <typename Term>
    double octaveSum(double x, double y, double z, double termBound, double scale, Term term) const;
    // octaveSum at each of n points, bit for bit, the terms of a block of
    // points at a time: termRun(px, py, pz, terms, m) sets terms[i] =
    // term(px[i], py[i], pz[i]) for i < m. Defined in detail/octave_run.h.
    template <typename TermRun>
    void octaveRun(const double* x, const double* y, const double* z, double* out, std::size_t n,
                   double termBound, double scale, TermRun termRun) const;

private:
    // The most octaves listed; sums up to this many are summed in full, as
    // asking whether they could end early would cost more than it saves.
    static constexpr int listedOctaves = 16;

    // True when no octave from the one of weight `weight` on can change
    // applyContrast(scale * sum), each of its terms lying in [0, termBound].
    bool settled(double sum, double weight, double termBound, double scale) const;

    std::int32_t octaves;
    double lacunarity;
};

} // namespace tex
