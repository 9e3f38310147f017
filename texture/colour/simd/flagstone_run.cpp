// Flagstone over runs of points, bit for bit its colour() at each point.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "texture/colour/simd/flagstone_run.cpp"
#include <hwy/foreach_target.h>

#include <hwy/highway.h>

#include "support/colour.h"
#include "support/simd/lanes-inl.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

HWY_BEFORE_NAMESPACE();
namespace tex::HWY_NAMESPACE {

// The colours of n points from their cells' identifiers and gaps and their
// two grain values: the stone colour chosen by the identifier's top two
// bits, brightened by the gap and grained; the mortar colour grained; the
// mortar where the gap is below 0.1. The arrays are read a whole vector at a
// time: past n they hold at least the rest of the last vector.
void FlagstoneColours(const Colour* stoneColours, const Colour& mortarColour, const std::uint32_t* ids,
                      const double* gaps, const double* jointGrain, const double* stoneGrain, Colour* out,
                      std::size_t n)
{
    const Doubles d;
    const hn::RebindToUnsigned<Doubles> u;
    const hn::Rebind<std::uint32_t, Doubles> u32;
    const std::size_t lanes = hn::Lanes(d);
    const DoubleVec one = hn::Set(d, 1.0);
    const double Colour::*components[4] = {&Colour::r, &Colour::g, &Colour::b, &Colour::a};
    for (std::size_t i = 0; i < n; i += lanes) {
        const DoubleVec gap = hn::LoadU(d, gaps + i);
        const auto which = hn::ShiftRight<30>(hn::PromoteTo(u, hn::LoadU(u32, ids + i)));

        // step(0.1, gap): 0 below the edge, 1 from it on (and for NaN).
        const DoubleVec inside = hn::IfThenElseZero(hn::Not(gap < hn::Set(d, 0.1)), one);
        const DoubleVec t = one - inside;
        const DoubleVec mortarScale = one + hn::Set(d, 0.05) * hn::LoadU(d, jointGrain + i);
        const DoubleVec brightness = hn::Set(d, 0.5) * gap + hn::Set(d, 0.7);
        const DoubleVec grain = one + hn::Set(d, 0.1) * hn::LoadU(d, stoneGrain + i);
        DoubleVec result[4];
        for (int c = 0; c < 4; ++c) {
            const auto member = components[c];
            DoubleVec stone = hn::Set(d, stoneColours[0].*member);
            for (unsigned k = 1; k < 4; ++k)
                stone = hn::IfThenElse(hn::RebindMask(d, which == hn::Set(u, k)), hn::Set(d, stoneColours[k].*member),
                                       stone);
            const DoubleVec mortar = hn::Set(d, mortarColour.*member) * mortarScale;
            stone = stone * brightness * grain;
            result[c] = stone * (one - t) + mortar * t;
        }
        StoreColours(result, out + i, std::min(lanes, n - i));
    }
}

} // namespace tex::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include "texture/colour/flagstone.h"

namespace tex {

HWY_EXPORT(FlagstoneColours);

void Flagstone::formulaRun(const double* x, const double* y, const double* z, Colour* out, std::size_t n) const
{
    if (!isExactly<Flagstone>())
        return ColourBasis::formulaRun(x, y, z, out, n);
    // With room for the rest of a vector past the block's last point.
    constexpr std::size_t block = 256;
    constexpr std::size_t room = block + 8;
    std::uint32_t ids[room] = {};
    double gaps[room] = {}, jointGrain[room] = {}, stoneGrain[room] = {};
    double gx[block], gy[block], gz[block];
    for (std::size_t start = 0; start < n; start += block) {
        const std::size_t count = std::min(block, n - start);
        cells.nearestIdAndGapRun(x + start, y + start, z + start, ids, gaps, count);
        for (const auto& [scale, grain] : {std::pair{7.7, jointGrain}, std::pair{5.0, stoneGrain}}) {
            for (std::size_t i = 0; i < count; ++i) {
                gx[i] = scale * x[start + i];
                gy[i] = scale * y[start + i];
                gz[i] = scale * z[start + i];
            }
            grainNoise.values(gx, gy, gz, grain, count);
        }
        HWY_DYNAMIC_DISPATCH(FlagstoneColours)(stoneColours, mortarColour, ids, gaps, jointGrain, stoneGrain,
                                               out + start, count);
    }
}

} // namespace tex
#endif
