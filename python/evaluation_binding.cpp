#include "python/binding.h"

#include <algorithm>
#include <stdexcept>

namespace sftex {

namespace {

using Points = py::array_t<double, py::array::c_style>;

// Points go to the library in slices of this many, the GIL released over
// each, so that Ctrl-C is heard between them.
constexpr std::size_t slicePoints = 1 << 16;

std::size_t pointCount(const Points& x, const Points& y, const Points& z)
{
    if (x.ndim() != 1 || y.ndim() != 1 || z.ndim() != 1 || x.size() != y.size() || x.size() != z.size())
        throw py::value_error("x, y and z must be flat arrays of one length");
    return static_cast<std::size_t>(x.size());
}

// Calls evaluate(first, count) over slices of n points, without the GIL;
// between slices, a pending KeyboardInterrupt (or any signal handler's
// exception) stops it and is raised.
template <typename Evaluate>
void sliced(std::size_t n, Evaluate evaluate)
{
    for (std::size_t first = 0; first < n; first += slicePoints) {
        if (first > 0 && PyErr_CheckSignals() != 0)
            throw py::error_already_set();
        py::gil_scoped_release release;
        evaluate(first, std::min(slicePoints, n - first));
    }
}

py::array_t<double> values(const GraphHandle& g, const Points& x, const Points& y, const Points& z)
{
    const tex::Basis* field = g.output().field.get();
    if (!field)
        throw py::type_error("the output \"" + g.output().id + "\" is a colour function: use colours()");
    const std::size_t n = pointCount(x, y, z);
    NumpyBuffer<double> out(n);
    const std::shared_ptr<const tex::Graph> keep = g.graph;
    sliced(n, [&](std::size_t first, std::size_t count) {
        field->values(x.data() + first, y.data() + first, z.data() + first, out.get() + first, count);
    });
    return out.release({static_cast<py::ssize_t>(n)});
}

static_assert(sizeof(tex::Colour) == 4 * sizeof(double), "a Colour is four doubles, r, g, b, a");

py::array_t<double> colours(const GraphHandle& g, const Points& x, const Points& y, const Points& z)
{
    const tex::ColourBasis* colour = g.output().colour.get();
    if (!colour)
        throw py::type_error("the output \"" + g.output().id + "\" is a scalar field: use values()");
    const std::size_t n = pointCount(x, y, z);
    NumpyBuffer<double> out(4 * n);
    tex::Colour* texels = reinterpret_cast<tex::Colour*>(out.get());
    const std::shared_ptr<const tex::Graph> keep = g.graph;
    sliced(n, [&](std::size_t first, std::size_t count) {
        colour->colours(x.data() + first, y.data() + first, z.data() + first, texels + first, count);
    });
    return out.release({static_cast<py::ssize_t>(n), 4});
}

} // namespace

void bindEvaluation(py::module_& m)
{
    // noconvert: the package hands over float64 arrays in C order, so that
    // nothing is copied here behind its back.
    m.def("values", &values, py::arg("graph"), py::arg("x").noconvert(), py::arg("y").noconvert(),
          py::arg("z").noconvert(), "value() of the output at each point of three flat float64 arrays.");
    m.def("colours", &colours, py::arg("graph"), py::arg("x").noconvert(), py::arg("y").noconvert(),
          py::arg("z").noconvert(), "colour() of the output at each point, unclamped: n rows of r, g, b, a.");
}

} // namespace sftex
