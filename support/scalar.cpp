#include "support/scalar.h"

#include "support/detail/scalar_arithmetic.h"

#include <cmath>

namespace tex {

double lerp(double a, double b, double t)
{
    return detail::lerp(a, b, t);
}

double step(double edge, double x)
{
    return x < edge ? 0.0 : 1.0;
}

double bias(double b, double t)
{
    return std::pow(t, std::log(b) / std::log(0.5));
}

double gain(double g, double t)
{
    if (t < 0.5)
        return bias(1 - g, 2 * t) * 0.5;
    return 1 - bias(1 - g, 2 - 2 * t) * 0.5;
}

} // namespace tex
