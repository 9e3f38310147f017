#include "texture/scalar/fbm.h"

namespace tex {

FBM::FBM() : FractalSum(8)
{
}

FBM::~FBM() = default;

double FBM::value(double x, double y, double z)
{
    if (!input)
        return applyContrast(0.0);
    const double sum = octaveSum(x, y, z, [this](double px, double py, double pz) {
        return input->value(px, py, pz);
    });
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

} // namespace tex
