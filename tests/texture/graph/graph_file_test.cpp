#include "texture/texture_graph.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace tex;

namespace {

std::string graph(const std::string& nodes, const std::string& output = "out")
{
    return R"({"format": "texbake-graph", "version": 1, "nodes": [)" + nodes + R"(], "output": ")" + output
        + "\"}";
}

// The message readGraph refuses `text` with, or "accepted".
std::string refusal(const std::string& text)
{
    GraphError error;
    return readGraph(text, error) ? "accepted" : error.describe("g.json");
}

// The graph `text` describes; throws when it is refused.
Graph read(const std::string& text)
{
    GraphError error;
    std::optional<Graph> graph = readGraph(text, error);
    if (!graph)
        throw std::runtime_error(error.describe("g.json"));
    return std::move(*graph);
}

const std::vector<tex::Point> probes = {{0.1, 0.2, 0.3}, {1.7, -2.25, 0.5}, {13.3, 7.9, -4.1}, {0.5, 0.5, 0.5},
                                        {-6.6, 3.3, 9.9}, {100.25, 31.5, 2.0}};

void expectSameField(const GraphNode& read, tex::Basis& expected)
{
    ASSERT_NE(read.field, nullptr);
    for (const tex::Point& p : probes)
        EXPECT_EQ(read.field->value(p.x, p.y, p.z), expected.value(p.x, p.y, p.z)) << p.x << ", " << p.y;
}

void expectSameColour(const GraphNode& read, tex::ColourBasis& expected)
{
    ASSERT_NE(read.colour, nullptr);
    for (const tex::Point& p : probes) {
        const tex::Colour a = read.colour->colour(p.x, p.y, p.z);
        const tex::Colour b = expected.colour(p.x, p.y, p.z);
        EXPECT_TRUE(a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a) << p.x << ", " << p.y;
    }
}

const double worldStops[4][5] = {
    {0.0, 0.5, 0.2, 0.4, 0.1}, {0.4, 0.5, 0.2, 0.4, 0.1}, {0.95, 0.8, 0.6, 0.2, 0.1}, {1.0, 0.5, 0.2, 0.4, 0.1}};
const char* const worldStopsJson =
    "[[0.0, 0.5, 0.2, 0.4, 0.1], [0.4, 0.5, 0.2, 0.4, 0.1], [0.95, 0.8, 0.6, 0.2, 0.1], [1.0, 0.5, 0.2, 0.4, 0.1]]";

} // namespace

TEST(GraphFile, BuildsTheGraphItDescribes)
{
    const Graph world = read(graph(R"({"id": "noise", "type": "Noise", "seed": 7, "size": 16,
                                             "parameters": {"xscale": 2, "contrast": 1.5}},
                                            {"id": "out", "type": "ColourMap", "inputs": ["noise"], "stops": )"
                                        + std::string(worldStopsJson) + "}"));
    tex::Noise noise(7, 16);
    noise.setParameter("xscale", 2.0);
    noise.setParameter("contrast", 1.5);
    tex::ColourMap map;
    map.setInput(&noise, 0);
    map.spline()->setStops(&worldStops[0][0], 4);
    expectSameColour(world.output(), map);
}

