#include "breeder/litter.h"

#include "breeder/graph_mutation.h"

namespace breeder {

std::vector<BredGraph> breedLitter(const BredGraph& parent, double rate, tex::Random& random,
                                   const tex::GraphLimits& limits)
{
    std::vector<BredGraph> litter;
    for (int place = 0; place < litterSize; ++place)
        litter.push_back(place == parentPlace ? parent : mutant(parent, rate, random, limits));
    return litter;
}

} // namespace breeder
