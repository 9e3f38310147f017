#pragma once

// Everything a user of the texture library needs.

#include "support/colour.h"
#include "support/colour_spline.h"
#include "support/random.h"
#include "support/scalar.h"
#include "texture/colour/colour_basis.h"
#include "texture/colour/colour_map.h"
#include "texture/scalar/basis.h"
#include "texture/scalar/noise.h"
#include "texture/scalar/parameterised.h"
