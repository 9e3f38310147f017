#include "tests/breeder/gallery_graphs.h"

#include "app/world_background.h"
#include "breeder/background_graph.h"
#include "breeder/graph_mutation.h"
#include "breeder/litter.h"

#include <QFile>

#include <algorithm>
#include <set>

using breeder::BredGraph;
using breeder::GraphDraft;

namespace {

const char* const parents[] = {"world_background", "planet", "mossy_flagstone", "marble_turbulence",
                               "perturbed_fbm",    "b_lerper", "c_mixer",        "voronoi"};

// Every argument and parameter of every node the output reaches lies in its
// type's range; every stop table keeps its positions strictly ascending and
// takes its alphas from `alphas`.
void expectWithinRanges(const GraphDraft& draft, const std::set<double>& alphas, const std::string& what)
{
    for (const std::size_t n : breeder::reachedInputsFirst(draft)) {
        const breeder::DraftNode& node = draft.nodes[n];
        const tex::NodeType& type = *node.type;
        for (std::size_t a = 0; a < type.arguments.size(); ++a)
            ASSERT_TRUE(node.arguments[a] >= type.arguments[a].min && node.arguments[a] <= type.arguments[a].max)
                << what << ": " << node.id << " " << type.arguments[a].name << " = " << node.arguments[a];
        const tex::ParameterList& list = *type.parameters;
        for (std::size_t p = 0; p < list.size(); ++p) {
            const tex::ParameterInfo& info = list[p];
            const tex::ParameterValue value = node.parameters[p];
            if (info.kind == tex::ParameterInfo::integerKind)
                ASSERT_TRUE(value.intValue >= info.min.intValue && value.intValue <= info.max.intValue)
                    << what << ": " << node.id << " " << info.name << " = " << value.intValue;
            else
                ASSERT_TRUE(value.realValue >= info.min.realValue && value.realValue <= info.max.realValue)
                    << what << ": " << node.id << " " << info.name << " = " << value.realValue;
        }
        for (std::size_t row = 0; row < node.stops.size(); row += 5) {
            if (row > 0) {
                ASSERT_LT(node.stops[row - 5], node.stops[row]) << what << ": " << node.id;
            }
            for (std::size_t k = 1; k <= 3; ++k)
                ASSERT_TRUE(node.stops[row + k] >= 0.0 && node.stops[row + k] <= 1.0) << what << ": " << node.id;
            ASSERT_EQ(alphas.count(node.stops[row + 4]), 1u) << what << ": " << node.id << " alpha changed";
        }
    }
}

std::set<double> alphasOf(const GraphDraft& draft)
{
    std::set<double> alphas;
    for (const breeder::DraftNode& node : draft.nodes)
        for (std::size_t row = 4; row < node.stops.size(); row += 5)
            alphas.insert(node.stops[row]);
    return alphas;
}

std::set<std::string> typesOf(const tex::Graph& graph)
{
    std::set<std::string> types;
    for (const tex::GraphNode& node : graph.nodes())
        types.insert(node.type->name);
    return types;
}

} // namespace

TEST(BreederMutation, MutantsStayWithinTheirRangesAtEveryRate)
{
    for (const char* name : parents) {
        const BredGraph parent = galleryGraph(name);
        const GraphDraft draft = breeder::draftOf(*parent.graph);
        const std::set<double> alphas = alphasOf(draft);
        for (const double rate : {0.25, 0.5, 1.0, 2.0}) {
            tex::Random random(int(rate * 100));
            for (int n = 0; n < 150; ++n)
                expectWithinRanges(breeder::mutate(draft, rate, random), alphas,
                                   std::string(name) + " at rate " + std::to_string(rate));
        }
    }
}

