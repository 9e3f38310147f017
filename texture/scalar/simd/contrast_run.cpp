// Scales, the contrast stage and the steps of fractal sums over runs of
// values.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "texture/scalar/simd/contrast_run.cpp"
#include <hwy/foreach_target.h>

#include <hwy/highway.h>

#include "support/simd/lanes-inl.h"

HWY_BEFORE_NAMESPACE();
namespace tex::HWY_NAMESPACE {

void ScaleRun(double scale, const double* in, double* out, std::size_t n)
{
    const DoubleVec s = hn::Set(Doubles(), scale);
    ForEachValue(in, out, n, [&](DoubleVec v) TEX_INLINE_LAMBDA { return s * v; });
}

void ContrastRun(double contrast, double scale, const double* in, double* out, std::size_t n)
{
    const Doubles d;
    const DoubleVec c = hn::Set(d, contrast);
    const DoubleVec s = hn::Set(d, scale);
    ForEachValue(in, out, n, [&](DoubleVec v) TEX_INLINE_LAMBDA { return Contrast(c, s * v); });
}

void OctaveStep(double* sum, const double* term, double weight, double* x, double* y, double* z, double lacunarity,
                std::size_t n)
{
    const Doubles d;
    const DoubleVec w = hn::Set(d, weight);
    const DoubleVec l = hn::Set(d, lacunarity);
    ForEachValue(term, sum, sum, n, [&](DoubleVec t, DoubleVec s) TEX_INLINE_LAMBDA { return s + t * w; });
    for (double* p : {x, y, z})
        ForEachValue(p, p, n, [&](DoubleVec v) TEX_INLINE_LAMBDA { return v * l; });
}

} // namespace tex::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "texture/scalar/detail/runs.h"

namespace tex {

HWY_EXPORT(ScaleRun);
HWY_EXPORT(ContrastRun);
HWY_EXPORT(OctaveStep);

void detail::scaleRun(double scale, const double* in, double* out, std::size_t n)
{
    HWY_DYNAMIC_DISPATCH(ScaleRun)(scale, in, out, n);
}

void detail::contrastRun(double contrast, double scale, const double* in, double* out, std::size_t n)
{
    HWY_DYNAMIC_DISPATCH(ContrastRun)(contrast, scale, in, out, n);
}

void detail::octaveStep(double* sum, const double* term, double weight, double* x, double* y, double* z,
                        double lacunarity, std::size_t n)
{
    HWY_DYNAMIC_DISPATCH(OctaveStep)(sum, term, weight, x, y, z, lacunarity, n);
}

} // namespace tex
#endif
