#include "support/colour_spline.h"

namespace tex {

void ColourSpline::setStops(const double* table, int count)
{
    stopList.clear();
    segmentTangents.clear();
    if (count <= 0)
        return;
    stopList.reserve(count);
    for (int k = 0; k < count; ++k) {
        const double* row = table + 5 * k;
        stopList.push_back(ColourStop{row[0], Colour(row[1], row[2], row[3], row[4])});
    }

    // The tangents at both ends of segment k, from its neighbours: stop
    // k - 1 (stop k itself for the first segment) and stop k + 2 (stop k + 1
    // for the last). They depend only on the stops, so every lookup shares them.
    segmentTangents.reserve(count - 1);
    for (int k = 0; k + 1 < count; ++k) {
        const ColourStop& s0 = stopList[k > 0 ? k - 1 : k];
        const ColourStop& s1 = stopList[k];
        const ColourStop& s2 = stopList[k + 1];
        const ColourStop& s3 = stopList[k + 2 < count ? k + 2 : k + 1];
        segmentTangents.push_back(Tangents{(s2.colour - s0.colour) * (1 / (s2.position - s0.position)),
                                           (s3.colour - s1.colour) * (1 / (s3.position - s1.position))});
    }
}

Colour ColourSpline::evaluate(double x) const
{
    const int n = static_cast<int>(stopList.size());
    if (n == 0)
        return Colour(0, 0, 0, 0);
    const ColourStop& last = stopList[n - 1];
    if (n == 1 || x >= last.position)
        return last.colour;

    // The first stop above x. The scan stops at the last stop, which lies
    // above any x that got this far, unless x is NaN.
    int above = 0;
    while (above < n - 1 && !(stopList[above].position > x))
        ++above;
    const int k = above > 0 ? above - 1 : 0;

    const ColourStop& s1 = stopList[k];
    const ColourStop& s2 = stopList[k + 1];

    // Only a value below a first segment of zero width lands here; its
    // tangent would divide by zero.
    if (!(s2.position > s1.position))
        return s1.colour;

    double t = (x - s1.position) / (s2.position - s1.position);
    if (t < 0)
        t = 0;
    if (t > 1)
        t = 1;

    const Colour& m1 = segmentTangents[k].m1;
    const Colour& m2 = segmentTangents[k].m2;

    const double t2 = t * t;
    const double t3 = t2 * t;
    const double h00 = 2 * t3 - 3 * t2 + 1;
    const double h10 = t3 - 2 * t2 + t;
    const double h01 = -2 * t3 + 3 * t2;
    const double h11 = t3 - t2;

    // P1 * h00 + m1 * h10 + P2 * h01 + m2 * h11, component by component:
    // written out here rather than with the Colour operators, which are calls.
    const auto hermite = [=](double p1, double d1, double p2, double d2) {
        return p1 * h00 + d1 * h10 + p2 * h01 + d2 * h11;
    };
    const Colour& p1 = s1.colour;
    const Colour& p2 = s2.colour;
    return Colour(hermite(p1.r, m1.r, p2.r, m2.r), hermite(p1.g, m1.g, p2.g, m2.g),
                  hermite(p1.b, m1.b, p2.b, m2.b), hermite(p1.a, m1.a, p2.a, m2.a));
}

} // namespace tex
