#include "texture/catalogue/catalogue.h"
#include "texture/graph/graph.h"
#include "texture/graph/number_text.h"

#include <algorithm>
#include <climits>
#include <limits>
#include <unordered_map>

namespace tex {

namespace {

using nlohmann::json;

// A refusal on its way out of the reader's depths to readGraph.
struct Refusal {
    GraphError error;
};

[[noreturn]] void fail(const std::string& at, const std::string& what)
{
    Refusal refusal;
    refusal.error.place = JsonError::Place::Value;
    refusal.error.pointer = at;
    refusal.error.message = what;
    throw refusal;
}

const json& required(const json& object, const std::string& at, const char* key)
{
    const auto found = object.find(key);
    if (found == object.end())
        fail(at, std::string("missing \"") + key + "\"");
    return *found;
}

// Refuses the first key of `object` that `known` does not accept.
template <typename Known>
void checkKeys(const json& object, const std::string& at, Known known)
{
    for (const auto& item : object.items())
        if (!known(item.key()))
            fail(jsonPointer(at, item.key()), "unknown key");
}

bool isOneOf(const std::string& key, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        if (key == name)
            return true;
    return false;
}

std::string inputsText(int count, const char* kind)
{
    return std::to_string(count) + " " + kind + (count == 1 ? " input" : " inputs");
}

std::string parameterNames(const NodeType& type)
{
    std::string names;
    for (const ParameterInfo& info : *type.parameters)
        names += (names.empty() ? "" : ", ") + quotedText(info.name);
    return names.empty() ? "it has none" : "it has " + names;
}

std::string typeNames()
{
    std::string names;
    for (const NodeType* type : nodeTypes())
        names += (names.empty() ? "" : ", ") + std::string(type->name);
    return names;
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

// Whether `text` is valid UTF-8 (shortest forms, no surrogates, nothing
// past U+10FFFF) without control characters (C0, DEL, C1).
bool isPlainText(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            if (lead < 0x20 || lead == 0x7F)
                return false;
            ++i;
            continue;
        }
        int length;
        std::uint32_t code;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (text.size() - i < std::size_t(length))
            return false;
        for (int k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        const std::uint32_t shortest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (code < shortest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) || (code >= 0x80 && code < 0xA0))
            return false;
        i += std::size_t(length);
    }
    return true;
}

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b)
{
    return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

std::uint64_t saturatingMultiply(std::uint64_t a, std::uint64_t b)
{
    if (a != 0 && b > std::numeric_limits<std::uint64_t>::max() / a)
        return std::numeric_limits<std::uint64_t>::max();
    return a * b;
}

} // namespace

// Reads the document into the nodes of a Graph, checks them, and builds
// what the output reaches. Refusals are thrown as Refusal, caught by
// readGraph.
class GraphReader {
public:
    explicit GraphReader(const GraphLimits& limits) : limits(limits) {}

    Graph read(std::string_view text)
    {
        json document;
        Refusal malformed;
        JsonLimits jsonLimits = limits.json;
        if (limits.cancel != nullptr)
            jsonLimits.cancel = limits.cancel;
        if (!readJson(text, jsonLimits, document, malformed.error))
            throw malformed;
        if (!document.is_object())
            fail("", "a graph file is a JSON object with \"format\", \"version\", \"nodes\" and \"output\"");
        checkKeys(document, "", [](const std::string& key) {
            return isOneOf(key, {"format", "version", "nodes", "output"});
        });
        checkFormat(document);

        const json& list = required(document, "", "nodes");
        if (!list.is_array() || list.empty())
            fail("/nodes", "must be an array of at least one node");
        graph.all.reserve(list.size());
        ids.reserve(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            lookForCancel();
            readNode(list[i], jsonPointer("/nodes", i));
        }
        for (std::size_t i = 0; i < list.size(); ++i) {
            lookForCancel();
            readInputs(i, list[i], jsonPointer("/nodes", i));
        }
        checkAcyclic();
        lookForCancel();

        const json& output = required(document, "", "output");
        if (!output.is_string())
            fail("/output", "must be the id of a node");
        const auto found = ids.find(output.get_ref<const std::string&>());
        if (found == ids.end())
            fail("/output", "no node has the id " + jsonValueText(output));
        graph.outputIndex = found->second;
        checkCost();
        build();
        return std::move(graph);
    }

private:
    void lookForCancel() const
    {
        if (limits.cancel != nullptr && limits.cancel->load(std::memory_order_relaxed)) {
            Refusal interrupted;
            interrupted.error.message = interruptedMessage;
            throw interrupted;
        }
    }

