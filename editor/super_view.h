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
    // The editor starts the preview's timer.
    friend class SuperViewBox;

    SuperFormula* shown;
    QTimer* animationTimer = nullptr;
};
