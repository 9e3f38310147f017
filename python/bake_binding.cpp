#include "python/binding.h"

#include <pybind11/stl.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <tuple>

namespace sftex {

namespace {

// The largest width or height of a grid, as for texbake.
constexpr int maxSide = 1 << 20;

// How often a bake's caller looks for Ctrl-C while the bake runs.
constexpr auto signalLook = std::chrono::milliseconds(20);

using RegionTuple = std::tuple<int, int, int, int>;

void checkSide(int side, const char* name)
{
    if (side < 1 || side > maxSide)
        throw py::value_error(std::string(name) + " " + std::to_string(side) + " is not in 1.."
                              + std::to_string(maxSide));
}

void checkNumber(double value, const char* name, bool positive)
{
    if (!std::isfinite(value))
        throw py::value_error(std::string(name) + " is not a finite number");
    if (positive && !(value > 0.0))
        throw py::value_error(std::string(name) + " is not above 0");
}

tex::Grid flatGrid(int width, int height, double extent, double x0, double y0, double z)
{
    checkSide(width, "width");
    checkSide(height, "height");
    checkNumber(extent, "extent", true);
    checkNumber(x0, "x0", false);
    checkNumber(y0, "y0", false);
    checkNumber(z, "z", false);
    return tex::Grid::flat(width, height, extent, x0, y0, z);
}

tex::Grid sphereGrid(int width, int height, double radius, double cx, double cy, double cz)
{
    checkSide(width, "width");
    checkSide(height, "height");
    checkNumber(radius, "radius", true);
    checkNumber(cx, "cx", false);
    checkNumber(cy, "cy", false);
    checkNumber(cz, "cz", false);
    return tex::Grid::sphere(width, height, radius, cx, cy, cz);
}

tex::Region regionOf(const tex::Grid& grid, const std::optional<RegionTuple>& given)
{
    if (!given)
        return grid.whole();
    const auto [x, y, width, height] = *given;
    const tex::Region region{x, y, width, height};
    if (!grid.contains(region))
        throw py::value_error("region " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width)
                              + " " + std::to_string(height) + " does not lie inside the "
                              + std::to_string(grid.width()) + " x " + std::to_string(grid.height()) + " grid");
    return region;
}

tex::BakeOptions bakeOptions(const tex::Grid& grid, const std::optional<RegionTuple>& region, int threads)
{
    if (threads < 0 || threads > tex::maxBakeThreads)
        throw py::value_error("threads " + std::to_string(threads) + " is not in 0.."
                              + std::to_string(tex::maxBakeThreads));
    return tex::BakeOptions{regionOf(grid, region), threads, nullptr};
}

// Runs bake(cancel) on a thread of its own with the GIL released, while the
// calling thread looks for Ctrl-C every signalLook: a pending
// KeyboardInterrupt (or any exception of a signal handler) sets the cancel
// flag, which every thread of the bake reads before each run, and is raised
// once the bake has stopped. Returns what the bake returned.
template <typename Bake>
bool bakeCancellably(Bake bake)
{
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    bool result = false;
    bool interrupted = false;
    {
        py::gil_scoped_release release;
        std::thread worker([&] {
            const bool baked = bake(&cancel);
            const std::lock_guard<std::mutex> lock(mutex);
            result = baked;
            done = true;
            ended.notify_one();
        });
        std::unique_lock<std::mutex> lock(mutex);
        while (!ended.wait_for(lock, signalLook, [&] { return done; })) {
            lock.unlock();
            {
                py::gil_scoped_acquire acquire;
                interrupted = PyErr_CheckSignals() != 0;
            }
            lock.lock();
            if (interrupted) {
                cancel = true;
                ended.wait(lock, [&] { return done; });
                break;
            }
        }
        lock.unlock();
        worker.join();
    }
    if (interrupted)
        throw py::error_already_set();
    return result;
}

std::vector<py::ssize_t> imageShape(const tex::Region& region, int perSample)
{
    if (perSample == 1)
        return {region.height, region.width};
    return {region.height, region.width, perSample};
}

std::size_t sampleCount(const tex::Region& region)
{
    return static_cast<std::size_t>(region.width) * static_cast<std::size_t>(region.height);
}

py::array_t<double> bakeValues(const GraphHandle& g, const tex::Grid& grid, const std::optional<RegionTuple>& region,
                               int threads)
{
    const tex::Basis* field = g.output().field.get();
    if (!field)
        throw py::type_error("the output \"" + g.output().id + "\" is a colour function: it has no values");
    tex::BakeOptions options = bakeOptions(grid, region, threads);
    NumpyBuffer<double> out(sampleCount(*options.region));
    const std::shared_ptr<const tex::Graph> keep = g.graph;
    bakeCancellably([&](const std::atomic<bool>* cancel) {
        options.cancel = cancel;
        return tex::bakeValues(*field, grid, out.get(), options);
    });
    return out.release(imageShape(*options.region, 1));
}

py::array_t<float> bakeFloats(const GraphHandle& g, const tex::Grid& grid, const std::optional<RegionTuple>& region,
                              int threads)
{
    tex::BakeOptions options = bakeOptions(grid, region, threads);
    const int perSample = g.output().field ? 1 : 4;
    NumpyBuffer<float> out(sampleCount(*options.region) * perSample);
    const std::shared_ptr<const tex::Graph> keep = g.graph;
    bakeCancellably([&](const std::atomic<bool>* cancel) {
        options.cancel = cancel;
        const tex::GraphNode& node = g.output();
        return node.field ? tex::bakeFloats(*node.field, grid, out.get(), options)
                          : tex::bakeFloats(*node.colour, grid, out.get(), options);
    });
    return out.release(imageShape(*options.region, perSample));
}

tex::Channels channelsNamed(const std::string& name, const tex::GraphNode& node)
{
    if (name == "grey") {
        if (!node.field)
            throw py::value_error("the output \"" + node.id + "\" is a colour function: it has no grey; "
                                  "bake \"rgb\" or \"rgba\"");
        return tex::Channels::Grey;
    }
    if (name == "rgb")
        return tex::Channels::RGB;
    if (name == "rgba")
        return tex::Channels::RGBA;
    throw py::value_error("channels \"" + name + "\" is none of \"grey\", \"rgb\", \"rgba\"");
}

template <typename Sample>
py::array_t<Sample> bakePixels(const GraphHandle& g, const tex::Grid& grid, tex::Channels channels,
                               tex::BakeOptions options)
{
    const int perSample = static_cast<int>(channels);
    NumpyBuffer<Sample> out(sampleCount(*options.region) * perSample);
    const std::shared_ptr<const tex::Graph> keep = g.graph;
    bakeCancellably([&](const std::atomic<bool>* cancel) {
        options.cancel = cancel;
        const tex::GraphNode& node = g.output();
        return node.field ? tex::bakePixels(*node.field, grid, channels, out.get(), options)
                          : tex::bakePixels(*node.colour, grid, channels, out.get(), options);
    });
    return out.release(imageShape(*options.region, perSample));
}

py::array bakePixelsOf(const GraphHandle& g, const tex::Grid& grid, const std::string& channels, int depth,
                       const std::optional<RegionTuple>& region, int threads)
{
    const tex::Channels layout = channelsNamed(channels, g.output());
    if (depth != 8 && depth != 16)
        throw py::value_error("depth " + std::to_string(depth) + " is neither 8 nor 16");
    const tex::BakeOptions options = bakeOptions(grid, region, threads);
    if (depth == 8)
        return bakePixels<std::uint8_t>(g, grid, layout, options);
    return bakePixels<std::uint16_t>(g, grid, layout, options);
}

RegionTuple tileRegion(int width, int height, int columns, int rows, int index)
{
    checkSide(width, "width");
    checkSide(height, "height");
    const tex::Tiling tiling{columns, rows};
    if (!tiling.fits(width, height))
        throw py::value_error(std::to_string(columns) + "x" + std::to_string(rows) + " tiles do not fit the "
                              + std::to_string(width) + " x " + std::to_string(height) + " grid");
    if (index < 0 || index >= tiling.count())
        throw py::value_error("tile " + std::to_string(index) + " is not in 0.." + std::to_string(tiling.count() - 1));
    const tex::Region r = tiling.tile(width, height, index);
    return {r.x, r.y, r.width, r.height};
}

template <typename Sample>
bool writePPMOf(const std::string& path, const py::array_t<Sample, py::array::c_style>& pixels,
                tex::PPMWriter::Depth depth)
{
    const int width = static_cast<int>(pixels.shape(1));
    const int height = static_cast<int>(pixels.shape(0));
    py::gil_scoped_release release;
    tex::PPMWriter writer(path, width, height, depth);
    return writer.writeRows(pixels.data(), height) && writer.finish();
}

// RGB pixels of 8 or 16 bits as a binary PPM file, as texbake writes it.
void writePPM(const std::string& path, const py::array& pixels)
{
    if (pixels.ndim() != 3 || pixels.shape(2) != 3 || pixels.shape(0) < 1 || pixels.shape(1) < 1
        || pixels.shape(0) > maxSide || pixels.shape(1) > maxSide)
        throw py::value_error("a PPM image is an array of height x width x 3 (red, green, blue), not of shape "
                              + std::string(py::str(pixels.attr("shape"))));
    bool written = false;
    if (py::isinstance<py::array_t<std::uint8_t>>(pixels))
        written = writePPMOf(path, pixels.cast<py::array_t<std::uint8_t, py::array::c_style>>(),
                             tex::PPMWriter::Depth::Eight);
    else if (py::isinstance<py::array_t<std::uint16_t>>(pixels))
        written = writePPMOf(path, pixels.cast<py::array_t<std::uint16_t, py::array::c_style>>(),
                             tex::PPMWriter::Depth::Sixteen);
    else
        throw py::type_error("PPM pixels are uint8 or uint16, not " + std::string(py::str(pixels.dtype())));
    if (!written) {
        PyErr_SetFromErrnoWithFilename(PyExc_OSError, path.c_str());
        throw py::error_already_set();
    }
}

} // namespace