    void checkFormat(const json& document) const
    {
        const json& format = required(document, "", "format");
        if (format != graphFormat)
            fail("/format", std::string("must be \"") + graphFormat + "\"");
        const json& version = required(document, "", "version");
        if (integerOf(version) != graphVersion)
            fail("/version", jsonValueText(version) + " is not a version this library reads (it reads "
                                 + std::to_string(graphVersion) + ")");
    }

    void readNode(const json& entry, const std::string& at)
    {
        if (!entry.is_object())
            fail(at, "a node is an object with \"id\" and \"type\"");
        const json& id = required(entry, at, "id");
        if (!id.is_string() || id.get_ref<const std::string&>().empty())
            fail(jsonPointer(at, "id"), "must be a non-empty string");
        if (!isPlainText(id.get_ref<const std::string&>()))
            fail(jsonPointer(at, "id"), "must be valid UTF-8 without control characters");
        const json& typeName = required(entry, at, "type");
        const NodeType* type = typeName.is_string() ? findNodeType(typeName.get_ref<const std::string&>()) : nullptr;
        if (type == nullptr)
            fail(jsonPointer(at, "type"), "unknown type " + jsonValueText(typeName) + "; the types are " + typeNames());

        checkKeys(entry, at, [type](const std::string& key) {
            if (isOneOf(key, {"id", "type", "parameters", "inputs", "colourInputs", "stops"}))
                return true;
            for (const ArgumentInfo& argument : type->arguments)
                if (key == argument.name)
                    return true;
            return false;
        });

        const std::string& name = id.get_ref<const std::string&>();
        const auto [earlier, isNew] = ids.emplace(name, graph.all.size());
        if (!isNew)
            fail(jsonPointer(at, "id"), "the id " + jsonValueText(id) + " is already used by "
                                            + jsonPointer("/nodes", earlier->second));

        GraphNode node;
        node.id = name;
        node.type = type;
        node.arguments = constructorArguments(entry, at, *type);
        if (const auto parameters = entry.find("parameters"); parameters != entry.end())
            node.parameters = parameterSettings(*parameters, jsonPointer(at, "parameters"), *type);
        node.stops = stops(entry, at, *type);
        graph.all.push_back(std::move(node));
    }

    ArgumentValues constructorArguments(const json& entry, const std::string& at, const NodeType& type) const
    {
        ArgumentValues values;
        for (const ArgumentInfo& argument : type.arguments) {
            const auto given = entry.find(argument.name);
            if (given == entry.end()) {
                if (!argument.defaultValue)
                    fail(at, std::string(type.name) + " needs \"" + argument.name + "\"");
                values.push_back(*argument.defaultValue);
                continue;
            }
            const auto where = [&] { return jsonPointer(at, argument.name); };
            double value;
            if (argument.kind == ArgumentInfo::Kind::Real) {
                if (!given->is_number())
                    fail(where(), "must be a number");
                value = given->get<double>();
            } else {
                const std::optional<long long> integer = integerOf(*given);
                if (!integer)
                    fail(where(), "must be an integer");
                value = static_cast<double>(*integer);
                if (argument.kind == ArgumentInfo::Kind::PowerOfTwo && *integer >= 1
                    && (*integer & (*integer - 1)) != 0)
                    fail(where(), given->dump() + " is not a power of two");
            }
            if (!(value >= argument.min && value <= argument.max))
                fail(where(), given->dump() + " is outside " + numberText(argument.min) + ".."
                                + numberText(argument.max));
            values.push_back(value);
        }
        return values;
    }

