#include "support/colour_spline.h"

#include <algorithm>
#include <cmath>

namespace tex {

namespace {

// A colour component as a bake would store it when it is not finite: +inf
// as 1, -inf and NaN as 0. Finite components are kept as they are.
double finiteComponent(double c)
{
    if (std::isfinite(c))
        return c;
    return c > 0 ? 1.0 : 0.0;
}

} // namespace

void ColourSpline::setStops(const double* table, int count)
{
    stopList.clear();
    segmentTangents.clear();
    reach.clear();
    segments.clear();
    if (table == nullptr || count <= 0)
        return;
    stopList.reserve(count);
    for (int k = 0; k < count; ++k) {
        const double* row = table + 5 * k;
        if (!std::isfinite(row[0]))
            continue;
        stopList.push_back(ColourStop{row[0], Colour(finiteComponent(row[1]), finiteComponent(row[2]),
                                                     finiteComponent(row[3]), finiteComponent(row[4]))});
    }
    const int n = static_cast<int>(stopList.size());

    // The tangents at both ends of segment k, from its neighbours: stop
    // k - 1 (stop k itself for the first segment) and stop k + 2 (stop k + 1
    // for the last). They depend only on the stops, so every lookup shares them.
    if (n > 1)
        segmentTangents.reserve(2 * (n - 1));
    for (int k = 0; k + 1 < n; ++k) {
        const ColourStop& s0 = stopList[k > 0 ? k - 1 : k];
        const ColourStop& s1 = stopList[k];
        const ColourStop& s2 = stopList[k + 1];
        const ColourStop& s3 = stopList[k + 2 < n ? k + 2 : k + 1];
        segmentTangents.push_back((s2.colour - s0.colour) * (1 / (s2.position - s0.position)));
        segmentTangents.push_back((s3.colour - s1.colour) * (1 / (s3.position - s1.position)));
    }

    reach.reserve(n);
    for (const ColourStop& stop : stopList)
        reach.push_back(reach.empty() ? stop.position : std::max(reach.back(), stop.position));

    const auto put = [](double* at, const Colour& c) {
        at[0] = c.r;
        at[1] = c.g;
        at[2] = c.b;
        at[3] = c.a;
    };
    segments.resize(n > 1 ? std::size_t(n - 1) * segmentValues : 0);
    for (int k = 0; k + 1 < n; ++k) {
        double* segment = segments.data() + std::size_t(k) * segmentValues;
        segment[start] = stopList[k].position;
        segment[end] = stopList[k + 1].position;
        put(segment + p1, stopList[k].colour);
        put(segment + p2, stopList[k + 1].colour);
        put(segment + m1, segmentTangents[2 * k]);
        put(segment + m2, segmentTangents[2 * k + 1]);
    }
}

Colour ColourSpline::evaluate(double x) const
{
    const int n = static_cast<int>(stopList.size());
    if (n == 0)
        return Colour(0, 0, 0, 0);
    if (std::isnan(x))
        return stopList[0].colour;
    const ColourStop& last = stopList[n - 1];
    if (n == 1 || x >= last.position)
        return last.colour;

    const std::size_t k = segmentAt(x);

    const ColourStop& s1 = stopList[k];
    const ColourStop& s2 = stopList[k + 1];

    // Only a value below a first segment of zero width lands here; its
    // tangent would divide by zero.
    if (!(s2.position > s1.position))
        return s1.colour;

    // NaN only where both differences overflow, which needs stops near the
    // largest double.
    double t = (x - s1.position) / (s2.position - s1.position);
    if (std::isnan(t) || t < 0)
        t = 0;
    if (t > 1)
        t = 1;

    const Colour& m1 = segmentTangents[2 * k];
    const Colour& m2 = segmentTangents[2 * k + 1];

    const double t2 = t * t;
    const double t3 = t2 * t;
    const double h00 = 2 * t3 - 3 * t2 + 1;
    const double h10 = t3 - 2 * t2 + t;
    const double h01 = -2 * t3 + 3 * t2;
    const double h11 = t3 - t2;

    // P1 * h00 + m1 * h10 + P2 * h01 + m2 * h11, component by component:
    // written out here rather than with the Colour operators, which are
    // calls, and each looked at before the colour is made.
    const auto hermite = [=](double p1, double d1, double p2, double d2) {
        return p1 * h00 + d1 * h10 + p2 * h01 + d2 * h11;
    };
    const Colour& p1 = s1.colour;
    const Colour& p2 = s2.colour;
    const double r = hermite(p1.r, m1.r, p2.r, m2.r);
    const double g = hermite(p1.g, m1.g, p2.g, m2.g);
    const double b = hermite(p1.b, m1.b, p2.b, m2.b);
    const double a = hermite(p1.a, m1.a, p2.a, m2.a);
    // A tangent that overflowed (a neighbour span so narrow, or components so
    // large, that it is infinite) can make the curve NaN; the straight blend
    // of the segment's stops cannot be.
    if (std::isnan(r) || std::isnan(g) || std::isnan(b) || std::isnan(a))
        return lerp(p1, p2, t);
    return Colour(r, g, b, a);
}

} // namespace tex
