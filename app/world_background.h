#pragma once

#include <GL/gl.h>

// The world view's translucent background: gradient noise through a purple
// and ochre colour map, baked once into a repeating 512 x 512 texture whose
// alpha of 0.1 also sets how fast old frames fade under it.

// The colour map's stops, one row each: position, red, green, blue, alpha.
extern const double backgroundStops[4][5];

// Turns texturing on in replace mode and builds and binds the background
// texture, which it returns. Runs once, at the end of the view's GL set-up,
// with its context current; the texture lives as long as the context.
GLuint setUpBackground();

// Turns the texture matrix a further 0.01 degree and lays `texture` on a quad
// over the whole view, leaving the modelview matrix selected (as found),
// the texture bound and texturing off. The texture is bound anew each time:
// Qt binds others in the context when it makes the view's framebuffer.
void drawBackground(GLuint texture);