    // Each parameter is looked up by name once, here; its entry then leads
    // straight to the member when the node is built.
    std::vector<ParameterSetting> parameterSettings(const json& parameters, const std::string& at,
                                                    const NodeType& type) const
    {
        if (!parameters.is_object())
            fail(at, "must be an object of parameter names and values");
        std::vector<ParameterSetting> settings;
        for (const auto& item : parameters.items()) {
            const auto where = [&] { return jsonPointer(at, item.key()); };
            const ParameterInfo* info = type.findParameter(item.key());
            if (info == nullptr)
                fail(where(), std::string(type.name) + " has no parameter " + quotedText(item.key()) + "; "
                                + parameterNames(type));
            const json& value = item.value();
            ParameterValue setting{};
            if (info->kind == ParameterInfo::integerKind) {
                const std::optional<long long> integer = integerOf(value);
                if (!integer)
                    fail(where(), "must be an integer");
                if (*integer < info->min.intValue || *integer > info->max.intValue)
                    fail(where(), value.dump() + " is outside " + std::to_string(info->min.intValue) + ".."
                                    + std::to_string(info->max.intValue));
                setting.intValue = static_cast<std::int32_t>(*integer);
            } else {
                if (!value.is_number())
                    fail(where(), "must be a number");
                setting.realValue = value.get<double>();
                if (!(setting.realValue >= info->min.realValue && setting.realValue <= info->max.realValue))
                    fail(where(), value.dump() + " is outside " + numberText(info->min.realValue) + ".."
                                    + numberText(info->max.realValue));
            }
            settings.push_back({info, setting});
        }
        // In the order of the list, whatever the file's.
        std::sort(settings.begin(), settings.end(),
                  [](const ParameterSetting& a, const ParameterSetting& b) { return a.info < b.info; });
        return settings;
    }

    std::vector<double> stops(const json& entry, const std::string& at, const NodeType& type)
    {
        const auto given = entry.find("stops");
        if (!type.stops) {
            if (given != entry.end())
                fail(jsonPointer(at, "stops"), std::string(type.name) + " has no colour stops");
            return {};
        }
        if (given == entry.end())
            fail(at, std::string(type.name) + " needs \"stops\"");
        const std::string where = jsonPointer(at, "stops");
        if (!given->is_array() || given->size() < 2)
            fail(where, "must be an array of at least two stops [position, r, g, b, a]");
        if (given->size() > limits.maxStops - stopsRead)
            fail(jsonPointer(where, limits.maxStops - stopsRead), "a graph file holds at most "
                                                                      + std::to_string(limits.maxStops)
                                                                      + " colour stops");
        stopsRead += given->size();

        std::vector<double> table;
        for (std::size_t row = 0; row < given->size(); ++row) {
            const json& stop = (*given)[row];
            const std::string rowAt = jsonPointer(where, row);
            if (!stop.is_array() || stop.size() != 5)
                fail(rowAt, "a stop is five numbers [position, r, g, b, a]");
            for (std::size_t k = 0; k < 5; ++k) {
                if (!stop[k].is_number())
                    fail(jsonPointer(rowAt, k), "must be a number");
                table.push_back(stop[k].get<double>());
            }
            if (row > 0 && !(table[5 * row] > table[5 * (row - 1)]))
                fail(jsonPointer(rowAt, std::size_t(0)), "position " + stop[0].dump() + " does not follow "
                                                             + (*given)[row - 1][0].dump()
                                                             + ": positions must strictly ascend");
        }
        return table;
    }

    // The ids of "inputs" (scalar fields) and "colourInputs" (colour
    // functions): every index the type has and no other.
    void readInputs(std::size_t index, const json& entry, const std::string& at)
    {
        GraphNode& node = graph.all[index];
        const char* type = node.type->name;
        for (const NodeKind kind : {NodeKind::Field, NodeKind::Colour}) {
            const bool scalar = kind == NodeKind::Field;
            const char* key = scalar ? "inputs" : "colourInputs";
            const char* kindName = scalar ? "scalar" : "colour";
            const int count = node.type->inputCount(kind);
            const auto given = entry.find(key);
            const auto where = [&] { return jsonPointer(at, key); };
            if (given == entry.end()) {
                if (count > 0)
                    fail(at, std::string(type) + " needs \"" + key + "\": " + inputsText(count, kindName));
                continue;
            }
            if (!given->is_array())
                fail(where(), "must be an array of node ids");
            if (given->size() != std::size_t(count))
                fail(where(), std::string(type) + " takes " + inputsText(count, kindName) + ", " + std::to_string(given->size())
                                + " given");
            for (std::size_t i = 0; i < given->size(); ++i) {
                const json& id = (*given)[i];
                const auto inputAt = [&] { return jsonPointer(where(), i); };
                if (!id.is_string())
                    fail(inputAt(), "must be the id of a node");
                const auto found = ids.find(id.get_ref<const std::string&>());
                if (found == ids.end())
                    fail(inputAt(), "no node has the id " + jsonValueText(id));
                if (graph.all[found->second].type->kind != kind)
                    fail(inputAt(), jsonValueText(id) + " is a " + (scalar ? "colour function" : "scalar field") + "; "
                                      + key + " take " + (scalar ? "scalar fields" : "colour functions"));
                node.inputs.push_back(found->second);
            }
        }
    }

