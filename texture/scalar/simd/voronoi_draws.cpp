// VoronoiDraws in vector lanes.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "texture/scalar/simd/voronoi_draws.cpp"
#include <hwy/foreach_target.h>

#include <hwy/highway.h>

#include "texture/scalar/simd/voronoi_draws-inl.h"
#include "texture/scalar/voronoi_draws.h"

HWY_BEFORE_NAMESPACE();
namespace tex::HWY_NAMESPACE {

// `hashes` holds maxCells words (those past the cells drawn for are 0).
void Draw(const std::uint32_t* hashes, int cells, int count, std::uint32_t* outputs, std::uint32_t* first)
{
    DrawCells(hashes, std::size_t(cells), count, outputs, VoronoiDraws::maxCells, first);
}

} // namespace tex::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include <algorithm>

namespace tex {

HWY_EXPORT(Draw);

void VoronoiDraws::draw(const std::uint32_t* hashes, int cells, int count)
{
    cells = std::clamp(cells, 0, maxCells);
    count = std::clamp(count, 0, maxOutputs);
    if (cells == 0)
        return;
    // Lanes past `cells` draw for hash 0; nobody reads them.
    alignas(64) std::uint32_t padded[maxCells] = {};
    std::copy(hashes, hashes + cells, padded);
    HWY_DYNAMIC_DISPATCH(Draw)(padded, cells, count, &outputs[0][0], firstWords);
}

} // namespace tex
#endif
