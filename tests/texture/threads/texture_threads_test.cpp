// Every field and colour function of one shared graph, evaluated from four
// threads at once, must give exactly its single-threaded results. Built with
// ThreadSanitizer (see CMakeLists.txt), so a data race in any evaluation
// fails the run even where the figures happen to agree.
#include "texture/texture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace tex;

namespace {

constexpr int threadCount = 4;

// One result of any function: a scalar in the first slot, or a colour.
using Sample = std::array<double, 4>;
using Evaluate = std::function<Sample(const Point&)>;

Sample scalar(double v)
{
    return {v, 0.0, 0.0, 0.0};
}

Sample colour(const Colour& c)
{
    return {c.r, c.g, c.b, c.a};
}

const double stops[] = {
    0.0, 0.5, 0.2, 0.4, 0.1, 0.4, 0.5, 0.2, 0.4, 0.1, 0.95, 0.8, 0.6, 0.2, 0.1, 1.0, 0.5, 0.2, 0.4, 0.1,
};

// Every texture function of the library, wired into one graph whose inner
// nodes (noise, fbm, the colour maps) are shared by several others.
struct Graph {
    Graph()
    {
        fbm.setInput(&noise, 0);
        perturber.setInput(&noise, 0);
        perturber.setInput(&fbm, 1);
        lerper.setInput(&checker, 0);
        lerper.setInput(&noise, 1);
        darken.setInput(&sphere, 0);
        darken.setInput(&turbulence, 1);
        scaler.setInput(&voronoi, 0);
        scaler.setParameter("xfactor", 2.0);
        gainer.setInput(&perturber, 0);
        gainer.setParameter("gain", 0.3);
        stepper.setInput(&fbm, 0);
        map.setInput(&noise, 0);
        map.spline()->setStops(stops, 4);
        marble.setInput(&turbulence, 0);
        marble.spline()->setStops(stops, 4);
        mixer.setInput(&lerper, 0);
        mixer.setColourInput(&map, 0);
        mixer.setColourInput(&flagstone, 1);
        cdarken.setInput(&fbm, 0);
        cdarken.setColourInput(&marble, 0);
    }

    Noise noise{3, 16};
    FBM fbm;
    Turbulence turbulence{5, 6};
    Voronoi voronoi{11, 256, 1.5};
    Sphere sphere;
    Checker checker;
    BPerturber perturber;
    BLerper lerper;
    BDarken darken;
    BScaler scaler;
    BGainer gainer;
    BStepper stepper;
    ColourMap map;
    Marble marble;
    Flagstone flagstone{17, 23};
    CMixer mixer;
    CDarken cdarken;
};

struct Function {
    std::string name;
    std::function<Evaluate(Graph&)> bind;
};

void PrintTo(const Function& f, std::ostream* out)
{
    *out << f.name;
}

template <typename Field>
Function field(const std::string& name, Field Graph::*member)
{
    return {name, [member](Graph& g) -> Evaluate {
                Basis& f = g.*member;
                return [&f](const Point& p) { return scalar(f.value(p.x, p.y, p.z)); };
            }};
}

template <typename ColourFunction>
Function colourFunction(const std::string& name, ColourFunction Graph::*member)
{
    return {name, [member](Graph& g) -> Evaluate {
                ColourBasis& f = g.*member;
                return [&f](const Point& p) { return colour(f.colour(p.x, p.y, p.z)); };
            }};
}

Function voronoiQuery(const std::string& name, std::function<double(Voronoi&, const Point&)> query)
{
    return {name, [query](Graph& g) -> Evaluate {
                return [&g, query](const Point& p) { return scalar(query(g.voronoi, p)); };
            }};
}

// Evaluation over runs, here of one point each.
Function overRuns(const std::string& name, std::function<Sample(Graph&, const Point&)> evaluate)
{
    return {name, [evaluate](Graph& g) -> Evaluate { return [&g, evaluate](const Point& p) { return evaluate(g, p); }; }};
}

template <typename Field>
Function fieldRun(const std::string& name, Field Graph::*member)
{
    return overRuns(name, [member](Graph& g, const Point& p) {
        double v;
        (g.*member).values(&p.x, &p.y, &p.z, &v, 1);
        return scalar(v);
    });
}

template <typename ColourFunction>
Function colourRun(const std::string& name, ColourFunction Graph::*member)
{
    return overRuns(name, [member](Graph& g, const Point& p) {
        Colour c(0, 0, 0, 0);
        (g.*member).colours(&p.x, &p.y, &p.z, &c, 1);
        return colour(c);
    });
}

const std::vector<Function>& functions()
{
    static const std::vector<Function> all = {
        field("Noise", &Graph::noise),
        field("FBM", &Graph::fbm),
        field("Turbulence", &Graph::turbulence),
        field("Voronoi", &Graph::voronoi),
        voronoiQuery("VoronoiNthDistance",
                     [](Voronoi& v, const Point& p) { return v.nthDistance(p.x, p.y, p.z, 3); }),
        voronoiQuery("VoronoiNearestId",
                     [](Voronoi& v, const Point& p) { return double(v.nearestId(p.x, p.y, p.z)); }),
        voronoiQuery("VoronoiDistanceGap",
                     [](Voronoi& v, const Point& p) { return v.distanceGap(p.x, p.y, p.z); }),
        field("Sphere", &Graph::sphere),
        field("Checker", &Graph::checker),
        field("BPerturber", &Graph::perturber),
        field("BLerper", &Graph::lerper),
        field("BDarken", &Graph::darken),
        field("BScaler", &Graph::scaler),
        field("BGainer", &Graph::gainer),
        field("BStepper", &Graph::stepper),
        colourFunction("ColourMap", &Graph::map),
        colourFunction("Marble", &Graph::marble),
        colourFunction("Flagstone", &Graph::flagstone),
        colourFunction("CMixer", &Graph::mixer),
        colourFunction("CDarken", &Graph::cdarken),
        fieldRun("NoiseRun", &Graph::noise),
        fieldRun("FBMRun", &Graph::fbm),
        fieldRun("TurbulenceRun", &Graph::turbulence),
        fieldRun("VoronoiRun", &Graph::voronoi),
        overRuns("VoronoiNearestIdAndGapRun",
                 [](Graph& g, const Point& p) {
                     std::uint32_t id;
                     double gap;
                     g.voronoi.nearestIdAndGapRun(&p.x, &p.y, &p.z, &id, &gap, 1);
                     return Sample{double(id), gap, 0.0, 0.0};
                 }),
        colourRun("ColourMapRun", &Graph::map),
        colourRun("FlagstoneRun", &Graph::flagstone),
    };
    return all;
}

// Points spread over many lattice and Voronoi cells, negatives included.
const std::vector<Point>& points()
{
    static const std::vector<Point> all = [] {
        std::mt19937 generator(2024);
        std::uniform_real_distribution<double> coordinate(-40.0, 40.0);
        std::vector<Point> p(400);
        for (Point& point : p)
            point = Point{coordinate(generator), coordinate(generator), coordinate(generator)};
        return p;
    }();
    return all;
}

std::vector<Sample> evaluateAll(const Evaluate& evaluate, std::size_t start)
{
    const std::vector<Point>& p = points();
    std::vector<Sample> samples(p.size());
    for (std::size_t k = 0; k < p.size(); ++k) {
        const std::size_t i = (start + k) % p.size();
        samples[i] = evaluate(p[i]);
    }
    return samples;
}

// Runs `work(thread)` on threadCount threads at once.
void onThreads(const std::function<void(int)>& work)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t)
        threads.emplace_back(work, t);
    for (std::thread& thread : threads)
        thread.join();
}

