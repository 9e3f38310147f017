#include "tools/texbake/node_list.h"

#include "tools/texbake/node_registry.h"
#include "tools/texbake/number_text.h"

#include <iomanip>
#include <string>

namespace texbake {

namespace {

void line(std::ostream& out, const char* what, const std::string& name, const std::string& text)
{
    out << "  " << std::left << std::setw(13) << what << std::setw(13) << name << text << '\n';
}

std::string range(double min, double max)
{
    return numberText(min) + ".." + numberText(max);
}

std::string argumentText(const ConstructorArgument& argument)
{
    static const char* const kinds[] = {"integer ", "power of two ", "real "};
    return kinds[static_cast<int>(argument.kind)] + range(argument.min, argument.max) + ", "
        + (argument.defaultValue ? "default " + numberText(*argument.defaultValue) : "required");
}

std::string parameterText(const tex::ParameterInfo& info)
{
    if (info.kind == tex::ParameterInfo::integerKind)
        return "integer " + range(info.min.intValue, info.max.intValue) + ", default "
            + std::to_string(info.defaultValue.intValue);
    return "real " + range(info.min.realValue, info.max.realValue) + ", default "
        + numberText(info.defaultValue.realValue);
}

} // namespace

void printNodeList(std::ostream& out)
{
    out << "Node types. A node gives its constructor arguments beside \"type\", its inputs as\n"
           "node ids in \"inputs\" and \"colourInputs\", and its parameters in \"parameters\".\n"
           "Ranges are inclusive.\n";
    for (const NodeType& type : nodeTypes()) {
        const Node node = type.sample();
        out << '\n' << type.name << (node.kind() == NodeKind::Field ? " (scalar field)" : " (colour function)") << '\n';
        for (const ConstructorArgument& argument : type.arguments)
            line(out, "constructor", argument.name, argumentText(argument));
        if (node.inputCount() > 0)
            line(out, "inputs", std::to_string(node.inputCount()), "scalar field(s)");
        if (node.colourInputCount() > 0)
            line(out, "colourInputs", std::to_string(node.colourInputCount()), "colour function(s)");
        if (node.spline() != nullptr)
            line(out, "stops", "required", "two or more [position, r, g, b, a], positions ascending");
        for (const tex::ParameterInfo& info : node.named().parameters())
            line(out, "parameter", info.name, parameterText(info));
    }
}

} // namespace texbake
