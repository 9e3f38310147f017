#pragma once

// The texture library with its GL layer: everything of texture/texture.h,
// and the bakes into GL textures. Link texture_gl (which links OpenGL).

#include "texture/gl/texture_bake.h"
#include "texture/texture.h"
