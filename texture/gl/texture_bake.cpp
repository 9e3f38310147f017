#include "texture/gl/texture_bake.h"

#include "texture/bake/memory_bake.h"

#include <cstddef>
#include <memory>
#include <new>

namespace tex {

namespace {

// Bakes `f` over `grid` into floats, `perTexel` a texel, and uploads them in
// `format`.
template <typename Function>
GLuint bakeAndUpload(Function& f, const Grid& grid, int perTexel, GLenum format, int threads)
{
    if (!grid.contains(grid.whole()))
        return 0;
    const long long texels = static_cast<long long>(grid.width()) * grid.height();
    if (texels > maxTextureBakeBytes / static_cast<long long>(sizeof(float) * perTexel))
        return 0;
    const std::unique_ptr<float[]> samples(new (std::nothrow) float[std::size_t(texels) * perTexel]);
    if (!samples)
        return 0;
    bakeFloats(f, grid, samples.get(), BakeOptions{std::nullopt, threads});

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, format, grid.width(), grid.height(), 0, format, GL_FLOAT, samples.get());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    return name;
}

} // namespace

GLuint bakeTexture(const Basis& f, int width, int height, double extent, double x0, double y0, double z, int threads)
{
    return bakeAndUpload(f, Grid::flat(width, height, extent, x0, y0, z), 1, GL_LUMINANCE, threads);
}

GLuint bakeTexture(const ColourBasis& f, int width, int height, double extent, double x0, double y0, double z,
                   int threads)
{
    return bakeAndUpload(f, Grid::flat(width, height, extent, x0, y0, z), 4, GL_RGBA, threads);
}

GLuint bakeSphereTexture(const Basis& f, int width, int height, double radius, double cx, double cy, double cz,
                         int threads)
{
    return bakeAndUpload(f, Grid::sphere(width, height, radius, cx, cy, cz), 1, GL_LUMINANCE, threads);
}

GLuint bakeSphereTexture(const ColourBasis& f, int width, int height, double radius, double cx, double cy,
                         double cz, int threads)
{
    return bakeAndUpload(f, Grid::sphere(width, height, radius, cx, cy, cz), 4, GL_RGBA, threads);
}

} // namespace tex