    // Walks the inputs depth first from every node, without recursion: an
    // input that is still being walked closes a cycle. Also measures each
    // node's depth, the longest chain of inputs below it.
    void checkAcyclic() const
    {
        enum class State { Unvisited, Open, Done };
        std::vector<State> state(graph.all.size(), State::Unvisited);
        std::vector<int> depth(graph.all.size(), 1);
        struct Frame {
            std::size_t node;
            std::size_t next;
        };
        std::vector<Frame> path;
        for (std::size_t root = 0; root < graph.all.size(); ++root) {
            if (state[root] != State::Unvisited)
                continue;
            path.push_back({root, 0});
            state[root] = State::Open;
            while (!path.empty()) {
                Frame& top = path.back();
                const std::vector<std::size_t>& inputs = graph.all[top.node].inputs;
                if (top.next < inputs.size()) {
                    const std::size_t place = top.next;
                    const std::size_t input = inputs[top.next++];
                    if (state[input] == State::Open)
                        fail(inputPointer(top.node, place), "closes a cycle: " + cycleText(path, input));
                    if (state[input] == State::Unvisited) {
                        state[input] = State::Open;
                        path.push_back({input, 0});
                    } else {
                        depth[top.node] = std::max(depth[top.node], depth[input] + 1);
                    }
                    continue;
                }
                const std::size_t done = top.node;
                state[done] = State::Done;
                if (depth[done] > limits.maxDepth)
                    fail(jsonPointer("/nodes", done), "the graph below this node is more than "
                                                          + std::to_string(limits.maxDepth) + " nodes deep");
                path.pop_back();
                if (!path.empty())
                    depth[path.back().node] = std::max(depth[path.back().node], depth[done] + 1);
            }
        }
    }

    // The JSON pointer of input `place` of node `node` (its place in
    // GraphNode::inputs): scalar inputs, then colour ones.
    std::string inputPointer(std::size_t node, std::size_t place) const
    {
        const std::size_t scalars = std::size_t(graph.all[node].type->inputCount(NodeKind::Field));
        const std::string at = jsonPointer("/nodes", node);
        return place < scalars ? jsonPointer(jsonPointer(at, "inputs"), place)
                               : jsonPointer(jsonPointer(at, "colourInputs"), place - scalars);
    }

    template <typename Frames>
    std::string cycleText(const Frames& path, std::size_t to) const
    {
        std::string text;
        bool inCycle = false;
        for (const auto& frame : path) {
            inCycle = inCycle || frame.node == to;
            if (inCycle)
                text += quotedText(graph.all[frame.node].id) + " -> ";
        }
        return text + quotedText(graph.all[to].id);
    }

    // The output's nodes in an order where every node follows its inputs.
    std::vector<std::size_t> reachedInputsFirst() const
    {
        std::vector<std::size_t> order;
        std::vector<bool> seen(graph.all.size(), false);
        std::vector<std::pair<std::size_t, std::size_t>> stack{{graph.outputIndex, 0}};
        seen[graph.outputIndex] = true;
        while (!stack.empty()) {
            auto& [node, next] = stack.back();
            const std::vector<std::size_t>& inputs = graph.all[node].inputs;
            if (next < inputs.size()) {
                const std::size_t input = inputs[next++];
                if (!seen[input]) {
                    seen[input] = true;
                    stack.push_back({input, 0});
                }
                continue;
            }
            order.push_back(node);
            stack.pop_back();
        }
        return order;
    }

    // The value `node` gives the integer parameter `name`: the file's, or
    // the default.
    static std::int32_t integerParameter(const GraphNode& node, const char* name)
    {
        const ParameterInfo* info = node.type->findParameter(name);
        for (const ParameterSetting& setting : node.parameters)
            if (setting.info == info)
                return setting.value.intValue;
        return info != nullptr ? info->defaultValue.intValue : 1;
    }