void bindBakes(py::module_& m)
{
    py::class_<tex::Grid>(m, "Grid", "The regular grid of points a bake samples.")
        .def_static("flat", &flatGrid, py::arg("width"), py::arg("height"), py::arg("extent") = 1.0,
                    py::arg("x0") = 0.0, py::arg("y0") = 0.0, py::arg("z") = 0.0)
        .def_static("sphere", &sphereGrid, py::arg("width"), py::arg("height"), py::arg("radius") = 1.0,
                    py::arg("cx") = 0.0, py::arg("cy") = 0.0, py::arg("cz") = 0.0)
        .def_property_readonly("width", &tex::Grid::width)
        .def_property_readonly("height", &tex::Grid::height)
        .def_property_readonly("kind", [](const tex::Grid& grid) {
            return grid.kind() == tex::Grid::Kind::Flat ? "flat" : "sphere";
        })
        .def("point", [](const tex::Grid& grid, int row, int column) {
            const tex::Point p = grid.point(row, column);
            return std::make_tuple(p.x, p.y, p.z);
        }, py::arg("row"), py::arg("column"));

    m.def("bake_values", &bakeValues, py::arg("graph"), py::arg("grid"), py::arg("region") = py::none(),
          py::arg("threads") = 0);
    m.def("bake_floats", &bakeFloats, py::arg("graph"), py::arg("grid"), py::arg("region") = py::none(),
          py::arg("threads") = 0);
    m.def("bake_pixels", &bakePixelsOf, py::arg("graph"), py::arg("grid"), py::arg("channels"), py::arg("depth"),
          py::arg("region") = py::none(), py::arg("threads") = 0);
    m.def("bake_thread_count", [](const tex::Grid& grid, const std::optional<RegionTuple>& region, int threads) {
        return tex::bakeThreadCount(grid, bakeOptions(grid, region, threads));
    }, py::arg("grid"), py::arg("region") = py::none(), py::arg("threads") = 0);
    m.def("tile_region", &tileRegion, py::arg("width"), py::arg("height"), py::arg("columns"), py::arg("rows"),
          py::arg("index"), "Tile `index` of columns x rows tiles of a width x height grid, as (x, y, w, h).");
    m.def("write_ppm", &writePPM, py::arg("path"), py::arg("pixels"),
          "uint8 or uint16 pixels of shape (height, width, 3) as a binary PPM file, written whole or not at all.");
}

} // namespace sftex
