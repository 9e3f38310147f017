#pragma once

#include <GL/gl.h>

namespace tex {

class Basis;
class ColourBasis;

// The largest sample buffer a texture bake allocates: 1 GiB.
constexpr long long maxTextureBakeBytes = 1LL << 30;

// Bakes into GL textures: the samples of the memory bakes (see
// memory_bake.h and Grid) uploaded as single-precision floats. A scalar
// field gives a luminance texture of its values, unclamped (GL clamps them
// as it stores them); a colour function an RGBA texture of its colours
// clamped to [0, 1]. Sample row 0 lies at t = 0.
//
// The rows are spread over `threads` threads as for the memory bakes (0:
// one per hardware thread; 1: the calling thread alone); the GL calls are
// made on the calling thread, which needs a current GL context. A bake
// returns the name of a new texture (linear filters, repeat wraps, no
// mipmaps), left bound to GL_TEXTURE_2D; the caller owns it. A width or
// height below 1, a buffer beyond maxTextureBakeBytes or one that cannot be
// allocated returns 0, evaluating nothing and touching no GL state.

// The scalar field `f` over the flat grid (Grid::flat) into a luminance texture.
GLuint bakeTexture(const Basis& f, int width, int height, double extent, double x0, double y0, double z,
                   int threads = 0);
// The colour function `f` over the flat grid into an RGBA texture.
GLuint bakeTexture(const ColourBasis& f, int width, int height, double extent, double x0, double y0, double z,
                   int threads = 0);

// The scalar field `f` over a sphere (Grid::sphere) into a luminance texture.
GLuint bakeSphereTexture(const Basis& f, int width, int height, double radius, double cx, double cy, double cz,
                         int threads = 0);
// The colour function `f` over a sphere into an RGBA texture.
GLuint bakeSphereTexture(const ColourBasis& f, int width, int height, double radius, double cx, double cy,
                         double cz, int threads = 0);

} // namespace tex
