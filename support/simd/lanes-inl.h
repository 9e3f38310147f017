// What the library's vector kernels share: the run loop with its tail, and
// the arithmetic of the scalar code written for lanes. Included by kernel
// sources once per instruction set (see hwy/foreach_target.h), hence the
// toggling guard. Not installed.
//
// Every function here does, in each lane, exactly the operations of the
// scalar code in the same order. The library is compiled with
// -ffp-contract=off, so no multiply and add are fused.

#if defined(TEX_SUPPORT_SIMD_LANES_INL_H) == defined(HWY_TARGET_TOGGLE)
#ifdef TEX_SUPPORT_SIMD_LANES_INL_H
#undef TEX_SUPPORT_SIMD_LANES_INL_H
#else
#define TEX_SUPPORT_SIMD_LANES_INL_H
#endif

#include <hwy/highway.h>

#include <cstddef>
#include <cstring>

HWY_BEFORE_NAMESPACE();
namespace tex::HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;

// Lanes of doubles, and of 64-bit integers beside them.
using Doubles = hn::ScalableTag<double>;
using Words = hn::RebindToSigned<Doubles>;
using DoubleVec = hn::Vec<Doubles>;
using WordVec = hn::Vec<Words>;
using DoubleMask = hn::Mask<Doubles>;

constexpr std::size_t maxLanes = HWY_LANES(double);

#ifndef TEX_INLINE_LAMBDA
// For a lambda that a kernel calls once per vector: always inlined, so that
// its vectors stay in registers.
#define TEX_INLINE_LAMBDA __attribute__((always_inline))
#endif

// a + (b - a) * t.
HWY_INLINE DoubleVec Lerp(DoubleVec a, DoubleVec b, DoubleVec t)
{
    return a + (b - a) * t;
}

// clamp(0.01, 0.99, (v - 0.5) * contrast + 0.5), and 0.5 where that is NaN:
// Basis::applyContrast in every lane.
HWY_INLINE DoubleVec Contrast(DoubleVec contrast, DoubleVec v)
{
    const Doubles d;
    const DoubleVec r = (v - hn::Set(d, 0.5)) * contrast + hn::Set(d, 0.5);
    const DoubleVec lo = hn::Set(d, 0.01);
    const DoubleVec hi = hn::Set(d, 0.99);
    const DoubleVec clamped = hn::IfThenElse(lo > r, lo, hn::IfThenElse(r > hi, hi, r));
    return hn::IfThenElse(hn::IsNaN(r), hn::Set(d, 0.5), clamped);
}

// Stores the colours of the first `count` lanes of a vector, components r,
// g, b, a, into out[0 .. count - 1] (a colour is four doubles).
template <class Colours>
HWY_INLINE void StoreColours(const DoubleVec (&c)[4], Colours* out, std::size_t count)
{
    const Doubles d;
    HWY_ALIGN double interleaved[4 * maxLanes];
    hn::StoreInterleaved4(c[0], c[1], c[2], c[3], d, interleaved);
    static_assert(sizeof(Colours) == 4 * sizeof(double), "a colour is four doubles");
    if (count == maxLanes)
        std::memcpy(static_cast<void*>(out), interleaved, maxLanes * sizeof(Colours));
    else
        std::memcpy(static_cast<void*>(out), interleaved, count * sizeof(Colours));
}

// out[i] = at(x[i], y[i], z[i]) over a run of n points, a vector of lanes at
// a time; the lanes of the last, partial vector past the run compute at
// (0, 0, 0) and are dropped.
template <class At>
HWY_INLINE void ForEachPoint(const double* x, const double* y, const double* z, double* out, std::size_t n, At at)
{
    const Doubles d;
    const std::size_t lanes = hn::Lanes(d);
    std::size_t i = 0;
    for (; i + lanes <= n; i += lanes)
        hn::StoreU(at(hn::LoadU(d, x + i), hn::LoadU(d, y + i), hn::LoadU(d, z + i)), d, out + i);
    if (i == n)
        return;
    const std::size_t rest = n - i;
    HWY_ALIGN double tail[4][maxLanes] = {};
    std::memcpy(tail[0], x + i, rest * sizeof(double));
    std::memcpy(tail[1], y + i, rest * sizeof(double));
    std::memcpy(tail[2], z + i, rest * sizeof(double));
    hn::Store(at(hn::Load(d, tail[0]), hn::Load(d, tail[1]), hn::Load(d, tail[2])), d, tail[3]);
    std::memcpy(out + i, tail[3], rest * sizeof(double));
}

// out[i] = at(a[i], b[i]) over a run of n pairs of values, as ForEachPoint.
template <class At>
HWY_INLINE void ForEachValue(const double* a, const double* b, double* out, std::size_t n, At at)
{
    const Doubles d;
    const std::size_t lanes = hn::Lanes(d);
    std::size_t i = 0;
    for (; i + lanes <= n; i += lanes)
        hn::StoreU(at(hn::LoadU(d, a + i), hn::LoadU(d, b + i)), d, out + i);
    if (i == n)
        return;
    const std::size_t rest = n - i;
    HWY_ALIGN double tail[3][maxLanes] = {};
    std::memcpy(tail[0], a + i, rest * sizeof(double));
    std::memcpy(tail[1], b + i, rest * sizeof(double));
    hn::Store(at(hn::Load(d, tail[0]), hn::Load(d, tail[1])), d, tail[2]);
    std::memcpy(out + i, tail[2], rest * sizeof(double));
}

// out[i] = at(in[i]) over a run of n values, as ForEachPoint.
template <class At>
HWY_INLINE void ForEachValue(const double* in, double* out, std::size_t n, At at)
{
    ForEachValue(in, in, out, n, [&](DoubleVec v, DoubleVec) TEX_INLINE_LAMBDA { return at(v); });
}

} // namespace tex::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#endif
