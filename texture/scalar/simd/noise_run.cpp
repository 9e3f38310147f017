// Noise over runs of points: the lattice noise of noise.cpp in vector lanes,
// bit for bit.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "texture/scalar/simd/noise_run.cpp"
#include <hwy/foreach_target.h>

#include <hwy/highway.h>

#include "support/simd/lanes-inl.h"
#include "texture/scalar/simd/noise-inl.h"

HWY_BEFORE_NAMESPACE();
namespace tex::HWY_NAMESPACE {

void NoiseRun(const NoiseTables& tables, const double* x, const double* y, const double* z, double* out,
              std::size_t n)
{
    const LatticeNoise noise(tables);
    LatticeNoise::CellMemo memo;
    ForEachPoint(x, y, z, out, n, [&](DoubleVec px, DoubleVec py, DoubleVec pz) TEX_INLINE_LAMBDA {
        return noise(px, py, pz, memo);
    });
}

// (noise(p) + 1) * 0.5 at each point: Noise::formula.
void NoiseFormulaRun(const NoiseTables& tables, const double* x, const double* y, const double* z, double* out,
                     std::size_t n)
{
    const Doubles d;
    const LatticeNoise noise(tables);
    LatticeNoise::CellMemo memo;
    ForEachPoint(x, y, z, out, n, [&](DoubleVec px, DoubleVec py, DoubleVec pz) TEX_INLINE_LAMBDA {
        return (noise(px, py, pz, memo) + hn::Set(d, 1.0)) * hn::Set(d, 0.5);
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
