#include "support/colour.h"

namespace tex {

Colour operator*(const Colour& c, double s)
{
    return Colour(c.r * s, c.g * s, c.b * s, c.a * s);
}

Colour operator+(const Colour& c1, const Colour& c2)
{
    return Colour(c1.r + c2.r, c1.g + c2.g, c1.b + c2.b, c1.a + c2.a);
}

Colour operator-(const Colour& c1, const Colour& c2)
{
    return Colour(c1.r - c2.r, c1.g - c2.g, c1.b - c2.b, c1.a - c2.a);
}

Colour lerp(const Colour& c0, const Colour& c1, double t)
{
    return c0 * (1 - t) + c1 * t;
}

} // namespace tex
