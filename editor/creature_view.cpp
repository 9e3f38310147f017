#include "editor/creature_view.h"

#include "shape/super_formula.h"

#include <QScreen>

#include <GL/glu.h>

#include <algorithm>

CreatureView::CreatureView(double projectionHalfSide, double worldHalfSide, int tickInterval, double tickStep,
                           QWidget* parent)
    : QOpenGLWidget(parent, Qt::WindowFlags())
    , projectionHalfSide(projectionHalfSide)
    , worldHalfSide(worldHalfSide)
    , tickInterval(tickInterval)
    , tickStep(tickStep)
{
    QSurfaceFormat fixedFunction = format();
    fixedFunction.setProfile(QSurfaceFormat::CompatibilityProfile);
    setFormat(fixedFunction);
    // Paints that draw no frame leave the framebuffer as it is.
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    connect(this, &QOpenGLWidget::resized, this, [this] { framebufferIsNew = true; });
    presentationPause.setSingleShot(true);
    connect(&presentationPause, &QTimer::timeout, this, [this] {
        if (framePending) {
            framePending = false;
            present();
        }
    });
    // Runs on the renderer's threads: one call at a time reaches this thread.
    creatureRenderer.setOutlineReadyHandler([this] {
        if (!outlinesReadyPosted.exchange(true))
            QMetaObject::invokeMethod(this, &CreatureView::outlinesReady, Qt::QueuedConnection);
    });
}

CreatureView::~CreatureView()
{
    delete ticker;
}

void CreatureView::tick()
{
    advance(tickStep);
    frameDue = true;
    // repaint() would not paint at once: Qt composes a window with GL
    // widgets at most about once a screen refresh, and defers the rest.
    if (isVisible() && isValid()) {
        makeCurrent();
        drawDueFrame();
        present();
    }
}

void CreatureView::present()
{
    if (presentationPause.isActive()) {
        framePending = true;
        return;
    }
    update();
    const qreal refreshRate = screen()->refreshRate();
    presentationPause.start(refreshRate > 0 ? int(1000 / refreshRate) : 16);
}

void CreatureView::scheduleFrame()
{
    frameDue = true;
    update();
}

void CreatureView::toggleTicking()
{
    if (!ticker) {
        ticker = new QTimer(this);
        connect(ticker, &QTimer::timeout, this, &CreatureView::tick);
        ticker->start(tickInterval);
    } else if (ticker->isActive()) {
        ticker->stop();
    } else {
        ticker->start(tickInterval);
    }
}

bool CreatureView::isTicking() const
{
    return ticker && ticker->isActive();
}

QRect CreatureView::square() const
{
    const QSize device = size() * devicePixelRatio();
    const int side = std::min(device.width(), device.height());
    // GL counts the viewport's rows from the bottom; an odd surplus of
    // height leaves the extra row above the square.
    const int bottom = (device.height() - side) / 2;
    return QRect((device.width() - side) / 2, device.height() - bottom - side, side, side);
}

std::optional<QPointF> CreatureView::worldPointAt(const QPointF& position) const
{
    const QRect drawn = square();
    const double px = position.x() * devicePixelRatio() - drawn.x();
    const double py = position.y() * devicePixelRatio() - drawn.y();
    const double side = drawn.width();
    if (px < 0 || px > side || py < 0 || py > side)
        return std::nullopt;
    return QPointF((px / side - 0.5) * 2 * worldHalfSide, (py / side - 0.5) * 2 * worldHalfSide);
}

QImage CreatureView::squareFrame()
{
    return grabFramebuffer().copy(square());
}

void CreatureView::initializeGL()
{
    glShadeModel(GL_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void CreatureView::resizeGL(int width, int height)
{
    useSquareViewport(QSize(width, height) * devicePixelRatio());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Bottom +h, top -h: y grows down the screen, as in the widget.
    gluOrtho2D(-projectionHalfSide, projectionHalfSide, projectionHalfSide, -projectionHalfSide);
    glMatrixMode(GL_MODELVIEW);
}

void CreatureView::paintGL()
{
    drawDueFrame();
}

void CreatureView::drawDueFrame()
{
    useSquareViewport(size() * devicePixelRatio());
    if (framebufferIsNew) {
        glClear(GL_COLOR_BUFFER_BIT);
        framebufferIsNew = false;
        frameDue = true;
    }
    if (frameDue) {
        frameDue = false;
        drawFrame();
    }
}

void CreatureView::useSquareViewport(const QSize& device)
{
    const int side = std::min(device.width(), device.height());
    glViewport((device.width() - side) / 2, (device.height() - side) / 2, side, side);
}

void CreatureView::drawCreatures(const std::vector<SuperFormula>& creatures)
{
    creatureRenderer.beginFrame();
    for (const SuperFormula& creature : creatures)
        creatureRenderer.add(creature);
    creatureRenderer.finishFrame();
}

void CreatureView::drawCreatureCentred(const SuperFormula& creature, CreatureRenderer::Unready unready)
{
    creatureRenderer.drawCentred(creature, unready);
}

void CreatureView::outlinesReady()
{
    outlinesReadyPosted = false;
    // A running view shows them at its next tick.
    if (!isTicking())
        scheduleFrame();
}