TEST(GraphFile, ConstructorArgumentsAndInputsGoWhereTheClassTakesThem)
{
    // Flagstone's seeds in order: cells, then grain.
    tex::Flagstone flagstone(3, 4);
    expectSameColour(read(graph(R"({"id": "out", "type": "Flagstone", "cellSeed": 3, "grainSeed": 4})"))
                         .output(),
                     flagstone);

    // Turbulence starts at the listed 8 octaves, and "octaves" changes them.
    tex::Turbulence eight(5, 8);
    expectSameField(read(graph(R"({"id": "out", "type": "Turbulence", "seed": 5})")).output(), eight);
    tex::Turbulence three(5, 3);
    expectSameField(
        read(graph(R"({"id": "out", "type": "Turbulence", "seed": 5, "parameters": {"octaves": 3}})"))
            .output(),
        three);

    // Voronoi's seed, size and density; a perturber's inputs by index.
    tex::Voronoi cells(9, 64, 2.5);
    tex::Checker checker;
    tex::BPerturber perturbed;
    perturbed.setInput(&checker, 0);
    perturbed.setInput(&cells, 1);
    perturbed.setParameter("xperturb", -3.0);
    expectSameField(read(graph(R"({"id": "c", "type": "Checker"},
                                       {"id": "v", "type": "Voronoi", "seed": 9, "size": 64, "density": 2.5},
                                       {"id": "out", "type": "BPerturber", "inputs": ["c", "v"],
                                        "parameters": {"xperturb": -3}})"))
                        .output(),
                    perturbed);

    // A mixer's colour inputs by index, its scalar input apart.
    tex::Sphere sphere;
    tex::Noise noise(1, 256);
    tex::ColourMap low;
    low.setInput(&noise, 0);
    low.spline()->setStops(&worldStops[0][0], 4);
    tex::Flagstone stones(1, 2);
    tex::CMixer mixer;
    mixer.setColourInput(&low, 0);
    mixer.setColourInput(&stones, 1);
    mixer.setInput(&sphere, 0);
    expectSameColour(read(graph(R"({"id": "s", "type": "Sphere"},
                                        {"id": "n", "type": "Noise", "seed": 1},
                                        {"id": "low", "type": "ColourMap", "inputs": ["n"], "stops": )"
                                     + std::string(worldStopsJson) + R"(},
                                        {"id": "stones", "type": "Flagstone", "cellSeed": 1, "grainSeed": 2},
                                        {"id": "out", "type": "CMixer", "inputs": ["s"],
                                         "colourInputs": ["low", "stones"]})"))
                         .output(),
                     mixer);
}

TEST(GraphFile, MalformedTextIsPlacedByLineAndColumn)
{
    EXPECT_EQ(refusal("{\"format\": \"texbake-graph\",\n  \"version\": 1,\n  \"nodes\": [}"),
              "g.json:3:13: syntax error while parsing value - unexpected '}'; expected '[', '{', or a literal");
    EXPECT_EQ(refusal(""),
              "g.json:1:1: syntax error while parsing value - unexpected end of input; expected '[', '{', or a literal");
    EXPECT_EQ(refusal("{\"format\": 1,\n \"version\": -2e400}"), "g.json:2:13: number overflow parsing '-2e400'");
    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": "Noise", "seed": 1, "parameters": {"xscale": 1, "xscale": 2}})")),
              "g.json: /nodes/0/parameters: key \"xscale\" appears twice");
    EXPECT_EQ(refusal(R"({"format": "texbake-graph", "format": "x"})"), "g.json: top level: key \"format\" appears twice");
}

TEST(GraphFile, TheFileMustSayWhatItIs)
{
    EXPECT_EQ(refusal("[]"),
              "g.json: top level: a graph file is a JSON object with \"format\", \"version\", \"nodes\" and \"output\"");
    EXPECT_EQ(refusal(R"({"version": 1, "nodes": [], "output": "a"})"), "g.json: top level: missing \"format\"");
    EXPECT_EQ(refusal(R"({"format": "png", "version": 1})"), "g.json: /format: must be \"texbake-graph\"");
    EXPECT_EQ(refusal(R"({"format": "texbake-graph", "version": 2})"),
              "g.json: /version: 2 is not a version this library reads (it reads 1)");
    EXPECT_EQ(refusal(R"({"format": "texbake-graph", "version": 1, "nodes": []})"),
              "g.json: /nodes: must be an array of at least one node");
    EXPECT_EQ(refusal(graph(R"({"id": "a", "type": "Checker"})", "b")), "g.json: /output: no node has the id \"b\"");
    EXPECT_EQ(refusal(R"({"format": "texbake-graph", "version": 1, "nodes": [], "outputs": "a"})"),
              "g.json: /outputs: unknown key");
}

