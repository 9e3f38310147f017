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

#include <sys/mman.h>

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

// Arrays of this many bytes or more are laid on huge pages where the system
// has them: a bake writes each page once, and a fresh 4 KiB page costs a
// fault and its zeroing, some 5% of a cheap bake.
constexpr std::size_t hugePageBytes = std::size_t(2) << 20;

// `count` elements of T (a number type), uninitialised, handed to numpy
// without a copy: the array owns them and frees them when the last view of
// it goes. More than memory can hold raises MemoryError. (malloc, not new:
// a failing new ends a process under AddressSanitizer, malloc returns null.)
template <typename T>
class NumpyBuffer {
public:
    explicit NumpyBuffer(std::size_t count) : data(allocate(count), &std::free)
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
    static T* allocate(std::size_t count)
    {
        if (count > SIZE_MAX / sizeof(T))
            return nullptr;
        const std::size_t bytes = std::max<std::size_t>(count, 1) * sizeof(T);
        if (bytes < hugePageBytes)
            return static_cast<T*>(std::malloc(bytes));
        void* memory = nullptr;
        if (posix_memalign(&memory, hugePageBytes, bytes) != 0)
            return nullptr;
        madvise(memory, bytes, MADV_HUGEPAGE);
        return static_cast<T*>(memory);
    }

    std::unique_ptr<T, decltype(&std::free)> data;
};

void bindGraphs(py::module_& m);
void bindEvaluation(py::module_& m);
void bindBakes(py::module_& m);

} // namespace sftex
