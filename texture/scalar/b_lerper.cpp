#include "texture/scalar/b_lerper.h"

#include "support/scalar.h"

namespace tex {

BLerper::BLerper()
{
    parameterList();
}

BLerper::~BLerper() = default;

const ParameterList& BLerper::parameterList()
{
    static const ParameterList list = extend(Basis::parameterList(), {
        ParameterInfo::real("amount", 0.0, 1.0, 0.5),
    });
    return list;
}

const ParameterList& BLerper::parameters() const
{
    return parameterList();
}

void BLerper::setParameter(const std::string& name, double value)
{
    if (name == "amount")
        amount = value;
    else
        Basis::setParameter(name, value);
}

double BLerper::getParameter(const std::string& name) const
{
    if (name == "amount")
        return amount;
    return Basis::getParameter(name);
}

double BLerper::value(double x, double y, double z)
{
    if (!inputsReady())
        return applyContrast(0.0);
    const double px = xscale * x;
    const double py = yscale * y;
    const double pz = zscale * z;
    const double b = input1->value(px, py, pz);
    const double a = input0->value(px, py, pz);
    return applyContrast(lerp(a, b, amount));
}

void BLerper::setInput(Basis* input, int index)
{
    if (index == 0)
        input0 = input;
    else if (index == 1)
        input1 = input;
}

int BLerper::inputCount() const
{
    return 2;
}

bool BLerper::inputsReady() const
{
    return input0 && input1;
}

} // namespace tex
