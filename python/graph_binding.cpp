#include "python/binding.h"

#include <pybind11/stl.h>

namespace sftex {

namespace {

const char* kindName(tex::NodeKind kind)
{
    return kind == tex::NodeKind::Field ? "field" : "colour";
}

py::dict argumentEntry(const tex::ArgumentInfo& argument)
{
    static const char* const kinds[] = {"integer", "power of two", "real"};
    py::dict entry;
    entry["name"] = argument.name;
    entry["description"] = argument.description;
    entry["kind"] = kinds[static_cast<int>(argument.kind)];
    entry["min"] = argument.min;
    entry["max"] = argument.max;
    entry["default"] = argument.defaultValue ? py::cast(*argument.defaultValue) : py::none();
    return entry;
}

py::dict parameterEntry(const tex::ParameterInfo& info)
{
    const bool integer = info.kind == tex::ParameterInfo::integerKind;
    const auto number = [integer](tex::ParameterValue value) {
        return integer ? py::cast(value.intValue) : py::cast(value.realValue);
    };
    py::dict entry;
    entry["name"] = info.name;
    entry["description"] = info.description;
    entry["kind"] = integer ? "integer" : "real";
    entry["min"] = number(info.min);
    entry["max"] = number(info.max);
    entry["default"] = number(info.defaultValue);
    return entry;
}

// Every node type as plain Python data, in the catalogue's order.
py::list catalogue()
{
    py::list types;
    for (const tex::NodeType* type : tex::nodeTypes()) {
        py::dict entry;
        entry["name"] = type->name;
        entry["description"] = type->description;
        entry["kind"] = kindName(type->kind);
        py::list arguments, inputs, parameters;
        for (const tex::ArgumentInfo& argument : type->arguments)
            arguments.append(argumentEntry(argument));
        for (const tex::InputInfo& input : type->inputs)
            inputs.append(py::dict(py::arg("name") = input.name, py::arg("description") = input.description,
                                   py::arg("kind") = kindName(input.kind)));
        for (const tex::ParameterInfo& info : *type->parameters)
            parameters.append(parameterEntry(info));
        entry["arguments"] = arguments;
        entry["inputs"] = inputs;
        entry["stops"] = type->stops;
        entry["parameters"] = parameters;
        types.append(entry);
    }
    return types;
}

GraphHandle readGraphText(const std::string& text, const std::string& source)
{
    tex::GraphError error;
    std::optional<tex::Graph> graph;
    {
        py::gil_scoped_release release;
        graph = tex::readGraph(text, error);
    }
    if (!graph)
        raiseGraphError(error.describe(source));
    return GraphHandle{std::make_shared<const tex::Graph>(std::move(*graph))};
}

} // namespace

void bindGraphs(py::module_& m)
{
    m.def("catalogue", &catalogue, "Every node type: name, description, kind, arguments, inputs, stops, parameters.");
    m.def("read_graph_text", &readGraphText, py::arg("text"), py::arg("source"),
          "The graph of a graph file's text; GraphError, naming `source`, when it is refused.");

    py::class_<GraphHandle>(m, "Graph", "A texture graph that passed every check of the graph reader.")
        .def("text", [](const GraphHandle& g) { return tex::writeGraph(*g.graph); },
             "The graph as a graph file's text.")
        .def_property_readonly("output", [](const GraphHandle& g) { return g.output().id; })
        .def_property_readonly("kind", [](const GraphHandle& g) { return kindName(g.output().type->kind); })
        .def_property_readonly("cost", [](const GraphHandle& g) { return g.graph->cost(); },
                               "What one sample costs, in evaluations of leaves.")
        .def_property_readonly("node_ids", [](const GraphHandle& g) {
            std::vector<std::string> ids;
            for (const tex::GraphNode& node : g.graph->nodes())
                ids.push_back(node.id);
            return ids;
        });
}

} // namespace sftex
