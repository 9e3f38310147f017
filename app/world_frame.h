#pragma once

#include "frames/frame_drawer.h"
#include "world/world.h"

#include <memory>
#include <vector>

// The clear colour of the world's framebuffer, under its first frame.
extern const float worldClearColour[4];

// The drawing of one frame of the world: the background over the last frame
// (at a tenth of its opacity for a tick's frame, so that trails stay;
// covering it otherwise), then every creature of `population` in order, one
// world unit a tenth of the square. Runs in any context whose canvas texture
// is the background's (setUpBackground). Over the creatures, a faint ring
// marks each place of `ancestors`: the hovered creature's forebears.
FrameDrawer::Drawing worldFrame(std::shared_ptr<const Population> population, bool ticked,
                                std::vector<SuperFormula::Vector> ancestors = {});
