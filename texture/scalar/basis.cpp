#include "texture/scalar/basis.h"

#include "support/scalar.h"
#include "texture/scalar/detail/runs.h"
#include "texture/scalar/parameter_table.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tex {

Basis::Basis(int inputCount) : inputs(inputCount)
{
    useParameters(parameterTable());
}

Basis::~Basis() = default;

const ParameterTable& Basis::parameterTable()
{
    static const ParameterTable table({
        ParameterTable::real("contrast", 0.0, 10.0, 1.0, &Basis::contrast,
                             "slope of the values around 0.5: 0 gives 0.5 everywhere, above 1 sharpens"),
        ParameterTable::real("xscale", 0.0, 10.0, 1.0, &Basis::xscale, "factor on x before the field samples"),
        ParameterTable::real("yscale", 0.0, 10.0, 1.0, &Basis::yscale, "factor on y before the field samples"),
        ParameterTable::real("zscale", 0.0, 10.0, 1.0, &Basis::zscale, "factor on z before the field samples"),
    });
    return table;
}

const ParameterList& Basis::parameterList()
{
    return parameterTable().list();
}

namespace {

// The contrast stage, shared by applyContrast and value() so that value()
// need not call out for it.
inline double contrastStage(double v, double contrast)
{
    const double d = v - 0.5;
    const double r = d * contrast + 0.5;
    if (std::isnan(r))
        return 0.5;
    return clamp(0.01, 0.99, r);
}

// The coordinates of a block of `count` points as a formula gets them:
// scale * in[i], put in `scaled`, or `in` itself where the scale is 1 (1 * v
// is v for every double but a signalling NaN, which the compiler does not
// keep apart either) and `out`, which the formula writes, does not overlap
// it.
const double* scaledBlock(double scale, const double* in, double* scaled, const double* out, std::size_t count)
{
    const auto address = [](const double* p) { return reinterpret_cast<std::uintptr_t>(p); };
    const bool apart = address(out + count) <= address(in) || address(in + count) <= address(out);
    if (scale == 1.0 && apart)
        return in;
    detail::scaleRun(scale, in, scaled, count);
    return scaled;
}

} // namespace

double Basis::applyContrast(double v) const
{
    return contrastStage(v, contrast);
}

double Basis::value(double x, double y, double z) const
{
    if (!inputs.allSet())
        return contrastStage(0.0, contrast);
    return contrastStage(formula(xscale * x, yscale * y, zscale * z), contrast);
}

void Basis::values(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    if (!inputs.allSet()) {
        std::fill(out, out + n, contrastStage(0.0, contrast));
        return;
    }
    const detail::RunNesting nesting;
    if (nesting.tooDeep()) {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = value(x[i], y[i], z[i]);
        return;
    }
    constexpr std::size_t block = detail::runBlock;
    double px[block], py[block], pz[block];
    for (std::size_t start = 0; start < n; start += block) {
        const std::size_t count = std::min(block, n - start);
        double* const o = out + start;
        formulaRun(scaledBlock(xscale, x + start, px, o, count), scaledBlock(yscale, y + start, py, o, count),
                   scaledBlock(zscale, z + start, pz, o, count), o, count);
        detail::contrastRun(contrast, 1.0, out + start, out + start, count);
    }
}

void Basis::formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = formula(x[i], y[i], z[i]);
}

namespace detail {

namespace {

// The runs this thread is inside.
thread_local int runsEntered = 0;

} // namespace

RunNesting::RunNesting()
{
    ++runsEntered;
}

RunNesting::~RunNesting()
{
    --runsEntered;
}

bool RunNesting::tooDeep() const
{
    return runsEntered > maxNesting;
}

} // namespace detail

bool Basis::setInput(Basis* input, int index)
{
    return inputs.connect(this, input, index, &Basis::inputs);
}

} // namespace tex
