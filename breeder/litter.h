#pragma once

#include "breeder/bred_graph.h"

#include "support/random.h"

#include <vector>

namespace breeder {

// A litter: nine graphs shown three by three, the parent in the middle and
// eight of its mutants around it, row by row.
constexpr int litterSize = 9;
constexpr int parentPlace = 4;

// The litter of `parent` at `rate`: its mutants drawn from `random` in the
// order of their places (see mutant()), each within `limits`.
std::vector<BredGraph> breedLitter(const BredGraph& parent, double rate, tex::Random& random,
                                   const tex::GraphLimits& limits = {});

} // namespace breeder
