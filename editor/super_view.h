#pragma once

#include <QGLWidget>

class QTimer;
class SuperFormula;

// A preview of one shape, centred and filling a square viewport, turning on
// its own 10 ms timer in a GL context of its own. Owns the shape (which may
// be null) and releases its display list in that context.
class SuperView : public QGLWidget {
    Q_OBJECT

public:
    explicit SuperView(SuperFormula* shape, QWidget* parent = nullptr);
    ~SuperView() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    SuperFormula* shape() const { return shown; }
    QTimer* tickTimer() const { return animationTimer; }

    // Shows `shape` (owned from now on, may be null) instead of the current
    // one, which is destroyed after its display list is released here.
    void replaceShape(SuperFormula* shape);
    // The shape alone, centred and turned as it is now, on a transparent
    // square of `side` pixels with straight alpha; drawn offscreen in this
    // view's context. A null image without a shape or a framebuffer.
    QImage picture(int side);

protected slots:
    // One tick: animate by 0.01 and repaint at once; hides QWidget::update().
    void update();
    // Creates and starts the 10 ms timer on the first call, then toggles it.
    void timer();

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

private:
    // Releases the shape's display list in this view's context and destroys it.
    void destroyShape();

    // The editor starts the preview's timer.
    friend class SuperViewBox;

    SuperFormula* shown;
    QTimer* animationTimer = nullptr;
};
