#pragma once

#include <QOffscreenSurface>
#include <QOpenGLContext>

#include <gtest/gtest.h>

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
