#pragma once

#include "support/colour.h"
#include "support/colour_spline.h"
#include "texture/scalar/basis.h"

namespace tex {

// The base of every colour function: maps a point of texture space to a
// Colour, returned unclamped (baking clamps). Shares the named-parameter
// protocol with the scalar fields; the ColourBasis list itself is empty.
//
// Inputs, scalar (setInput) and colour (setColourInput), are borrowed:
// whoever builds the graph owns every node. Indices a class does not have
// are ignored. A colour function whose inputs are not all connected does not
// follow the missing ones: its colour() is transparent black (0, 0, 0, 0).
class ColourBasis : public Parameterised {
public:
    ColourBasis() = default;
    ColourBasis(const ColourBasis&) = delete;
    ColourBasis& operator=(const ColourBasis&) = delete;

    const ParameterList& parameters() const override;
    const ParameterInfo* findParameter(const std::string& name) const override;
    void setParameter(const std::string& name, double value) override;
    void setIntParameter(const std::string& name, int value) override;
    double getParameter(const std::string& name) const override;
    int getIntParameter(const std::string& name) const override;

    virtual ~ColourBasis();
    virtual Colour colour(double x, double y, double z) = 0;
    virtual void setInput(Basis* field, int index);
    virtual void setColourInput(ColourBasis* colour, int index);
    // Number of scalar inputs.
    virtual int inputCount() const;
    // Number of colour inputs.
    virtual int colourInputCount() const;
    virtual bool inputsReady() const;
    virtual bool hasSpline() const;
    // The owned spline of a colour map, open for filling; null otherwise.
    virtual ColourSpline* spline();

    // The program-wide (empty) list.
    static const ParameterList& parameterList();
};

} // namespace tex
