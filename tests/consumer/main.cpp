// The texture library seen from another project: figures computed in this
// project's own code, under its own flags, must be exactly those of the
// library built on its own. The colour and scalar arithmetic is chosen so
// that fusing a multiply and an add into one rounding changes the last bit.
#include "texture/texture.h"

#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {

// Read through volatile, so that the figures are computed at run time under
// this file's flags rather than folded as constants.
volatile double inputs[] = {0.1, 0.7, 0.3, 0.2, 0.9, 0.13, 0.41};

double input(int i)
{
    return inputs[i];
}

int failures = 0;

void check(const char* what, const std::string& got, const char* expected)
{
    const bool same = got == expected;
    std::printf("%-44s %s%s%s\n", what, got.c_str(), same ? "" : "  expected ", same ? "" : expected);
    failures += same ? 0 : 1;
}

std::string figure(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::string figure(const tex::Colour& c)
{
    return figure(c.r) + " " + figure(c.g) + " " + figure(c.b) + " " + figure(c.a);
}

// FNV-1a, 64 bits.
std::string hash(const void* data, std::size_t size)
{
    std::uint64_t h = 14695981039346656037ULL;
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        h ^= bytes[i];
        h *= 1099511628211ULL;
    }
    char text[20];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

// The program's world background: noise of period 16 through four stops.
const double backgroundStops[] = {
    0.0, 0.5, 0.2, 0.4, 0.1, 0.4, 0.5, 0.2, 0.4, 0.1, 0.95, 0.8, 0.6, 0.2, 0.1, 1.0, 0.5, 0.2, 0.4, 0.1,
};

void checkArithmetic()
{
    const double a = input(0), b = input(1), t = input(2);
    check("lerp(0.1, 0.7, 0.3)", figure(tex::lerp(a, b, t)), "0.28000000000000003");

    const tex::Colour c(input(0), input(3), input(2), input(4));
    const tex::Colour d(input(5), input(6), input(3), input(0));
    check("c * 0.7 + d", figure(c * input(1) + d),
          "0.20000000000000001 0.54999999999999993 0.41000000000000003 0.72999999999999998");
    check("lerp(c, d, 0.9)", figure(tex::lerp(c, d, input(4))),
          "0.127 0.38900000000000001 0.21000000000000002 0.17999999999999999");
}

void checkFields()
{
    tex::Noise noise(7, 16);
    noise.setParameter("contrast", input(1));
    check("Noise contrast 0.7: applyContrast(0.1)", figure(noise.applyContrast(input(0))), "0.22000000000000003");
    check("Noise(7, 16) at (1.3, 2.7, 0.4)", figure(noise.value(1.3, 2.7, 0.4)), "0.41547478524750853");

    tex::Voronoi voronoi(11, 256, 1.5);
    check("Voronoi(11, 256, 1.5) at (3.2, -1.7, 0.6)", figure(voronoi.value(3.2, -1.7, 0.6)), "0.27388610681113518");

    tex::Turbulence turbulence(5, 4);
    check("Turbulence(5, 4) at (0.3, 0.8, 2.1)", figure(turbulence.value(0.3, 0.8, 2.1)), "0.46550955353364498");

    tex::ColourSpline spline;
    spline.setStops(backgroundStops, 4);
    check("background spline at 0.2", figure(spline.evaluate(0.2)),
          "0.46052631578947367 0.14736842105263159 0.4263157894736842 0.10000000000000001");
    check("background spline at 0.5", figure(spline.evaluate(0.5)),
          "0.56458143857012921 0.28610858476017237 0.35694570761991379 0.099999999999999992");
    check("background spline at 0.97", figure(spline.evaluate(0.97)),
          "1.2703999999999995 1.2271999999999994 -0.1135999999999997 0.10000000000000001");
}

void checkBakes()
{
    tex::Noise noise(1, 16);
    tex::ColourMap map;
    map.setInput(&noise, 0);
    map.spline()->setStops(backgroundStops, 4);
    const tex::Grid grid = tex::Grid::flat(512, 512, 16.0, 0, 0, 0);

    std::vector<std::uint8_t> pixels(512 * 512 * 4);
    tex::BakeOptions options;
    options.threads = 2;
    const bool baked = tex::bakePixels(map, grid, tex::Channels::RGBA, pixels.data(), options);
    check("background RGBA pixels, FNV-1a", baked ? hash(pixels.data(), pixels.size()) : "not baked", "affb45f09ff3bbab");

    std::vector<float> samples(512 * 512 * 4);
    const bool bakedFloats = tex::bakeFloats(map, grid, samples.data());
    check("background RGBA floats, FNV-1a",
          bakedFloats ? hash(samples.data(), samples.size() * sizeof(float)) : "not baked", "0e1e2ed7c6f7c35e");

    // The colours before the bake narrows them to float, every bit of them.
    std::vector<double> colours;
    colours.reserve(512 * 512 * 4);
    for (int row = 0; row < 512; ++row)
        for (int column = 0; column < 512; ++column) {
            const tex::Point p = grid.point(row, column);
            const tex::Colour c = map.colour(p.x, p.y, p.z);
            colours.insert(colours.end(), {c.r, c.g, c.b, c.a});
        }
    check("background colours as doubles, FNV-1a", hash(colours.data(), colours.size() * sizeof(double)),
          "4e3431398ce4dc6a");
}

// Points for runs: a row of shared y and z crossing cells at steps of a
// sixteenth to two cells a point, rows through signed zeros, lattice points
// with signed-zero coordinates, points spread over several periods, and
// coordinates far out or not finite.
struct Points {
    std::vector<double> x, y, z;

    void add(double px, double py, double pz)
    {
        x.push_back(px);
        y.push_back(py);
        z.push_back(pz);
    }
};

Points runPoints()
{
    Points p;
    for (double step : {0.0625, 0.25, 0.75, 2.0})
        for (int i = 0; i < 64; ++i)
            p.add(-3 + i * step, 0.375, -0.5);
    for (int i = 0; i < 32; ++i)
        p.add(i * 0.125 - 2, -0.0, 0.0);
    const double coordinates[] = {-0.0, 0.0, 1.0, -1.0};
    for (double a : coordinates)
        for (double b : coordinates)
            for (double c : coordinates)
                p.add(a, b, c);
    // Spread points in [-128, 128) from the bits of an LCG, the same on every
    // library and under every flag: the scaling is exact, so a fused
    // multiply-add gives what a multiply and an add give.
    std::uint64_t state = 20261207;
    const auto next = [&state] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return double(state >> 11) * 0x1p-45 - 128.0;
    };
    for (int i = 0; i < 256; ++i)
        p.add(next(), next(), next());
    const double inf = std::numeric_limits<double>::infinity();
    const double special[] = {0x1p63, -0x1p63, 1e300, 5e-324, -1e-300, std::numeric_limits<double>::quiet_NaN(), inf, -inf};
    for (double s : special) {
        p.add(s, 0.5, 0.25);
        p.add(0.5, s, 0.25);
        p.add(0.25, 0.5, s);
    }
    return p;
}

