#include "texture/colour/colour_basis.h"

#include "texture/scalar/detail/runs.h"
#include "texture/scalar/parameter_table.h"

#include <algorithm>

namespace tex {

ColourBasis::ColourBasis(int inputCount, int colourInputCount) : inputs(inputCount), colourInputs(colourInputCount)
{
    useParameters(parameterTable());
}

ColourBasis::~ColourBasis() = default;

const ParameterTable& ColourBasis::parameterTable()
{
    static const ParameterTable table;
    return table;
}

const ParameterList& ColourBasis::parameterList()
{
    return parameterTable().list();
}

Colour ColourBasis::colour(double x, double y, double z) const
{
    if (!inputsReady())
        return Colour(0, 0, 0, 0);
    return formula(x, y, z);
}

void ColourBasis::colours(const double* x, const double* y, const double* z, Colour* out, std::size_t n) const
{
    if (!inputsReady()) {
        std::fill(out, out + n, Colour(0, 0, 0, 0));
        return;
    }
    const detail::RunNesting nesting;
    if (nesting.tooDeep()) {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = formula(x[i], y[i], z[i]);
        return;
    }
    formulaRun(x, y, z, out, n);
}

void ColourBasis::formulaRun(const double* x, const double* y, const double* z, Colour* out, std::size_t n) const
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = formula(x[i], y[i], z[i]);
}

bool ColourBasis::setColourInput(ColourBasis* colour, int index)
{
    return colourInputs.connect(this, colour, index, &ColourBasis::colourInputs);
}

bool ColourBasis::hasSpline() const
{
    return false;
}

ColourSpline* ColourBasis::spline()
{
    return nullptr;
}

} // namespace tex
