#pragma once

#include "texture/scalar/basis.h"

namespace tex {

// Stretches space before sampling one field: input(p.x * xfactor,
// p.y * yfactor, p.z * zfactor) at the scaled point p.
// Parameters: the Basis ones, then "x", "y", "z" (real, -5..5, default 1.0),
// setting xfactor, yfactor, zfactor. One input, borrowed; until it is set,
// value() is applyContrast(0).
class BScaler : public Basis {
public:
    BScaler();
    ~BScaler() override;

    const ParameterList& parameters() const override;
    // "x", "y", "z", then the Basis names.
    void setParameter(const std::string& name, double value) override;
    double getParameter(const std::string& name) const override;

    double value(double x, double y, double z) override;
    // Index 0 sets the input; others are ignored.
    void setInput(Basis* input, int index) override;
    int inputCount() const override;
    bool inputsReady() const override;

    // "contrast", "xscale", "yscale", "zscale", "x", "y", "z".
    static const ParameterList& parameterList();

private:
    double xfactor = 1.0;
    double yfactor = 1.0;
    double zfactor = 1.0;
    Basis* input = nullptr;
};

} // namespace tex
