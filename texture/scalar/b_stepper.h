#pragma once

#include "texture/scalar/basis.h"

namespace tex {

// Thresholds one field: step(step, input(p)) at the scaled point p, so 0 below
// the threshold and 1 from it on (0.01 and 0.99 after the contrast stage).
// Parameters: the Basis ones, then "step" (real, 0..1, default 0.5).
// One input, borrowed; until it is set, value() is applyContrast(0).
class BStepper : public Basis {
public:
    BStepper();
    ~BStepper() override;

    const ParameterList& parameters() const override;
    // "step", then the Basis names.
    void setParameter(const std::string& name, double value) override;
    double getParameter(const std::string& name) const override;

    double value(double x, double y, double z) override;
    // Index 0 sets the input; others are ignored.
    void setInput(Basis* input, int index) override;
    int inputCount() const override;
    bool inputsReady() const override;

    // "contrast", "xscale", "yscale", "zscale", "step".
    static const ParameterList& parameterList();

private:
    double step = 0.5;
    Basis* input = nullptr;
};

} // namespace tex
