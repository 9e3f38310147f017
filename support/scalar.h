#pragma once

namespace tex {

// Scalar shaping functions shared by the texture functions.
//
// Everything that rounds is defined in scalar.cpp, which the library compiles
// without fused multiply-add: defined here, a + (b - a) * t could be fused
// into one rounding by the compiler of whoever includes this header, and the
// results would depend on that caller's flags. clamp and step only compare
// and hand back one of their arguments or a constant, which no flag can
// change; clamp stays inline because the contrast stage and baking run it for
// every value and every texel.

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
double lerp(double a, double b, double t);

// 0 if x < edge, otherwise 1.
double step(double edge, double x);

// t raised to the power ln(b) / ln(0.5), so that bias(b, 0.5) = b.
double bias(double b, double t);

// bias(1 - g, 2t) * 0.5 below t = 0.5, 1 - bias(1 - g, 2 - 2t) * 0.5 from there on.
double gain(double g, double t);

} // namespace tex