TEST(GraphFile, NamesMustBeTheLibrarys)
{
    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": "noise", "seed": 1})")),
              "g.json: /nodes/0/type: unknown type \"noise\"; the types are Noise, FBM, Turbulence, Voronoi, Sphere, "
              "Checker, BPerturber, BLerper, BDarken, BScaler, BGainer, BStepper, ColourMap, Marble, Flagstone, "
              "CMixer, CDarken");
    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": "BDarken", "inputs": [], "parameters": {"darken": 1}})")),
              "g.json: /nodes/0/parameters/darken: BDarken has no parameter \"darken\"; it has \"contrast\", "
              "\"xscale\", \"yscale\", \"zscale\", \"amount\"");
    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": "CMixer", "parameters": {"amount": 1}})")),
              "g.json: /nodes/0/parameters/amount: CMixer has no parameter \"amount\"; it has none");
    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": "FBM", "seed": 1})")), "g.json: /nodes/0/seed: unknown key");
    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": "Noise", "seed": 1, "paramters": {}})")),
              "g.json: /nodes/0/paramters: unknown key");
    EXPECT_EQ(refusal(graph(R"({"id": "a/b~c", "type": "Noise", "seed": 1, "x": 0})")),
              "g.json: /nodes/0/x: unknown key");
}

TEST(GraphFile, ValuesMustHaveTheListedKindAndRange)
{
    const auto noise = [](const std::string& more) {
        return refusal(graph(R"({"id": "out", "type": "Noise", "seed": 1)" + more + "}"));
    };
    EXPECT_EQ(noise(R"(, "parameters": {"xscale": 10})"), "accepted");
    EXPECT_EQ(noise(R"(, "parameters": {"xscale": 0})"), "accepted");
    EXPECT_EQ(noise(R"(, "parameters": {"xscale": 10.000001})"),
              "g.json: /nodes/0/parameters/xscale: 10.000001 is outside 0..10");
    EXPECT_EQ(noise(R"(, "parameters": {"xscale": -1e-300})"),
              "g.json: /nodes/0/parameters/xscale: -1e-300 is outside 0..10");
    EXPECT_EQ(noise(R"(, "parameters": {"xscale": "2"})"), "g.json: /nodes/0/parameters/xscale: must be a number");
    EXPECT_EQ(noise(R"(, "parameters": {"xscale": true})"), "g.json: /nodes/0/parameters/xscale: must be a number");
    EXPECT_EQ(noise(R"(, "parameters": [1])"),
              "g.json: /nodes/0/parameters: must be an object of parameter names and values");

    const auto fbm = [](const std::string& octaves) {
        return refusal(graph(R"({"id": "n", "type": "Noise", "seed": 1},
                                {"id": "out", "type": "FBM", "inputs": ["n"], "parameters": {"octaves": )"
                             + octaves + "}}"));
    };
    EXPECT_EQ(fbm("16"), "accepted");
    EXPECT_EQ(fbm("17"), "g.json: /nodes/1/parameters/octaves: 17 is outside 1..16");
    EXPECT_EQ(fbm("0"), "g.json: /nodes/1/parameters/octaves: 0 is outside 1..16");
    EXPECT_EQ(fbm("4.0"), "g.json: /nodes/1/parameters/octaves: must be an integer");
    EXPECT_EQ(fbm("18446744073709551615"),
              "g.json: /nodes/1/parameters/octaves: 18446744073709551615 is outside 1..16");

    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": "Noise"})")), "g.json: /nodes/0: Noise needs \"seed\"");
    EXPECT_EQ(noise(R"(, "size": 12)"), "g.json: /nodes/0/size: 12 is not a power of two");
    EXPECT_EQ(noise(R"(, "size": 512)"), "g.json: /nodes/0/size: 512 is outside 1..256");
    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": "Noise", "seed": 2147483648})")),
              "g.json: /nodes/0/seed: 2147483648 is outside -2147483648..2147483647");
    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": "Noise", "seed": -2147483648})")), "accepted");
    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": "Voronoi", "seed": 1, "density": 5.5})")),
              "g.json: /nodes/0/density: 5.5 is outside 0..5");
}

