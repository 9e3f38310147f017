// Every node type of the catalogue, built with random arguments and
// parameters and wired over random inputs, gives from values() and
// colours() exactly the bits of value() and colour() at each point, at
// every dispatch level; and so do nodes of a user's own, which override
// only formula().
#include "tests/texture/run_points.h"
#include "texture/texture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace tex;

namespace {

// A field of a user's own, with the default run.
class Ripple : public Basis {
public:
    Ripple() : Basis(1) {}

protected:
    double formula(double x, double y, double z) const override
    {
        return 0.5 + 0.5 * std::sin(x * y + z) * input(0)->value(z, x, y);
    }
};

// A library class whose formula a user replaced: its runs must not take the
// library's kernel.
class Ridged : public FBM {
protected:
    double formula(double x, double y, double z) const override { return 1 - FBM::formula(y, z, x); }
};

// A colour function of a user's own, with the default run.
class Tint : public ColourBasis {
public:
    Tint() : ColourBasis(1, 0) {}

protected:
    Colour formula(double x, double y, double z) const override
    {
        const double v = input(0)->value(x, y, z);
        return Colour(v, 1 - v, 0.25, 1);
    }
};

// Builds random graphs from the catalogue and owns their nodes.
class GraphMaker {
public:
    explicit GraphMaker(unsigned seed) : gen(seed) {}

    // A node of `type`, inputs wired to random graphs `depth` deep (leaves
    // only at depth 0).
    Parameterised* make(const NodeType& type, int depth)
    {
        ArgumentValues arguments;
        for (const ArgumentInfo& argument : type.arguments)
            arguments.push_back(randomArgument(argument));
        Parameterised* node;
        Basis* field = nullptr;
        ColourBasis* colour = nullptr;
        if (type.kind == NodeKind::Field) {
            fields.push_back(type.makeField(arguments));
            node = field = fields.back().get();
        } else {
            colours.push_back(type.makeColour(arguments));
            node = colour = colours.back().get();
        }
        for (const ParameterInfo& info : *type.parameters)
            setRandom(*node, info);
        if (type.stops) {
            const double stops[] = {0.0, 0.5, 0.2, 0.4, 1, 0.3, 0.9, 0.1, 0.6, 0.5, 0.7, 0.0, 1.0, 0.3, 1, 1.0, 1, 1, 1, 0};
            colour->spline()->setStops(stops, 4);
        }
        int scalar = 0, colourIndex = 0;
        for (const InputInfo& input : type.inputs) {
            if (input.kind == NodeKind::Field) {
                Basis* source = static_cast<Basis*>(make(pick(NodeKind::Field, depth - 1), depth - 1));
                EXPECT_TRUE(field ? field->setInput(source, scalar) : colour->setInput(source, scalar));
                ++scalar;
            } else {
                ColourBasis* source = static_cast<ColourBasis*>(make(pick(NodeKind::Colour, depth - 1), depth - 1));
                EXPECT_TRUE(colour->setColourInput(source, colourIndex++));
            }
        }
        return node;
    }

    template <typename Node>
    Node* own(std::unique_ptr<Node> node)
    {
        Node* raw = node.get();
        if constexpr (std::is_base_of_v<Basis, Node>)
            fields.push_back(std::move(node));
        else
            colours.push_back(std::move(node));
        return raw;
    }

    const NodeType& pick(NodeKind kind, int depth)
    {
        std::vector<const NodeType*> choices;
        for (const NodeType* type : nodeTypes())
            if (type->kind == kind && (depth > 0 || type->inputs.empty()))
                choices.push_back(type);
        return *choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(gen)];
    }

private:
    double randomArgument(const ArgumentInfo& argument)
    {
        switch (argument.kind) {
        case ArgumentInfo::Kind::PowerOfTwo: {
            const int top = int(std::log2(argument.max));
            return std::ldexp(1.0, std::uniform_int_distribution<int>(int(std::log2(argument.min)), top)(gen));
        }
        case ArgumentInfo::Kind::Integer:
            return double(std::uniform_int_distribution<long long>((long long)argument.min, (long long)argument.max)(gen));
        case ArgumentInfo::Kind::Real:
            break;
        }
        return std::uniform_real_distribution<double>(argument.min, argument.max)(gen);
    }

