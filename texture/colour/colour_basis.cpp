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

void ColourBasis::setInput(Basis* field, int index)
{
    inputs.set(field, index);
}

void ColourBasis::setColourInput(ColourBasis* colour, int index)
{
    colourInputs.set(colour, index);
}

int ColourBasis::inputCount() const
{
    return inputs.count();
}

int ColourBasis::colourInputCount() const
{
    return colourInputs.count();
}

bool ColourBasis::inputsReady() const
{
    return inputs.allSet() && colourInputs.allSet();
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
