#pragma once

#include <GL/gl.h>

#include <string>

namespace tex {

class Basis;
class ColourBasis;

// Baking samples a texture function over a grid into a GL texture or a PPM
// file. Each call evaluates the function once per sample, row by row, and
// keeps nothing afterwards.
//
// Flat grid: step = extent / max(width, height); sample (row r, column c) is
// the point (x0 + c × step, y0 + r × step, z), so the longer side spans
// `extent` and the first sample lies exactly at the origin.
//
// Sphere: sample (r, c) is the point at polar angle θ = π r / height and
// azimuth φ = 2π c / width on the sphere of `radius` about (cx, cy, cz):
// row 0 is the pole (cx, cy, cz + radius), the last row one row short of
// the opposite pole.
//
// Scalar values go into textures as single-precision luminance, unclamped
// (GL clamps them); colours are clamped to [0, 1] and go in as RGBA floats.
// Image pixels are clamp(0, 1, value) × 255 truncated, grey for scalars,
// red, green and blue for colours (alpha dropped).
//
// Texture bakes need a current GL context. They return the name of a new
// texture (linear filters, repeat wraps, no mipmaps), left bound to
// GL_TEXTURE_2D; the caller owns it. Sample row 0 lies at t = 0.
// A width or height below 1, or a sample buffer that cannot be allocated,
// returns 0 without touching GL state.

// The scalar field `f` over the flat grid into a luminance texture.
GLuint bakeTexture(Basis& f, int width, int height, double extent, double x0, double y0, double z);
// The colour function `f` over the flat grid into an RGBA texture.
GLuint bakeTexture(ColourBasis& f, int width, int height, double extent, double x0, double y0, double z);

// The scalar field `f` over a sphere into a luminance texture.
GLuint bakeSphereTexture(Basis& f, int width, int height, double radius, double cx, double cy, double cz);
// The colour function `f` over a sphere into an RGBA texture.
GLuint bakeSphereTexture(ColourBasis& f, int width, int height, double radius, double cx, double cy,
                         double cz);

// The scalar field `f` over the flat grid into a grey PPM file `filename`,
// sample row 0 as the file's first row. Returns whether the whole file was
// written; false, with no file created, for a width or height below 1 or a
// buffer that cannot be allocated.
bool bakeImage(const std::string& filename, Basis& f, int width, int height, double extent, double x0,
               double y0, double z);
// The colour function `f` over the flat grid into an RGB PPM file, as above.
bool bakeImage(const std::string& filename, ColourBasis& f, int width, int height, double extent,
               double x0, double y0, double z);

} // namespace tex
