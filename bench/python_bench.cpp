// The Python module against the C++ it wraps, each pair in the same
// iterations so that the machine's load moves both alike:
//
// - BM_PythonBake: a 4096 x 4096 RGB bake of the marble graph through
//   sftex (Graph.bake_pixels, into a numpy array) and through texbake's own
//   path (bakeToSink into a PPM on /dev/null), at the same thread count.
//   "python/texbake" is sftex's throughput over texbake's: the goal is
//   0.95 or more.
// - BM_PythonValues: values at 10^6 scattered points through sftex
//   (Graph.values over numpy arrays) and through the C++ run API
//   (Basis::values). "python/C++" is sftex's time over the C++ time: the
//   goal is 1.1 or less.
// - BM_DaskWorkers: an 8192 x 8192 RGB bake of the marble graph through
//   sftex.dask (chunks of 1024 x 1024, one thread each) on a LocalCluster
//   of one worker process and on one of two, both started beforehand, each
//   bake summed on the cluster so that the pixels need not travel.
//   "2 workers/1" is the speedup: the goal is 1.6 or more.
// - BM_DaskZarrMemory: a 32768 x 32768 grey bake of the noise graph
//   through sftex.dask into a Zarr store in a temporary folder, on a
//   LocalCluster of two worker processes: each worker's peak resident
//   memory ("peak MiB", the larger of the two), against the 1 GiB of the
//   image ("peak/image"). The goal is a peak under 1 GB.
//
// The interpreter is the one sftex was built for, embedded; it imports the
// build tree's package, and Dask's worker processes run that interpreter.
#include "tools/texbake/bake_stream.h"
#include "tools/texbake/ppm_output.h"

#include "texture/texture_graph.h"

#include <benchmark/benchmark.h>
#include <pybind11/embed.h>
#include <pybind11/numpy.h>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace py = pybind11;

namespace {

using Clock = std::chrono::steady_clock;

const int side = 4096;
const std::size_t scattered = 1000000;

py::module_& sftex()
{
    static py::scoped_interpreter interpreter;
    static py::module_ module = [] {
        py::module_::import("sys").attr("path").attr("insert")(0, SFTEX_PACKAGE_PARENT);
        return py::module_::import("sftex");
    }();
    return module;
}

std::string fileText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

tex::Graph graphFile(const std::string& name)
{
    tex::GraphError error;
    return std::move(*tex::readGraph(fileText(std::string(GALLERY_DIR) + "/" + name), error));
}

double seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_PythonBake(benchmark::State& state)
{
    const int threads = static_cast<int>(state.range(0));
    const tex::Graph graph = graphFile("marble.json");
    const texbake::BakeJob job{tex::Grid::flat(side, side, 8.0, 0.0, 0.0, 0.0), tex::Region{0, 0, side, side},
                               tex::Channels::RGB, texbake::Depth::Eight, threads};
    py::module_& m = sftex();
    const py::object pyGraph = m.attr("read_graph")(std::string(GALLERY_DIR) + "/marble.json");
    const py::object pyGrid = m.attr("Grid").attr("flat")(side, side, 8.0);
    const py::object bake = pyGraph.attr("bake_pixels");
    double python = 0.0, texbake = 0.0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        {
            const py::object pixels = bake(pyGrid, "rgb", 8, py::none(), threads);
            benchmark::DoNotOptimize(pixels.ptr());
        }
        python += seconds(start);

        start = Clock::now();
        texbake::PpmOutput sink("/dev/null", side, side, texbake::Depth::Eight);
        std::ostringstream silent;
        texbake::Progress progress(silent, false, 0);
        if (texbake::bakeToSink(graph.output(), job, sink, progress) != texbake::BakeResult::Done)
            state.SkipWithError("texbake's bake failed");
        texbake += seconds(start);
    }
    const double texels = double(state.iterations()) * side * side;
    state.counters["Mtexel/s python"] = texels / python / 1e6;
    state.counters["Mtexel/s texbake"] = texels / texbake / 1e6;
    state.counters["python/texbake"] = texbake / python;
}
BENCHMARK(BM_PythonBake)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PythonValues(benchmark::State& state)
{
    const tex::Graph graph = graphFile("fbm.json");
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> coordinate(0.0, 64.0);
    std::vector<double> x(scattered), y(scattered), z(scattered), out(scattered);
    for (std::size_t i = 0; i < scattered; ++i) {
        x[i] = coordinate(random);
        y[i] = coordinate(random);
        z[i] = coordinate(random);
    }
    py::module_& m = sftex();
    const py::object pyGraph = m.attr("read_graph")(std::string(GALLERY_DIR) + "/fbm.json");
    const py::object values = pyGraph.attr("values");
    const py::array_t<double> px(x.size(), x.data()), py_(y.size(), y.data()), pz(z.size(), z.data());
    double python = 0.0, cpp = 0.0;
    bool same = true;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        const py::array_t<double> result = values(px, py_, pz);
        python += seconds(start);

        start = Clock::now();
        graph.output().field->values(x.data(), y.data(), z.data(), out.data(), scattered);
        cpp += seconds(start);
        same = same && std::equal(out.begin(), out.end(), result.data());
    }
    if (!same)
        state.SkipWithError("sftex's values differ from the C++ run API's");
    state.counters["Mpoint/s python"] = double(state.iterations()) * scattered / python / 1e6;
    state.counters["Mpoint/s C++"] = double(state.iterations()) * scattered / cpp / 1e6;
    state.counters["python/C++"] = python / cpp;
}
BENCHMARK(BM_PythonValues)->Unit(benchmark::kMillisecond)->UseRealTime();

