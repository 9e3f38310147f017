#include "texture/scalar/fractal_sum.h"

#include <cmath>
#include <limits>

namespace tex {

FractalSum::FractalSum(int octaves) : octaves(octaves)
{
    parameterList();
}

const ParameterList& FractalSum::parameterList()
{
    static const ParameterList list = extend(Basis::parameterList(), {
        ParameterInfo::integer("octaves", 1, 16, 8),
        ParameterInfo::real("lacunarity", 0.01, 4.0, 2.0),
    });
    return list;
}

const ParameterList& FractalSum::parameters() const
{
    return parameterList();
}

void FractalSum::setParameter(const std::string& name, double value)
{
    if (name == "lacunarity")
        lacunarity = value;
    else
        Basis::setParameter(name, value);
}

void FractalSum::setIntParameter(const std::string& name, int value)
{
    if (name == "octaves")
        octaves = value;
    else
        Basis::setIntParameter(name, value);
}

double FractalSum::getParameter(const std::string& name) const
{
    if (name == "lacunarity")
        return lacunarity;
    return Basis::getParameter(name);
}

int FractalSum::getIntParameter(const std::string& name) const
{
    if (name == "octaves")
        return octaves;
    return Basis::getIntParameter(name);
}

bool FractalSum::settled(double sum, double weight, double termBound, double scale) const
{
    const double top = applyContrast(std::numeric_limits<double>::infinity());
    // A contrast stage that gives the same at both ends gives it everywhere.
    if (applyContrast(-std::numeric_limits<double>::infinity()) == top)
        return true;
    // An infinite sum stays infinite or turns NaN, and NaN stays NaN.
    if (!std::isfinite(sum))
        return true;
    // With a lacunarity of magnitude 1 or more no later weight is larger
    // than this one, and no term larger than termBound; rounding is
    // monotone, so no later product is larger than termBound * |weight|.
    // Where four times that leaves the sum as it is, it is at most an
    // eighth of the spacing of doubles at the sum (half of the spacing
    // toward zero, which may be half as wide), and so is every later
    // product: adding it, either way, rounds back to the sum.
    if (std::fabs(lacunarity) >= 1 && sum + 4 * (termBound * std::fabs(weight)) == sum)
        return true;
    // With a positive lacunarity no product is negative and the sum only
    // grows; the contrast stage is monotone, so once it gives for the sum
    // what it gives for an infinite one, it gives that for every later sum.
    return lacunarity > 0 && applyContrast(scale * sum) == top;
}

} // namespace tex
