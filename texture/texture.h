#pragma once

// Everything a user of the texture library needs: scalar fields, colour
// functions, their maths, the random generator, bakes into memory and PPM
// files, and PPM reading and writing. Free of GL: the bakes into GL textures
// are in texture/texture_gl.h.

#include "support/atomic_file.h"
#include "support/colour.h"
#include "support/colour_spline.h"
#include "support/ppm_image.h"
#include "support/ppm_writer.h"
#include "support/random.h"
#include "support/scalar.h"
#include "support/write_ppm.h"
#include "texture/bake/grid.h"
#include "texture/bake/image_bake.h"
#include "texture/bake/memory_bake.h"
#include "texture/colour/c_darken.h"
#include "texture/colour/c_mixer.h"
#include "texture/colour/colour_basis.h"
#include "texture/colour/colour_map.h"
#include "texture/colour/flagstone.h"
#include "texture/colour/marble.h"
#include "texture/scalar/b_darken.h"
#include "texture/scalar/b_gainer.h"
#include "texture/scalar/b_lerper.h"
#include "texture/scalar/b_perturber.h"
#include "texture/scalar/b_scaler.h"
#include "texture/scalar/b_stepper.h"
#include "texture/scalar/basis.h"
#include "texture/scalar/checker.h"
#include "texture/scalar/fbm.h"
#include "texture/scalar/noise.h"
#include "texture/scalar/parameter_table.h"
#include "texture/scalar/parameterised.h"
#include "texture/scalar/sphere.h"
#include "texture/scalar/turbulence.h"
#include "texture/scalar/voronoi.h"
