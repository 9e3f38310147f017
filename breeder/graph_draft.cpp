#include "breeder/graph_draft.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <utility>

namespace breeder {

namespace {

bool sameValue(const tex::ParameterInfo& info, tex::ParameterValue a, tex::ParameterValue b)
{
    return info.kind == tex::ParameterInfo::integerKind ? a.intValue == b.intValue : a.realValue == b.realValue;
}

nlohmann::ordered_json parameterJson(const tex::ParameterInfo& info, tex::ParameterValue value)
{
    if (info.kind == tex::ParameterInfo::integerKind)
        return value.intValue;
    return value.realValue;
}

nlohmann::ordered_json nodeJson(const GraphDraft& draft, const DraftNode& node)
{
    const tex::NodeType& type = *node.type;
    nlohmann::ordered_json json;
    json["id"] = node.id;
    json["type"] = type.name;
    for (std::size_t i = 0; i < type.arguments.size(); ++i) {
        if (type.arguments[i].kind == tex::ArgumentInfo::Kind::Real)
            json[type.arguments[i].name] = node.arguments[i];
        else
            json[type.arguments[i].name] = static_cast<long long>(node.arguments[i]);
    }
    nlohmann::ordered_json inputs = nlohmann::ordered_json::array();
    nlohmann::ordered_json colourInputs = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < node.inputs.size(); ++i)
        (type.inputs[i].kind == tex::NodeKind::Field ? inputs : colourInputs).push_back(draft.nodes[node.inputs[i]].id);
    if (!inputs.empty())
        json["inputs"] = inputs;
    if (!colourInputs.empty())
        json["colourInputs"] = colourInputs;
    nlohmann::ordered_json parameters = nlohmann::ordered_json::object();
    const tex::ParameterList& list = *type.parameters;
    for (std::size_t p = 0; p < list.size(); ++p)
        if (!sameValue(list[p], node.parameters[p], list[p].defaultValue))
            parameters[list[p].name] = parameterJson(list[p], node.parameters[p]);
    if (!parameters.empty())
        json["parameters"] = parameters;
    if (type.stops) {
        nlohmann::ordered_json rows = nlohmann::ordered_json::array();
        for (std::size_t row = 0; row + 5 <= node.stops.size(); row += 5)
            rows.push_back(std::vector<double>(node.stops.begin() + row, node.stops.begin() + row + 5));
        json["stops"] = rows;
    }
    return json;
}

} // namespace

GraphDraft draftOf(const tex::Graph& graph)
{
    GraphDraft draft;
    for (const tex::GraphNode& node : graph.nodes()) {
        DraftNode copy = defaultNode(*node.type);
        copy.id = node.id;
        copy.arguments = node.arguments;
        copy.inputs = node.inputs;
        copy.stops = node.stops;
        const tex::ParameterList& list = *node.type->parameters;
        for (const tex::ParameterSetting& setting : node.parameters)
            copy.parameters[std::size_t(setting.info - list.data())] = setting.value;
        draft.nodes.push_back(std::move(copy));
    }
    draft.output = std::size_t(&graph.output() - graph.nodes().data());
    return draft;
}

DraftNode defaultNode(const tex::NodeType& type)
{
    DraftNode node{std::string(), &type, type.defaultArguments(), {}, {}, {}};
    for (const tex::ParameterInfo& info : *type.parameters)
        node.parameters.push_back(info.defaultValue);
    return node;
}

namespace {

// Appends `from` and the nodes below it not yet `seen` to `order`, each
// after its inputs, the inputs in their order. A walk with a stack of its
// own: a chain may be as deep as a graph file allows.
void appendInputsFirst(const GraphDraft& draft, std::size_t from, std::vector<bool>& seen,
                       std::vector<std::size_t>& order)
{
    if (seen[from])
        return;
    seen[from] = true;
    std::vector<std::pair<std::size_t, std::size_t>> stack{{from, 0}};
    while (!stack.empty()) {
        auto& [node, next] = stack.back();
        const std::vector<std::size_t>& inputs = draft.nodes[node].inputs;
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
}

// The nodes the output reaches, each after its inputs and otherwise in the
// order of the draft, so that a graph file's own order survives a round
// trip.
std::vector<std::size_t> fileOrder(const GraphDraft& draft)
{
    std::vector<bool> reached(draft.nodes.size(), false);
    for (const std::size_t n : reachedInputsFirst(draft))
        reached[n] = true;
    std::vector<bool> seen(draft.nodes.size(), false);
    std::vector<std::size_t> order;
    for (std::size_t n = 0; n < draft.nodes.size(); ++n)
        if (reached[n])
            appendInputsFirst(draft, n, seen, order);
    return order;
}

} // namespace

std::vector<std::size_t> reachedInputsFirst(const GraphDraft& draft)
{
    std::vector<bool> seen(draft.nodes.size(), false);
    std::vector<std::size_t> order;
    appendInputsFirst(draft, draft.output, seen, order);
    return order;
}

std::string graphText(const GraphDraft& draft)
{
    nlohmann::ordered_json nodes = nlohmann::ordered_json::array();
    for (const std::size_t n : fileOrder(draft))
        nodes.push_back(nodeJson(draft, draft.nodes[n]));
    nlohmann::ordered_json file;
    file["format"] = tex::graphFormat;
    file["version"] = tex::graphVersion;
    file["nodes"] = nodes;
    file["output"] = draft.nodes[draft.output].id;
    return file.dump();
}

std::string freshId(const GraphDraft& draft, const std::string& stem)
{
    const auto taken = [&draft](const std::string& id) {
        return std::any_of(draft.nodes.begin(), draft.nodes.end(), [&id](const DraftNode& n) { return n.id == id; });
    };
    std::string id = stem;
    for (int number = 2; taken(id); ++number)
        id = stem + std::to_string(number);
    return id;
}

} // namespace breeder
