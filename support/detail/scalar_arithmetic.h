#pragma once

// Inline forms of the scalar functions, for the library's own hot loops. Not
// installed: only code compiled with the library's flags (no fused
// multiply-add) may include it, so that inlining cannot change a result.

namespace tex::detail {

// a + (b - a) * t; t is not clamped.
inline double lerp(double a, double b, double t)
{
    return a + (b - a) * t;
}

} // namespace tex::detail
