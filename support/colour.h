#pragma once

#include "support/scalar.h"

namespace tex {

// A colour of four doubles, nominally in [0, 1]. Arithmetic never clamps:
// spline overshoot, sums and scaled colours may leave the range, and only
// clampToUnit brings a colour back (baking does so for every texel).
struct Colour {
    double r;
    double g;
    double b;
    double a;

    constexpr Colour(double r, double g, double b, double a) : r(r), g(g), b(b), a(a) {}

    // Each component replaced by clamp(0, 1, component). Inline, since baking
    // clamps every texel; it only compares (see clamp), so the caller's
    // compiler flags cannot change it.
    void clampToUnit()
    {
        r = clamp(0.0, 1.0, r);
        g = clamp(0.0, 1.0, g);
        b = clamp(0.0, 1.0, b);
        a = clamp(0.0, 1.0, a);
    }
};

// Component-wise, alpha included. Defined in colour.cpp, compiled with the
// library's flags: inline, a caller's compiler could fuse c * s + d across
// two calls into one rounding.
Colour operator*(const Colour& c, double s);
Colour operator+(const Colour& c1, const Colour& c2);
Colour operator-(const Colour& c1, const Colour& c2);

// c0 * (1 - t) + c1 * t: two scalings, then one sum; t is not clamped.
Colour lerp(const Colour& c0, const Colour& c1, double t);

} // namespace tex
