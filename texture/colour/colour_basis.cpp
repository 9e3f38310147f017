#include "texture/colour/colour_basis.h"

namespace tex {

ColourBasis::~ColourBasis() = default;

const ParameterList& ColourBasis::parameterList()
{
    static const ParameterList list;
    return list;
}

const ParameterList& ColourBasis::parameters() const
{
    return parameterList();
}

const ParameterInfo* ColourBasis::findParameter(const std::string& name) const
{
    return findIn(parameters(), name);
}

void ColourBasis::setParameter(const std::string&, double) {}

void ColourBasis::setIntParameter(const std::string&, int) {}

double ColourBasis::getParameter(const std::string&) const
{
    return 0.0;
}

int ColourBasis::getIntParameter(const std::string&) const
{
    return 0;
}

void ColourBasis::setInput(Basis*, int) {}

void ColourBasis::setColourInput(ColourBasis*, int) {}

int ColourBasis::inputCount() const
{
    return 0;
}

int ColourBasis::colourInputCount() const
{
    return 0;
}

bool ColourBasis::inputsReady() const
{
    return true;
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
