#include "texture/scalar/fbm.h"

FBM::FBM()
{
    parameterList();
}

FBM::~FBM() = default;

const ParameterList& FBM::parameterList()
{
    static const ParameterList list = extend(Basis::parameterList(), {
        ParameterInfo::integer("octaves", 1, 16, 8),
        ParameterInfo::real("lacunarity", 0.01, 4.0, 2.0),
    });
    return list;
}

const ParameterList& FBM::parameters() const
{
    return parameterList();
}

void FBM::setParameter(const std::string& name, double value)
{
    if (name == "lacunarity")
        lacunarity = value;
    else
        Basis::setParameter(name, value);
}

void FBM::setIntParameter(const std::string& name, int value)
{
    if (name == "octaves")
        octaves = value;
    else
        Basis::setIntParameter(name, value);
}

double FBM::getParameter(const std::string& name) const
{
    if (name == "lacunarity")
        return lacunarity;
    return Basis::getParameter(name);
}

int FBM::getIntParameter(const std::string& name) const
{
    if (name == "octaves")
        return octaves;
    return Basis::getIntParameter(name);
}

double FBM::value(double x, double y, double z)
{
    if (!input)
        return applyContrast(0.0);
    double sum = 0.0;
    double px = xscale * x;
    double py = yscale * y;
    double pz = zscale * z;
    double weight = 1.0;
    for (int octave = 0; octave < octaves; ++octave) {
        sum = sum + input->value(px, py, pz) * weight;
        px = px * lacunarity;
        py = py * lacunarity;
        pz = pz * lacunarity;
        weight = weight / lacunarity;
    }
    return applyContrast(sum * 0.5);
}

void FBM::setInput(Basis* field, int index)
{
    if (index == 0)
        input = field;
}

int FBM::inputCount() const
{
    return 1;
}

bool FBM::inputsReady() const
{
    return input != nullptr;
}
