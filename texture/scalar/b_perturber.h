#pragma once

#include "texture/scalar/basis.h"

namespace tex {

// Domain distortion: samples input 0 at the scaled point p displaced by
// e * (xperturb, yperturb, zperturb), where e = input 1 at p. Input 1 is
// evaluated before input 0.
// Parameters: the Basis ones, then "xperturb", "yperturb", "zperturb" (real,
// -10..10, default 0.1). Two inputs, borrowed; until both are set, value()
// is applyContrast(0).
class BPerturber : public Basis {
public:
    BPerturber();
    ~BPerturber() override;

    const ParameterList& parameters() const override;
    // The perturb names, then the Basis names.
    void setParameter(const std::string& name, double value) override;
    double getParameter(const std::string& name) const override;

    double value(double x, double y, double z) override;
    // Index 0 is the perturbed field, index 1 the perturbing one; others are ignored.
    void setInput(Basis* input, int index) override;
    int inputCount() const override;
    bool inputsReady() const override;

    // "contrast", "xscale", "yscale", "zscale", "xperturb", "yperturb", "zperturb".
    static const ParameterList& parameterList();

private:
    double xperturb = 0.1;
    double yperturb = 0.1;
    double zperturb = 0.1;
    Basis* input0 = nullptr;
    Basis* input1 = nullptr;
};

} // namespace tex
