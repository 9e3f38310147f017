// Colour spline lookups over runs of positions, bit for bit those of
// ColourSpline::evaluate.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "support/simd/colour_spline_run.cpp"
#include <hwy/foreach_target.h>

#include <hwy/highway.h>

#include "support/colour_spline.h"
#include "support/simd/lanes-inl.h"

#include <algorithm>
#include <cstring>

HWY_BEFORE_NAMESPACE();
namespace tex::HWY_NAMESPACE {

// What the lookup reads of the segment from stop k to stop k + 1, in this
// order: the two positions, then the components of the two stop colours and
// of the two tangents.
constexpr int segmentValues = 18;
enum SegmentValue { start = 0, end = 1, p1 = 2, p2 = 6, m1 = 10, m2 = 14 };

void SegmentTable(const std::vector<ColourStop>& stops, const Colour* tangents, double* table)
{
    const auto put = [](double* at, const Colour& c) {
        at[0] = c.r;
        at[1] = c.g;
        at[2] = c.b;
        at[3] = c.a;
    };
    for (std::size_t k = 0; k + 1 < stops.size(); ++k) {
        double* segment = table + k * segmentValues;
        segment[start] = stops[k].position;
        segment[end] = stops[k + 1].position;
        put(segment + p1, stops[k].colour);
        put(segment + p2, stops[k + 1].colour);
        put(segment + m1, tangents[2 * k]);
        put(segment + m2, tangents[2 * k + 1]);
    }
}

// `tangents` holds m1 and m2 of each segment in turn. Two stops at least.
void EvaluateRun(const std::vector<ColourStop>& stops, const Colour* tangents, const double* positions, Colour* out,
                 std::size_t n)
{
    const Doubles d;
    const std::size_t lanes = hn::Lanes(d);
    const std::size_t segments = stops.size() - 1;
    // Each segment's values, and each of them spread over a whole vector, so
    // that the lanes of one segment read them as they are; on the stack for
    // the short splines that colour maps use.
    constexpr std::size_t shortSpline = 8;
    double tableOnStack[shortSpline * segmentValues];
    HWY_ALIGN double spreadOnStack[shortSpline * segmentValues * maxLanes];
    const bool onHeap = segments > shortSpline;
    std::vector<double> tableOnHeap(onHeap ? segments * segmentValues : 0);
    std::vector<double> spreadOnHeap(onHeap ? segments * segmentValues * maxLanes : 0);
    double* table = onHeap ? tableOnHeap.data() : tableOnStack;
    double* spread = onHeap ? spreadOnHeap.data() : spreadOnStack;
    SegmentTable(stops, tangents, table);
    for (std::size_t v = 0; v < segments * segmentValues; ++v)
        hn::StoreU(hn::Set(d, table[v]), d, spread + v * maxLanes);
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
        if (here < lanes)
            std::memcpy(xs, positions + i, here * sizeof(double));
        const DoubleVec x = here == lanes ? hn::LoadU(d, positions + i) : hn::Load(d, xs);

        // The segment before the first stop above x: lanes move on to
        // segment k while every stop up to k lies at or below x.
        // Where every lane lies in one segment (as neighbouring texels
        // mostly do), its values are read as they are.
        std::size_t k = 0;
        DoubleMask below = hn::Not(hn::Set(d, table[start]) > x);
        DoubleMask moved = hn::FirstN(d, 0);
        for (std::size_t next = 1; next < segments; ++next) {
            below = hn::And(below, hn::Not(hn::Set(d, table[next * segmentValues + start]) > x));
            if (hn::AllFalse(d, below))
                break;
            if (!hn::AllTrue(d, below)) {
                moved = below;
                break;
            }
            k = next;
        }
        const double* values = spread + k * segmentValues * maxLanes;
        // Otherwise lanes move on to segment k while every stop up to k lies
        // at or below x.
        HWY_ALIGN double mixed[segmentValues * maxLanes];
        if (!hn::AllFalse(d, moved)) {
            std::memcpy(mixed, values, sizeof mixed);
            values = mixed;
        }
        for (std::size_t next = k + 1; next < segments && !hn::AllFalse(d, moved); ++next) {
            const double* later = spread + next * segmentValues * maxLanes;
            for (int v = 0; v < segmentValues; ++v)
                hn::Store(hn::IfThenElse(moved, hn::LoadU(d, later + v * maxLanes), hn::Load(d, mixed + v * maxLanes)),
                          d, mixed + v * maxLanes);
            if (next + 1 < segments)
                moved = hn::And(moved, hn::Not(hn::Set(d, table[(next + 1) * segmentValues + start]) > x));
        }
        const auto s = [values](int v) TEX_INLINE_LAMBDA { return hn::LoadU(Doubles(), values + v * maxLanes); };

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
    HWY_DYNAMIC_DISPATCH(EvaluateRun)(stopList, segmentTangents.data(), x, out, n);
}

} // namespace tex
#endif
