#include "app/gl_widget.h"

#include "app/world_background.h"
#include "shape/shape_random.h"
#include "shape/super_formula.h"

#include <QTimer>

#include <GL/glu.h>

#include <ctime>

GLWidget::GLWidget(QWidget* parent, std::optional<unsigned> seed)
    : QGLWidget(parent, nullptr, Qt::WindowFlags())
{
    setMode(ModeRandom);
    seedShapeRandom(seed ? *seed : static_cast<unsigned int>(std::time(nullptr)));
    for (int i = 0; i < 20; ++i)
        things.push_back(randomSuperFormula());
}

GLWidget::~GLWidget()
{
    if (animationTimer) {
        animationTimer->stop();
        delete animationTimer;
    }
    destroyThings();
}

QSize GLWidget::sizeHint() const
{
    return QSize(800, 800);
}

QSize GLWidget::minimumSizeHint() const
{
    return QSize(200, 200);
}

void GLWidget::setMode(int v)
{
    const bool changed = v != mode;
    mode = v;
    switch (v) {
    case ModeRandom:
        setCursor(Qt::WhatsThisCursor);
        break;
    case ModeMutate:
        setCursor(Qt::UpArrowCursor);
        break;
    case ModeManyKids:
        setCursor(Qt::SizeAllCursor);
        break;
    default:
        break;
    }
    if (changed)
        emit edited();
}

void GLWidget::initializeGL()
{
    glClearColor(0.5f, 0.1f, 0.3f, 0.8f);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    setUpBackground();
}

void GLWidget::resizeGL(int width, int height)
{
    const int side = qMin(width, height);
    glViewport((width - side) / 2, (height - side) / 2, side, side);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // y points down, as in the widget.
    gluOrtho2D(-0.5, 0.5, 0.5, -0.5);
    glMatrixMode(GL_MODELVIEW);
}

// No glClear: each frame is laid over the last, which is what leaves trails.
void GLWidget::paintGL()
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    drawBackground();
    drawThings();
}

void GLWidget::drawThings()
{
    // One world unit is a tenth of the view's side.
    glScaled(0.1, 0.1, 0.1);
    for (SuperFormula* thing : things)
        thing->draw();
}

void GLWidget::update()
{
    for (SuperFormula* thing : things)
        thing->animate(0.005);
    repaint();
}

void GLWidget::timer()
{
    if (!animationTimer) {
        animationTimer = new QTimer(this);
        connect(animationTimer, SIGNAL(timeout()), this, SLOT(update()));
        animationTimer->start(5);
    } else if (animationTimer->isActive()) {
        animationTimer->stop();
    } else {
        animationTimer->start(5);
    }
}

bool GLWidget::isTicking() const
{
    return animationTimer && animationTimer->isActive();
}

void GLWidget::addNewThing(SuperFormula* sf)
{
    // A null entry would crash the next tick.
    if (sf && adopt(sf))
        emit edited();
}
