#include "texture/scalar/fractal_sum.h"

namespace tex {

FractalSum::FractalSum(int octaves) : octaves(octaves)
{
    parameterList();
}

const ParameterList& FractalSum::parameterList()
{
    static const ParameterList list = extend(Basis::parameterList(), {
        ParameterInfo::integer("octaves", 1, 16, 8),
        ParameterInfo::real("lacunarity", 0.01, 4.0, 2.0),
    });
    return list;
}

const ParameterList& FractalSum::parameters() const
{
    return parameterList();
}

void FractalSum::setParameter(const std::string& name, double value)
{
    if (name == "lacunarity")
        lacunarity = value;
    else
        Basis::setParameter(name, value);
}

void FractalSum::setIntParameter(const std::string& name, int value)
{
    if (name == "octaves")
        octaves = value;
    else
        Basis::setIntParameter(name, value);
}

double FractalSum::getParameter(const std::string& name) const
{
    if (name == "lacunarity")
        return lacunarity;
    return Basis::getParameter(name);
}

int FractalSum::getIntParameter(const std::string& name) const
{
    if (name == "octaves")
        return octaves;
    return Basis::getIntParameter(name);
}

} // namespace tex
