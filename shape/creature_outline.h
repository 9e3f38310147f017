#pragma once

#include <cstddef>
#include <vector>

// The geometry of a creature's body and eye apart from any GL: the points
// of its superformula outline, the same floats the world's display lists
// hold, and how an outline or an eye disc is thinned for its size on screen.

// The values that define an outline. Two formulas are the same outline
// when every value has the same bits, so a NaN matches itself.
struct OutlineFormula {
    double a;
    double b;
    double m;
    double n1;
    double n2;
    double n3;
    int samples;

    bool operator==(const OutlineFormula& other) const;
};

struct OutlineFormulaHash {
    std::size_t operator()(const OutlineFormula& formula) const;
};

struct OutlinePoint {
    float x;
    float y;
};

// An outline evaluated once, in formula units.
struct Outline {
    // False when a radius is 0, infinite or not a number, a point lies
    // beyond a float, or samples is not positive: such a creature shows only
    // its eye, at the size of a unit creature.
    bool drawable = false;
    // 1 / the largest radius; 1 when not drawable.
    double fitScale = 1.0;
    // The length of the closed outline; 0 when not drawable.
    double perimeter = 0;
    // Points in order around the outline with their ranks: the largest
    // tolerance at which the outline simplified by Douglas-Peucker still
    // keeps the point. The first and last points, which close the outline,
    // rank infinite. Every point when there are fewer than wholeOutlineLimit;
    // beyond that only those ranked above a ten-thousandth of the largest
    // radius, which no screen tells from the rest.
    std::vector<OutlinePoint> points;
    std::vector<float> ranks;
    bool whole = false; // `points` holds every point
};
constexpr int wholeOutlineLimit = 4096;

Outline evaluateOutline(const OutlineFormula& formula);
// Every point of the outline, 0 to samples; samples must be positive.
std::vector<OutlinePoint> outlinePoints(const OutlineFormula& formula);

// Thinning. An outline keeps every point while it has no more of them than
// its perimeter has device pixels. Beyond that it is simplified: points go
// while the outline moves by no more than thinningTolerance pixels, keeping
// its tips and so its size, and at most one point per pixel of perimeter
// and at least eight remain.
constexpr double thinningTolerance = 0.2;
bool outlineThinned(int samples, double perimeterPixels);
// The points of `outline` ranked above `tolerance` (formula units), in
// order: at least eight, or all there are, and at most mostPoints.
std::vector<OutlinePoint> simplifiedOutline(const Outline& outline, double tolerance, int mostPoints);
// The most points an outline `perimeterPixels` long is thinned to.
int thinnedOutlinePoints(double perimeterPixels);

// The rim of a unit disc as the eye draws it: 61 points pi / 30 apart, the
// last closing the rim on the first.
constexpr int discSteps = 60;
const OutlinePoint* discRimPoints();
// An eye disc keeps at most two points per device pixel of its rim: the
// step through its 60 for a rim of radius `radiusPixels` on screen, a
// divisor of 60 so that the last step still closes the rim, and at most 10,
// a hexagon. Two, not one: at the world view's usual 800 pixels that leaves
// all but the smallest pupils whole.
int discStride(double radiusPixels);
