// Evaluation over runs of points gives, at every dispatch level, exactly the
// bits of the scalar evaluation at each point.

#include "tests/texture/run_points.h"
#include "texture/scalar/noise.h"

#include <gtest/gtest.h>

using namespace tex;

namespace {

class NoiseRuns : public AtEveryLevel {};

TEST_P(NoiseRuns, MatchNoiseAndValueAtEveryPoint)
{
    for (int size : {16, 256, 1}) {
        Noise noise(size * 7 + 3, size);
        noise.setParameter("xscale", 1.75);
        noise.setParameter("zscale", -0.5);
        noise.setParameter("contrast", 1.6);
        const PointRun run = identityPoints(unsigned(size), size);
        for (auto [start, length] : stretches(run.size())) {
            std::vector<double> raw(length), value(length);
            noise.noiseRun(&run.x[start], &run.y[start], &run.z[start], raw.data(), length);
            noise.valueRun(&run.x[start], &run.y[start], &run.z[start], value.data(), length);
            for (std::size_t i = 0; i < length; ++i) {
                const std::size_t p = start + i;
                ASSERT_EQ(bitsOf(raw[i]), bitsOf(noise.noise(run.x[p], run.y[p], run.z[p])))
                    << "size " << size << " at (" << run.x[p] << ", " << run.y[p] << ", " << run.z[p] << ")";
                ASSERT_EQ(bitsOf(value[i]), bitsOf(noise.value(run.x[p], run.y[p], run.z[p])))
                    << "size " << size << " at (" << run.x[p] << ", " << run.y[p] << ", " << run.z[p] << ")";
            }
        }
    }
}

INSTANTIATE_AT_EVERY_LEVEL(NoiseRuns);

} // namespace
