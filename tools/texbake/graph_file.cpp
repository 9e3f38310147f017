#include "tools/texbake/graph.h"

#include "tools/texbake/json_document.h"
#include "tools/texbake/node_registry.h"
#include "tools/texbake/number_text.h"

#include <algorithm>
#include <climits>
#include <map>
#include <optional>

namespace texbake {

namespace {

using nlohmann::json;

// How many nodes deep a graph may be: evaluation recurses through the
// inputs, and a deeper graph would be a typing accident rather than a
// texture.
constexpr int maxDepth = 1000;

const char* const formatName = "texbake-graph";
constexpr int formatVersion = 1;

// A reference from one node to another, for the second pass.
struct Reference {
    std::size_t from;
    std::size_t to;
    std::string at;
};

std::string inputsText(int count, const char* kind)
{
    return std::to_string(count) + " " + kind + (count == 1 ? " input" : " inputs");
}

std::string parameterNames(const tex::Parameterised& function)
{
    std::string names;
    for (const tex::ParameterInfo& info : function.parameters())
        names += (names.empty() ? "" : ", ") + quotedText(info.name);
    return names.empty() ? "it has none" : "it has " + names;
}

// The value of an integer JSON number, saturated to the range of long long;
// none for anything else, a number with a fraction or exponent included.
std::optional<long long> integerOf(const json& value)
{
    if (value.is_number_unsigned()) {
        const auto u = value.get<unsigned long long>();
        return u > static_cast<unsigned long long>(LLONG_MAX) ? LLONG_MAX : static_cast<long long>(u);
    }
    if (value.is_number_integer())
        return value.get<long long>();
    return std::nullopt;
}

class GraphReader {
public:
    explicit GraphReader(const std::string& source) : source(source) {}

    Graph read(const std::string& text)
    {
        const json document = parseDocument(text, source);
        if (!document.is_object())
            fail("", "a graph file is a JSON object with \"format\", \"version\", \"nodes\" and \"output\"");
        checkKeys(document, "", {"format", "version", "nodes", "output"});
        checkFormat(document);

        const json& list = required(document, "", "nodes");
        if (!list.is_array() || list.empty())
            fail("/nodes", "must be an array of at least one node");
        for (std::size_t i = 0; i < list.size(); ++i)
            readNode(list[i], pointer("/nodes", i));
        for (std::size_t i = 0; i < list.size(); ++i)
            wireNode(i, list[i], pointer("/nodes", i));
        checkAcyclic();

        const json& output = required(document, "", "output");
        if (!output.is_string())
            fail("/output", "must be the id of a node");
        const auto found = ids.find(output.get<std::string>());
        if (found == ids.end())
            fail("/output", "no node has the id " + output.dump());
        const Node& out = *nodes[found->second];
        return Graph(std::move(nodes), out);
    }

private:
    [[noreturn]] void fail(const std::string& at, const std::string& what) const
    {
        throw GraphError(source + ": " + (at.empty() ? "top level" : at) + ": " + what);
    }

    const json& required(const json& object, const std::string& at, const char* key) const
    {
        const auto found = object.find(key);
        if (found == object.end())
            fail(at, std::string("missing \"") + key + "\"");
        return *found;
    }

    void checkKeys(const json& object, const std::string& at, const std::vector<std::string>& known) const
    {
        for (const auto& item : object.items())
            if (std::find(known.begin(), known.end(), item.key()) == known.end())
                fail(pointer(at, item.key()), "unknown key");
    }

    void checkFormat(const json& document) const
    {
        const json& format = required(document, "", "format");
        if (format != formatName)
            fail("/format", std::string("must be \"") + formatName + "\"");
        const json& version = required(document, "", "version");
        if (integerOf(version) != formatVersion)
            fail("/version", version.dump() + " is not a version this texbake reads (it reads "
                                 + std::to_string(formatVersion) + ")");
    }

    void readNode(const json& entry, const std::string& at)
    {
        if (!entry.is_object())
            fail(at, "a node is an object with \"id\" and \"type\"");
        const json& id = required(entry, at, "id");
        if (!id.is_string() || id.get<std::string>().empty())
            fail(pointer(at, "id"), "must be a non-empty string");
        const json& typeName = required(entry, at, "type");
        const NodeType* type = typeName.is_string() ? findNodeType(typeName.get<std::string>()) : nullptr;
        if (type == nullptr)
            fail(pointer(at, "type"), "unknown type " + typeName.dump() + " (texbake --list shows the types)");

        std::vector<std::string> keys = {"id", "type", "parameters", "inputs", "colourInputs", "stops"};
        for (const ConstructorArgument& argument : type->arguments)
            keys.push_back(argument.name);
        checkKeys(entry, at, keys);

        const auto [earlier, isNew] = ids.emplace(id.get<std::string>(), nodes.size());
        if (!isNew)
            fail(pointer(at, "id"), "the id " + id.dump() + " is already used by " + pointer("/nodes", earlier->second));
        nodeIds.push_back(id.get<std::string>());

        nodes.push_back(std::make_unique<Node>(type->make(constructorArguments(entry, at, *type))));
        const Node& node = *nodes.back();
        if (const auto parameters = entry.find("parameters"); parameters != entry.end())
            setParameters(node, *parameters, pointer(at, "parameters"), type->name);
        readStops(node, entry, at, type->name);
    }

