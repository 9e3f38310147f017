#include "tools/texbake/node.h"

namespace texbake {

Node::Node(std::unique_ptr<tex::Basis> field) : field(std::move(field)) {}

Node::Node(std::unique_ptr<tex::ColourBasis> colour) : colour(std::move(colour)) {}

tex::Parameterised& Node::named() const
{
    if (field)
        return *field;
    return *colour;
}

int Node::inputCount() const
{
    return field ? field->inputCount() : colour->inputCount();
}

int Node::colourInputCount() const
{
    return field ? 0 : colour->colourInputCount();
}

bool Node::setInput(tex::Basis* input, int index) const
{
    return field ? field->setInput(input, index) : colour->setInput(input, index);
}

bool Node::setColourInput(tex::ColourBasis* input, int index) const
{
    return colour && colour->setColourInput(input, index);
}

bool Node::inputsReady() const
{
    return field ? field->inputsReady() : colour->inputsReady();
}

tex::ColourSpline* Node::spline() const
{
    return colour && colour->hasSpline() ? colour->spline() : nullptr;
}

} // namespace texbake
