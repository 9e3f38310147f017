#include "editor/creature_preview.h"

#include "shape/super_formula.h"

#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

#include <memory>

namespace {

const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};

// A copy that keeps the blink, to draw apart from the shape.
std::shared_ptr<const SuperFormula> snapshotOf(const SuperFormula& shape)
{
    auto copy = std::make_shared<SuperFormula>(shape);
    copy->eyeClosed = shape.eyeClosed;
    copy->blinkTime = shape.blinkTime;
    return copy;
}

} // namespace

// The square spans -1 to 1 of the shape's unit frame. Every 10 ms a tick
// moves the shape on by 0.01 time units.
CreaturePreview::CreaturePreview(SuperFormula* shape, QWidget* parent)
    : CreatureView(1.0, 1.0, 10, 0.01, white, nullptr, parent)
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
    changed();
}

QImage CreaturePreview::picture(int side)
{
    if (!shown || side <= 0)
        return QImage();
    return render([side, shape = snapshotOf(*shown)](FrameDrawer::Canvas& canvas) {
        QOpenGLFramebufferObject framebuffer(side, side);
        if (!framebuffer.isValid() || !framebuffer.bind())
            return QImage();
        glViewport(0, 0, side, side);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        // Colours blend as on screen; alpha accumulates as coverage, so the
        // framebuffer holds premultiplied colour, as toImage() expects.
        QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
        gl->glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1, 1, 1, -1, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        canvas.renderer.drawCentred(*shape, CreatureRenderer::Unready::waitFor);
        const QImage image = framebuffer.toImage().convertToFormat(QImage::Format_ARGB32);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        framebuffer.release();
        return image;
    });
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

FrameDrawer::Drawing CreaturePreview::frame(bool)
{
    std::shared_ptr<const SuperFormula> shape = shown ? snapshotOf(*shown) : nullptr;
    return [shape](FrameDrawer::Canvas& canvas) {
        glClearColor(white[0], white[1], white[2], white[3]);
        glClear(GL_COLOR_BUFFER_BIT);
        if (shape)
            canvas.renderer.drawCentred(*shape);
    };
}
