#pragma once

#include <QOffscreenSurface>
#include <QOpenGLContext>

#include <gtest/gtest.h>

// GL state read back as an int: a glGet* value, a parameter of the texture
// bound to GL_TEXTURE_2D, one of its level 0.
inline GLint integer(GLenum name)
{
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

inline GLint textureParameter(GLenum name)
{
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

inline GLint levelParameter(GLenum name)
{
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
    return value;
}

// A fixture with its own GL context current during each test, on an
// offscreen surface (Mesa's software renderer under Xvfb).
class GLContextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        surface.create();
        ASSERT_TRUE(context.create());
        ASSERT_TRUE(context.makeCurrent(&surface));
    }

    void TearDown() override { context.doneCurrent(); }

    QOffscreenSurface surface;
    QOpenGLContext context;
};