const char* const daskBake = R"(
import sys, time, multiprocessing
sys.executable = PYTHON
multiprocessing.set_executable(PYTHON)
import dask, distributed, sftex, sftex.dask

def start(workers):
    cluster = distributed.LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                                       host="127.0.0.1", dashboard_address="127.0.0.1:0",
                                       worker_dashboard_address="127.0.0.1:0")
    return cluster, distributed.Client(cluster, set_as_default=False)

def peak_mib():
    import resource
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024

def zarr_peak_mib(client):
    import tempfile
    graph = sftex.read_graph(GALLERY + "/noise.json")
    grid = sftex.Grid.flat(32768, 32768, 512.0)
    with tempfile.TemporaryDirectory() as folder:
        stored = sftex.dask.bake_to_zarr(graph, grid, folder + "/noise.zarr", chunks=2048, compute=False)
        client.compute(stored).result()
    return max(client.run(peak_mib).values())

def bake_seconds(client):
    graph = sftex.read_graph(GALLERY + "/marble.json")
    grid = sftex.Grid.flat(8192, 8192, 16.0)
    total = sftex.dask.bake_array(graph, grid, channels="rgb", chunks=1024).sum(dtype="uint64")
    begin = time.perf_counter()
    client.compute(total).result()
    return time.perf_counter() - begin
)";

void BM_DaskWorkers(benchmark::State& state)
{
    sftex();
    py::dict scope;
    scope["PYTHON"] = PYTHON_EXECUTABLE;
    scope["GALLERY"] = GALLERY_DIR;
    py::exec(daskBake, scope);
    const py::object start = scope["start"];
    const py::object bakeSeconds = scope["bake_seconds"];
    const py::tuple one = start(1);
    const py::tuple two = start(2);
    double seconds[2] = {0.0, 0.0};
    for (auto _ : state) {
        seconds[0] += bakeSeconds(one[1]).cast<double>();
        seconds[1] += bakeSeconds(two[1]).cast<double>();
    }
    for (const py::tuple& cluster : {one, two}) {
        cluster[1].attr("close")();
        cluster[0].attr("close")();
    }
    const double texels = double(state.iterations()) * 8192 * 8192;
    state.counters["Mtexel/s 1 worker"] = texels / seconds[0] / 1e6;
    state.counters["Mtexel/s 2 workers"] = texels / seconds[1] / 1e6;
    state.counters["2 workers/1"] = seconds[0] / seconds[1];
}
BENCHMARK(BM_DaskWorkers)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_DaskZarrMemory(benchmark::State& state)
{
    sftex();
    py::dict scope;
    scope["PYTHON"] = PYTHON_EXECUTABLE;
    scope["GALLERY"] = GALLERY_DIR;
    py::exec(daskBake, scope);
    const py::tuple two = scope["start"](2);
    double peak = 0.0;
    for (auto _ : state)
        peak = std::max(peak, scope["zarr_peak_mib"](two[1]).cast<double>());
    two[1].attr("close")();
    two[0].attr("close")();
    state.counters["peak MiB"] = peak;
    state.counters["peak/image"] = peak / 1024.0;
}
BENCHMARK(BM_DaskZarrMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

BENCHMARK_MAIN();
