#pragma once

#include "shape/creature_outline.h"
#include "shape/gl_matrix.h"
#include "shape/outline_queue.h"

#include <GL/gl.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class SuperFormula;

// Draws creatures from GL 1.1 client-side vertex arrays: a frame's whole
// population, eyes included, in one draw call, each creature over the ones
// before it. A view owns one and uses it with its own GL context current.
//
// The picture is that of drawing each body as two triangle fans and each eye
// as three discs through GL's own matrices, pixel for pixel: the vertices
// are placed on the CPU with Mesa's float arithmetic (GlMatrix) and reach GL
// through identity matrices, so each lands on the
// same bits as if GL had placed it. A closed eye, a GL line there, becomes
// the quadrilateral the rasteriser fills for that line (lineQuad), so that
// it keeps its place between the creature under it and those over it.
//
// The renderer reads only a creature's plain values (the formula, samples,
// angle, colours, border, eye, position, eyeClosed) and keeps no GL object.
// Outlines are cached by the values that define them: each is evaluated
// once while it stays in use, and whatever a frame did not draw is dropped
// when the frame ends. So no creature has to tell the renderer it changed.
//
// A frame evaluates its new outlines itself up to a budget of points, as
// long as each is short enough to keep whole (wholeOutlineLimit); the rest
// are evaluated on threads of their own (OutlineQueue), and until its
// outline is ready a creature is left out of the frames, eye and all, so
// that a world of millions of outline points shows at once and fills in.
// The outline-ready handler tells the view when to draw again.
//
// Thinning (creature_outline.h): an outline with more points than its
// perimeter has device pixels is simplified to within a fifth of a pixel,
// an eye disc keeps at most two points per pixel of its rim, so that a frame
// costs what its size on screen shows rather than what the sample counts
// ask. A thinned outline keeps a subset of its points, exactly, its tips
// among them, and the fit scale of the whole outline. The device pixels come
// from the GL viewport and matrices at beginFrame().
class CreatureRenderer {
public:
    // Starts a frame in the current GL context: the creatures added until
    // finishFrame() are drawn in the current modelview frame (world units
    // in the world view), through the current projection and viewport.
    void beginFrame();
    // Adds a creature at its position. Only its values are kept: the
    // creature may change or go before finishFrame().
    void add(const SuperFormula& creature);
    // Adds a creature about the frame's origin, whatever its position.
    void addCentred(const SuperFormula& creature);

    // What a frame does with creatures whose outline is still being
    // evaluated: leaves them out, or waits for their outlines.
    enum class Unready { leaveOut, waitFor };
    // Draws what was added, in order, and drops the outlines that no
    // creature of the frame used. Leaves the GL matrices, the matrix mode
    // and the client arrays as it found them.
    void finishFrame(Unready unready = Unready::leaveOut);

    // One creature about the origin of the current frame: a whole frame.
    void drawCentred(const SuperFormula& creature, Unready unready = Unready::leaveOut);

    // Runs on an evaluating thread each time an outline is ready; set it
    // before the first frame. A view has it draw a frame on its own thread.
    void setOutlineReadyHandler(std::function<void()> handler);
    // Outlines of the last frame's creatures that are still being evaluated.
    std::size_t outlinesUnderWay() const;

    // On by default. Off, every outline and disc keeps all its points.
    void setThinning(bool on) { thin = on; }
    bool thinning() const { return thin; }

    // What the last finished frame sent to GL.
    struct FrameCounts {
        std::size_t creatures = 0;
        // Creatures left out, their outlines not ready.
        std::size_t leftOut = 0;
        std::size_t vertices = 0;
        std::size_t triangles = 0;
    };
    FrameCounts lastFrame() const { return counts; }
    // Outlines held for the next frame.
    std::size_t cachedOutlines() const { return outlines.size(); }

private:
    struct CachedOutline {
        // Valid once `job` is null.
        Outline outline;
        // The evaluation under way on the queue's threads, if any.
        std::shared_ptr<OutlineQueue::Job> job;
        // The points last drawn and the thinning they were drawn at.
        std::vector<OutlinePoint> drawn;
        int drawnLevel = noLevel;
        unsigned lastFrame = 0;
    };
    // Thinning levels: the tolerance 2^(level / 4) formula units, or the
    // whole outline.
    static constexpr int noLevel = -1000000;
    static constexpr int wholeLevel = 1000000;
    using OutlineCache = std::unordered_map<OutlineFormula, CachedOutline, OutlineFormulaHash>;
    // What of a creature its drawing needs.
    struct Placement {
        OutlineCache::value_type* outline;
        bool atPosition;
        double x, y, angle, border, eye;
        bool eyeClosed;
        GLfloat colour[3][4];
    };
    struct Vertex {
        GLfloat x, y;
        GLfloat r, g, b, a;
    };

    void addAt(const SuperFormula& creature, bool atPosition);
    // Evaluates the new outlines within the budget and queues the rest;
    // takes those the queue has done, waiting for them if asked.
    void evaluateNewOutlines(Unready unready);
    // The points to draw of an outline whose formula units are
    // `pixelsPerUnit` device pixels.
    const std::vector<OutlinePoint>& drawnPoints(OutlineCache::value_type& entry, double pixelsPerUnit);
    void place(const Placement& creature);
    // Device pixels per unit of the frame that `toClip` maps to clip space.
    double pixelsPerUnit(const GlMatrix& toClip) const;
    // A triangle fan from `centre` over every stride-th rim point, in the
    // frame `toClip` maps to clip space.
    void fan(const GlMatrix& toClip, const OutlinePoint* rim, int count, int stride, const GLfloat centre[4],
             const GLfloat edge[4]);
    void closedEye(const GlMatrix& toClip);
    void vertex(const GlMatrix& toClip, float x, float y, const GLfloat colour[4]);

    // New outlines with more points than this between them are evaluated
    // apart from the frame: some tens of milliseconds of work, and room for
    // a full world of ordinary creatures (samples up to 150).
    static constexpr std::size_t framePointBudget = std::size_t(1) << 18;

    bool thin = true;
    GlMatrix frame;
    GlMatrix projection;
    bool intoFramebufferObject = false;
    float viewportScale[2] = {0, 0};
    float viewportOffset[2] = {0, 0};
    unsigned frameNumber = 0;
    std::vector<Placement> placements;
    std::vector<OutlineCache::value_type*> unevaluated;
    std::vector<Vertex> vertices;
    std::vector<GLuint> indices;
    FrameCounts counts;
    OutlineCache outlines;
    // Declared last, so that its threads end before the cache goes.
    OutlineQueue queue;
};