    void setRandom(Parameterised& node, const ParameterInfo& info)
    {
        if (info.kind == ParameterInfo::realKind) {
            // A steep contrast would clamp most values to 0 or 1, where
            // faults hide.
            const double top = info.name == "contrast" ? 2.0 : info.max.realValue;
            node.setParameter(info.name, std::uniform_real_distribution<double>(info.min.realValue, top)(gen));
            return;
        }
        // Octaves: enough to cross the block and settling logic, few enough
        // to keep nested fractal sums quick.
        const int top = std::min(info.max.intValue, 5);
        node.setIntParameter(info.name, std::uniform_int_distribution<int>(info.min.intValue, top)(gen));
    }

    std::mt19937 gen;
    std::vector<std::unique_ptr<Basis>> fields;
    std::vector<std::unique_ptr<ColourBasis>> colours;
};

std::string where(const PointRun& run, std::size_t p)
{
    return " at (" + std::to_string(run.x[p]) + ", " + std::to_string(run.y[p]) + ", " + std::to_string(run.z[p]) + ")";
}

void expectValuesMatch(const Basis& field, const PointRun& run, const std::string& what)
{
    std::vector<double> expected(run.size());
    for (std::size_t p = 0; p < run.size(); ++p)
        expected[p] = field.value(run.x[p], run.y[p], run.z[p]);
    for (auto [start, length] : stretches(run.size())) {
        std::vector<double> got(length);
        field.values(&run.x[start], &run.y[start], &run.z[start], got.data(), length);
        for (std::size_t i = 0; i < length; ++i)
            ASSERT_EQ(bitsOf(got[i]), bitsOf(expected[start + i])) << what << where(run, start + i);
    }
    // The values may overwrite the coordinates they come from.
    std::vector<double> x = run.x, z = run.z;
    field.values(x.data(), run.y.data(), run.z.data(), x.data(), run.size());
    field.values(run.x.data(), run.y.data(), z.data(), z.data(), run.size());
    for (std::size_t p = 0; p < run.size(); ++p) {
        ASSERT_EQ(bitsOf(x[p]), bitsOf(expected[p])) << what << " into x" << where(run, p);
        ASSERT_EQ(bitsOf(z[p]), bitsOf(expected[p])) << what << " into z" << where(run, p);
    }
}

void expectColoursMatch(const ColourBasis& function, const PointRun& run, const std::string& what)
{
    std::vector<Colour> expected;
    for (std::size_t p = 0; p < run.size(); ++p)
        expected.push_back(function.colour(run.x[p], run.y[p], run.z[p]));
    for (auto [start, length] : stretches(run.size())) {
        std::vector<Colour> got(length, Colour(0, 0, 0, 0));
        function.colours(&run.x[start], &run.y[start], &run.z[start], got.data(), length);
        for (std::size_t i = 0; i < length; ++i) {
            const Colour& a = got[i];
            const Colour& b = expected[start + i];
            ASSERT_TRUE(bitsOf(a.r) == bitsOf(b.r) && bitsOf(a.g) == bitsOf(b.g) && bitsOf(a.b) == bitsOf(b.b) &&
                        bitsOf(a.a) == bitsOf(b.a))
                << what << where(run, start + i);
        }
    }
}

void expectRunsMatch(const Parameterised* node, NodeKind kind, const PointRun& run, const std::string& what)
{
    if (kind == NodeKind::Field)
        expectValuesMatch(*static_cast<const Basis*>(node), run, what);
    else
        expectColoursMatch(*static_cast<const ColourBasis*>(node), run, what);
}

