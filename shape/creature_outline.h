#pragma once

#include <cstddef>
#include <vector>

// The geometry of a creature's body and eye, apart from any GL: the points
// of its superformula outline, the same floats the world's display lists
// hold, and how far an outline or an eye disc may be thinned for its size
// on screen.

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

// What the whole outline of `samples` steps gives, found in one pass over
// its samples + 1 points without keeping them.
struct OutlineMeasure {
    // False when a radius is 0, infinite or not a number, or samples is not
    // positive: such a creature shows only its eye, at the size of a unit
    // creature.
    bool drawable;
    // 1 / the largest radius, or 1 when not drawable.
    double fitScale;
    // The length of the closed outline in formula units; 0 when not drawable.
    double perimeter;
};

OutlineMeasure measureOutline(const OutlineFormula& formula);

// Points 0, stride, 2 stride, ... of the outline and its closing point
// `samples`, each exactly as the full outline has it. With stride 1 that is
// the whole outline. stride must be at least 1; samples must be positive.
std::vector<OutlinePoint> outlinePoints(const OutlineFormula& formula, int stride);

// The most points a shape whose perimeter is `perimeterPixels` device
// pixels long is drawn with: twice its perimeter, and never fewer than
// minimumThinnedPoints.
int pointsForPerimeter(double perimeterPixels);
constexpr int minimumThinnedPoints = 8;

// The smallest step through the `samples` steps of an outline that keeps it
// to pointsForPerimeter(perimeterPixels) points: 1, the whole outline,
// when it has no more than that.
int outlineStride(int samples, double perimeterPixels);

// The rim of a unit disc as the eye draws it: 61 points pi / 30 apart, the
// last closing the rim on the first.
constexpr int discSteps = 60;
const OutlinePoint* discRimPoints();
// The step through the disc's 60 that keeps a rim of radius `radiusPixels`
// to pointsForPerimeter of its circumference; a divisor of 60, so that the
// last step closes the rim.
int discStride(double radiusPixels);
