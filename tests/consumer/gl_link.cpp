// Links a GL bake through texture::texture_gl without calling it: there is no
// GL context here, only the proof that the target brings the library and GL.
#include "texture/texture_gl.h"

#include <cstdio>

int main()
{
    GLuint (*volatile bake)(const tex::ColourBasis&, int, int, double, double, double, double, int) = tex::bakeTexture;
    std::printf("texture_gl links: %s\n", bake != nullptr ? "yes" : "no");
    return bake != nullptr ? 0 : 1;
}
