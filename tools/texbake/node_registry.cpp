#include "tools/texbake/node_registry.h"

#include <climits>
#include <memory>

namespace texbake {

namespace {

using Kind = ConstructorArgument::Kind;
using Arguments = std::vector<double>;

ConstructorArgument seed(const char* name)
{
    return {name, Kind::Integer, INT_MIN, INT_MAX, std::nullopt};
}

template <typename Function>
NodeType simple(const char* name)
{
    return {name, {}, [](const Arguments&) { return Node(std::make_unique<Function>()); }};
}

int asInt(double value)
{
    return static_cast<int>(value);
}

std::unique_ptr<tex::Basis> turbulence(int seed)
{
    // The octave count is both a constructor argument and the parameter
    // "octaves"; it starts at the listed default, as FBM's does, and the
    // graph's "parameters" may change it like any other.
    auto field = std::make_unique<tex::Turbulence>(seed, 1);
    field->setIntParameter("octaves", field->findParameter("octaves")->defaultValue.intValue);
    return field;
}

std::vector<NodeType> buildTypes()
{
    return {
        {"Noise",
         {seed("seed"), {"size", Kind::PowerOfTwo, 1, 256, 256}},
         [](const Arguments& a) { return Node(std::make_unique<tex::Noise>(asInt(a[0]), asInt(a[1]))); }},
        simple<tex::FBM>("FBM"),
        {"Turbulence", {seed("seed")}, [](const Arguments& a) { return Node(turbulence(asInt(a[0]))); }},
        {"Voronoi",
         {seed("seed"), {"size", Kind::PowerOfTwo, 1, 1 << 30, 256}, {"density", Kind::Real, 0.0, 5.0, 1.5}},
         [](const Arguments& a) {
             return Node(std::make_unique<tex::Voronoi>(asInt(a[0]), asInt(a[1]), a[2]));
         }},
        simple<tex::Sphere>("Sphere"),
        simple<tex::Checker>("Checker"),
        simple<tex::BPerturber>("BPerturber"),
        simple<tex::BLerper>("BLerper"),
        simple<tex::BDarken>("BDarken"),
        simple<tex::BScaler>("BScaler"),
        simple<tex::BGainer>("BGainer"),
        simple<tex::BStepper>("BStepper"),
        simple<tex::ColourMap>("ColourMap"),
        simple<tex::Marble>("Marble"),
        {"Flagstone",
         {seed("cellSeed"), seed("grainSeed")},
         [](const Arguments& a) { return Node(std::make_unique<tex::Flagstone>(asInt(a[0]), asInt(a[1]))); }},
        simple<tex::CMixer>("CMixer"),
        simple<tex::CDarken>("CDarken"),
    };
}

} // namespace

Node NodeType::sample() const
{
    Arguments values;
    for (const ConstructorArgument& argument : arguments)
        values.push_back(argument.defaultValue.value_or(argument.min));
    return make(values);
}

const std::vector<NodeType>& nodeTypes()
{
    static const std::vector<NodeType> types = buildTypes();
    return types;
}

const NodeType* findNodeType(const std::string& name)
{
    for (const NodeType& type : nodeTypes())
        if (name == type.name)
            return &type;
    return nullptr;
}

} // namespace texbake
