#include "texture/scalar/detail/octave_run.h"
#include "texture/scalar/fbm.h"
#include "texture/scalar/turbulence.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

namespace tex {

namespace {

// value() of a fractal sum over a run: the points scaled, the octaves summed
// by `sums`, a block at a time, and the contrast stage.
template <typename Sums>
void scaledSums(const double* x, const double* y, const double* z, double* out, std::size_t n,
                const double (&scale)[3], double contrast, Sums sums)
{
    constexpr std::size_t block = detail::runBlock;
    double px[block], py[block], pz[block];
    for (std::size_t start = 0; start < n; start += block) {
        const std::size_t count = std::min(block, n - start);
        for (std::size_t i = 0; i < count; ++i) {
            px[i] = scale[0] * x[start + i];
            py[i] = scale[1] * y[start + i];
            pz[i] = scale[2] * z[start + i];
        }
        sums(px, py, pz, out + start, count);
        detail::contrastRun(contrast, 1.0, out + start, out + start, count);
    }
}

} // namespace

void FBM::valueRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    if (typeid(*this) != typeid(FBM) || !inputsReady()) {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = value(x[i], y[i], z[i]);
        return;
    }
    const Basis* field = input(0);
    const auto terms = [field](const double* px, const double* py, const double* pz, double* t, std::size_t m) {
        detail::fieldValues(*field, px, py, pz, t, m);
    };
    scaledSums(x, y, z, out, n, {xscale, yscale, zscale}, contrast,
               [&](const double* px, const double* py, const double* pz, double* sums, std::size_t m) {
                   // Every field's values lie in [0.01, 0.99].
                   octaveRun(px, py, pz, sums, m, 0.99, 0.5, terms);
               });
}

void Turbulence::valueRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    if (typeid(*this) != typeid(Turbulence)) {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = value(x[i], y[i], z[i]);
        return;
    }
    const auto terms = [this](const double* px, const double* py, const double* pz, double* t, std::size_t m) {
        source.noiseRun(px, py, pz, t, m);
        for (std::size_t i = 0; i < m; ++i)
            t[i] = std::fabs(t[i]);
    };
    scaledSums(x, y, z, out, n, {xscale, yscale, zscale}, contrast,
               [&](const double* px, const double* py, const double* pz, double* sums, std::size_t m) {
                   octaveRun(px, py, pz, sums, m, Noise::bound, 1.0, terms);
               });
}

} // namespace tex
