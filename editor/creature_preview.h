#pragma once

#include "editor/creature_view.h"

class SuperFormula;

// A preview of one creature, centred and filling the square, turning on its
// own 10 ms tick in a GL context of its own. Owns the creature (which may be
// null).
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
    // square of `side` pixels with straight alpha; drawn offscreen in this
    // view's context. A null image without a shape or a framebuffer.
    QImage picture(int side);

protected:
    // White clearing, besides the shared creature drawing state.
    void initializeGL() override;
    // Animates the shape by the step.
    void advance(double step) override;
    // Clears to white and draws the shape centred.
    void drawFrame() override;

private:
    SuperFormula* shown;
};
