#include "support/scalar.h"

#include "support/detail/scalar_arithmetic.h"
#include "support/detail/scalar_runs.h"

#include <cmath>

namespace tex {

namespace {

// bias(b, t) is t to this power.
double biasExponent(double b)
{
    return std::log(b) / std::log(0.5);
}

// gain(g, t) for the exponent of bias(1 - g, .).
double gainWith(double exponent, double t)
{
    if (t < 0.5)
        return std::pow(2 * t, exponent) * 0.5;
    return 1 - std::pow(2 - 2 * t, exponent) * 0.5;
}

} // namespace

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
    return std::pow(t, biasExponent(b));
}

double gain(double g, double t)
{
    return gainWith(biasExponent(1 - g), t);
}

void detail::gainRun(double g, const double* t, double* out, std::size_t n)
{
    const double exponent = biasExponent(1 - g);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = gainWith(exponent, t[i]);
}

} // namespace tex