// The bits of the library's runs over runPoints(), hashed: raw noise, the
// fields and the colour functions whose runs have vector kernels.
std::string runHash()
{
    const Points p = runPoints();
    const std::size_t n = p.x.size();
    std::vector<double> out;
    std::vector<double> values(n);
    const auto keep = [&] { out.insert(out.end(), values.begin(), values.end()); };

    tex::Noise noise(5, 2);
    noise.noiseRun(p.x.data(), p.y.data(), p.z.data(), values.data(), n);
    keep();
    tex::Noise background(1, 16);
    background.values(p.x.data(), p.y.data(), p.z.data(), values.data(), n);
    keep();
    tex::FBM fbm;
    fbm.setInput(&background, 0);
    fbm.setIntParameter("octaves", 4);
    fbm.values(p.x.data(), p.y.data(), p.z.data(), values.data(), n);
    keep();
    tex::Turbulence turbulence(5, 4);
    turbulence.values(p.x.data(), p.y.data(), p.z.data(), values.data(), n);
    keep();
    tex::Voronoi voronoi(11, 256, 1.5);
    voronoi.values(p.x.data(), p.y.data(), p.z.data(), values.data(), n);
    keep();
    tex::Sphere sphere;
    sphere.values(p.x.data(), p.y.data(), p.z.data(), values.data(), n);
    keep();
    tex::Checker checker;
    checker.values(p.x.data(), p.y.data(), p.z.data(), values.data(), n);
    keep();

    std::vector<tex::Colour> colours(n, tex::Colour(0, 0, 0, 0));
    const auto keepColours = [&] {
        for (const tex::Colour& c : colours)
            out.insert(out.end(), {c.r, c.g, c.b, c.a});
    };
    tex::Flagstone flagstone(17, 23);
    flagstone.colours(p.x.data(), p.y.data(), p.z.data(), colours.data(), n);
    keepColours();
    tex::ColourMap map;
    map.setInput(&background, 0);
    map.spline()->setStops(backgroundStops, 4);
    map.colours(p.x.data(), p.y.data(), p.z.data(), colours.data(), n);
    keepColours();
    return hash(out.data(), out.size() * sizeof(double));
}

// Every instruction set the library's kernels were built for under this
// project's flags and this processor has gives the same bits, and the
// library chooses the widest that the processor has (which run.cmake
// compares between builds).
void checkLevels()
{
    std::string first;
    std::string levels;
    bool same = true;
    for (const tex::simd::Level& level : tex::simd::builtLevels()) {
        if (!tex::simd::supported(level))
            continue;
        const tex::simd::ForcedLevel forced(level);
        const std::string h = runHash();
        std::fprintf(stderr, "runs at %s: %s\n", level.name, h.c_str());
        same = same && (first.empty() || h == first);
        if (first.empty())
            first = h;
    }
    check("runs at every level, FNV-1a", same ? first : "levels differ", "c949f8c9ba396e06");
    std::printf("%-44s %s\n", "level chosen", tex::simd::currentLevel().name);
}

} // namespace

int main()
{
    checkArithmetic();
    checkFields();
    checkBakes();
    checkLevels();
    std::printf("%s\n", failures == 0 ? "all figures exact" : "FIGURES DIFFER");
    return failures == 0 ? 0 : 1;
}
