#include "texture/scalar/b_perturber.h"

namespace tex {

BPerturber::BPerturber()
{
    parameterList();
}

BPerturber::~BPerturber() = default;

const ParameterList& BPerturber::parameterList()
{
    static const ParameterList list = extend(Basis::parameterList(), {
        ParameterInfo::real("xperturb", -10.0, 10.0, 0.1),
        ParameterInfo::real("yperturb", -10.0, 10.0, 0.1),
        ParameterInfo::real("zperturb", -10.0, 10.0, 0.1),
    });
    return list;
}

const ParameterList& BPerturber::parameters() const
{
    return parameterList();
}

void BPerturber::setParameter(const std::string& name, double value)
{
    if (name == "xperturb")
        xperturb = value;
    else if (name == "yperturb")
        yperturb = value;
    else if (name == "zperturb")
        zperturb = value;
    else
        Basis::setParameter(name, value);
}

double BPerturber::getParameter(const std::string& name) const
{
    if (name == "xperturb")
        return xperturb;
    if (name == "yperturb")
        return yperturb;
    if (name == "zperturb")
        return zperturb;
    return Basis::getParameter(name);
}

double BPerturber::value(double x, double y, double z)
{
    if (!inputsReady())
        return applyContrast(0.0);
    const double sx = xscale * x;
    const double sy = yscale * y;
    const double sz = zscale * z;
    const double e = input1->value(sx, sy, sz);
    const double r = input0->value(sx + e * xperturb, sy + e * yperturb, sz + e * zperturb);
    return applyContrast(r);
}

void BPerturber::setInput(Basis* input, int index)
{
    if (index == 0)
        input0 = input;
    else if (index == 1)
        input1 = input;
}

int BPerturber::inputCount() const
{
    return 2;
}

bool BPerturber::inputsReady() const
{
    return input0 && input1;
}

} // namespace tex
