#include "texture/colour/colour_basis.h"

#include "texture/scalar/parameter_table.h"

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
