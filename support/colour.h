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

    // Each component replaced by clamp(0, 1, component). Inline: baking
    // clamps every texel.
    void clampToUnit()
    {
        r = clamp(0.0, 1.0, r);
        g = clamp(0.0, 1.0, g);
        b = clamp(0.0, 1.0, b);
        a = clamp(0.0, 1.0, a);
    }
};

// Component-wise, alpha included. Inline: the spline lookup runs them once
// per texel.
inline Colour operator*(const Colour& c, double s)
{
    return Colour(c.r * s, c.g * s, c.b * s, c.a * s);
}

inline Colour operator+(const Colour& c1, const Colour& c2)
{
    return Colour(c1.r + c2.r, c1.g + c2.g, c1.b + c2.b, c1.a + c2.a);
}

inline Colour operator-(const Colour& c1, const Colour& c2)
{
    return Colour(c1.r - c2.r, c1.g - c2.g, c1.b - c2.b, c1.a - c2.a);
}

// c0 * (1 - t) + c1 * t: two scalings, then one sum; t is not clamped.
inline Colour lerp(const Colour& c0, const Colour& c1, double t)
{
    return c0 * (1 - t) + c1 * t;
}

} // namespace tex
