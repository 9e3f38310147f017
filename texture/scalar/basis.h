#pragma once

#include "support/scalar.h"
#include "texture/scalar/parameterised.h"

#include <cmath>

namespace tex {

// The base of every scalar field: maps a point of texture space to a value
// in [0.01, 0.99]. Adds the real parameters "contrast", "xscale", "yscale"
// and "zscale" (all 1.0 after construction), the contrast stage through
// which every result passes, and the wiring of other fields as inputs.
//
// Inputs are borrowed: a field never creates, copies or destroys a field
// wired into it. Call order: construct, set parameters, setInput until
// inputsReady(), then value() any number of times. A field whose inputs are
// not all connected does not follow the missing ones: its value() is
// applyContrast(0), the bottom of its range.
class Basis : public Parameterised {
public:
    Basis();
    Basis(const Basis&) = delete;
    Basis& operator=(const Basis&) = delete;

    const ParameterList& parameters() const override;
    const ParameterInfo* findParameter(const std::string& name) const override;
    void setParameter(const std::string& name, double value) override;
    void setIntParameter(const std::string& name, int value) override;
    double getParameter(const std::string& name) const override;
    int getIntParameter(const std::string& name) const override;

    // clamp(0.01, 0.99, (v - 0.5) * contrast + 0.5), and 0.5, the middle of
    // the range, where that is NaN: for a NaN v, a NaN contrast, and an
    // infinite v at contrast 0 or an infinite contrast at v = 0.5. So a NaN
    // contrast acts as contrast 0, and every value is a number in range.
    virtual double applyContrast(double v) const
    {
        const double d = v - 0.5;
        const double r = d * contrast + 0.5;
        if (std::isnan(r))
            return 0.5;
        return clamp(0.01, 0.99, r);
    }
    virtual ~Basis();
    virtual double value(double x, double y, double z) = 0;
    // Connects `input` as input number `index`; indices a class lacks are ignored.
    virtual void setInput(Basis* input, int index);
    virtual int inputCount() const;
    // True when every input index of the class has a field connected.
    virtual bool inputsReady() const;

    // The program-wide list: "contrast", "xscale", "yscale", "zscale".
    static const ParameterList& parameterList();

protected:
    double contrast;
    double xscale;
    double yscale;
    double zscale;
};

} // namespace tex