class FromThreads : public ::testing::TestWithParam<Function> {};

// The expected results come from a graph of their own, so that the threads
// meet a graph no query has warmed. Each thread starts at its own place in
// the points, so that the threads query different cells at the same moment.
TEST_P(FromThreads, GiveTheSingleThreadedResults)
{
    Graph alone;
    const std::vector<Sample> expected = evaluateAll(GetParam().bind(alone), 0);

    Graph graph;
    const Evaluate evaluate = GetParam().bind(graph);

    std::vector<std::vector<Sample>> results(threadCount);
    onThreads([&](int t) { results[t] = evaluateAll(evaluate, t * points().size() / threadCount); });
    for (int t = 0; t < threadCount; ++t)
        EXPECT_EQ(results[t], expected) << "thread " << t;
}

INSTANTIATE_TEST_SUITE_P(EveryFunction, FromThreads, ::testing::ValuesIn(functions()),
                         [](const ::testing::TestParamInfo<Function>& info) { return info.param.name; });

// All functions of the graph at once: each thread walks the whole list from
// its own place, so that shared inner nodes serve several callers together.
TEST(WholeGraphFromThreads, GivesTheSingleThreadedResults)
{
    Graph alone;
    std::vector<std::vector<Sample>> expected;
    for (const Function& f : functions())
        expected.push_back(evaluateAll(f.bind(alone), 0));

    Graph graph;
    std::vector<Evaluate> evaluators;
    for (const Function& f : functions())
        evaluators.push_back(f.bind(graph));

    std::vector<std::vector<std::vector<Sample>>> results(threadCount,
                                                          std::vector<std::vector<Sample>>(evaluators.size()));
    onThreads([&](int t) {
        for (std::size_t k = 0; k < evaluators.size(); ++k) {
            const std::size_t f = (k + t) % evaluators.size();
            results[t][f] = evaluateAll(evaluators[f], t * 37);
        }
    });
    for (int t = 0; t < threadCount; ++t)
        for (std::size_t f = 0; f < evaluators.size(); ++f)
            EXPECT_EQ(results[t][f], expected[f]) << functions()[f].name << ", thread " << t;
}

// The memory bakes spread rows over threads themselves (a thread for every
// 4096 samples at most, so 128 x 128 takes all four): the output must not
// depend on how many.
TEST(BakesOnThreads, MatchTheOneThreadBake)
{
    Graph graph;
    const Grid grid = Grid::flat(128, 128, 8.0, -3.0, 1.0, 0.5);
    const std::size_t samples = std::size_t(grid.width()) * grid.height();
    BakeOptions one;
    one.threads = 1;
    BakeOptions several;
    several.threads = threadCount;

    // Several threads first, on a graph no query has warmed yet.
    std::vector<float> scalarOne(samples), scalarSeveral(samples);
    ASSERT_TRUE(bakeFloats(graph.scaler, grid, scalarSeveral.data(), several));
    ASSERT_TRUE(bakeFloats(graph.scaler, grid, scalarOne.data(), one));
    EXPECT_EQ(scalarSeveral, scalarOne);

    for (ColourBasis* f : {static_cast<ColourBasis*>(&graph.mixer), static_cast<ColourBasis*>(&graph.cdarken)}) {
        std::vector<std::uint8_t> pixelsOne(samples * 4), pixelsSeveral(samples * 4);
        ASSERT_TRUE(bakePixels(*f, grid, Channels::RGBA, pixelsSeveral.data(), several));
        ASSERT_TRUE(bakePixels(*f, grid, Channels::RGBA, pixelsOne.data(), one));
        EXPECT_EQ(pixelsSeveral, pixelsOne);
    }
}

} // namespace