TEST(GraphFile, InputsMustMatchTheClass)
{
    const std::string noise = R"({"id": "n", "type": "Noise", "seed": 1}, )";
    const std::string flagstone = R"({"id": "f", "type": "Flagstone", "cellSeed": 1, "grainSeed": 1}, )";
    EXPECT_EQ(refusal(graph(noise + R"({"id": "out", "type": "BLerper"})")),
              "g.json: /nodes/1: BLerper needs \"inputs\": 2 scalar inputs");
    EXPECT_EQ(refusal(graph(noise + R"({"id": "out", "type": "BLerper", "inputs": ["n"]})")),
              "g.json: /nodes/1/inputs: BLerper takes 2 scalar inputs, 1 given");
    EXPECT_EQ(refusal(graph(noise + R"({"id": "out", "type": "Checker", "inputs": ["n"]})")),
              "g.json: /nodes/1/inputs: Checker takes 0 scalar inputs, 1 given");
    EXPECT_EQ(refusal(graph(noise + R"({"id": "out", "type": "Checker", "inputs": [], "colourInputs": []})")),
              "accepted");
    EXPECT_EQ(refusal(graph(noise + R"({"id": "out", "type": "FBM", "inputs": ["m"]})")),
              "g.json: /nodes/1/inputs/0: no node has the id \"m\"");
    EXPECT_EQ(refusal(graph(flagstone + R"({"id": "out", "type": "FBM", "inputs": ["f"]})")),
              "g.json: /nodes/1/inputs/0: \"f\" is a colour function; inputs take scalar fields");
    EXPECT_EQ(refusal(graph(noise + R"({"id": "out", "type": "CDarken", "inputs": ["n"], "colourInputs": ["n"]})")),
              "g.json: /nodes/1/colourInputs/0: \"n\" is a scalar field; colourInputs take colour functions");
    EXPECT_EQ(refusal(graph(noise + flagstone + R"({"id": "out", "type": "CDarken", "inputs": ["n"]})")),
              "g.json: /nodes/2: CDarken needs \"colourInputs\": 1 colour input");
    EXPECT_EQ(refusal(graph(noise + R"({"id": "out", "type": "FBM", "inputs": "n"})")),
              "g.json: /nodes/1/inputs: must be an array of node ids");
}

TEST(GraphFile, EveryNodeIsCheckedAndNoneMayFormACycle)
{
    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": "BGainer", "inputs": ["out"]})")),
              "g.json: /nodes/0/inputs/0: closes a cycle: \"out\" -> \"out\"");
    EXPECT_EQ(refusal(graph(R"({"id": "c", "type": "Checker"},
                               {"id": "out", "type": "BLerper", "inputs": ["c", "s"]},
                               {"id": "s", "type": "BScaler", "inputs": ["t"]},
                               {"id": "t", "type": "BStepper", "inputs": ["out"]})")),
              "g.json: /nodes/3/inputs/0: closes a cycle: \"out\" -> \"s\" -> \"t\" -> \"out\"");
    // Nodes the output does not reach are allowed, and checked all the same.
    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": "Checker"}, {"id": "spare", "type": "Sphere"})")), "accepted");
    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": "Checker"}, {"id": "a", "type": "BGainer", "inputs": ["b"]},
                               {"id": "b", "type": "BGainer", "inputs": ["a"]})")),
              "g.json: /nodes/2/inputs/0: closes a cycle: \"a\" -> \"b\" -> \"a\"");
    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": "Checker"}, {"id": "spare", "type": "Sphere", "seed": 1})")),
              "g.json: /nodes/1/seed: unknown key");
    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": "Checker"}, {"id": "out", "type": "Sphere"})")),
              "g.json: /nodes/1/id: the id \"out\" is already used by /nodes/0");
    EXPECT_EQ(refusal(graph(R"({"id": "", "type": "Checker"})")), "g.json: /nodes/0/id: must be a non-empty string");
}

