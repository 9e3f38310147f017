#pragma once

namespace tex {

// Scalar shaping functions shared by the texture functions.

// lo if lo > x; otherwise hi if x > hi; otherwise x. Bounds first, value last.
inline double clamp(double lo, double hi, double x)
{
    if (lo > x)
        return lo;
    if (x > hi)
        return hi;
    return x;
}

// a + (b - a) * t; t is not clamped.
inline double lerp(double a, double b, double t)
{
    return a + (b - a) * t;
}

// 0 if x < edge, otherwise 1.
double step(double edge, double x);

// t raised to the power ln(b) / ln(0.5), so that bias(b, 0.5) = b.
double bias(double b, double t);

// bias(1 - g, 2t) * 0.5 below t = 0.5, 1 - bias(1 - g, 2 - 2t) * 0.5 from there on.
double gain(double g, double t);

} // namespace tex
