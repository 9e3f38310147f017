#pragma once

#include "frames/creature_view.h"

class SuperFormula;

// A preview of one creature, centred and filling the square on white,
// turning on its own 10 ms tick, drawn off the GUI thread as the world is
// (CreatureView). Owns the creature (which may be null).
class CreaturePreview : public CreatureView {
    Q_OBJECT

public:
    explicit CreaturePreview(SuperFormula* shape, QWidget* parent = nullptr);
    ~CreaturePreview() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    SuperFormula* shape() const { return shown; }

    // Shows `shape` (owned from now on, may be null) instead of the current
    // one, which is destroyed; the shape already shown stays.
    void replaceShape(SuperFormula* shape);
    // The shape alone, centred and turned as it is now, on a transparent
    // square of `side` pixels with straight alpha; drawn on the view's
    // drawing thread. A null image without a shape or a framebuffer.
    QImage picture(int side);

protected:
    // Animates the shape by the step.
    void advance(double step) override;
    // White, and the shape centred.
    FrameDrawer::Drawing frame(bool ticked) override;

private:
    SuperFormula* shown;
};