TEST(GraphFile, GraphsMayNotBeDeeperThanAThousandNodes)
{
    const auto chain = [](int gainers) {
        std::string nodes = R"({"id": "n0", "type": "Checker"})";
        for (int i = 1; i <= gainers; ++i)
            nodes += R"(, {"id": "n)" + std::to_string(i) + R"(", "type": "BGainer", "inputs": ["n)"
                + std::to_string(i - 1) + R"("]})";
        return graph(nodes, "n" + std::to_string(gainers));
    };
    EXPECT_EQ(refusal(chain(999)), "accepted");
    EXPECT_EQ(refusal(chain(1000)), "g.json: /nodes/1000: the graph below this node is more than 1000 nodes deep");
}

TEST(GraphFile, StopsAreAStrictlyAscendingTableOfTwoOrMoreRows)
{
    const auto map = [](const std::string& stops) {
        return refusal(graph(R"({"id": "n", "type": "Noise", "seed": 1},
                                {"id": "out", "type": "ColourMap", "inputs": ["n"], "stops": )"
                             + stops + "}"));
    };
    EXPECT_EQ(map("[[0, 0, 0, 0, 1], [1, 1, 1, 1, 1]]"), "accepted");
    EXPECT_EQ(map("[[0, 0, 0, 0, 1]]"),
              "g.json: /nodes/1/stops: must be an array of at least two stops [position, r, g, b, a]");
    EXPECT_EQ(map("[[0, 0, 0, 0, 1], [0, 1, 1, 1, 1]]"),
              "g.json: /nodes/1/stops/1/0: position 0 does not follow 0: positions must strictly ascend");
    EXPECT_EQ(map("[[0.5, 0, 0, 0, 1], [0.25, 1, 1, 1, 1]]"),
              "g.json: /nodes/1/stops/1/0: position 0.25 does not follow 0.5: positions must strictly ascend");
    EXPECT_EQ(map("[[0, 0, 0, 0, 1], [1, 1, 1, 1]]"),
              "g.json: /nodes/1/stops/1: a stop is five numbers [position, r, g, b, a]");
    EXPECT_EQ(map("[[0, 0, 0, 0, 1], [1, 1, null, 1, 1]]"), "g.json: /nodes/1/stops/1/2: must be a number");
    EXPECT_EQ(refusal(graph(R"({"id": "n", "type": "Noise", "seed": 1}, {"id": "out", "type": "Marble", "inputs": ["n"]})")),
              "g.json: /nodes/1: Marble needs \"stops\"");
    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": "Flagstone", "cellSeed": 1, "grainSeed": 1,
                                "stops": [[0, 0, 0, 0, 1], [1, 1, 1, 1, 1]]})")),
              "g.json: /nodes/0/stops: Flagstone has no colour stops");
}

TEST(GraphFile, GalleryGraphsReadWriteAndReadAgainToTheSameBytes)
{
    int graphs = 0;
    for (const auto& entry : std::filesystem::directory_iterator("../../../docs/gallery")) {
        if (entry.path().extension() != ".json")
            continue;
        ++graphs;
        std::ifstream file(entry.path());
        std::stringstream text;
        text << file.rdbuf();
        // The gallery's files are written the way writeGraph writes.
        const std::string written = writeGraph(read(text.str()));
        EXPECT_EQ(written, text.str()) << entry.path();
        EXPECT_EQ(writeGraph(read(written)), written) << entry.path();
    }
    EXPECT_GE(graphs, int(nodeTypes().size()));
}

