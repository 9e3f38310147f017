#pragma once

// A colour of four doubles, nominally in [0, 1]. Arithmetic never clamps:
// spline overshoot, sums and scaled colours may leave the range, and only
// clampToUnit brings a colour back (baking does so for every texel).
struct Colour {
    double r;
    double g;
    double b;
    double a;

    Colour(double r, double g, double b, double a) : r(r), g(g), b(b), a(a) {}

    // Each component replaced by clamp(0, 1, component).
    void clampToUnit();
};

// Component-wise, alpha included.
Colour operator*(const Colour& c, double s);
Colour operator+(const Colour& c1, const Colour& c2);
Colour operator-(const Colour& c1, const Colour& c2);

// c0 * (1 - t) + c1 * t: two scalings, then one sum; t is not clamped.
Colour lerp(const Colour& c0, const Colour& c1, double t);
