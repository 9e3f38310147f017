#include "texture/scalar/node_type.h"

#include <climits>

namespace tex {

ArgumentInfo ArgumentInfo::seed(const char* name, const char* description)
{
    return {name, description, Kind::Integer, INT_MIN, INT_MAX, std::nullopt};
}

NodeType::NodeType(const char* name, const char* description, const ParameterList& parameters)
    : name(name), description(description), parameters(&parameters)
{
}

NodeType& NodeType::field(MakeField make)
{
    kind = NodeKind::Field;
    makeField = make;
    return *this;
}

NodeType& NodeType::colour(MakeColour make)
{
    kind = NodeKind::Colour;
    makeColour = make;
    return *this;
}

NodeType& NodeType::argument(const ArgumentInfo& info)
{
    arguments.push_back(info);
    return *this;
}

NodeType& NodeType::input(const char* name, const char* description)
{
    inputs.push_back({name, description, NodeKind::Field});
    return *this;
}

NodeType& NodeType::colourInput(const char* name, const char* description)
{
    inputs.push_back({name, description, NodeKind::Colour});
    return *this;
}

NodeType& NodeType::withStops()
{
    stops = true;
    return *this;
}

NodeType& NodeType::costs(SampleCost cost)
{
    declaredCost = cost;
    return *this;
}

int NodeType::inputCount(NodeKind kind) const
{
    int count = 0;
    for (const InputInfo& input : inputs)
        count += input.kind == kind ? 1 : 0;
    return count;
}

ArgumentValues NodeType::defaultArguments() const
{
    ArgumentValues values;
    for (const ArgumentInfo& argument : arguments)
        values.push_back(argument.defaultValue.value_or(argument.min));
    return values;
}

const ParameterInfo* NodeType::findParameter(const std::string& name) const
{
    for (const ParameterInfo& info : *parameters)
        if (info.name == name)
            return &info;
    return nullptr;
}

int bisectionSteps(std::size_t stops)
{
    int steps = 0;
    for (; stops > 0; stops >>= 1)
        ++steps;
    return steps;
}

} // namespace tex
