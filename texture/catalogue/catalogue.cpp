#include "texture/catalogue/catalogue.h"

#include "texture/colour/c_darken.h"
#include "texture/colour/c_mixer.h"
#include "texture/colour/colour_map.h"
#include "texture/colour/flagstone.h"
#include "texture/colour/marble.h"
#include "texture/scalar/b_darken.h"
#include "texture/scalar/b_gainer.h"
#include "texture/scalar/b_lerper.h"
#include "texture/scalar/b_perturber.h"
#include "texture/scalar/b_scaler.h"
#include "texture/scalar/b_stepper.h"
#include "texture/scalar/checker.h"
#include "texture/scalar/fbm.h"
#include "texture/scalar/noise.h"
#include "texture/scalar/sphere.h"
#include "texture/scalar/turbulence.h"
#include "texture/scalar/voronoi.h"

namespace tex {

const std::vector<const NodeType*>& nodeTypes()
{
    // One explicit list: each entry is a call, so no linker drops a type
    // whose class the program does not otherwise use.
    static const std::vector<const NodeType*> types = {
        &Noise::nodeType(),      &FBM::nodeType(),        &Turbulence::nodeType(), &Voronoi::nodeType(),
        &Sphere::nodeType(),     &Checker::nodeType(),    &BPerturber::nodeType(), &BLerper::nodeType(),
        &BDarken::nodeType(),    &BScaler::nodeType(),    &BGainer::nodeType(),    &BStepper::nodeType(),
        &ColourMap::nodeType(),  &Marble::nodeType(),     &Flagstone::nodeType(),  &CMixer::nodeType(),
        &CDarken::nodeType(),
    };
    return types;
}

const NodeType* findNodeType(std::string_view name)
{
    for (const NodeType* type : nodeTypes())
        if (name == type->name)
            return type;
    return nullptr;
}

} // namespace tex
