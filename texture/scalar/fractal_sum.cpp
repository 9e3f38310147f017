#include "texture/scalar/fractal_sum.h"

#include "texture/scalar/parameter_table.h"

#include <cmath>
#include <limits>

namespace tex {

FractalSum::FractalSum(int inputCount) : Basis(inputCount)
{
    useParameters(parameterTable());
}

const ParameterTable& FractalSum::parameterTable()
{
    static const ParameterTable table(Basis::parameterTable(), {
        ParameterTable::integer("octaves", 1, 16, 8, &FractalSum::octaves, "how many octaves are summed"),
        ParameterTable::real("lacunarity", 0.01, 4.0, 2.0, &FractalSum::lacunarity,
                             "each octave's frequency factor, and the divisor of its weight"),
    });
    return table;
}

FractalSum::FractalSum(int inputCount, int octaves) : FractalSum(inputCount)
{
    this->octaves = octaves;
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
