#pragma once

#include "texture/texture.h"

#include <memory>

namespace texbake {

enum class NodeKind { Field, Colour };

// One texture function of a graph, owned: a scalar field or a colour
// function, seen through what the two share (named parameters, scalar
// inputs) and what only colour functions have (colour inputs, a spline).
class Node {
public:
    explicit Node(std::unique_ptr<tex::Basis> field);
    explicit Node(std::unique_ptr<tex::ColourBasis> colour);

    NodeKind kind() const { return field ? NodeKind::Field : NodeKind::Colour; }
    // The function itself: exactly one of the two is set.
    tex::Basis* asField() const { return field.get(); }
    tex::ColourBasis* asColour() const { return colour.get(); }

    tex::Parameterised& named() const;
    int inputCount() const;
    int colourInputCount() const;
    // False where the library refuses the connection (see Basis::setInput).
    bool setInput(tex::Basis* input, int index) const;
    bool setColourInput(tex::ColourBasis* input, int index) const;
    bool inputsReady() const;
    // The colour spline of a colour map; null for every other function.
    tex::ColourSpline* spline() const;

private:
    std::unique_ptr<tex::Basis> field;
    std::unique_ptr<tex::ColourBasis> colour;
};

} // namespace texbake