TEST(GraphFile, WritingKeepsEveryNumberAndNameExactly)
{
    const std::string text = graph(R"({"id": "a\"/~", "type": "Voronoi", "seed": -2147483648, "size": 1073741824,
                                       "density": 0.1, "parameters": {"zscale": 5e-324, "contrast": -0.0}},
                                      {"id": "out", "type": "Marble", "inputs": ["a\"/~"],
                                       "stops": [[-1e300, 0.1, 0.2, 0.30000000000000004, 1], [2, 3, 4, 5, 6]]})");
    EXPECT_EQ(writeGraph(read(text)),
              "{\n  \"format\": \"texbake-graph\",\n  \"version\": 1,\n  \"nodes\": [\n"
              "    {\"id\": \"a\\\"/~\", \"type\": \"Voronoi\", \"seed\": -2147483648, \"size\": 1073741824, "
              "\"density\": 0.1, \"parameters\": {\"contrast\": -0.0, \"zscale\": 5e-324}},\n"
              "    {\"id\": \"out\", \"type\": \"Marble\", \"inputs\": [\"a\\\"/~\"], \"stops\": [\n"
              "      [-1e+300, 0.1, 0.2, 0.30000000000000004, 1.0],\n"
              "      [2.0, 3.0, 4.0, 5.0, 6.0]\n"
              "    ]}\n  ],\n  \"output\": \"out\"\n}\n");
}

TEST(GraphFile, OnlyWhatTheOutputReachesIsBuilt)
{
    const Graph g = read(graph(R"({"id": "spare", "type": "Flagstone", "cellSeed": 1, "grainSeed": 2},
                                   {"id": "n", "type": "Noise", "seed": 1},
                                   {"id": "unused", "type": "FBM", "inputs": ["n"], "parameters": {"octaves": 16}},
                                   {"id": "out", "type": "BGainer", "inputs": ["n"]})"));
    EXPECT_EQ(g.find("spare")->colour, nullptr);
    EXPECT_EQ(g.find("unused")->field, nullptr);
    ASSERT_NE(g.find("n")->field, nullptr);
    EXPECT_EQ(g.output().field->inputsReady(), true);
    // The gainer and the noise; the spare nodes cost nothing.
    EXPECT_EQ(g.cost(), std::uint64_t(BGainer::nodeType().cost().own + Noise::nodeType().cost().own));
}

TEST(GraphFile, AnOutputPricedTooHighIsRefusedWithItsCostliestPath)
{
    // Each level blends the level below with itself: 2^levels noise samples
    // and 2^levels - 1 blends.
    const auto diamond = [](int levels) {
        std::string nodes = R"({"id": "d0", "type": "Noise", "seed": 1})";
        for (int i = 1; i <= levels; ++i)
            nodes += R"(, {"id": "d)" + std::to_string(i) + R"(", "type": "BLerper", "inputs": ["d)"
                + std::to_string(i - 1) + R"(", "d)" + std::to_string(i - 1) + R"("]})";
        return refusal(graph(nodes, "d" + std::to_string(levels)));
    };
    const std::uint64_t noise = std::uint64_t(Noise::nodeType().cost().own);
    const std::uint64_t lerper = std::uint64_t(BLerper::nodeType().cost().own);
    EXPECT_EQ(diamond(12), "accepted");
    EXPECT_EQ(diamond(40), "g.json: /output: a sample is priced at "
                               + std::to_string((std::uint64_t(1) << 40) * noise + ((std::uint64_t(1) << 40) - 1) * lerper)
                               + " ns, more than the 1000000 ns allowed; the costliest path: \"d40\" (BLerper) -> "
                                 "\"d39\" (BLerper) -> \"d38\" (BLerper) -> \"d37\" (BLerper) -> \"d36\" (BLerper) -> "
                                 "\"d35\" (BLerper) -> \"d34\" (BLerper) -> \"d33\" (BLerper) -> \"d32\" (BLerper) -> "
                                 "\"d31\" (BLerper) -> \"d30\" (BLerper) -> \"d29\" (BLerper) -> ... (29 more)");
    EXPECT_EQ(diamond(70).substr(0, 72), "g.json: /output: a sample is priced at more than 18446744073709551614 ns");

    // Octaves multiply the source and the sum's own work: FBMs of 16
    // octaves over FBMs of 16 over noise, blended with a sphere.
    std::string chain = R"({"id": "n", "type": "Noise", "seed": 1},
                           {"id": "s", "type": "Sphere"},
                           {"id": "f1", "type": "FBM", "inputs": ["n"], "parameters": {"octaves": 16}},
                           {"id": "f2", "type": "FBM", "inputs": ["f1"], "parameters": {"octaves": 16}},
                           {"id": "out", "type": "BLerper", "inputs": ["s", "f2"]})";
    const std::uint64_t fbm = std::uint64_t(FBM::nodeType().cost().own);
    const std::uint64_t price = lerper + std::uint64_t(Sphere::nodeType().cost().own)
        + 16 * (fbm + 16 * (fbm + noise));
    GraphLimits limits;
    limits.maxCost = price;
    GraphError error;
    ASSERT_TRUE(readGraph(graph(chain), error, limits));
    EXPECT_EQ(readGraph(graph(chain), error, limits)->cost(), price);
    limits.maxCost = price - 1;
    EXPECT_FALSE(readGraph(graph(chain), error, limits));
    EXPECT_EQ(error.describe("g.json"),
              "g.json: /output: a sample is priced at " + std::to_string(price) + " ns, more than the "
                  + std::to_string(price - 1) + " ns allowed; the costliest path: \"out\" (BLerper) -> \"f2\" (FBM x16) -> "
                  "\"f1\" (FBM x16) -> \"n\" (Noise)");
}

