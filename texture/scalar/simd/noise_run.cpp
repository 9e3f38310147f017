// Noise over runs of points: the lattice noise of noise.cpp in vector lanes,
// bit for bit.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "texture/scalar/simd/noise_run.cpp"
#include <hwy/foreach_target.h>

#include <hwy/highway.h>

#include "support/simd/lanes-inl.h"
#include "texture/scalar/simd/noise-inl.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

HWY_BEFORE_NAMESPACE();
namespace tex::HWY_NAMESPACE {

// Whether every point of a run has the y and z of the first, both finite: a
// row of a flat grid, or an octave of one in a fractal sum.
HWY_INLINE bool OnOneRow(const double* y, const double* z, std::size_t n)
{
    if (n == 0 || !std::isfinite(y[0]) || !std::isfinite(z[0]))
        return false;
    const Doubles d;
    const Words w;
    const WordVec y0 = hn::BitCast(w, hn::Set(d, y[0]));
    const WordVec z0 = hn::BitCast(w, hn::Set(d, z[0]));
    const std::size_t lanes = hn::Lanes(d);
    std::size_t i = 0;
    for (; i + lanes <= n; i += lanes) {
        const auto same = hn::And(hn::BitCast(w, hn::LoadU(d, y + i)) == y0, hn::BitCast(w, hn::LoadU(d, z + i)) == z0);
        if (!hn::AllTrue(w, same))
            return false;
    }
    for (; i < n; ++i)
        if (std::memcmp(y + i, y, sizeof *y) != 0 || std::memcmp(z + i, z, sizeof *z) != 0)
            return false;
    return true;
}

// The lattice cells of the lowest and highest finite x of a run, as
// integers; false when no x is finite.
HWY_INLINE bool CellRange(const double* x, std::size_t n, double& first, double& last)
{
    const Doubles d;
    const DoubleVec inf = hn::Set(d, std::numeric_limits<double>::infinity());
    DoubleVec lo = inf, hi = hn::Neg(inf);
    const std::size_t lanes = hn::Lanes(d);
    std::size_t i = 0;
    for (; i + lanes <= n; i += lanes) {
        const DoubleVec v = hn::LoadU(d, x + i);
        const DoubleMask finite = hn::IsFinite(v);
        lo = hn::Min(lo, hn::IfThenElse(finite, v, inf));
        hi = hn::Max(hi, hn::IfThenElse(finite, v, hn::Neg(inf)));
    }
    double low = hn::GetLane(hn::MinOfLanes(d, lo)), high = hn::GetLane(hn::MaxOfLanes(d, hi));
    for (; i < n; ++i)
        if (std::isfinite(x[i])) {
            low = std::min(low, x[i]);
            high = std::max(high, x[i]);
        }
    if (!(low <= high))
        return false;
    first = std::floor(low);
    last = std::floor(high);
    return true;
}

// Rows whose points meet at least this many cells a point, on average, take
// the strip of corner hashes (see LatticeNoise::Strip) where the processor
// gathers: most of their vectors lie in cells of their own, which would
// otherwise gather their hashes a level at a time. Sparser rows, and every
// row where there are no gathers, hash a cell at a time, which is faster
// there (measured with run_bench). The choice is made once for the run.
constexpr double stripCells = 0.5;

// out[i] = finish(noise at point i), the points of a row through what they
// share (see LatticeNoise::Row and LatticeNoise::Strip).
template <class Finish>
HWY_INLINE void NoiseOver(const NoiseTables& tables, const double* x, const double* y, const double* z, double* out,
                          std::size_t n, Finish finish)
{
    const LatticeNoise noise(tables);
    LatticeNoise::CellMemo memo;
    if (OnOneRow(y, z, n)) {
        LatticeNoise::Row row(y[0], z[0]);
        double first, last;
        // The step from the ends of the run says whether it may meet enough
        // cells; only then is the range of its cells worth a pass.
        if (gathers && std::fabs(x[n - 1] - x[0]) >= stripCells * double(n) && CellRange(x, n, first, last) &&
            last - first + 1 >= stripCells * double(n)) {
            LatticeNoise::Strip strip;
            if (noise.Fill(strip, row, first, last)) {
                ForEachPoint(x, y, z, out, n, [&](DoubleVec px, DoubleVec, DoubleVec) TEX_INLINE_LAMBDA {
                    return finish(noise(px, row, strip, memo));
                });
                return;
            }
        }
        ForEachPoint(x, y, z, out, n, [&](DoubleVec px, DoubleVec, DoubleVec) TEX_INLINE_LAMBDA {
            return finish(noise(px, row, memo));
        });
        return;
    }
    ForEachPoint(x, y, z, out, n, [&](DoubleVec px, DoubleVec py, DoubleVec pz) TEX_INLINE_LAMBDA {
        return finish(noise(px, py, pz, memo));
    });
}

void NoiseRun(const NoiseTables& tables, const double* x, const double* y, const double* z, double* out,
              std::size_t n)
{
    NoiseOver(tables, x, y, z, out, n, [](DoubleVec v) TEX_INLINE_LAMBDA { return v; });
}

// (noise(p) + 1) * 0.5 at each point: Noise::formula.
void NoiseFormulaRun(const NoiseTables& tables, const double* x, const double* y, const double* z, double* out,
                     std::size_t n)
{
    const Doubles d;
    NoiseOver(tables, x, y, z, out, n, [&](DoubleVec v) TEX_INLINE_LAMBDA {
        return (v + hn::Set(d, 1.0)) * hn::Set(d, 0.5);
    });
}

} // namespace tex::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "texture/scalar/noise.h"

namespace tex {

HWY_EXPORT(NoiseRun);
HWY_EXPORT(NoiseFormulaRun);

void Noise::noiseRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    HWY_DYNAMIC_DISPATCH(NoiseRun)(NoiseTables{perm, wideTable, gradientTerms, mask}, x, y, z, out, n);
}

void Noise::formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    HWY_DYNAMIC_DISPATCH(NoiseFormulaRun)(NoiseTables{perm, wideTable, gradientTerms, mask}, x, y, z, out, n);
}

} // namespace tex
#endif