    std::vector<double> constructorArguments(const json& entry, const std::string& at, const NodeType& type) const
    {
        std::vector<double> values;
        for (const ConstructorArgument& argument : type.arguments) {
            const auto given = entry.find(argument.name);
            if (given == entry.end()) {
                if (!argument.defaultValue)
                    fail(at, std::string(type.name) + " needs \"" + argument.name + "\"");
                values.push_back(*argument.defaultValue);
                continue;
            }
            const std::string where = pointer(at, argument.name);
            double value;
            if (argument.kind == ConstructorArgument::Kind::Real) {
                if (!given->is_number())
                    fail(where, "must be a number");
                value = given->get<double>();
            } else {
                const std::optional<long long> integer = integerOf(*given);
                if (!integer)
                    fail(where, "must be an integer");
                value = static_cast<double>(*integer);
                if (argument.kind == ConstructorArgument::Kind::PowerOfTwo && *integer >= 1
                    && (*integer & (*integer - 1)) != 0)
                    fail(where, given->dump() + " is not a power of two");
            }
            if (!(value >= argument.min && value <= argument.max))
                fail(where, given->dump() + " is outside " + numberText(argument.min) + ".."
                                + numberText(argument.max));
            values.push_back(value);
        }
        return values;
    }

    void setParameters(const Node& node, const json& parameters, const std::string& at, const char* type) const
    {
        if (!parameters.is_object())
            fail(at, "must be an object of parameter names and values");
        tex::Parameterised& function = node.named();
        for (const auto& item : parameters.items()) {
            const std::string where = pointer(at, item.key());
            const tex::ParameterInfo* info = function.findParameter(item.key());
            if (info == nullptr)
                fail(where, std::string(type) + " has no parameter " + quotedText(item.key()) + "; "
                                + parameterNames(function));
            const json& value = item.value();
            if (info->kind == tex::ParameterInfo::integerKind) {
                const std::optional<long long> integer = integerOf(value);
                if (!integer)
                    fail(where, "must be an integer");
                if (*integer < info->min.intValue || *integer > info->max.intValue)
                    fail(where, value.dump() + " is outside " + std::to_string(info->min.intValue) + ".."
                                    + std::to_string(info->max.intValue));
                function.setIntParameter(info->name, static_cast<int>(*integer));
            } else {
                if (!value.is_number())
                    fail(where, "must be a number");
                const double real = value.get<double>();
                if (!(real >= info->min.realValue && real <= info->max.realValue))
                    fail(where, value.dump() + " is outside " + numberText(info->min.realValue) + ".."
                                    + numberText(info->max.realValue));
                function.setParameter(info->name, real);
            }
        }
    }

    void readStops(const Node& node, const json& entry, const std::string& at, const char* type) const
    {
        const auto given = entry.find("stops");
        tex::ColourSpline* spline = node.spline();
        if (spline == nullptr) {
            if (given != entry.end())
                fail(pointer(at, "stops"), std::string(type) + " has no colour stops");
            return;
        }
        if (given == entry.end())
            fail(at, std::string(type) + " needs \"stops\"");
        const std::string where = pointer(at, "stops");
        if (!given->is_array() || given->size() < 2)
            fail(where, "must be an array of at least two stops [position, r, g, b, a]");

        std::vector<double> table;
        for (std::size_t row = 0; row < given->size(); ++row) {
            const json& stop = (*given)[row];
            const std::string rowAt = pointer(where, row);
            if (!stop.is_array() || stop.size() != 5)
                fail(rowAt, "a stop is five numbers [position, r, g, b, a]");
            for (std::size_t k = 0; k < 5; ++k) {
                if (!stop[k].is_number())
                    fail(pointer(rowAt, k), "must be a number");
                table.push_back(stop[k].get<double>());
            }
            if (row > 0 && !(table[5 * row] > table[5 * (row - 1)]))
                fail(pointer(rowAt, std::size_t(0)),
                     "position " + stop[0].dump() + " does not follow " + (*given)[row - 1][0].dump()
                         + ": positions must strictly ascend");
        }
        spline->setStops(table.data(), static_cast<int>(given->size()));
    }

