#include "texture/scalar/b_darken.h"

#include "support/scalar.h"

namespace tex {

BDarken::BDarken()
{
    parameterList();
}

BDarken::~BDarken() = default;

const ParameterList& BDarken::parameterList()
{
    static const ParameterList list = extend(Basis::parameterList(), {
        ParameterInfo::real("amount", 0.0, 1.0, 0.5),
    });
    return list;
}

const ParameterList& BDarken::parameters() const
{
    return parameterList();
}

void BDarken::setParameter(const std::string& name, double value)
{
    if (name == "amount")
        amount = value;
    else
        Basis::setParameter(name, value);
}

double BDarken::getParameter(const std::string& name) const
{
    if (name == "amount")
        return amount;
    return Basis::getParameter(name);
}

double BDarken::value(double x, double y, double z)
{
    if (!inputsReady())
        return applyContrast(0.0);
    const double px = xscale * x;
    const double py = yscale * y;
    const double pz = zscale * z;
    const double a = input0->value(px, py, pz);
    const double b = input1->value(px, py, pz);
    return applyContrast(a * lerp(1.0, b, amount));
}

void BDarken::setInput(Basis* input, int index)
{
    if (index == 0)
        input0 = input;
    else if (index == 1)
        input1 = input;
}

int BDarken::inputCount() const
{
    return 2;
}

bool BDarken::inputsReady() const
{
    return input0 && input1;
}

} // namespace tex