// A bound no higher than the parent's own cost: every mutant that costs more
// (a further octave, an inserted modifier) has to be drawn again, and what
// comes out is still a graph of its own, not the parent over and over.
TEST(BreederMutation, MutantsOverTheCostBoundAreDrawnAgain)
{
    const BredGraph parent = galleryGraph("planet");
    tex::GraphLimits limits;
    limits.maxCost = parent.graph->cost();
    tex::GraphLimits unbounded;
    unbounded.maxCost = std::uint64_t(1) << 40;

    // Unbounded, some mutants of this seed cost more than the parent...
    tex::Random free(3);
    int costlier = 0;
    for (int n = 0; n < 200; ++n)
        costlier += breeder::mutant(parent, 2.0, free, unbounded).graph->cost() > limits.maxCost;
    EXPECT_GT(costlier, 0);

    // ...bounded, none does, and they still differ from the parent.
    tex::Random bounded(3);
    int changed = 0;
    for (int n = 0; n < 200; ++n) {
        const BredGraph child = breeder::mutant(parent, 2.0, bounded, limits);
        ASSERT_LE(child.graph->cost(), limits.maxCost);
        tex::GraphError error;
        ASSERT_TRUE(tex::readGraph(child.text, error, limits)) << error.describe("mutant");
        changed += child.text != parent.text;
    }
    EXPECT_GT(changed, 190);
}

TEST(BreederMutation, ShapesChangeNowAndThenAndTheGraphsStayReadable)
{
    const BredGraph parent = galleryGraph("b_gainer");
    const std::set<std::string> parentTypes = typesOf(*parent.graph);
    tex::Random random(11);
    int swapped = 0, grown = 0, shrunk = 0;
    for (int n = 0; n < 300; ++n) {
        const BredGraph child = breeder::mutant(parent, 1.0, random);
        ASSERT_LE(child.graph->cost(), tex::GraphLimits().maxCost);
        const std::size_t nodes = child.graph->nodes().size();
        grown += nodes > parent.graph->nodes().size();
        shrunk += nodes < parent.graph->nodes().size();
        swapped += nodes == parent.graph->nodes().size() && typesOf(*child.graph) != parentTypes;
        // The mutant's own text reads back as itself.
        tex::GraphError error;
        const std::optional<BredGraph> again = breeder::readBredGraph(child.text, error);
        ASSERT_TRUE(again) << error.describe("mutant");
        EXPECT_EQ(again->text, child.text);
    }
    // At rate 1 a swap comes in one mutant of five, an insertion in one of
    // about seven, a removal in one of ten.
    EXPECT_GT(swapped, 20);
    EXPECT_GT(grown, 15);
    EXPECT_GT(shrunk, 10);
    EXPECT_LT(swapped + grown + shrunk, 200);
}

TEST(BreederMutation, AtRateZeroAMutantIsItsParent)
{
    for (const char* name : parents) {
        const BredGraph parent = galleryGraph(name);
        tex::Random random(5);
        EXPECT_EQ(breeder::mutant(parent, 0.0, random).text, parent.text) << name;
    }
}

TEST(BreederLitter, TheSameSeedBreedsTheSameLitterAndTheParentSitsInTheMiddle)
{
    const BredGraph parent = galleryGraph("perturbed_fbm");
    tex::Random first(42), second(42), other(43);
    const std::vector<BredGraph> a = breeder::breedLitter(parent, 0.5, first);
    const std::vector<BredGraph> b = breeder::breedLitter(parent, 0.5, second);
    const std::vector<BredGraph> c = breeder::breedLitter(parent, 0.5, other);
    ASSERT_EQ(a.size(), 9u);
    EXPECT_EQ(a[breeder::parentPlace].text, parent.text);
    std::set<std::string> distinct;
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].text, b[i].text) << i;
        distinct.insert(a[i].text);
    }
    EXPECT_EQ(distinct.size(), 9u);
    EXPECT_NE(a[0].text, c[0].text);
    // Both generators went through the same draws, and go on alike.
    const std::vector<BredGraph> next = breeder::breedLitter(a[2], 0.5, first);
    EXPECT_EQ(next[8].text, breeder::breedLitter(b[2], 0.5, second)[8].text);
}

TEST(BreederLitter, TheDefaultParentIsTheWorldsBackground)
{
    QFile file("../../docs/gallery/world_background.json");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    tex::GraphError error;
    const std::optional<BredGraph> gallery = breeder::readBredGraph(file.readAll().toStdString(), error);
    ASSERT_TRUE(gallery);
    EXPECT_EQ(breeder::noiseBackground(1, backgroundStops, 4).text, gallery->text);
}
