#include "app/world_view.h"

#include "app/world_background.h"
#include "shape/shape_random.h"
#include "shape/super_formula.h"

#include <GL/gl.h>

#include <ctime>

// The projection spans -0.5 to 0.5, where the background lies, the world -5
// to 5. Every 5 ms a tick moves the world on by 0.005 time units.
WorldView::WorldView(QWidget* parent, std::optional<unsigned> seed)
    : CreatureView(0.5, 5.0, 5, 0.005, parent)
{
    setMode(ModeRandom);
    seedShapeRandom(seed ? *seed : static_cast<unsigned int>(std::time(nullptr)));
    for (int i = 0; i < 20; ++i)
        things.push_back(randomSuperFormula());
}

WorldView::~WorldView()
{
    destroyThings();
}

QSize WorldView::sizeHint() const
{
    return QSize(800, 800);
}

QSize WorldView::minimumSizeHint() const
{
    return QSize(200, 200);
}

void WorldView::setMode(int v)
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

void WorldView::initializeGL()
{
    CreatureView::initializeGL();
    glClearColor(0.5f, 0.1f, 0.3f, 0.8f);
    background = setUpBackground();
}

void WorldView::advance(double step)
{
    for (SuperFormula* thing : things)
        thing->animate(step);
}

void WorldView::drawFrame()
{
    drawWorldOf(things);
}

void WorldView::drawWorldOf(const std::list<SuperFormula*>& shapes)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    drawBackground(background);
    // One world unit is a tenth of the view's side.
    glScaled(0.1, 0.1, 0.1);
    drawCreatures(shapes);
}

void WorldView::populationChanged()
{
    // A running world shows the change at its next tick.
    if (!isTicking())
        scheduleFrame();
    emit edited();
}

void WorldView::addNewThing(SuperFormula* shape)
{
    // A null entry would crash the next tick.
    if (shape && adopt(shape))
        populationChanged();
}

void WorldView::addCopyOf(const SuperFormula& shape)
{
    addNewThing(new SuperFormula(shape));
}
