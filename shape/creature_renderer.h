#pragma once

#include "shape/creature_outline.h"
#include "shape/gl_matrix.h"

#include <GL/gl.h>

#include <cstddef>
#include <unordered_map>
#include <vector>

class SuperFormula;

// Draws creatures from GL 1.1 client-side vertex arrays: a frame's whole
// population, eyes included, in one draw call, each creature over the ones
// before it. A view owns one and uses it with its own GL context current.
//
// The picture is that of SuperFormula::draw and drawCentred: the vertices
// are transformed on the CPU with Mesa's float arithmetic (GlMatrix) and
// reach GL through identity matrices, so each lands on the same bits as if
// GL had placed it. A closed eye, a GL line there, is a one-pixel-high
// strip of two triangles here, so that it keeps its place between the
// creature under it and those over it.
//
// The renderer reads only a creature's plain values (the formula, samples,
// angle, colours, border, eye, position, eyeClosed) and keeps no GL object.
// Outlines are cached by the values that define them: each is evaluated
// once while it stays in use, and whatever a frame did not draw is dropped
// when the frame ends. So no creature has to tell the renderer it changed.
//
// Thinning: a shape is drawn with at most about two points per device pixel
// of its perimeter (pointsForPerimeter), so that what it costs follows its
// size on screen rather than its sample count. An outline keeps every
// sample while it has fewer; a thinned one keeps every k-th of them, and
// its fit scale is still that of the whole outline. Eye discs are thinned
// alike. The device pixels come from the GL viewport and matrices.
class CreatureRenderer {
public:
    // Starts a frame in the current GL context: the creatures added until
    // finishFrame() are drawn in the current modelview frame (world units
    // in the world view), through the current projection and viewport.
    void beginFrame();
    // Adds a creature at its position, as SuperFormula::draw.
    void add(const SuperFormula& creature);
    // Adds a creature about the frame's origin, as SuperFormula::drawCentred.
    void addCentred(const SuperFormula& creature);
    // Draws what was added, in order, and drops the outlines that no
    // creature of the frame used. Leaves the GL matrices, the matrix mode
    // and the client arrays as it found them.
    void finishFrame();

    // One creature about the origin of the current frame: a whole frame.
    void drawCentred(const SuperFormula& creature);

    // On by default. Off, every outline and disc keeps all its points.
    void setThinning(bool on) { thin = on; }
    bool thinning() const { return thin; }

    // What the last finished frame sent to GL.
    struct FrameCounts {
        std::size_t creatures = 0;
        std::size_t vertices = 0;
        std::size_t triangles = 0;
    };
    FrameCounts lastFrame() const { return counts; }
    // Outlines held for the next frame.
    std::size_t cachedOutlines() const { return outlines.size(); }

private:
    struct Vertex {
        GLfloat x, y;
        GLfloat r, g, b, a;
    };
    struct CachedOutline {
        OutlineMeasure measure;
        int stride = 0; // of `points`; 0 before they are first made
        std::vector<OutlinePoint> points;
        unsigned lastFrame = 0;
    };

    void addAt(const SuperFormula& creature, bool atPosition);
    CachedOutline& outlineFor(const SuperFormula& creature);
    // Device pixels per unit of the frame that `toClip` maps to clip space.
    double pixelsPerUnit(const GlMatrix& toClip) const;
    // A triangle fan from `centre` over the rim points, in the frame
    // `toClip` maps to clip space.
    void fan(const GlMatrix& toClip, const OutlinePoint* rim, int count, int stride, const GLfloat centre[4],
             const GLfloat edge[4]);
    void closedEye(const GlMatrix& toClip);
    void vertex(const GlMatrix& toClip, float x, float y, const GLfloat colour[4]);

    bool thin = true;
    GlMatrix frame;
    GlMatrix projection;
    bool intoFramebufferObject = false;
    float viewportScale[2] = {0, 0};
    float viewportOffset[2] = {0, 0};
    unsigned frameNumber = 0;
    std::vector<Vertex> vertices;
    std::vector<GLuint> indices;
    FrameCounts counts;
    std::unordered_map<OutlineFormula, CachedOutline, OutlineFormulaHash> outlines;
};
