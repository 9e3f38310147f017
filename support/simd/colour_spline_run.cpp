// Colour spline lookups over runs of positions, bit for bit those of
// ColourSpline::evaluate.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "support/simd/colour_spline_run.cpp"
#include <hwy/foreach_target.h>

#include <hwy/highway.h>

#include "support/colour_spline.h"
#include "support/simd/lanes-inl.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

HWY_BEFORE_NAMESPACE();
namespace tex::HWY_NAMESPACE {

// `spline` has two stops at least.
void EvaluateRun(const ColourSpline& spline, const double* positions, Colour* out, std::size_t n)
{
    const Doubles d;
    const Words w;
    const std::size_t lanes = hn::Lanes(d);
    constexpr int segmentValues = ColourSpline::segmentValues;
    using V = ColourSpline::SegmentValue;
    const double* table = spline.segmentTable();
    const std::vector<ColourStop>& stops = spline.stops();
    const Colour& firstColour = stops.front().colour;
    const Colour& lastColour = stops.back().colour;
    const DoubleVec lastPosition = hn::Set(d, stops.back().position);
    const DoubleVec zero = hn::Zero(d);
    const DoubleVec one = hn::Set(d, 1.0);
    const DoubleVec two = hn::Set(d, 2.0);
    const DoubleVec three = hn::Set(d, 3.0);
    const DoubleVec minusTwo = hn::Set(d, -2.0);

    for (std::size_t i = 0; i < n; i += lanes) {
        const std::size_t here = std::min(lanes, n - i);
        HWY_ALIGN double xs[maxLanes] = {};
        std::memcpy(xs, positions + i, here * sizeof(double));
        const DoubleVec x = hn::Load(d, xs);

        // Each lane's segment; where every lane lies in one (as neighbouring
        // texels mostly do), its values are read as they are, otherwise
        // gathered lane by lane.
        HWY_ALIGN std::int64_t offsets[maxLanes];
        bool oneSegment = true;
        for (std::size_t lane = 0; lane < lanes; ++lane) {
            offsets[lane] = std::int64_t(spline.segmentAt(xs[lane]) * segmentValues);
            oneSegment = oneSegment && offsets[lane] == offsets[0];
        }
        const WordVec gather = hn::Load(w, offsets);
        const double* values = table + offsets[0];
        const auto s = [=](int v) TEX_INLINE_LAMBDA {
            return oneSegment ? hn::Set(Doubles(), values[v]) : hn::GatherIndex(Doubles(), table + v, gather);
        };
        const int start = V::start, end = V::end, p1 = V::p1, p2 = V::p2, m1 = V::m1, m2 = V::m2;

        DoubleVec t = (x - s(start)) / (s(end) - s(start));
        t = hn::IfThenElse(hn::Or(hn::IsNaN(t), t < zero), zero, t);
        t = hn::IfThenElse(t > one, one, t);
        const DoubleVec t2 = t * t;
        const DoubleVec t3 = t2 * t;
        const DoubleVec h00 = two * t3 - three * t2 + one;
        const DoubleVec h10 = t3 - two * t2 + t;
        const DoubleVec h01 = minusTwo * t3 + three * t2;
        const DoubleVec h11 = t3 - t2;
        DoubleVec curve[4];
        DoubleMask overflowed = hn::FirstN(d, 0);
        for (int c = 0; c < 4; ++c) {
            curve[c] = s(p1 + c) * h00 + s(m1 + c) * h10 + s(p2 + c) * h01 + s(m2 + c) * h11;
            overflowed = hn::Or(overflowed, hn::IsNaN(curve[c]));
        }
        // A tangent that overflowed: the straight blend of the stops. No
        // width: the segment's first stop. At or past the last stop: its
        // colour. A NaN position: the first stop's colour.
        const DoubleMask noWidth = hn::Not(s(end) > s(start));
        const DoubleMask past = x >= lastPosition;
        const DoubleMask nan = hn::IsNaN(x);
        const double firstComponents[4] = {firstColour.r, firstColour.g, firstColour.b, firstColour.a};
        const double lastComponents[4] = {lastColour.r, lastColour.g, lastColour.b, lastColour.a};
        DoubleVec colour[4] = {curve[0], curve[1], curve[2], curve[3]};
        if (!hn::AllFalse(d, overflowed))
            for (int c = 0; c < 4; ++c)
                colour[c] = hn::IfThenElse(overflowed, s(p1 + c) * (one - t) + s(p2 + c) * t, colour[c]);
        if (!hn::AllFalse(d, hn::Or(hn::Or(noWidth, past), nan))) {
            for (int c = 0; c < 4; ++c) {
                colour[c] = hn::IfThenElse(noWidth, s(p1 + c), colour[c]);
                colour[c] = hn::IfThenElse(past, hn::Set(d, lastComponents[c]), colour[c]);
                colour[c] = hn::IfThenElse(nan, hn::Set(d, firstComponents[c]), colour[c]);
            }
        }

        StoreColours(colour, out + i, here);
    }
}

} // namespace tex::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace tex {

HWY_EXPORT(EvaluateRun);

void ColourSpline::evaluateRun(const double* x, Colour* out, std::size_t n) const
{
    if (stopList.size() < 2) {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = evaluate(x[i]);
        return;
    }
    HWY_DYNAMIC_DISPATCH(EvaluateRun)(*this, x, out, n);
}

} // namespace tex
#endif
