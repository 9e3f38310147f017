#pragma once

#include "shape/creature_outline.h"

#include <GL/gl.h>

#include <vector>
#include <unordered_map>

class SuperFormula;

// The drawing CreatureRenderer took over, kept as the reference its tests
// hold it to, pixel for pixel: each
// creature's outline and fill compiled into a display list, its eye sent in
// immediate mode at every draw. Everything here needs a current GL context,
// and the lists belong to it.

// The world background as the world view laid it, in immediate mode: the
// texture matrix turned a further 0.01 degree, `texture` on a quad over the
// view at a tenth of its opacity; texturing left off.
void drawBackgroundQuad(GLuint texture);

// A unit disc as one triangle fan of 61 rim points; sets no colour.
void drawDisc();
// The eye of `creature` in the current frame: three nested discs (white,
// iris, black) of radius 0.3, 0.18 and 0.09, or a black line from -0.3 to
// 0.3 when it is shut. Leaves the modelview matrix as it found it.
void drawEye(const SuperFormula& creature);

// One creature's display list.
class DisplayList {
public:
    // Compiles the outline and fill of `creature`, under the list's name once
    // it has one, and sets fitScale to 1 / its largest radius. A creature
    // whose radii are not all finite, or all 0, compiles an empty list and
    // gets fitScale 1: it shows only its eye.
    void build(const SuperFormula& creature);
    // Draws `creature` at its position in the current modelview frame, or
    // about the frame's origin; builds the list first unless it holds them.
    void draw(const SuperFormula& creature);
    void drawCentred(const SuperFormula& creature);
    // Whether the list was built from `creature`'s outline, fill colours and
    // border as they are now.
    bool holds(const SuperFormula& creature) const;
    // Deletes the list, if one was made; the name stays for inspection.
    void release();

    GLuint listId = 0;
    double fitScale = 1.0;

private:
    void drawFrom(const SuperFormula& creature, bool atPosition);

    bool built = false;
    OutlineFormula formula{};
    float fill[2][4] = {};
    double border = 0;
};

// A population drawn with one display list per creature, kept by the
// creature's address from its first draw, as the world view once did.
class ReferenceRenderer {
public:
    void draw(const SuperFormula& creature) { lists[&creature].draw(creature); }
    void drawCentred(const SuperFormula& creature) { lists[&creature].drawCentred(creature); }
    // The world view's frame as it was drawn: the modelview reset, the
    // background quad, one world unit a tenth of the view, every creature.
    void drawWorldFrame(GLuint background, const std::vector<SuperFormula>& population);
    // Deletes every list in the current context and forgets them.
    void release();

private:
    std::unordered_map<const SuperFormula*, DisplayList> lists;
};
