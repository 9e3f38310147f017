#pragma once

#include "support/colour.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace tex {

struct ColourStop {
    double position;
    Colour colour;
};

// An ordered list of colour stops with a cubic Hermite lookup. Stops are kept
// in the order appended, never sorted; evaluate expects at least two stops
// with strictly ascending positions.
// Threads: evaluate changes nothing, so any number of threads may evaluate
// one spline at once; setStops must not run while another thread uses it.
class ColourSpline {
public:
    // Replaces every stop with `count` rows of `table`, five doubles a row:
    // position, r, g, b, a. A null table or a count of zero or less leaves
    // the spline empty.
    // A row whose position is NaN or infinite is left out; a colour
    // component that is not finite is taken as a bake would store it: +inf
    // as 1, -inf and NaN as 0.
    void setStops(const double* table, int count);

    // The colour at position x: the last stop's colour at or above the last
    // position, otherwise the Hermite curve through the segment holding x,
    // with tangents from the neighbouring stops (not scaled by the segment
    // width, so the curve may overshoot [0, 1]). Allocates nothing.
    // A NaN x gives the first stop's colour, as a position below the first
    // stop does. Never NaN: where a tangent overflows (a neighbour span
    // near zero width, components near the largest double) and makes the
    // curve NaN, the segment's stops are blended in a straight line instead.
    // Outside its contract: an empty spline gives transparent black, a single
    // stop gives that stop's colour, and a segment of zero width gives its
    // first stop's colour.
    Colour evaluate(double x) const;
    // evaluate() at each of n positions, to the last bit, several at once in
    // vector lanes (see support/simd/dispatch.h). Any n.
    // Its cost grows with n and with the logarithm of the stops: the
    // tables it reads are built by setStops.
    void evaluateRun(const double* x, Colour* out, std::size_t n) const;

    const std::vector<ColourStop>& stops() const { return stopList; }

    // What a lookup reads of segment k, the one from stop k to stop k + 1,
    // in this order: the two positions, then the components of the two stop
    // colours and of the two tangents. segmentTable() holds them segment by
    // segment.
    static constexpr int segmentValues = 18;
    enum SegmentValue { start = 0, end = 1, p1 = 2, p2 = 6, m1 = 10, m2 = 14 };
    const double* segmentTable() const { return segments.data(); }

    // The segment evaluate() reads at x, found by bisection: the one before
    // the first stop above x (the first segment where none is, the last
    // where only the last stop is). Two stops at least.
    std::size_t segmentAt(double x) const
    {
        // The last stop is never looked at: above it or not, x lies in the
        // last segment.
        const auto firstAbove = std::upper_bound(reach.begin(), reach.end() - 1, x);
        const std::size_t above = std::size_t(firstAbove - reach.begin());
        return above > 0 ? above - 1 : 0;
    }

private:
    std::vector<ColourStop> stopList;
    // Slopes per unit of position at the start (2k) and end (2k + 1) of the
    // segment from stop k to stop k + 1.
    std::vector<Colour> segmentTangents;
    // reach[k]: the highest position among stops 0 to k. It never falls, so
    // the first stop above x, which is where reach first rises above x, is
    // found by bisection even where stops are out of order.
    std::vector<double> reach;
    std::vector<double> segments;
};

} // namespace tex
