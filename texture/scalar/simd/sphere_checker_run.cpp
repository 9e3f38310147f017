// Sphere and Checker over runs of points, bit for bit their formula() at
// each point.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "texture/scalar/simd/sphere_checker_run.cpp"
#include <hwy/foreach_target.h>

#include <hwy/highway.h>

#include "support/simd/lanes-inl.h"

HWY_BEFORE_NAMESPACE();
namespace tex::HWY_NAMESPACE {

HWY_INLINE DoubleMask AllFinite(DoubleVec x, DoubleVec y, DoubleVec z)
{
    return hn::And(hn::And(hn::IsFinite(x), hn::IsFinite(y)), hn::IsFinite(z));
}

// clamp(0, 1, 1 - 2 r), r the distance from the centre of the point's unit
// cell (cells counted by truncation); 0 where a coordinate is not finite.
void SphereRun(const double* x, const double* y, const double* z, double* out, std::size_t n)
{
    const Doubles d;
    const DoubleVec half = hn::Set(d, 0.5);
    const DoubleVec zero = hn::Zero(d);
    const DoubleVec one = hn::Set(d, 1.0);
    ForEachPoint(x, y, z, out, n, [&](DoubleVec px, DoubleVec py, DoubleVec pz) TEX_INLINE_LAMBDA {
        const DoubleVec cx = px - hn::Trunc(px) - half;
        const DoubleVec cy = py - hn::Trunc(py) - half;
        const DoubleVec cz = pz - hn::Trunc(pz) - half;
        const DoubleVec r = hn::Sqrt(cx * cx + cy * cy + cz * cz);
        const DoubleVec v = one - hn::Set(d, 2.0) * r;
        const DoubleVec clamped = hn::IfThenElse(zero > v, zero, hn::IfThenElse(v > one, one, v));
        return hn::IfThenElseZero(AllFinite(px, py, pz), clamped);
    });
}

// The parity of trunc(v), 0 or 1, for a finite v: t - 2 floor(t / 2) with t
// = trunc(v), every step exact (from 2^53 on t is even and t / 2 an
// integer).
HWY_INLINE DoubleVec TruncParity(DoubleVec v)
{
    const Doubles d;
    const DoubleVec t = hn::Trunc(v);
    return t - hn::Set(d, 2.0) * hn::Floor(t * hn::Set(d, 0.5));
}

// The parity of trunc(x) + trunc(y) + trunc(z); 0 where a coordinate is not
// finite.
void CheckerRun(const double* x, const double* y, const double* z, double* out, std::size_t n)
{
    ForEachPoint(x, y, z, out, n, [&](DoubleVec px, DoubleVec py, DoubleVec pz) TEX_INLINE_LAMBDA {
        const DoubleVec sum = TruncParity(px) + TruncParity(py) + TruncParity(pz);
        return hn::IfThenElseZero(AllFinite(px, py, pz), TruncParity(sum));
    });
}

} // namespace tex::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "texture/scalar/checker.h"
#include "texture/scalar/sphere.h"

namespace tex {

HWY_EXPORT(SphereRun);
HWY_EXPORT(CheckerRun);

void Sphere::formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    if (!isExactly<Sphere>())
        return Basis::formulaRun(x, y, z, out, n);
    HWY_DYNAMIC_DISPATCH(SphereRun)(x, y, z, out, n);
}

void Checker::formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    if (!isExactly<Checker>())
        return Basis::formulaRun(x, y, z, out, n);
    HWY_DYNAMIC_DISPATCH(CheckerRun)(x, y, z, out, n);
}

} // namespace tex
#endif
