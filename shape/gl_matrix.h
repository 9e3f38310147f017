#pragma once

// A 4 x 4 single-precision matrix, column-major as GL stores it, that
// changes as Mesa's fixed-function matrix stack changes its current matrix:
// the same float operations in the same order. Vertices transformed with it
// on the CPU therefore land where Mesa would have put them had it done the
// transform itself, to the last bit, and a batch of differently placed
// shapes can be drawn in one call with the pictures of one call per shape.
//
// The arguments are floats, as Mesa takes them: glTranslated, glScaled and
// glRotated convert their doubles to float first, so callers do the same.
class GlMatrix {
public:
    // The identity.
    GlMatrix();
    // A matrix read back from GL (glGetFloatv of GL_MODELVIEW_MATRIX, ...).
    explicit GlMatrix(const float columns[16]);

    // As glTranslatef: this = this * T(x, y, z).
    void translate(float x, float y, float z);
    // As glScalef: this = this * S(x, y, z).
    void scale(float x, float y, float z);
    // As glRotatef(degrees, 0, 0, 1).
    void rotateZ(float degrees);

    // this * right, as Mesa multiplies the projection by the modelview.
    GlMatrix operator*(const GlMatrix& right) const;

    // Where the vertex (x, y, 0, 1) goes: the x and y of this * vertex,
    // summed in the order in which the vertex program evaluates them. The
    // z term keeps what a non-finite matrix makes of the vertex.
    float transformX(float x, float y) const { return ((x * m[0] + y * m[4]) + 0.0f * m[8]) + m[12]; }
    float transformY(float x, float y) const { return ((x * m[1] + y * m[5]) + 0.0f * m[9]) + m[13]; }

    float m[16];
};
