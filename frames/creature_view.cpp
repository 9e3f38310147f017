#include "frames/creature_view.h"

#include <QPainter>
#include <QWindow>

#include <algorithm>

CreatureView::CreatureView(double projectionHalfSide, double worldHalfSide, int tickInterval, double tickStep,
                           const float clearColour[4], std::function<GLuint()> setUp, QWidget* parent)
    : QWidget(parent)
    , worldHalfSide(worldHalfSide)
    , tickInterval(tickInterval)
    , tickStep(tickStep)
    , drawer(std::make_unique<FrameDrawer>(projectionHalfSide, clearColour, std::move(setUp)))
{
    connect(drawer.get(), &FrameDrawer::frameDrawn, this, &CreatureView::frameDrawn);
    connect(drawer.get(), &FrameDrawer::outlinesReady, this, [this] {
        // A running view shows them at its next tick.
        if (!isTicking())
            changed();
    });
}

CreatureView::~CreatureView()
{
    drawer.reset();
    delete ticker;
}

void CreatureView::tick()
{
    advance(tickStep);
    requestFrame(true, false);
}

void CreatureView::changed()
{
    // A running view shows the change at its next tick.
    if (!isTicking())
        requestFrame(false, true);
}

void CreatureView::requestFrame(bool ticked, bool mustShow)
{
    if (!onScreen()) {
        frameOwed = true;
        return;
    }
    const int side = square().width();
    if (drawer->busy() || side <= 0) {
        frameOwed = frameOwed || mustShow;
        tickMissed = tickMissed || ticked;
        return;
    }
    frameOwed = false;
    tickMissed = false;
    drawer->draw(side, frame(ticked));
}

void CreatureView::frameDrawn(const FrameDrawer::Frame& frame)
{
    shown = frame;
    ++shownCount;
    // Only the square repaints: the rest of the window is left alone.
    const qreal ratio = devicePixelRatio();
    const QRect drawn = square();
    update(QRectF(drawn.x() / ratio, drawn.y() / ratio, drawn.width() / ratio, drawn.height() / ratio)
               .toAlignedRect());
    emit frameShown();
    // The world as the last tick left it, at once: the frame rate is what
    // drawing costs, not that and the wait for the next tick.
    if (frameOwed || (tickMissed && isTicking()))
        requestFrame(isTicking(), frameOwed);
}

bool CreatureView::onScreen() const
{
    const QWidget* top = window();
    return isVisible() && top->windowHandle() && top->windowHandle()->isExposed();
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
    // An odd surplus of height leaves the extra row above the square.
    const int top = device.height() - (device.height() - side) / 2 - side;
    return QRect((device.width() - side) / 2, top, side, side);
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
    const int side = square().width();
    if (shown.image.width() != side && side > 0) {
        shown = drawer->drawNow(side, frame(isTicking()));
        ++shownCount;
        update();
    }
    return shown.image;
}

void CreatureView::paintEvent(QPaintEvent*)
{
    // The first paint of a stopped view comes once its window is exposed.
    if (frameOwed && !drawer->busy())
        requestFrame(isTicking(), true);
    if (shown.image.isNull())
        return;
    QPainter painter(this);
    const qreal ratio = devicePixelRatio();
    const QRect drawn = square();
    const QRectF target(drawn.x() / ratio, drawn.y() / ratio, drawn.width() / ratio, drawn.height() / ratio);
    // The frame's pixels land on the square's device pixels one for one; a
    // frame of an old size stretches over the square until the next one.
    painter.drawImage(target, shown.image);
}

void CreatureView::resizeEvent(QResizeEvent*)
{
    // The framebuffer is made anew at the new size, cleared: a stopped view
    // draws a frame at once, a running one at its next tick.
    frameOwed = true;
    if (!isTicking())
        requestFrame(false, true);
}

void CreatureView::showEvent(QShowEvent*)
{
    if (frameOwed)
        requestFrame(isTicking(), true);
}
