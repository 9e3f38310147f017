#include "texture/scalar/b_scaler.h"

namespace tex {

BScaler::BScaler()
{
    parameterList();
}

BScaler::~BScaler() = default;

const ParameterList& BScaler::parameterList()
{
    static const ParameterList list = extend(Basis::parameterList(), {
        ParameterInfo::real("x", -5.0, 5.0, 1.0),
        ParameterInfo::real("y", -5.0, 5.0, 1.0),
        ParameterInfo::real("z", -5.0, 5.0, 1.0),
    });
    return list;
}

const ParameterList& BScaler::parameters() const
{
    return parameterList();
}

void BScaler::setParameter(const std::string& name, double value)
{
    if (name == "x")
        xfactor = value;
    else if (name == "y")
        yfactor = value;
    else if (name == "z")
        zfactor = value;
    else
        Basis::setParameter(name, value);
}

double BScaler::getParameter(const std::string& name) const
{
    if (name == "x")
        return xfactor;
    if (name == "y")
        return yfactor;
    if (name == "z")
        return zfactor;
    return Basis::getParameter(name);
}

double BScaler::value(double x, double y, double z)
{
    if (!input)
        return applyContrast(0.0);
    const double px = xscale * x;
    const double py = yscale * y;
    const double pz = zscale * z;
    return applyContrast(input->value(px * xfactor, py * yfactor, pz * zfactor));
}

void BScaler::setInput(Basis* field, int index)
{
    if (index == 0)
        input = field;
}

int BScaler::inputCount() const
{
    return 1;
}

bool BScaler::inputsReady() const
{
    return input != nullptr;
}

} // namespace tex
