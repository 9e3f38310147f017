#include "breeder/background_graph.h"

#include "breeder/graph_draft.h"

#include "texture/colour/colour_map.h"
#include "texture/scalar/noise.h"

namespace breeder {

BredGraph noiseBackground(int seed, const double (*stops)[5], int rows)
{
    GraphDraft draft;
    DraftNode noise = defaultNode(tex::Noise::nodeType());
    noise.id = "noise";
    noise.arguments = {double(seed), 16.0};
    DraftNode map = defaultNode(tex::ColourMap::nodeType());
    map.id = "background";
    map.inputs = {0};
    map.stops.assign(&stops[0][0], &stops[0][0] + 5 * rows);
    draft.nodes = {noise, map};
    draft.output = 1;
    tex::GraphError error;
    return *readBredGraph(graphText(draft), error);
}

} // namespace breeder
