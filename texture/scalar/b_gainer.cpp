#include "texture/scalar/b_gainer.h"

#include "support/scalar.h"

namespace tex {

BGainer::BGainer()
{
    parameterList();
}

BGainer::~BGainer() = default;

const ParameterList& BGainer::parameterList()
{
    static const ParameterList list = extend(Basis::parameterList(), {
        ParameterInfo::real("gain", 0.0, 1.0, 0.5),
    });
    return list;
}

const ParameterList& BGainer::parameters() const
{
    return parameterList();
}

void BGainer::setParameter(const std::string& name, double value)
{
    if (name == "gain")
        gain = value;
    else
        Basis::setParameter(name, value);
}

double BGainer::getParameter(const std::string& name) const
{
    if (name == "gain")
        return gain;
    return Basis::getParameter(name);
}

double BGainer::value(double x, double y, double z)
{
    if (!input)
        return applyContrast(0.0);
    const double v = input->value(xscale * x, yscale * y, zscale * z);
    return applyContrast(tex::gain(gain, v));
}

void BGainer::setInput(Basis* field, int index)
{
    if (index == 0)
        input = field;
}

int BGainer::inputCount() const
{
    return 1;
}

bool BGainer::inputsReady() const
{
    return input != nullptr;
}

} // namespace tex
