#include "texture/scalar/turbulence.h"

#include <cmath>

Turbulence::Turbulence(int seed, int octaves) : source(seed, 256), octaves(octaves)
{
    parameterList();
}

Turbulence::Turbulence(int octaves) : source(256), octaves(octaves)
{
    parameterList();
}

Turbulence::~Turbulence() = default;

const ParameterList& Turbulence::parameterList()
{
    static const ParameterList list = extend(Basis::parameterList(), {
        ParameterInfo::integer("octaves", 1, 16, 8),
        ParameterInfo::real("lacunarity", 0.01, 4.0, 2.0),
    });
    return list;
}

const ParameterList& Turbulence::parameters() const
{
    return parameterList();
}

void Turbulence::setParameter(const std::string& name, double value)
{
    if (name == "lacunarity")
        lacunarity = value;
    else
        Basis::setParameter(name, value);
}

void Turbulence::setIntParameter(const std::string& name, int value)
{
    if (name == "octaves")
        octaves = value;
    else
        Basis::setIntParameter(name, value);
}

double Turbulence::getParameter(const std::string& name) const
{
    if (name == "lacunarity")
        return lacunarity;
    return Basis::getParameter(name);
}

int Turbulence::getIntParameter(const std::string& name) const
{
    if (name == "octaves")
        return octaves;
    return Basis::getIntParameter(name);
}

double Turbulence::value(double x, double y, double z)
{
    double sum = 0.0;
    double px = xscale * x;
    double py = yscale * y;
    double pz = zscale * z;
    double weight = 1.0;
    for (int octave = 0; octave < octaves; ++octave) {
        sum = sum + std::fabs(source.noise(px, py, pz)) * weight;
        px = px * lacunarity;
        py = py * lacunarity;
        pz = pz * lacunarity;
        weight = weight / lacunarity;
    }
    return applyContrast(sum);
}
