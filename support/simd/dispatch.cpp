#include "support/simd/dispatch.h"

#include <hwy/targets.h>

namespace tex::simd {

const std::vector<Level>& builtLevels()
{
    static const std::vector<Level> levels = [] {
        const Level known[] = {
            {"AVX3_DL", HWY_AVX3_DL, 8},
            {"AVX3", HWY_AVX3, 8},
            {"AVX2", HWY_AVX2, 4},
            {"SSE4", HWY_SSE4, 2},
            {"scalar", HWY_SCALAR, 1},
        };
        std::vector<Level> built;
        for (const Level& level : known)
            if (HWY_TARGETS & level.target)
                built.push_back(level);
        return built;
    }();
    return levels;
}

bool supported(const Level& level)
{
    return (hwy::SupportedTargets() & level.target) != 0;
}

const Level& currentLevel()
{
    // The kernels take the widest built level that is supported; scalar
    // code is always both.
    const std::vector<Level>& levels = builtLevels();
    for (const Level& level : levels)
        if (supported(level))
            return level;
    return levels.back();
}

ForcedLevel::ForcedLevel(const Level& level)
{
    hwy::SetSupportedTargetsForTest(level.target);
    hwy::GetChosenTarget().Update(hwy::SupportedTargets());
}

ForcedLevel::~ForcedLevel()
{
    hwy::SetSupportedTargetsForTest(0);
    hwy::GetChosenTarget().Update(hwy::SupportedTargets());
}

} // namespace tex::simd
