#include "app/world_background.h"

#include "texture/gl/texture_bake.h"
#include "texture/colour/colour_map.h"
#include "texture/scalar/noise.h"

#include <GL/gl.h>

using tex::bakeTexture;
using tex::ColourMap;
using tex::Noise;

const double backgroundStops[4][5] = {
    {0.0, 0.5, 0.2, 0.4, 0.1},
    {0.4, 0.5, 0.2, 0.4, 0.1},
    {0.95, 0.8, 0.6, 0.2, 0.1},
    {1.0, 0.5, 0.2, 0.4, 0.1},
};

GLuint setUpBackground()
{
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);

    // One period of a size-16 lattice baked over [0, 16)^2, so the repeating
    // texture joins without seams. Only the texture outlives the bake.
    Noise noise(16);
    ColourMap map;
    map.setInput(&noise, 0);
    map.spline()->setStops(&backgroundStops[0][0], 4);
    const GLuint texture = bakeTexture(map, 512, 512, 16.0, 0.0, 0.0, 0.0);
    glBindTexture(GL_TEXTURE_2D, texture);
    return texture;
}

void drawBackground(GLuint texture)
{
    // The texture matrix is never reset: the pattern keeps turning.
    glMatrixMode(GL_TEXTURE);
    glRotatef(0.01f, 0.0f, 0.0f, 1.0f);
    glMatrixMode(GL_MODELVIEW);

    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4f(1.0f, 1.0f, 1.0f, 0.1f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-0.5f, 0.5f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-0.5f, -0.5f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(0.5f, -0.5f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(0.5f, 0.5f);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}
