#include "shape/gl_matrix.h"

#include <cmath>
#include <cstring>

namespace {

constexpr double pi = 3.14159265358979323846;

} // namespace

GlMatrix::GlMatrix()
    : m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}
{
}

GlMatrix::GlMatrix(const float columns[16])
{
    std::memcpy(m, columns, sizeof m);
}

void GlMatrix::translate(float x, float y, float z)
{
    m[12] = m[0] * x + m[4] * y + m[8] * z + m[12];
    m[13] = m[1] * x + m[5] * y + m[9] * z + m[13];
    m[14] = m[2] * x + m[6] * y + m[10] * z + m[14];
    m[15] = m[3] * x + m[7] * y + m[11] * z + m[15];
}

void GlMatrix::scale(float x, float y, float z)
{
    for (int row = 0; row < 4; ++row) {
        m[row] *= x;
        m[4 + row] *= y;
        m[8 + row] *= z;
    }
}

void GlMatrix::rotateZ(float degrees)
{
    // The sine and cosine of the angle in radians, taken in double and
    // rounded to float before the float sine and cosine.
    const float radians = float(degrees * pi / 180.0);
    const float s = std::sin(radians);
    const float c = std::cos(radians);
    GlMatrix rotation;
    rotation.m[0] = c;
    rotation.m[1] = s;
    rotation.m[4] = -s;
    rotation.m[5] = c;
    *this = *this * rotation;
}

GlMatrix GlMatrix::operator*(const GlMatrix& right) const
{
    // Row by row, each element summed left to right over the four terms.
    GlMatrix product;
    const float* b = right.m;
    for (int row = 0; row < 4; ++row) {
        const float a0 = m[row];
        const float a1 = m[4 + row];
        const float a2 = m[8 + row];
        const float a3 = m[12 + row];
        for (int column = 0; column < 4; ++column)
            product.m[4 * column + row] = a0 * b[4 * column] + a1 * b[4 * column + 1] + a2 * b[4 * column + 2]
                                          + a3 * b[4 * column + 3];
    }
    return product;
}
