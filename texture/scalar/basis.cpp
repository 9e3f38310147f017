#include "texture/scalar/basis.h"

namespace tex {

Basis::Basis() : contrast(1.0), xscale(1.0), yscale(1.0), zscale(1.0)
{
    // Builds the program-wide list at the first construction.
    parameterList();
}

Basis::~Basis() = default;

const ParameterList& Basis::parameterList()
{
    static const ParameterList list = {
        ParameterInfo::real("contrast", 0.0, 10.0, 1.0),
        ParameterInfo::real("xscale", 0.0, 10.0, 1.0),
        ParameterInfo::real("yscale", 0.0, 10.0, 1.0),
        ParameterInfo::real("zscale", 0.0, 10.0, 1.0),
    };
    return list;
}

const ParameterList& Basis::parameters() const
{
    return parameterList();
}

const ParameterInfo* Basis::findParameter(const std::string& name) const
{
    return findIn(parameters(), name);
}

void Basis::setParameter(const std::string& name, double value)
{
    if (name == "contrast")
        contrast = value;
    else if (name == "xscale")
        xscale = value;
    else if (name == "yscale")
        yscale = value;
    else if (name == "zscale")
        zscale = value;
}

void Basis::setIntParameter(const std::string&, int) {}

double Basis::getParameter(const std::string& name) const
{
    if (name == "contrast")
        return contrast;
    if (name == "xscale")
        return xscale;
    if (name == "yscale")
        return yscale;
    if (name == "zscale")
        return zscale;
    return 0.0;
}

int Basis::getIntParameter(const std::string&) const
{
    return 0;
}

void Basis::setInput(Basis*, int) {}

int Basis::inputCount() const
{
    return 0;
}

bool Basis::inputsReady() const
{
    return true;
}

} // namespace tex
