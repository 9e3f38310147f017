#include "app/world_frame.h"

#include "app/world_background.h"

#include <GL/gl.h>

const float worldClearColour[4] = {0.5f, 0.1f, 0.3f, 0.8f};

FrameDrawer::Drawing worldFrame(std::shared_ptr<const Population> population, bool ticked)
{
    return [population = std::move(population), ticked](FrameDrawer::Canvas& canvas) {
        drawBackground(canvas.texture, !ticked);
        glScaled(0.1, 0.1, 0.1);
        canvas.renderer.beginFrame();
        for (const SuperFormula& creature : *population)
            canvas.renderer.add(creature);
        canvas.renderer.finishFrame();
    };
}
