#pragma once

// The octave loop of FractalSum over runs of points. Not installed: only the
// library's fields, compiled without fused multiply-add, instantiate it.

#include "texture/scalar/detail/runs.h"
#include "texture/scalar/fractal_sum.h"

#include <algorithm>
#include <cstddef>

namespace tex {

// octaveSum at each point, a block of points at a time: every octave's terms
// of a block come from one call of termRun. From octave 16 on, the points
// whose sums are settled leave the block, the others go on.
template <typename TermRun>
void FractalSum::octaveRun(const double* x, const double* y, const double* z, double* out, std::size_t n,
                           double termBound, double scale, TermRun termRun) const
{
    const int count = octaves < maxOctaves ? octaves : maxOctaves;
    constexpr std::size_t block = detail::octaveBlock;
    double px[block], py[block], pz[block], sum[block], term[block];
    // Where in the block each point still summed came from.
    std::size_t from[block];
    for (std::size_t start = 0; start < n; start += block) {
        std::size_t m = std::min(block, n - start);
        for (std::size_t i = 0; i < m; ++i) {
            px[i] = x[start + i];
            py[i] = y[start + i];
            pz[i] = z[start + i];
            sum[i] = 0.0;
            from[i] = i;
        }
        double weight = 1.0;
        for (int octave = 0; octave < count && m > 0; ++octave) {
            if (octave >= listedOctaves && octave % 8 == 0) {
                std::size_t going = 0;
                for (std::size_t i = 0; i < m; ++i) {
                    if (settled(sum[i], weight, termBound, scale)) {
                        out[start + from[i]] = scale * sum[i];
                        continue;
                    }
                    px[going] = px[i];
                    py[going] = py[i];
                    pz[going] = pz[i];
                    sum[going] = sum[i];
                    from[going] = from[i];
                    ++going;
                }
                m = going;
            }
            termRun(px, py, pz, term, m);
            detail::octaveStep(sum, term, weight, px, py, pz, lacunarity, m);
            weight = weight / lacunarity;
        }
        for (std::size_t i = 0; i < m; ++i)
            out[start + from[i]] = scale * sum[i];
    }
}

} // namespace tex
