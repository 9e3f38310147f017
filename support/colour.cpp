#include "support/colour.h"

#include "support/scalar.h"

void Colour::clampToUnit()
{
    r = clamp(0.0, 1.0, r);
    g = clamp(0.0, 1.0, g);
    b = clamp(0.0, 1.0, b);
    a = clamp(0.0, 1.0, a);
}

Colour lerp(const Colour& c0, const Colour& c1, double t)
{
    return c0 * (1 - t) + c1 * t;
}
