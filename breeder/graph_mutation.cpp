#include "breeder/graph_mutation.h"

#include "texture/catalogue/catalogue.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <utility>

namespace breeder {

namespace {

// Chances of a change of shape per mutant at rate 1 or more.
constexpr double swapChance = 0.2;
constexpr double insertChance = 0.15;
constexpr double removeChance = 0.1;
// Chances per number at rate 1 or more.
constexpr double integerStepChance = 0.3;
constexpr double seedChance = 0.1;
constexpr double sizeChance = 0.1;

// A chance that grows with the rate and is certain from rate 1/chance on.
bool happens(tex::Random& random, double rate, double chance)
{
    return random.uniform() < std::min(rate, 1.0) * chance;
}

// An index in [0, count), count > 0.
std::size_t pick(tex::Random& random, std::size_t count)
{
    return std::size_t(random.nextInt(0, int(count)));
}

// `value` moved by at most `spread` either way, kept in [min, max].
double moved(tex::Random& random, double value, double spread, double min, double max)
{
    const double offset = (2.0 * random.uniform() - 1.0) * spread;
    return std::clamp(value + offset, min, max);
}

int randomSeed(tex::Random& random)
{
    return random.nextInt(INT_MIN, INT_MAX);
}

bool isModifier(const tex::NodeType& type)
{
    return type.kind == tex::NodeKind::Field && type.inputCount(tex::NodeKind::Field) > 0
        && type.cost().repeatedBy == nullptr;
}

bool isLeaf(const tex::NodeType& type)
{
    return type.kind == tex::NodeKind::Field && type.inputs.empty();
}

std::vector<const tex::NodeType*> typesWhere(bool (*keep)(const tex::NodeType&))
{
    std::vector<const tex::NodeType*> types;
    for (const tex::NodeType* type : tex::nodeTypes())
        if (keep(*type))
            types.push_back(type);
    return types;
}

std::string idStem(const tex::NodeType& type)
{
    std::string stem = type.name;
    for (char& c : stem)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return stem;
}

bool inRange(const tex::ArgumentInfo& info, double value)
{
    return value >= info.min && value <= info.max;
}

bool inRange(const tex::ParameterInfo& info, tex::ParameterValue value)
{
    if (info.kind == tex::ParameterInfo::integerKind)
        return value.intValue >= info.min.intValue && value.intValue <= info.max.intValue;
    return value.realValue >= info.min.realValue && value.realValue <= info.max.realValue;
}

// A node of `type` with its required arguments drawn (seeds), the rest at
// their defaults, and a fresh id.
DraftNode newNode(const GraphDraft& draft, const tex::NodeType& type, tex::Random& random)
{
    DraftNode node = defaultNode(type);
    node.id = freshId(draft, idStem(type));
    for (std::size_t a = 0; a < type.arguments.size(); ++a)
        if (!type.arguments[a].defaultValue)
            node.arguments[a] = randomSeed(random);
    return node;
}

// Points every input that is `from`, and the output if it is, to `to`,
// except the inputs of `to` itself.
void rewire(GraphDraft& draft, std::size_t from, std::size_t to)
{
    for (std::size_t n = 0; n < draft.nodes.size(); ++n) {
        if (n == to)
            continue;
        for (std::size_t& input : draft.nodes[n].inputs)
            if (input == from)
                input = to;
    }
    if (draft.output == from)
        draft.output = to;
}

void swapNode(GraphDraft& draft, tex::Random& random)
{
    const std::vector<std::size_t> reached = reachedInputsFirst(draft);
    const std::size_t n = reached[pick(random, reached.size())];
    const DraftNode& old = draft.nodes[n];
    std::vector<const tex::NodeType*> candidates;
    for (const tex::NodeType* type : tex::nodeTypes())
        if (type != old.type && type->kind == old.type->kind && type->stops == old.type->stops
            && type->inputCount(tex::NodeKind::Field) == old.type->inputCount(tex::NodeKind::Field)
            && type->inputCount(tex::NodeKind::Colour) == old.type->inputCount(tex::NodeKind::Colour))
            candidates.push_back(type);
    if (candidates.empty())
        return;
    const tex::NodeType& type = *candidates[pick(random, candidates.size())];
    DraftNode swapped = newNode(draft, type, random);
    for (std::size_t a = 0; a < type.arguments.size(); ++a)
        for (std::size_t b = 0; b < old.type->arguments.size(); ++b)
            if (std::strcmp(type.arguments[a].name, old.type->arguments[b].name) == 0
                && type.arguments[a].kind == old.type->arguments[b].kind && inRange(type.arguments[a], old.arguments[b]))
                swapped.arguments[a] = old.arguments[b];
    const tex::ParameterList& list = *type.parameters;
    for (std::size_t p = 0; p < list.size(); ++p) {
        const tex::ParameterList& oldList = *old.type->parameters;
        for (std::size_t q = 0; q < oldList.size(); ++q)
            if (list[p].name == oldList[q].name && list[p].kind == oldList[q].kind && inRange(list[p], old.parameters[q]))
                swapped.parameters[p] = old.parameters[q];
    }
    swapped.inputs = old.inputs;
    swapped.stops = old.stops;
    draft.nodes[n] = std::move(swapped);
}

void insertModifier(GraphDraft& draft, tex::Random& random)
{
    std::vector<std::size_t> fields;
    for (const std::size_t n : reachedInputsFirst(draft))
        if (draft.nodes[n].type->kind == tex::NodeKind::Field)
            fields.push_back(n);
    if (fields.empty())
        return;
    const std::size_t below = fields[pick(random, fields.size())];
    static const std::vector<const tex::NodeType*> modifiers = typesWhere(isModifier);
    static const std::vector<const tex::NodeType*> leaves = typesWhere(isLeaf);
    const tex::NodeType& type = *modifiers[pick(random, modifiers.size())];
    DraftNode modifier = newNode(draft, type, random);
    modifier.inputs.push_back(below);
    // Further scalar inputs: new leaves. A modifier has no colour inputs.
    for (int i = 1; i < type.inputCount(tex::NodeKind::Field); ++i) {
        DraftNode leaf = newNode(draft, *leaves[pick(random, leaves.size())], random);
        modifier.inputs.push_back(draft.nodes.size());
        draft.nodes.push_back(std::move(leaf));
    }
    const std::size_t index = draft.nodes.size();
    draft.nodes.push_back(std::move(modifier));
    rewire(draft, below, index);
}

void removeModifier(GraphDraft& draft, tex::Random& random)
{
    std::vector<std::size_t> modifiers;
    for (const std::size_t n : reachedInputsFirst(draft))
        if (isModifier(*draft.nodes[n].type))
            modifiers.push_back(n);
    if (modifiers.empty())
        return;
    const std::size_t n = modifiers[pick(random, modifiers.size())];
    rewire(draft, n, draft.nodes[n].inputs[0]);
}

void mutateArguments(DraftNode& node, double rate, tex::Random& random)
{
    const std::vector<tex::ArgumentInfo>& arguments = node.type->arguments;
    for (std::size_t a = 0; a < arguments.size(); ++a) {
        const tex::ArgumentInfo& info = arguments[a];
        double& value = node.arguments[a];
        switch (info.kind) {
        case tex::ArgumentInfo::Kind::Integer:
            if (happens(random, rate, seedChance))
                value = random.nextInt(int(info.min), int(info.max));
            break;
        case tex::ArgumentInfo::Kind::PowerOfTwo:
            if (happens(random, rate, sizeChance)) {
                const double next = random.uniform() < 0.5 ? value / 2 : value * 2;
                if (inRange(info, next))
                    value = next;
            }
            break;
        case tex::ArgumentInfo::Kind::Real:
            value = moved(random, value, rate * (info.max - info.min) / 20, info.min, info.max);
            break;
        }
    }
}

void mutateParameters(DraftNode& node, double rate, tex::Random& random)
{
    const tex::ParameterList& list = *node.type->parameters;
    for (std::size_t p = 0; p < list.size(); ++p) {
        const tex::ParameterInfo& info = list[p];
        tex::ParameterValue& value = node.parameters[p];
        if (info.kind == tex::ParameterInfo::integerKind) {
            if (happens(random, rate, integerStepChance)) {
                const int step = random.uniform() < 0.5 ? -1 : 1;
                value.intValue = std::clamp(value.intValue + step, info.min.intValue, info.max.intValue);
            }
        } else {
            const double range = info.max.realValue - info.min.realValue;
            value.realValue = moved(random, value.realValue, rate * range / 20, info.min.realValue, info.max.realValue);
        }
    }
}

void mutateStops(DraftNode& node, double rate, tex::Random& random)
{
    std::vector<double>& stops = node.stops;
    const std::size_t rows = stops.size() / 5;
    for (std::size_t row = 0; row < rows; ++row) {
        double* stop = &stops[5 * row];
        if (row > 0 && row + 1 < rows) {
            const double position = moved(random, stop[0], rate / 20, stop[-5], stop[5]);
            if (position > stop[-5] && position < stop[5])
                stop[0] = position;
        }
        for (int channel = 1; channel <= 3; ++channel)
            stop[channel] = moved(random, stop[channel], rate / 10, 0.0, 1.0);
    }
}

} // namespace

GraphDraft mutate(const GraphDraft& parent, double rate, tex::Random& random)
{
    GraphDraft draft = parent;
    if (happens(random, rate, swapChance))
        swapNode(draft, random);
    if (happens(random, rate, insertChance))
        insertModifier(draft, random);
    if (happens(random, rate, removeChance))
        removeModifier(draft, random);
    for (const std::size_t n : reachedInputsFirst(draft)) {
        DraftNode& node = draft.nodes[n];
        mutateArguments(node, rate, random);
        mutateParameters(node, rate, random);
        mutateStops(node, rate, random);
    }
    return draft;
}

BredGraph mutant(const BredGraph& parent, double rate, tex::Random& random, const tex::GraphLimits& limits)
{
    const GraphDraft draft = draftOf(*parent.graph);
    for (int tries = 0; tries < maxTries; ++tries) {
        tex::GraphError error;
        if (std::optional<BredGraph> child = readBredGraph(graphText(mutate(draft, rate, random)), error, limits))
            return std::move(*child);
    }
    return parent;
}

} // namespace breeder