TEST(GraphFile, AColourLookupIsPricedByItsStops)
{
    const auto priceOf = [](const std::string& nodes) { return read(graph(nodes)).cost(); };
    // A lookup bisects its stops: 2 and 3 stops take 2 steps, 4 to 7 take 3.
    const auto map = [&](int stops) {
        std::string rows;
        for (int k = 0; k < stops; ++k)
            rows += std::string(k ? ", " : "") + "[" + std::to_string(k) + ", 0, 0, 0, 1]";
        return priceOf(R"({"id": "n", "type": "Noise", "seed": 1},
                          {"id": "out", "type": "ColourMap", "inputs": ["n"], "stops": [)" + rows + "]}");
    };
    const SampleCost colourMap = ColourMap::nodeType().cost();
    const std::uint64_t base = std::uint64_t(colourMap.own + Noise::nodeType().cost().own);
    EXPECT_EQ(map(2), base + 2 * std::uint64_t(colourMap.perStopStep));
    EXPECT_EQ(map(3), base + 2 * std::uint64_t(colourMap.perStopStep));
    EXPECT_EQ(map(4), base + 3 * std::uint64_t(colourMap.perStopStep));
    EXPECT_EQ(map(4096), base + 13 * std::uint64_t(colourMap.perStopStep));
}

