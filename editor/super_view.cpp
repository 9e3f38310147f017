#include "editor/super_view.h"

#include "shape/super_formula.h"

#include <GL/glu.h>
#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QTimer>

#include <algorithm>

namespace {

// Milliseconds between animation ticks.
constexpr int tickInterval = 10;
// Time units a shape advances per tick.
constexpr double tickStep = 0.01;

} // namespace

SuperView::SuperView(SuperFormula* shape, QWidget* parent)
    : QGLWidget(parent, nullptr, Qt::WindowFlags())
    , shown(shape)
{
}

SuperView::~SuperView()
{
    if (animationTimer) {
        animationTimer->stop();
        delete animationTimer;
        animationTimer = nullptr;
    }
    destroyShape();
}

void SuperView::destroyShape()
{
    // The shape's display list lives in this widget's context.
    makeCurrent();
    if (shown) {
        shown->deleteList();
        delete shown;
        shown = nullptr;
    }
}

void SuperView::replaceShape(SuperFormula* shape)
{
    destroyShape();
    shown = shape;
}

QImage SuperView::picture(int side)
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
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    gl->glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glLoadIdentity();
    shown->drawCentred();
    const QImage image = framebuffer.toImage().convertToFormat(QImage::Format_ARGB32);

    // Back to what initializeGL and resizeGL set for the preview.
    framebuffer.release();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    return image;
}

QSize SuperView::sizeHint() const
{
    return QSize(400, 400);
}

QSize SuperView::minimumSizeHint() const
{
    return QSize(200, 200);
}

void SuperView::update()
{
    if (shown)
        shown->animate(tickStep);
    repaint();
}

void SuperView::timer()
{
    if (!animationTimer) {
        animationTimer = new QTimer(this);
        connect(animationTimer, &QTimer::timeout, this, &SuperView::update);
        animationTimer->start(tickInterval);
    } else if (animationTimer->isActive()) {
        animationTimer->stop();
    } else {
        animationTimer->start(tickInterval);
    }
}

void SuperView::initializeGL()
{
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void SuperView::resizeGL(int width, int height)
{
    const int side = std::min(width, height);
    glViewport((width - side) / 2, (height - side) / 2, side, side);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Bottom +1, top -1: y grows down the screen.
    gluOrtho2D(-1.0, 1.0, 1.0, -1.0);
    glMatrixMode(GL_MODELVIEW);
}

void SuperView::paintGL()
{
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    if (shown)
        shown->drawCentred();
}
