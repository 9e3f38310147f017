#pragma once

#include "breeder/bred_graph.h"
#include "breeder/graph_draft.h"

#include "support/random.h"

namespace breeder {

// Mutation of texture graphs, the way creatures mutate: every number of the
// parent drawn afresh close to its value, the spread set by the mutation
// rate (0 to 2, the world's slider; 0.5 by default), and now and then a
// change of shape. All chances come from one tex::Random, drawn in a fixed
// order, so that the same generator state and parent give the same mutant.
//
// A mutant, in this order of draws:
// 1. Now and then, one change of shape, each at a chance that grows with
//    the rate up to 1 (none at rate 0):
//    - a node swapped for another type of the same kind (scalar field for
//      scalar field, colour function for colour function) with inputs of
//      the same kinds and number, and stops if it had them, keeping its
//      inputs, its stops and the arguments and parameters the two types
//      share (a seed stays a seed); the others start at their defaults,
//      a required seed drawn at random;
//    - a modifier (a scalar field over scalar inputs that repeats nothing,
//      BGainer for one) inserted above a scalar field, its further inputs
//      new leaves (fields without inputs) with random seeds;
//    - a modifier removed, its first input taking its place.
// 2. Every node the output reaches, in the order of the graph file: its
//    arguments and parameters, then its stops.
//    - Real numbers move by at most rate/20 of their range either way, and
//      stay in the range.
//    - Integer parameters (octaves) move by one step at a chance that grows
//      with the rate, within their range.
//    - Seeds are drawn afresh now and then; sizes halve or double now and
//      then, within their range.
//    - Stop colours move by at most rate/10 on each of red, green and blue
//      within [0, 1]; the inner stops' positions move by at most rate/20
//      and stay strictly between their neighbours. Alphas stay: the
//      world's background fades old frames by its alpha.
// At rate 0 a mutant is its parent, less the nodes its output does not
// reach and any parameter the file sets to its default.

// One mutant of `parent` as a draft, before any check.
GraphDraft mutate(const GraphDraft& parent, double rate, tex::Random& random);

// A mutant of `parent` that tex::readGraph accepts under `limits` (the cost
// bound among them): mutants it refuses are drawn again, from where the
// generator stands. After `maxTries` refusals the mutant is the parent
// itself, which was read under the same limits.
BredGraph mutant(const BredGraph& parent, double rate, tex::Random& random, const tex::GraphLimits& limits = {});

constexpr int maxTries = 64;

} // namespace breeder
