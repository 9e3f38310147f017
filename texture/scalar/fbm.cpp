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
    // Every field's values lie in [0.01, 0.99].
    return octaveValue(x, y, z, 0.99, 0.5, [this](double px, double py, double pz) {
        return input->value(px, py, pz);
    });
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
