#pragma once

#include "texture/scalar/inputs.h"
#include "texture/scalar/parameterised.h"

#include <cstddef>

namespace tex {

// The base of every scalar field: maps a point of texture space to a value
// in [0.01, 0.99]. Adds the real parameters "contrast", "xscale", "yscale"
// and "zscale" (range 0..10, default 1.0; values outside the range are
// stored as given), the contrast stage through which every result passes,
// and the wiring of other fields as inputs.
//
// What every field shares is done here, once: value() checks the inputs,
// scales the point and passes the result through the contrast stage; a
// field defines only its formula() at the scaled point. A field of your own
// derives from Basis, gives the constructor its number of inputs, reads
// them with input(i), and overrides formula() (and, where evaluating many
// points together pays, formulaRun()):
//
//     class Ripple : public tex::Basis {
//     protected:
//         double formula(double x, double y, double) const override
//         {
//             return 0.5 + 0.5 * std::sin(x * y);
//         }
//     };
//
// Inputs are borrowed: a field never creates, copies or destroys a field
// wired into it, and whoever builds the graph keeps every node alive while
// it is wired or used. Call order: construct, set parameters, setInput until
// inputsReady(), then value() any number of times. A field whose inputs are
// not all connected does not follow the missing ones: its value() is
// applyContrast(0), the bottom of its range.
//
// Threads: value() changes no state, neither the field's nor its inputs'.
// Once a graph is wired and its parameters set, any number of threads may
// call value() on it at once (and the getters beside them). Setting a
// parameter or rewiring (setInput) while another thread evaluates or reads
// the graph is not supported. A class derived from Basis keeps to the same
// rule: its formula() must not change state that another evaluation reads.
class Basis : public Parameterised {
public:
    // A field with `inputCount` inputs, none connected yet.
    explicit Basis(int inputCount = 0);
    Basis(const Basis&) = delete;
    Basis& operator=(const Basis&) = delete;

    // clamp(0.01, 0.99, (v - 0.5) * contrast + 0.5), and 0.5, the middle of
    // the range, where that is NaN: for a NaN v, a NaN contrast, and an
    // infinite v at contrast 0 or an infinite contrast at v = 0.5. So a NaN
    // contrast acts as contrast 0, and every value is a number in range.
    // Defined in basis.cpp, compiled with the library's flags, so that no
    // caller's compiler fuses the multiply and the add.
    double applyContrast(double v) const;
    virtual ~Basis();

    // The field at (x, y, z): applyContrast(formula(xscale x, yscale y,
    // zscale z)), or applyContrast(0) while an input is missing. The same
    // bits as applyContrast, and defined beside it in basis.cpp for the
    // same reason.
    double value(double x, double y, double z) const;

    // value() at each of n points: out[i] = value(x[i], y[i], z[i]), to the
    // last bit, for any n and any points. A row of a grid is a run whose y
    // and z are the same at every point; arrays of scattered points are runs
    // too. The library's fields compute many points at once in the vector
    // lanes of the widest instruction set the processor has (see
    // support/simd/dispatch.h) and hand whole runs down to their inputs; a
    // field of your own that overrides only formula() is evaluated a point
    // at a time. out may be one of the coordinate arrays.
    void values(const double* x, const double* y, const double* z, double* out, std::size_t n) const;

    // Connects `input` as input number `index`; a null input disconnects
    // it. Returns true once input `index` holds `input`; false, leaving the
    // wiring as it was, for an index the class lacks and for an input that
    // would close a cycle (this field itself, or a field that has this one
    // among the inputs below it), which value() would follow without end.
    bool setInput(Basis* input, int index);
    int inputCount() const { return inputs.count(); }
    // True when every input index of the class has a field connected.
    bool inputsReady() const { return inputs.allSet(); }

    // The program-wide list: "contrast", "xscale", "yscale", "zscale".
    static const ParameterList& parameterList();

protected:
    // The four Basis parameters; the tables of derived classes extend it.
    static const ParameterTable& parameterTable();

    // The raw result at the scaled point (x, y, z), before the contrast
    // stage. value() calls it only once every input is connected, so
    // input(i) is never null here.
    virtual double formula(double x, double y, double z) const = 0;

    // formula() at each of n scaled points (at most 256 of them), into out,
    // to the last bit; values() calls it once every input is connected and
    // passes the results through the contrast stage. out is none of the
    // coordinate arrays. This default calls formula() a point at a time. The
    // library's fields override it where evaluating the points together is
    // faster or passes the run on to their inputs; so may a field of your
    // own.
    virtual void formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const;

    // Input number `index`, 0 <= index < inputCount(); null until connected.
    const Basis* input(int index) const { return inputs[index]; }

    double contrast;
    double xscale;
    double yscale;
    double zscale;

private:
    Inputs<Basis> inputs;
};

} // namespace tex
