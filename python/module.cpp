#include "python/binding.h"

namespace sftex {

namespace {

PyObject* graphError = nullptr;

} // namespace

void raiseGraphError(const std::string& message)
{
    PyErr_SetString(graphError, message.c_str());
    throw py::error_already_set();
}

} // namespace sftex

PYBIND11_MODULE(_sftex, m)
{
    m.doc() = "The texture library's graphs, evaluation and bakes (wrapped by the package sftex).";
    // Created once and never freed, like the module that holds it.
    sftex::graphError = PyErr_NewExceptionWithDoc("sftex.GraphError",
                                                  "A graph that was refused, with the reason and where.",
                                                  PyExc_ValueError, nullptr);
    m.add_object("GraphError", pybind11::handle(sftex::graphError));
    sftex::bindGraphs(m);
    sftex::bindEvaluation(m);
    sftex::bindBakes(m);
}
