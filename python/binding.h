#pragma once

// What the parts of the extension _sftex share. The Python package sftex
// (python/sftex) wraps it; see docs/python.md.

#include "texture/texture_graph.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace sftex {

namespace py = pybind11;

// A graph that passed readGraph, shared by every Python object and bake that
// uses it, so that a bake running without the GIL keeps it alive.
struct GraphHandle {
    std::shared_ptr<const tex::Graph> graph;

    const tex::GraphNode& output() const { return graph->output(); }
};

// The Python exception for a graph that was refused (sftex.GraphError, a
// ValueError), raised with the reader's message.
[[noreturn]] void raiseGraphError(const std::string& message);

// `count` elements of T (a number type), uninitialised, handed to numpy
// without a copy: the array owns them and frees them when the last view of
// it goes. More than memory can hold raises MemoryError. (malloc, not new:
// a failing new ends a process under AddressSanitizer, malloc returns null.)
template <typename T>
class NumpyBuffer {
public:
    explicit NumpyBuffer(std::size_t count)
        : data(count <= SIZE_MAX / sizeof(T) ? static_cast<T*>(std::malloc(std::max<std::size_t>(count, 1) * sizeof(T)))
                                             : nullptr,
               &std::free)
    {
        if (!data)
            throw std::bad_alloc();
    }

    T* get() { return data.get(); }

    // The array of `shape` (C order) over the buffer, which it now owns.
    py::array_t<T> release(const std::vector<py::ssize_t>& shape)
    {
        py::capsule owner(data.get(), [](void* p) { std::free(p); });
        T* raw = data.release();
        return py::array_t<T>(shape, raw, owner);
    }

private:
    std::unique_ptr<T, decltype(&std::free)> data;
};

void bindGraphs(py::module_& m);
void bindEvaluation(py::module_& m);
void bindBakes(py::module_& m);

} // namespace sftex