    // What `node` itself costs a sample, its inputs left out (see SampleCost).
    static std::uint64_t ownPrice(const GraphNode& node)
    {
        const SampleCost rule = node.type->cost();
        return std::uint64_t(std::max(rule.own, 0))
            + std::uint64_t(std::max(rule.perStopStep, 0)) * std::uint64_t(bisectionSteps(node.stops.size() / 5));
    }

    // Refuses an output whose sample is priced above limits.maxCost
    // (saturating), naming the costliest path from it.
    void checkCost()
    {
        const std::vector<std::size_t> order = reachedInputsFirst();
        std::vector<std::uint64_t> cost(graph.all.size(), 0);
        for (const std::size_t n : order) {
            const GraphNode& node = graph.all[n];
            const SampleCost rule = node.type->cost();
            std::uint64_t sum = ownPrice(node);
            for (const std::size_t input : node.inputs)
                sum = saturatingAdd(sum, cost[input]);
            const std::int32_t repeats = rule.repeatedBy != nullptr ? integerParameter(node, rule.repeatedBy) : 1;
            cost[n] = saturatingMultiply(sum, std::uint64_t(std::max(repeats, 0)));
        }
        graph.sampleCost = cost[graph.outputIndex];
        if (graph.sampleCost <= limits.maxCost)
            return;
        const std::string total = graph.sampleCost == std::numeric_limits<std::uint64_t>::max()
            ? "more than " + std::to_string(graph.sampleCost - 1)
            : std::to_string(graph.sampleCost);
        fail("/output", "a sample is priced at " + total + " ns, more than the " + std::to_string(limits.maxCost)
                            + " ns allowed; the costliest path: " + costliestPath(cost));
    }

    // From the output down, each time to the costliest input.
    std::string costliestPath(const std::vector<std::uint64_t>& cost) const
    {
        // The path is at most maxDepth nodes long; so many would make an
        // unreadable line.
        constexpr int shownSteps = 12;
        std::string text;
        int steps = 0;
        for (std::size_t n = graph.outputIndex;; ++steps) {
            const GraphNode& node = graph.all[n];
            if (steps < shownSteps) {
                text += (steps > 0 ? " -> " : "") + quotedText(node.id) + " (" + node.type->name;
                if (const char* repeatedBy = node.type->cost().repeatedBy)
                    text += " x" + std::to_string(integerParameter(node, repeatedBy));
                text += ")";
            }
            if (node.inputs.empty())
                break;
            n = *std::max_element(node.inputs.begin(), node.inputs.end(),
                                  [&cost](std::size_t a, std::size_t b) { return cost[a] < cost[b]; });
        }
        if (steps >= shownSteps)
            text += " -> ... (" + std::to_string(steps + 1 - shownSteps) + " more)";
        return text;
    }

    // Builds the nodes the output reaches, each after its inputs.
    void build()
    {
        for (const std::size_t n : reachedInputsFirst()) {
            GraphNode& node = graph.all[n];
            Parameterised* named;
            if (node.type->kind == NodeKind::Field) {
                node.field = node.type->makeField(node.arguments);
                named = node.field.get();
            } else {
                node.colour = node.type->makeColour(node.arguments);
                named = node.colour.get();
            }
            for (const ParameterSetting& setting : node.parameters)
                named->setParameterValue(*setting.info, setting.value);
            int fieldIndex = 0;
            int colourIndex = 0;
            for (const std::size_t input : node.inputs) {
                const GraphNode& from = graph.all[input];
                if (from.field && node.field)
                    node.field->setInput(from.field.get(), fieldIndex++);
                else if (from.field)
                    node.colour->setInput(from.field.get(), fieldIndex++);
                else
                    node.colour->setColourInput(from.colour.get(), colourIndex++);
            }
            if (!node.stops.empty())
                node.colour->spline()->setStops(node.stops.data(), int(node.stops.size() / 5));
        }
    }

    const GraphLimits& limits;
    // The colour stops of the nodes read so far.
    std::size_t stopsRead = 0;
    Graph graph;
    std::unordered_map<std::string, std::size_t> ids;
};

const GraphNode* Graph::find(std::string_view id) const
{
    for (const GraphNode& node : all)
        if (node.id == id)
            return &node;
    return nullptr;
}

std::optional<Graph> readGraph(std::string_view text, GraphError& error, const GraphLimits& limits)
{
    try {
        return GraphReader(limits).read(text);
    } catch (const Refusal& refusal) {
        error = refusal.error;
    }
    return std::nullopt;
}

} // namespace tex
