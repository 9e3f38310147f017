#include "texture/colour/c_darken.h"

#include "support/scalar.h"

#include <cmath>
#include <limits>

namespace tex {

namespace {

// A NaN factor (a NaN darken) counts as 1: the colour passes as at darken 0.
// An infinite one (an infinite darken) counts as the largest finite factor
// of its sign, so that a component of 0 stays 0 instead of becoming NaN.
double soundFactor(double f)
{
    if (std::isnan(f))
        return 1.0;
    const double most = std::numeric_limits<double>::max();
    return clamp(-most, most, f);
}

} // namespace

CDarken::CDarken()
{
    parameterList();
}

CDarken::~CDarken() = default;

const ParameterList& CDarken::parameterList()
{
    static const ParameterList list = extend(ColourBasis::parameterList(), {
        ParameterInfo::real("darken", 0.0, 1.0, 0.5),
    });
    return list;
}

const ParameterList& CDarken::parameters() const
{
    return parameterList();
}

void CDarken::setParameter(const std::string& name, double value)
{
    if (name == "darken")
        darken = value;
    else
        ColourBasis::setParameter(name, value);
}

double CDarken::getParameter(const std::string& name) const
{
    if (name == "darken")
        return darken;
    return ColourBasis::getParameter(name);
}

Colour CDarken::colour(double x, double y, double z)
{
    if (!inputsReady())
        return Colour(0, 0, 0, 0);
    const double v = input->value(x, y, z);
    const double f = soundFactor(lerp(1.0, v, darken));
    const Colour c = colourInput->colour(x, y, z);
    return c * f;
}

void CDarken::setInput(Basis* field, int index)
{
    if (index == 0)
        input = field;
}

void CDarken::setColourInput(ColourBasis* colour, int index)
{
    if (index == 0)
        colourInput = colour;
}

int CDarken::inputCount() const
{
    return 1;
}

int CDarken::colourInputCount() const
{
    return 1;
}

bool CDarken::inputsReady() const
{
    return input && colourInput;
}

} // namespace tex