    // Connects the inputs of node `index`, "inputs" to scalar fields and
    // "colourInputs" to colour functions, every index the class has and no
    // other. A connection the library refuses closes a cycle, which
    // checkAcyclic then names.
    void wireNode(std::size_t index, const json& entry, const std::string& at)
    {
        const Node& node = *nodes[index];
        bool refused = false;
        const std::string type = entry["type"].get<std::string>();
        for (const NodeKind kind : {NodeKind::Field, NodeKind::Colour}) {
            const bool scalar = kind == NodeKind::Field;
            const char* key = scalar ? "inputs" : "colourInputs";
            const char* kindName = scalar ? "scalar" : "colour";
            const int count = scalar ? node.inputCount() : node.colourInputCount();
            const auto given = entry.find(key);
            const std::string where = pointer(at, key);
            if (given == entry.end()) {
                if (count > 0)
                    fail(at, type + " needs \"" + key + "\": " + inputsText(count, kindName));
                continue;
            }
            if (!given->is_array())
                fail(where, "must be an array of node ids");
            if (given->size() != std::size_t(count))
                fail(where, type + " takes " + inputsText(count, kindName) + ", " + std::to_string(given->size())
                                + " given");
            for (std::size_t i = 0; i < given->size(); ++i) {
                const json& id = (*given)[i];
                const std::string inputAt = pointer(where, i);
                if (!id.is_string())
                    fail(inputAt, "must be the id of a node");
                const auto found = ids.find(id.get<std::string>());
                if (found == ids.end())
                    fail(inputAt, "no node has the id " + id.dump());
                const Node& input = *nodes[found->second];
                if (input.kind() != kind)
                    fail(inputAt, id.dump() + " is a " + (scalar ? "colour function" : "scalar field") + "; "
                                      + key + " take " + (scalar ? "scalar fields" : "colour functions"));
                const bool connected = scalar ? node.setInput(input.asField(), int(i))
                                              : node.setColourInput(input.asColour(), int(i));
                refused = refused || !connected;
                references.push_back({index, found->second, inputAt});
            }
        }
        if (!refused && !node.inputsReady())
            fail(at, type + " is not ready with these inputs");
    }

    // Walks the references depth first from every node: a reference back
    // to a node still being walked closes a cycle.
    void checkAcyclic() const
    {
        std::vector<std::vector<const Reference*>> outgoing(nodes.size());
        for (const Reference& reference : references)
            outgoing[reference.from].push_back(&reference);

        enum class State { Unvisited, Open, Done };
        std::vector<State> state(nodes.size(), State::Unvisited);
        std::vector<int> depth(nodes.size(), 1);
        struct Frame {
            std::size_t node;
            std::size_t next;
        };
        for (std::size_t root = 0; root < nodes.size(); ++root) {
            if (state[root] != State::Unvisited)
                continue;
            std::vector<Frame> path{{root, 0}};
            state[root] = State::Open;
            while (!path.empty()) {
                Frame& top = path.back();
                if (top.next < outgoing[top.node].size()) {
                    const Reference& reference = *outgoing[top.node][top.next++];
                    if (state[reference.to] == State::Open)
                        fail(reference.at, "closes a cycle: " + cycleText(path, reference.to));
                    if (state[reference.to] == State::Unvisited) {
                        state[reference.to] = State::Open;
                        path.push_back({reference.to, 0});
                    } else {
                        depth[top.node] = std::max(depth[top.node], depth[reference.to] + 1);
                    }
                    continue;
                }
                const std::size_t done = top.node;
                state[done] = State::Done;
                if (depth[done] > maxDepth)
                    fail(pointer("/nodes", done), "the graph below this node is more than "
                                                      + std::to_string(maxDepth) + " nodes deep");
                path.pop_back();
                if (!path.empty())
                    depth[path.back().node] = std::max(depth[path.back().node], depth[done] + 1);
            }
        }
    }

    template <typename Frames>
    std::string cycleText(const Frames& path, std::size_t to) const
    {
        std::string text;
        bool inCycle = false;
        for (const auto& frame : path) {
            inCycle = inCycle || frame.node == to;
            if (inCycle)
                text += quotedText(nodeIds[frame.node]) + " -> ";
        }
        return text + quotedText(nodeIds[to]);
    }

    std::string source;
    std::vector<std::unique_ptr<Node>> nodes;
    std::vector<std::string> nodeIds;
    std::map<std::string, std::size_t> ids;
    std::vector<Reference> references;
};

} // namespace

Graph::Graph(std::vector<std::unique_ptr<Node>> nodes, const Node& output) : nodes(std::move(nodes)), out(&output) {}

Graph readGraph(const std::string& text, const std::string& source)
{
    return GraphReader(source).read(text);
}

} // namespace texbake
