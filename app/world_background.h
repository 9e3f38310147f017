#pragma once

#include <GL/gl.h>

class QImage;

// The world view's translucent background: gradient noise through a purple
// and ochre colour map, baked once into a repeating 512 x 512 texture whose
// alpha of 0.1 also sets how fast old frames fade under it.

// The colour map's stops, one row each: position, red, green, blue, alpha.
extern const double backgroundStops[4][5];

// Turns texturing on in replace mode and builds and binds the background
// texture, which it returns. Runs once, at the end of the view's GL set-up,
// with its context current; the texture lives as long as the context.
GLuint setUpBackground();

// Fills `texture` (a name from glGenTextures) with `image`: 8-bit RGBA
// (QImage::Format_RGBA8888), its first line at t = 0 as setUpBackground
// bakes it, any size, with the background's linear filters and repeat
// wraps. Leaves `texture` bound.
void uploadBackground(GLuint texture, const QImage& image);

// Turns the texture matrix a further 0.01 degree and lays `texture` on a quad
// over the whole view: blended by the texture's own alpha of a tenth, so
// that the last frame shows through as trails, or, `covering`, in place of
// the last frame. Leaves the modelview matrix selected (as found), the
// texture bound, texturing off and blending on.
void drawBackground(GLuint texture, bool covering = false);
