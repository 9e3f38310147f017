#pragma once

#include "support/colour.h"
#include "support/colour_spline.h"
#include "texture/scalar/basis.h"
#include "texture/scalar/inputs.h"

#include <cstddef>

namespace tex {

// The base of every colour function: maps a point of texture space to a
// Colour, returned unclamped (baking clamps). Shares the named-parameter
// protocol with the scalar fields; the ColourBasis list itself is empty.
//
// colour() checks the inputs and calls the function's formula(); a colour
// function of your own gives the constructor its numbers of scalar and
// colour inputs, reads them with input(i) and colourInput(i), and overrides
// formula() (and, where evaluating many points together pays, formulaRun()),
// as a scalar field does (see Basis).
//
// Inputs, scalar (setInput) and colour (setColourInput), are borrowed:
// whoever builds the graph owns every node and keeps it alive while it is
// wired or used. Indices a class does not have are ignored. A colour
// function whose inputs are not all connected does not follow the missing
// ones: its colour() is transparent black (0, 0, 0, 0).
//
// Threads: colour() changes no state, neither the function's nor its
// inputs'. Once a graph is wired, its parameters set and its splines filled,
// any number of threads may call colour() on it at once (and the getters
// beside them). Setting a parameter, rewiring (setInput, setColourInput) or
// filling a spline while another thread evaluates or reads the graph is not
// supported. A class derived from ColourBasis keeps to the same rule: its
// formula() must not change state that another evaluation reads.
class ColourBasis : public Parameterised {
public:
    // A colour function with `inputCount` scalar and `colourInputCount`
    // colour inputs, none connected yet.
    explicit ColourBasis(int inputCount = 0, int colourInputCount = 0);
    ColourBasis(const ColourBasis&) = delete;
    ColourBasis& operator=(const ColourBasis&) = delete;

    virtual ~ColourBasis();

    // The colour at (x, y, z): formula(x, y, z), or transparent black while
    // an input is missing.
    Colour colour(double x, double y, double z) const;

    // colour() at each of n points: out[i] = colour(x[i], y[i], z[i]), to
    // the last bit, for any n and any points (a row of a grid or scattered
    // points alike). The library's colour functions compute many points at
    // once and hand whole runs down to their inputs (see Basis::values); a
    // colour function of your own that overrides only formula() is evaluated
    // a point at a time.
    void colours(const double* x, const double* y, const double* z, Colour* out, std::size_t n) const;

    // Connect a scalar field, or a colour function, as input number
    // `index`; null disconnects it. Each returns true once input `index`
    // holds what was given; false, leaving the wiring as it was, for an
    // index the class lacks and, for colour inputs, for a colour function
    // that would close a cycle (this one itself, or one that has this one
    // among the colour inputs below it).
    bool setInput(Basis* field, int index) { return inputs.set(field, index); }
    bool setColourInput(ColourBasis* colour, int index);
    // Number of scalar inputs.
    int inputCount() const { return inputs.count(); }
    // Number of colour inputs.
    int colourInputCount() const { return colourInputs.count(); }
    // True when every scalar and every colour input is connected.
    bool inputsReady() const { return inputs.allSet() && colourInputs.allSet(); }
    virtual bool hasSpline() const;
    // The owned spline of a colour map, open for filling; null otherwise.
    virtual ColourSpline* spline();

    // The program-wide (empty) list.
    static const ParameterList& parameterList();

protected:
    // The (empty) ColourBasis table, which the tables of derived classes extend.
    static const ParameterTable& parameterTable();

    // The colour at (x, y, z), unclamped. colour() calls it only once every
    // input is connected, so input(i) and colourInput(i) are never null here.
    virtual Colour formula(double x, double y, double z) const = 0;

    // formula() at each of n points, into out, to the last bit; colours()
    // calls it once every input is connected. This default calls formula() a
    // point at a time; the library's colour functions override it (see
    // Basis::formulaRun).
    virtual void formulaRun(const double* x, const double* y, const double* z, Colour* out, std::size_t n) const;

    // Scalar input number `index`, 0 <= index < inputCount(); null until connected.
    const Basis* input(int index) const { return inputs[index]; }
    // Colour input number `index`, 0 <= index < colourInputCount(); null until connected.
    const ColourBasis* colourInput(int index) const { return colourInputs[index]; }

private:
    Inputs<Basis> inputs;
    Inputs<ColourBasis> colourInputs;
};

} // namespace tex
