#include "editor/creature_preview.h"

#include "shape/super_formula.h"

#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

// The square spans -1 to 1 of the shape's unit frame. Every 10 ms a tick
// moves the shape on by 0.01 time units.
CreaturePreview::CreaturePreview(SuperFormula* shape, QWidget* parent)
    : CreatureView(1.0, 1.0, 10, 0.01, parent)
    , shown(shape)
{
}

CreaturePreview::~CreaturePreview()
{
    delete shown;
}

void CreaturePreview::replaceShape(SuperFormula* shape)
{
    if (shape == shown)
        return;
    delete shown;
    shown = shape;
}

QImage CreaturePreview::picture(int side)
{
    if (!shown || side <= 0)
        return QImage();
    makeCurrent();
    QOpenGLFramebufferObject framebuffer(side, side);
    if (!framebuffer.isValid() || !framebuffer.bind())
        return QImage();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glViewport(0, 0, side, side);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    // Colours blend as on screen; alpha accumulates as coverage, so the
    // framebuffer holds premultiplied colour, as toImage() expects.
    QOpenGLFunctions* gl = context()->functions();
    gl->glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glLoadIdentity();
    drawCreatureCentred(*shown, CreatureRenderer::Unready::waitFor);
    const QImage image = framebuffer.toImage().convertToFormat(QImage::Format_ARGB32);

    // Back to what initializeGL and resizeGL set for the preview.
    framebuffer.release();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    return image;
}

QSize CreaturePreview::sizeHint() const
{
    return QSize(400, 400);
}

QSize CreaturePreview::minimumSizeHint() const
{
    return QSize(200, 200);
}

void CreaturePreview::advance(double step)
{
    if (shown)
        shown->animate(step);
}

void CreaturePreview::initializeGL()
{
    CreatureView::initializeGL();
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
}

void CreaturePreview::drawFrame()
{
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    if (shown)
        drawCreatureCentred(*shown);
}