class CatalogueRuns : public AtEveryLevel {};

TEST_P(CatalogueRuns, EveryNodeTypeMatchesItsPointsOverRandomGraphs)
{
    const PointRun run = identityPoints(29, 256);
    for (const NodeType* type : nodeTypes()) {
        // Unwired, runs give what value() and colour() give without inputs.
        GraphMaker unwired(1);
        const ArgumentValues defaults = type->defaultArguments();
        if (type->kind == NodeKind::Field)
            expectValuesMatch(*unwired.own(type->makeField(defaults)), run, std::string(type->name) + " unwired");
        else
            expectColoursMatch(*unwired.own(type->makeColour(defaults)), run, std::string(type->name) + " unwired");
        for (unsigned seed = 0; seed < 3; ++seed) {
            GraphMaker graphs(seed * 131 + 7);
            const Parameterised* node = graphs.make(*type, 2);
            expectRunsMatch(node, type->kind, run, std::string(type->name) + ", graph " + std::to_string(seed));
            if (HasFatalFailure())
                return;
        }
    }
}

TEST_P(CatalogueRuns, NodesOfAUsersOwnRunAPointAtATimeInsideLibraryGraphs)
{
    const PointRun run = identityPoints(31, 64);
    GraphMaker graphs(5);
    Ripple* ripple = graphs.own(std::make_unique<Ripple>());
    Ridged* ridged = graphs.own(std::make_unique<Ridged>());
    ridged->setInput(static_cast<Basis*>(graphs.make(*findNodeType("Noise"), 0)), 0);
    ridged->setIntParameter("octaves", 3);
    ripple->setInput(ridged, 0);
    ripple->setParameter("contrast", 1.7);
    expectValuesMatch(*ripple, run, "Ripple");

    // Library nodes hand their runs down to the user's nodes.
    for (const char* name : {"FBM", "BPerturber", "BLerper", "BGainer"}) {
        Basis* node = static_cast<Basis*>(graphs.make(*findNodeType(name), 1));
        for (int i = 0; i < node->inputCount(); ++i)
            node->setInput(i % 2 ? static_cast<Basis*>(ridged) : ripple, i);
        expectValuesMatch(*node, run, std::string(name) + " over user fields");
    }
    Tint* tint = graphs.own(std::make_unique<Tint>());
    tint->setInput(ripple, 0);
    auto* mixer = static_cast<ColourBasis*>(graphs.make(*findNodeType("CMixer"), 1));
    mixer->setColourInput(tint, 0);
    expectColoursMatch(*mixer, run, "CMixer over a user colour function");
}

INSTANTIATE_AT_EVERY_LEVEL(CatalogueRuns);

// Each run keeps blocks of points on the stack while its inputs run theirs:
// a chain as deep as a graph file may hold (999 nodes below the output)
// must bake on a thread's ordinary stack, to the bits of value().
TEST(Runs, AChainAsDeepAsAGraphMayBeBakesWithinTheStack)
{
    Noise leaf(3, 16);
    std::vector<std::unique_ptr<BPerturber>> chain;
    Basis* below = &leaf;
    for (int i = 0; i < 1000; ++i) {
        chain.push_back(std::make_unique<BPerturber>());
        ASSERT_TRUE(chain.back()->setInput(below, 0));
        ASSERT_TRUE(chain.back()->setInput(&leaf, 1));
        chain.back()->setParameter("xperturb", 0.001);
        below = chain.back().get();
    }
    const Grid grid = Grid::flat(8, 2, 4.0, 0.5, 0.25, 0.125);
    std::vector<float> baked(16);
    ASSERT_TRUE(bakeFloats(*below, grid, baked.data(), BakeOptions{std::nullopt, 1}));
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 8; ++column) {
            const Point p = grid.point(row, column);
            EXPECT_EQ(baked[8 * row + column], float(below->value(p.x, p.y, p.z))) << row << ", " << column;
        }
}

} // namespace
