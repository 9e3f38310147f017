#pragma once

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include <GL/gl.h>

#include <memory>
#include <vector>

// A current GL context with a square framebuffer of `side` pixels, identity
// matrices and a viewport over the whole of it.
class ShapeGl {
public:
    explicit ShapeGl(int side = 200)
    {
        surface.create();
        context.create();
        context.makeCurrent(&surface);
        framebuffer = std::make_unique<QOpenGLFramebufferObject>(side, side);
        framebuffer->bind();
        glViewport(0, 0, side, side);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    ~ShapeGl()
    {
        framebuffer.reset();
        context.doneCurrent();
    }

    bool valid() const { return context.isValid() && framebuffer->isValid(); }

    QOffscreenSurface surface;
    QOpenGLContext context;
    std::unique_ptr<QOpenGLFramebufferObject> framebuffer;
};

// One primitive caught in GL feedback mode: its vertices in window
// coordinates with their colours.
struct FedVertex {
    float x, y, z;
    float r, g, b, a;
};

struct FedPrimitive {
    GLenum kind; // GL_POLYGON_TOKEN, GL_LINE_TOKEN or GL_POINT_TOKEN
    std::vector<FedVertex> vertices;
};

// Runs `draw` in feedback mode and returns what reached the rasteriser.
template <typename Draw>
std::vector<FedPrimitive> feedback(Draw draw)
{
    std::vector<GLfloat> buffer(1 << 22);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<FedPrimitive> primitives;
    auto vertex = [&](GLint& i) {
        FedVertex v{buffer[i], buffer[i + 1], buffer[i + 2], buffer[i + 3], buffer[i + 4], buffer[i + 5],
                    buffer[i + 6]};
        i += 7;
        return v;
    };
    for (GLint i = 0; i < used;) {
        const GLenum token = GLenum(buffer[i++]);
        FedPrimitive p{token, {}};
        int count = 0;
        if (token == GL_POLYGON_TOKEN) {
            count = int(buffer[i++]);
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            p.kind = GL_LINE_TOKEN;
            count = 2;
        } else if (token == GL_POINT_TOKEN) {
            count = 1;
        } else {
            ++i; // pass-through value
            continue;
        }
        for (int k = 0; k < count; ++k)
            p.vertices.push_back(vertex(i));
        primitives.push_back(p);
    }
    return primitives;
}
