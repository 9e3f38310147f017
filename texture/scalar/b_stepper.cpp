#include "texture/scalar/b_stepper.h"

#include "support/scalar.h"

namespace tex {

BStepper::BStepper()
{
    parameterList();
}

BStepper::~BStepper() = default;

const ParameterList& BStepper::parameterList()
{
    static const ParameterList list = extend(Basis::parameterList(), {
        ParameterInfo::real("step", 0.0, 1.0, 0.5),
    });
    return list;
}

const ParameterList& BStepper::parameters() const
{
    return parameterList();
}

void BStepper::setParameter(const std::string& name, double value)
{
    if (name == "step")
        step = value;
    else
        Basis::setParameter(name, value);
}

double BStepper::getParameter(const std::string& name) const
{
    if (name == "step")
        return step;
    return Basis::getParameter(name);
}

double BStepper::value(double x, double y, double z)
{
    if (!input)
        return applyContrast(0.0);
    const double v = input->value(xscale * x, yscale * y, zscale * z);
    return applyContrast(tex::step(step, v));
}

void BStepper::setInput(Basis* field, int index)
{
    if (index == 0)
        input = field;
}

int BStepper::inputCount() const
{
    return 1;
}

bool BStepper::inputsReady() const
{
    return input != nullptr;
}

} // namespace tex
