// One Voronoi, and a Flagstone holding one, queried from several threads at
// once: every answer must be the one a single thread gets.
#include "texture/colour/flagstone.h"
#include "texture/scalar/voronoi.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>
#include <vector>

using namespace tex;

namespace {

struct Point {
    double x, y, z;
};

struct Answers {
    double value;
    double third;
    std::uint32_t id;
    double gap;
    Colour paving;

    bool operator==(const Answers& o) const
    {
        return value == o.value && third == o.third && id == o.id && gap == o.gap && paving.r == o.paving.r
            && paving.g == o.paving.g && paving.b == o.paving.b && paving.a == o.paving.a;
    }
};

// Bake-like rows, where neighbouring queries share cells, and scattered
// points, where they do not.
std::vector<Point> queryPoints()
{
    std::vector<Point> points;
    for (int r = 0; r < 64; ++r)
        for (int c = 0; c < 128; ++c)
            points.push_back({c / 16.0, r / 16.0, 0.5});
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> coordinate(-300.0, 300.0);
    for (int i = 0; i < 8192; ++i)
        points.push_back({coordinate(gen), coordinate(gen), coordinate(gen)});
    return points;
}

Answers answersAt(Voronoi& cells, Flagstone& paving, const Point& p)
{
    return Answers{cells.value(p.x, p.y, p.z), cells.nthDistance(p.x, p.y, p.z, 3), cells.nearestId(p.x, p.y, p.z),
                   cells.distanceGap(p.x, p.y, p.z), paving.colour(p.x, p.y, p.z)};
}

TEST(VoronoiThreads, ManyThreadsGetWhatOneThreadGets)
{
    Voronoi cells(19, 256, 1.5);
    cells.setParameter("xscale", 1.25);
    Flagstone paving(19, 23);
    const std::vector<Point> points = queryPoints();
    std::vector<Answers> expected;
    for (const Point& p : points)
        expected.push_back(answersAt(cells, paving, p));

    for (int threads : {2, 4, 8}) {
        std::atomic<int> started{0};
        std::atomic<int> wrong{0};
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back([&, t] {
                // Start together, each at its own place in the list, so that
                // the threads query the same cells at the same time in other
                // orders.
                ++started;
                while (started.load() < threads)
                    std::this_thread::yield();
                const size_t n = points.size();
                for (size_t i = 0; i < n; ++i) {
                    const size_t at = (i + t * n / threads) % n;
                    if (!(answersAt(cells, paving, points[at]) == expected[at]))
                        ++wrong;
                }
            });
        }
        for (std::thread& worker : workers)
            worker.join();
        EXPECT_EQ(wrong.load(), 0) << "of " << threads * points.size() << " answers on " << threads << " threads";
    }
}

} // namespace
