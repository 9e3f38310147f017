#pragma once

#include "texture/scalar/basis.h"

namespace tex {

// One field darkened by another: input0(p) * lerp(1, input1(p), amount) at
// the scaled point p. Input 0 is evaluated before input 1.
// Parameters: the Basis ones, then "amount" (real, 0..1, default 0.5).
// Two inputs, borrowed; until both are set, value() is applyContrast(0).
class BDarken : public Basis {
public:
    BDarken();
    ~BDarken() override;

    const ParameterList& parameters() const override;
    // "amount", then the Basis names.
    void setParameter(const std::string& name, double value) override;
    double getParameter(const std::string& name) const override;

    double value(double x, double y, double z) override;
    // Index 0 sets input 0, index 1 input 1; others are ignored.
    void setInput(Basis* input, int index) override;
    int inputCount() const override;
    bool inputsReady() const override;

    // "contrast", "xscale", "yscale", "zscale", "amount".
    static const ParameterList& parameterList();

private:
    Basis* input0 = nullptr;
    Basis* input1 = nullptr;
    double amount = 0.5;
};

} // namespace tex
