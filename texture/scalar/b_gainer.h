#pragma once

#include "texture/scalar/basis.h"

namespace tex {

// Reshapes one field with the gain curve: gain(gain, input(p)) at the scaled
// point p. A gain of 0.5 passes the input through unchanged.
// Parameters: the Basis ones, then "gain" (real, 0..1, default 0.5).
// One input, borrowed; until it is set, value() is applyContrast(0).
class BGainer : public Basis {
public:
    BGainer();
    ~BGainer() override;

    const ParameterList& parameters() const override;
    // "gain", then the Basis names.
    void setParameter(const std::string& name, double value) override;
    double getParameter(const std::string& name) const override;

    double value(double x, double y, double z) override;
    // Index 0 sets the input; others are ignored.
    void setInput(Basis* input, int index) override;
    int inputCount() const override;
    bool inputsReady() const override;

    // "contrast", "xscale", "yscale", "zscale", "gain".
    static const ParameterList& parameterList();

private:
    double gain = 0.5;
    Basis* input = nullptr;
};

} // namespace tex