// The graphs that once got through: a colour map of 760,000 stops, and three
// nested 16-octave FBMs over a chain of 990 gainers.
TEST(GraphFile, TheGraphsThatOnceRanForSecondsASampleAreRefused)
{
    std::string stops;
    for (int k = 0; k < 760000; ++k)
        stops += std::string(k ? "," : "") + "[" + std::to_string(k) + ",0,0,0,1]";
    EXPECT_EQ(refusal(graph(R"({"id": "n", "type": "Noise", "seed": 1},
                               {"id": "out", "type": "ColourMap", "inputs": ["n"], "stops": [)" + stops + "]}")),
              "g.json: /nodes/1/stops/4096: a graph file holds at most 4096 colour stops");

    std::string gainers = R"({"id": "n", "type": "Noise", "seed": 1})";
    std::string below = "n";
    for (int i = 0; i < 990; ++i) {
        const std::string id = "g" + std::to_string(i);
        gainers += R"(, {"id": ")" + id + R"(", "type": "BGainer", "inputs": [")" + below + R"("]})";
        below = id;
    }
    for (int i = 1; i <= 3; ++i) {
        const std::string id = "f" + std::to_string(i);
        gainers += R"(, {"id": ")" + id + R"(", "type": "FBM", "inputs": [")" + below
            + R"("], "parameters": {"octaves": 16}})";
        below = id;
    }
    EXPECT_EQ(refusal(graph(gainers, "f3")).substr(0, 38), "g.json: /output: a sample is priced at");
    // The gainers alone are cheap enough.
    EXPECT_EQ(refusal(graph(gainers, "g989")), "accepted");

    // The limit counts every node's stops, reached or not.
    const auto twoMaps = [](int first, int second) {
        const auto rows = [](int count) {
            std::string text;
            for (int k = 0; k < count; ++k)
                text += std::string(k ? "," : "") + "[" + std::to_string(k) + ",0,0,0,1]";
            return text;
        };
        return refusal(graph(R"({"id": "n", "type": "Noise", "seed": 1},
                                {"id": "spare", "type": "ColourMap", "inputs": ["n"], "stops": [)" + rows(first) + R"(]},
                                {"id": "out", "type": "ColourMap", "inputs": ["n"], "stops": [)" + rows(second) + "]}"));
    };
    EXPECT_EQ(twoMaps(4000, 96), "accepted");
    EXPECT_EQ(twoMaps(4000, 97), "g.json: /nodes/2/stops/96: a graph file holds at most 4096 colour stops");
}

TEST(GraphFile, IdsAreValidUtf8WithoutControlCharacters)
{
    const auto withId = [](const std::string& id) {
        return refusal(graph(R"({"id": ")" + id + R"(", "type": "Sphere"})", id));
    };
    // JSON escapes, and UTF-8 as it is.
    EXPECT_EQ(withId("k\\u00e4se \\u6f22 \\ud83d\\ude00"), "accepted");
    EXPECT_EQ(withId("caf\xc3\xa9"), "accepted");
    EXPECT_NE(withId("caf\xe9"), "accepted");
    const std::string refused = "g.json: /nodes/0/id: must be valid UTF-8 without control characters";
    for (const std::string id : {"a\\u0000b", "tab\\there", "line\\n", "del\\u007f", "c1\\u0085"})
        EXPECT_EQ(withId(id), refused) << id;
}

TEST(GraphFile, ReadingStopsOnceTheCancelFlagIsSet)
{
    std::string nodes = R"({"id": "n", "type": "Noise", "seed": 1})";
    for (int i = 0; i < 2000; ++i)
        nodes += R"(, {"id": "s)" + std::to_string(i) + R"(", "type": "Sphere"})";
    const std::string text = graph(nodes, "n");
    std::atomic<bool> cancel{true};
    GraphLimits limits;
    limits.cancel = &cancel;
    GraphError error;
    EXPECT_FALSE(readGraph(text, error, limits));
    EXPECT_EQ(error.describe("g.json"), "g.json: reading was interrupted");
    cancel = false;
    EXPECT_TRUE(readGraph(text, error, limits));
}

TEST(GraphFile, HostileValuesAreRefusedWithoutQuotingThem)
{
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_EQ(refusal(R"({"format": "texbake-graph", "version": )" + deep + "}").substr(0, 30),
              "g.json: /version/0/0/0/0/0/0/0");
    EXPECT_EQ(refusal(R"({"format": "texbake-graph", "version": [[[[[1]]]]]})"),
              "g.json: /version: an array is not a version this library reads (it reads 1)");
    EXPECT_EQ(refusal(graph(R"({"id": "out", "type": {"a": [1, 2, 3]}})")).substr(0, 50),
              "g.json: /nodes/0/type: unknown type an object; the");
}
