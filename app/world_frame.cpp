#include "app/world_frame.h"

#include "app/world_background.h"

#include <GL/gl.h>

#include <cmath>

const float worldClearColour[4] = {0.5f, 0.1f, 0.3f, 0.8f};

namespace {

// A thin translucent white circle of radius 1.2 world units (a creature's
// reach is 1) around each place, in the world's units.
void drawRings(const std::vector<SuperFormula::Vector>& places)
{
    constexpr int segments = 48;
    constexpr double radius = 1.2;
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glLineWidth(2);
    glColor4f(1, 1, 1, 0.4f);
    for (const SuperFormula::Vector& place : places) {
        glBegin(GL_LINE_LOOP);
        for (int i = 0; i < segments; ++i) {
            const double turn = 2 * M_PI * i / segments;
            glVertex2d(place.x + radius * std::cos(turn), place.y + radius * std::sin(turn));
        }
        glEnd();
    }
    glPopAttrib();
}

} // namespace

FrameDrawer::Drawing worldFrame(std::shared_ptr<const Population> population, bool ticked,
                                std::vector<SuperFormula::Vector> ancestors)
{
    return [population = std::move(population), ticked, ancestors = std::move(ancestors)](FrameDrawer::Canvas& canvas) {
        drawBackground(canvas.texture, !ticked);
        glScaled(0.1, 0.1, 0.1);
        canvas.renderer.beginFrame();
        for (const SuperFormula& creature : *population)
            canvas.renderer.add(creature);
        canvas.renderer.finishFrame();
        if (!ancestors.empty())
            drawRings(ancestors);
    };
}
