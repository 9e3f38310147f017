#pragma once

#include "texture/scalar/parameterised.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tex {

class Basis;
class ColourBasis;

// What a node type is, as a graph file, a list or a document needs to know
// it without building one. Each texture function class declares its
// NodeType once, at the end of its .cpp (its static nodeType()), with the
// names and descriptions of its arguments and inputs; its parameters come
// from its ParameterTable, where each has its description. The catalogue
// (texture/catalogue/catalogue.h) lists them all.

// A scalar field (Basis) or a colour function (ColourBasis).
enum class NodeKind { Field, Colour };

// An argument of a class's constructor. Unlike parameters, these fix a
// function for its lifetime (seeds, lattice sizes, densities).
struct ArgumentInfo {
    enum class Kind {
        Integer,
        // An integer that is a power of two.
        PowerOfTwo,
        Real,
    };

    const char* name;
    const char* description;
    Kind kind;
    // The accepted range, ends included.
    double min;
    double max;
    // Absent: the argument must be given.
    std::optional<double> defaultValue;

    // A seed: any int, always given, so that a graph is reproducible.
    static ArgumentInfo seed(const char* name, const char* description);
};

// An input of a node, wired in by setInput (a scalar field) or
// setColourInput (a colour function).
struct InputInfo {
    const char* name;
    const char* description;
    NodeKind kind;
};

// What one sample of a node costs, priced in nanoseconds of one core of the
// machine the prices were measured on (bench/cost_bench.cpp times every type
// per sample), so that graphs that would run too long can be refused before
// they run. Every node evaluated counts, inner ones too: a node's price is
//
//   (own + perStopStep × the steps of a bisection of its colour stops
//        + the sum of its inputs' prices)
//   × the value of the integer parameter `repeatedBy`, where one is named
//
// (the octaves of a fractal sum repeat their source; a colour lookup grows
// with the logarithm of its stops). `own` is the node's dearest case: a
// Voronoi's, for one, is a search whose every cell is drawn afresh, as
// under fractal sums of uneven lacunarity, which takes 2 µs at density 0.05
// and 11 to 14 µs from density 0.75 on, 30 to 100 times its cost over a
// bake's rows.
struct SampleCost {
    int own;
    const char* repeatedBy = nullptr;
    int perStopStep = 0;
};

// The steps of a bisection over `stops` colour stops: the bits of the count.
int bisectionSteps(std::size_t stops);

// Constructor arguments in the order of NodeType::arguments, integers held
// exactly as doubles.
using ArgumentValues = std::vector<double>;

struct NodeType {
    using MakeField = std::unique_ptr<Basis> (*)(const ArgumentValues& arguments);
    using MakeColour = std::unique_ptr<ColourBasis> (*)(const ArgumentValues& arguments);

    // The class's name ("Noise", "CMixer"), what it is in one line, and its
    // program-wide parameter list (what parameters() of every object gives).
    NodeType(const char* name, const char* description, const ParameterList& parameters);

    // The declarations, each returning *this. A scalar field or a colour
    // function, built from its arguments (which lie in their ranges), or
    // with none by its default constructor:
    NodeType& field(MakeField make);
    NodeType& colour(MakeColour make);
    template <typename Field>
    NodeType& field()
    {
        return field([](const ArgumentValues&) -> std::unique_ptr<Basis> { return std::make_unique<Field>(); });
    }
    template <typename Colour>
    NodeType& colour()
    {
        return colour(
            [](const ArgumentValues&) -> std::unique_ptr<ColourBasis> { return std::make_unique<Colour>(); });
    }
    // The next constructor argument, scalar input or colour input.
    NodeType& argument(const ArgumentInfo& info);
    NodeType& input(const char* name, const char* description);
    NodeType& colourInput(const char* name, const char* description);
    // Its colour spline is filled from a table of stops.
    NodeType& withStops();
    // Its price per sample (see SampleCost); every type declares one.
    NodeType& costs(SampleCost cost);

    const char* name;
    const char* description;
    NodeKind kind = NodeKind::Field;
    std::vector<ArgumentInfo> arguments;
    // Its scalar inputs in index order, then its colour inputs in index order.
    std::vector<InputInfo> inputs;
    bool stops = false;
    const ParameterList* parameters;
    // Exactly one is set, by kind.
    MakeField makeField = nullptr;
    MakeColour makeColour = nullptr;

    // The number of its inputs of `kind`.
    int inputCount(NodeKind kind) const;
    // Every argument at its default, required ones at their lowest value.
    ArgumentValues defaultArguments() const;
    // The first parameter named `name`, or null.
    const ParameterInfo* findParameter(const std::string& name) const;
    SampleCost cost() const { return declaredCost; }

private:
    SampleCost declaredCost{1};
};

} // namespace tex
