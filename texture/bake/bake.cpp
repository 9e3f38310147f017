#include "texture/bake/bake.h"

#include "support/colour.h"
#include "support/write_ppm.h"
#include "texture/colour/colour_basis.h"
#include "texture/scalar/basis.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <memory>
#include <new>

namespace tex {

namespace {

const double pi = 3.14159265358979323846;

// A buffer of width × height × perSample elements, or null when the sizes
// are below 1, the byte count does not fit in size_t or memory runs out.
template <typename T>
std::unique_ptr<T[]> allocateSamples(int width, int height, int perSample)
{
    if (width < 1 || height < 1)
        return nullptr;
    const std::size_t count = std::size_t(width) * std::size_t(height);
    if (count > std::numeric_limits<std::size_t>::max() / sizeof(T) / std::size_t(perSample))
        return nullptr;
    return std::unique_ptr<T[]>(new (std::nothrow) T[count * std::size_t(perSample)]);
}

// Calls sample(index, x, y, z) for every point of the flat grid, row by row.
template <typename Sample>
void sampleGrid(int width, int height, double extent, double x0, double y0, double z, Sample sample)
{
    const double step = extent / std::max(width, height);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c)
            sample(std::size_t(r) * std::size_t(width) + std::size_t(c), x0 + c * step, y0 + r * step, z);
}

// Calls sample(index, x, y, z) for every point of the latitude-by-longitude
// grid on the sphere, row by row.
template <typename Sample>
void sampleSphere(int width, int height, double radius, double cx, double cy, double cz, Sample sample)
{
    for (int r = 0; r < height; ++r) {
        const double theta = pi * r / height;
        for (int c = 0; c < width; ++c) {
            const double phi = 2 * pi * c / width;
            sample(std::size_t(r) * std::size_t(width) + std::size_t(c),
                   cx + radius * std::cos(phi) * std::sin(theta),
                   cy + radius * std::sin(phi) * std::sin(theta),
                   cz + radius * std::cos(theta));
        }
    }
}

// Sampler storing a scalar field's values as luminance texels.
auto luminanceTexels(Basis& f, float* texels)
{
    return [&f, texels](std::size_t i, double px, double py, double pz) { texels[i] = float(f.value(px, py, pz)); };
}

// Sampler storing a colour function's clamped colours as RGBA texels.
auto rgbaTexels(ColourBasis& f, float* texels)
{
    return [&f, texels](std::size_t i, double px, double py, double pz) {
        Colour colour = f.colour(px, py, pz);
        colour.clampToUnit();
        float* texel = texels + 4 * i;
        texel[0] = float(colour.r);
        texel[1] = float(colour.g);
        texel[2] = float(colour.b);
        texel[3] = float(colour.a);
    };
}

// clamp(0, 1, v) × 255 truncated toward zero. Written so that NaN, which
// clamp passes through, gives 0 instead of an undefined conversion.
unsigned char toByte(double v)
{
    if (!(v > 0.0))
        return 0;
    if (v > 1.0)
        return 255;
    return static_cast<unsigned char>(v * 255.0);
}

GLuint uploadTexture(GLenum format, int width, int height, const float* texels)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, format, GL_FLOAT, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    return name;
}

} // namespace

GLuint bakeTexture(Basis& f, int width, int height, double extent, double x0, double y0, double z)
{
    const std::unique_ptr<float[]> texels = allocateSamples<float>(width, height, 1);
    if (!texels)
        return 0;
    sampleGrid(width, height, extent, x0, y0, z, luminanceTexels(f, texels.get()));
    return uploadTexture(GL_LUMINANCE, width, height, texels.get());
}

GLuint bakeTexture(ColourBasis& f, int width, int height, double extent, double x0, double y0, double z)
{
    const std::unique_ptr<float[]> texels = allocateSamples<float>(width, height, 4);
    if (!texels)
        return 0;
    sampleGrid(width, height, extent, x0, y0, z, rgbaTexels(f, texels.get()));
    return uploadTexture(GL_RGBA, width, height, texels.get());
}

GLuint bakeSphereTexture(Basis& f, int width, int height, double radius, double cx, double cy, double cz)
{
    const std::unique_ptr<float[]> texels = allocateSamples<float>(width, height, 1);
    if (!texels)
        return 0;
    sampleSphere(width, height, radius, cx, cy, cz, luminanceTexels(f, texels.get()));
    return uploadTexture(GL_LUMINANCE, width, height, texels.get());
}

GLuint bakeSphereTexture(ColourBasis& f, int width, int height, double radius, double cx, double cy,
                         double cz)
{
    const std::unique_ptr<float[]> texels = allocateSamples<float>(width, height, 4);
    if (!texels)
        return 0;
    sampleSphere(width, height, radius, cx, cy, cz, rgbaTexels(f, texels.get()));
    return uploadTexture(GL_RGBA, width, height, texels.get());
}

bool bakeImage(const std::string& filename, Basis& f, int width, int height, double extent, double x0,
               double y0, double z)
{
    const std::unique_ptr<unsigned char[]> pixels = allocateSamples<unsigned char>(width, height, 3);
    if (!pixels)
        return false;
    sampleGrid(width, height, extent, x0, y0, z, [&f, &pixels](std::size_t i, double px, double py, double pz) {
        const unsigned char grey = toByte(f.value(px, py, pz));
        unsigned char* pixel = pixels.get() + 3 * i;
        pixel[0] = grey;
        pixel[1] = grey;
        pixel[2] = grey;
    });
    return writePPM(pixels.get(), width, height, filename);
}

bool bakeImage(const std::string& filename, ColourBasis& f, int width, int height, double extent,
               double x0, double y0, double z)
{
    const std::unique_ptr<unsigned char[]> pixels = allocateSamples<unsigned char>(width, height, 3);
    if (!pixels)
        return false;
    sampleGrid(width, height, extent, x0, y0, z, [&f, &pixels](std::size_t i, double px, double py, double pz) {
        Colour colour = f.colour(px, py, pz);
        colour.clampToUnit();
        unsigned char* pixel = pixels.get() + 3 * i;
        pixel[0] = toByte(colour.r);
        pixel[1] = toByte(colour.g);
        pixel[2] = toByte(colour.b);
    });
    return writePPM(pixels.get(), width, height, filename);
}

} // namespace tex
