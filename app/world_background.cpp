#include "app/world_background.h"

#include "texture/gl/texture_bake.h"
#include "texture/colour/colour_map.h"
#include "texture/scalar/noise.h"

#include <QImage>

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

void uploadBackground(GLuint texture, const QImage& image)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    // Lines of four-byte pixels are whole words: no row padding to unpack.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width(), image.height(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 image.constBits());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void drawBackground(GLuint texture, bool covering)
{
    // The texture matrix is never reset: the pattern keeps turning.
    glMatrixMode(GL_TEXTURE);
    glRotatef(0.01f, 0.0f, 0.0f, 1.0f);
    glMatrixMode(GL_MODELVIEW);

    // One quad over the whole view, drawn from client arrays: its corners
    // in order around it, and their texture coordinates.
    static const GLfloat corners[4][2] = {{-0.5f, 0.5f}, {-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}};
    static const GLfloat texels[4][2] = {{0.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}};
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4f(1.0f, 1.0f, 1.0f, 0.1f);
    if (covering)
        glDisable(GL_BLEND);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_INDEX_ARRAY);
    glDisableClientState(GL_EDGE_FLAG_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, corners);
    glTexCoordPointer(2, GL_FLOAT, 0, texels);
    glDrawArrays(GL_QUADS, 0, 4);
    glPopClientAttrib();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
}
