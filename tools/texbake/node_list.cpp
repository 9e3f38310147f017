#include "tools/texbake/node_list.h"

#include "texture/graph/number_text.h"
#include "texture/texture.h"

#include <iomanip>
#include <string>
#include <vector>

namespace texbake {

namespace {

using tex::NodeKind;
using tex::NodeType;

std::string range(double min, double max)
{
    return tex::numberText(min) + ".." + tex::numberText(max);
}

std::string argumentKind(const tex::ArgumentInfo& argument)
{
    static const char* const kinds[] = {"integer ", "power of two ", "real "};
    return kinds[static_cast<int>(argument.kind)] + range(argument.min, argument.max);
}

std::string argumentDefault(const tex::ArgumentInfo& argument)
{
    return argument.defaultValue ? tex::numberText(*argument.defaultValue) : "required";
}

std::string parameterKind(const tex::ParameterInfo& info)
{
    if (info.kind == tex::ParameterInfo::integerKind)
        return "integer " + range(info.min.intValue, info.max.intValue);
    return "real " + range(info.min.realValue, info.max.realValue);
}

std::string parameterDefault(const tex::ParameterInfo& info)
{
    return info.kind == tex::ParameterInfo::integerKind ? std::to_string(info.defaultValue.intValue)
                                                        : tex::numberText(info.defaultValue.realValue);
}

const char* kindName(NodeKind kind)
{
    return kind == NodeKind::Field ? "scalar field" : "colour function";
}

const char* const stopsText = "two or more [position, r, g, b, a], positions strictly ascending";

void line(std::ostream& out, const char* what, const std::string& name, const std::string& text,
          const char* description)
{
    out << "  " << std::left << std::setw(13) << what << std::setw(13) << name << text << " - " << description
        << '\n';
}

void printText(std::ostream& out)
{
    out << "Node types. A node gives its constructor arguments beside \"type\", its inputs as\n"
           "node ids in \"inputs\" and \"colourInputs\", and its parameters in \"parameters\".\n"
           "Ranges are inclusive.\n";
    for (const NodeType* type : tex::nodeTypes()) {
        out << '\n' << type->name << " (" << kindName(type->kind) << "): " << type->description << '\n';
        for (const tex::ArgumentInfo& argument : type->arguments)
            line(out, "constructor", argument.name,
                 argumentKind(argument) + (argument.defaultValue ? ", default " : ", ") + argumentDefault(argument),
                 argument.description);
        for (const tex::InputInfo& input : type->inputs)
            line(out, input.kind == NodeKind::Field ? "input" : "colourInput", input.name, kindName(input.kind),
                 input.description);
        if (type->stops)
            line(out, "stops", "required", stopsText, "the colour spline's stops");
        for (const tex::ParameterInfo& info : *type->parameters)
            line(out, "parameter", info.name, parameterKind(info) + ", default " + parameterDefault(info),
                 info.description.c_str());
    }
}

std::string code(const std::string& text)
{
    return "`" + text + "`";
}

// The names of `types`, or "every scalar field" where they are all of them.
std::string typeList(const std::vector<const NodeType*>& types)
{
    int fields = 0;
    for (const NodeType* type : tex::nodeTypes())
        fields += type->kind == NodeKind::Field ? 1 : 0;
    bool allFields = int(types.size()) == fields;
    for (const NodeType* type : types)
        allFields = allFields && type->kind == NodeKind::Field;
    if (allFields)
        return "every scalar field";
    std::string list;
    for (const NodeType* type : types)
        list += (list.empty() ? "" : ", ") + code(type->name);
    return list;
}

bool sameParameter(const tex::ParameterInfo& a, const tex::ParameterInfo& b)
{
    return a.name == b.name && a.description == b.description && parameterKind(a) == parameterKind(b)
        && parameterDefault(a) == parameterDefault(b);
}

void printMarkdown(std::ostream& out)
{
    out << "| Type | Kind | What it is | Inputs |\n|---|---|---|---|\n";
    for (const NodeType* type : tex::nodeTypes()) {
        std::string inputs;
        for (const tex::InputInfo& input : type->inputs)
            inputs += (inputs.empty() ? "" : "; ") + std::string(input.kind == NodeKind::Colour ? "colour " : "")
                + code(input.name) + ": " + input.description;
        if (type->stops)
            inputs += (inputs.empty() ? "" : "; ") + std::string("`\"stops\"`: ") + stopsText;
        out << "| " << code(type->name) << " | " << kindName(type->kind) << " | " << type->description << " | "
            << inputs << " |\n";
    }

    out << "\n| Type | Constructor argument | Kind and range | Default | What it does |\n|---|---|---|---|---|\n";
    for (const NodeType* type : tex::nodeTypes())
        for (const tex::ArgumentInfo& argument : type->arguments)
            out << "| " << code(type->name) << " | " << code(argument.name) << " | " << argumentKind(argument)
                << " | " << argumentDefault(argument) << " | " << argument.description << " |\n";

    // Each parameter once, with every type that has it.
    struct Row {
        const tex::ParameterInfo* info;
        std::vector<const NodeType*> types;
    };
    std::vector<Row> rows;
    for (const NodeType* type : tex::nodeTypes())
        for (const tex::ParameterInfo& info : *type->parameters) {
            Row* row = nullptr;
            for (Row& existing : rows)
                if (sameParameter(*existing.info, info))
                    row = &existing;
            if (row == nullptr) {
                rows.push_back({&info, {}});
                row = &rows.back();
            }
            row->types.push_back(type);
        }
    out << "\n| Types | Parameter | Kind and range | Default | What it does |\n|---|---|---|---|---|\n";
    for (const Row& row : rows)
        out << "| " << typeList(row.types) << " | " << code(row.info->name) << " | " << parameterKind(*row.info)
            << " | " << parameterDefault(*row.info) << " | " << row.info->description << " |\n";
}

} // namespace

void printNodeList(std::ostream& out, ListFormat format)
{
    if (format == ListFormat::Markdown)
        printMarkdown(out);
    else
        printText(out);
}

} // namespace texbake
