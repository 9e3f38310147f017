#include "texture/bake/image_bake.h"

#include "support/ppm_writer.h"
#include "texture/bake/memory_bake.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>

namespace tex {

namespace {

// Bytes of pixels baked before they are written out.
constexpr long long bandBytes = 4 << 20;

template <typename Function>
bool bakeRgbImage(const std::string& filename, Function& f, const Grid& grid, int threads)
{
    if (!grid.contains(grid.whole()))
        return false;
    const long long rowBytes = 3LL * grid.width();
    if (rowBytes > maxImageBakeBytes / grid.height())
        return false;
    const int bandRows = static_cast<int>(std::clamp(bandBytes / rowBytes, 1LL, static_cast<long long>(grid.height())));
    const std::unique_ptr<std::uint8_t[]> band(new (std::nothrow) std::uint8_t[rowBytes * bandRows]);
    if (!band)
        return false;

    // The file is started only once the first band is baked, so that a file
    // that cannot be written costs the same evaluations as one that can.
    std::optional<PPMWriter> writer;
    for (int row = 0; row < grid.height(); row += bandRows) {
        const int rows = std::min(bandRows, grid.height() - row);
        bakePixels(f, grid, Channels::RGB, band.get(), BakeOptions{Region{0, row, grid.width(), rows}, threads});
        if (!writer)
            writer.emplace(filename, grid.width(), grid.height());
        if (!writer->writeRows(band.get(), rows))
            return false;
    }
    return writer->finish();
}

} // namespace

bool bakeImage(const std::string& filename, const Basis& f, int width, int height, double extent, double x0,
               double y0, double z, int threads)
{
    return bakeRgbImage(filename, f, Grid::flat(width, height, extent, x0, y0, z), threads);
}

bool bakeImage(const std::string& filename, const ColourBasis& f, int width, int height, double extent,
               double x0, double y0, double z, int threads)
{
    return bakeRgbImage(filename, f, Grid::flat(width, height, extent, x0, y0, z), threads);
}

} // namespace tex
