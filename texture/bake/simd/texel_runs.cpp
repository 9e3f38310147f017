// Colours into float texels over runs.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "texture/bake/simd/texel_runs.cpp"
#include <hwy/foreach_target.h>

#include <hwy/highway.h>

#include "support/colour.h"
#include "support/simd/lanes-inl.h"

#include <algorithm>
#include <cstring>

HWY_BEFORE_NAMESPACE();
namespace tex::HWY_NAMESPACE {

void ColourTexels(const Colour* colours, float* texels, std::size_t n)
{
    const Doubles d;
    const hn::Rebind<float, Doubles> f;
    const std::size_t lanes = hn::Lanes(d);
    const DoubleVec zero = hn::Zero(d);
    const DoubleVec one = hn::Set(d, 1.0);
    // The colours' components in order, a vector of them at a time (a colour
    // is four doubles): clampToUnit on each, then the rounding to float.
    static_assert(sizeof(Colour) == 4 * sizeof(double), "a colour is four doubles");
    const std::size_t doubles = 4 * n;
    const double* in = reinterpret_cast<const double*>(colours);
    const auto clampAndNarrow = [&](DoubleVec v) TEX_INLINE_LAMBDA {
        return hn::DemoteTo(f, hn::IfThenElse(zero > v, zero, hn::IfThenElse(v > one, one, v)));
    };
    std::size_t i = 0;
    for (; i + lanes <= doubles; i += lanes)
        hn::StoreU(clampAndNarrow(hn::LoadU(d, in + i)), f, texels + i);
    if (i < doubles) {
        HWY_ALIGN double part[maxLanes] = {};
        HWY_ALIGN float narrowed[maxLanes];
        std::memcpy(part, in + i, (doubles - i) * sizeof(double));
        hn::Store(clampAndNarrow(hn::Load(d, part)), f, narrowed);
        std::memcpy(texels + i, narrowed, (doubles - i) * sizeof(float));
    }
}

} // namespace tex::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "texture/bake/detail/texel_runs.h"

namespace tex {

HWY_EXPORT(ColourTexels);

void detail::colourTexels(const Colour* colours, float* texels, std::size_t n)
{
    if (n > 0)
        HWY_DYNAMIC_DISPATCH(ColourTexels)(colours, texels, n);
}

} // namespace tex
#endif
