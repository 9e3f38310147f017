#include "shape/creature_renderer.h"

#include "shape/line_quad.h"
#include "shape/super_formula.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

const GLfloat clear[4] = {0, 0, 0, 0};
const GLfloat black[4] = {0, 0, 0, 1};
const GLfloat white[4] = {1, 1, 1, 1};

} // namespace

void CreatureRenderer::beginFrame()
{
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    frame = GlMatrix(m);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    projection = GlMatrix(m);
    GLint framebuffer = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &framebuffer);
    intoFramebufferObject = framebuffer != 0;
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    // Window coordinates are clip coordinates times the scale plus the
    // offset, in floats, as the rasteriser's viewport transform has them.
    viewportScale[0] = 0.5f * float(viewport[2]);
    viewportScale[1] = 0.5f * float(viewport[3]);
    viewportOffset[0] = viewportScale[0] + float(viewport[0]);
    viewportOffset[1] = viewportScale[1] + float(viewport[1]);
    placements.clear();
    ++frameNumber;
}

void CreatureRenderer::add(const SuperFormula& creature)
{
    addAt(creature, true);
}

void CreatureRenderer::addCentred(const SuperFormula& creature)
{
    addAt(creature, false);
}

void CreatureRenderer::drawCentred(const SuperFormula& creature, Unready unready)
{
    beginFrame();
    addCentred(creature);
    finishFrame(unready);
}

void CreatureRenderer::setOutlineReadyHandler(std::function<void()> handler)
{
    queue.setReadyHandler(std::move(handler));
}

std::size_t CreatureRenderer::outlinesUnderWay() const
{
    return std::size_t(std::count_if(outlines.begin(), outlines.end(),
                                     [](const OutlineCache::value_type& entry) { return entry.second.job != nullptr; }));
}

void CreatureRenderer::addAt(const SuperFormula& creature, bool atPosition)
{
    const OutlineFormula formula{creature.a, creature.b, creature.m, creature.n1,
                                 creature.n2, creature.n3, creature.samples};
    const auto [entry, added] = outlines.try_emplace(formula);
    if (added)
        unevaluated.push_back(&*entry);
    entry->second.lastFrame = frameNumber;

    Placement placement{&*entry,        atPosition,      creature.position.x, creature.position.y,
                        creature.angle, creature.border, creature.eye,        creature.eyeClosed,
                        {}};
    std::copy(&creature.colour[0][0], &creature.colour[0][0] + 12, &placement.colour[0][0]);
    placements.push_back(placement);
}

void CreatureRenderer::finishFrame(Unready unready)
{
    evaluateNewOutlines(unready);
    vertices.clear();
    indices.clear();
    std::size_t leftOut = 0;
    for (const Placement& creature : placements) {
        if (creature.outline->second.job)
            ++leftOut;
        else
            place(creature);
    }
    counts = {placements.size() - leftOut, leftOut, vertices.size(), indices.size() / 3};

    if (!indices.empty()) {
        glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_INDEX_ARRAY);
        glDisableClientState(GL_EDGE_FLAG_ARRAY);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(2, GL_FLOAT, sizeof(Vertex), &vertices[0].x);
        glColorPointer(4, GL_FLOAT, sizeof(Vertex), &vertices[0].r);

        // The vertices are in clip space already.
        GLint mode;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glDrawElements(GL_TRIANGLES, GLsizei(indices.size()), GL_UNSIGNED_INT, indices.data());
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GLenum(mode));
        glPopClientAttrib();
    }

    placements.clear();
    for (auto entry = outlines.begin(); entry != outlines.end();) {
        if (entry->second.lastFrame == frameNumber)
            ++entry;
        else
            entry = outlines.erase(entry);
    }
}

void CreatureRenderer::evaluateNewOutlines(Unready unready)
{
    // An ordinary frame's few new outlines are evaluated here and now. A
    // world opened with hundreds of outlines of the largest sample count has
    // tens of millions of points to evaluate, seconds of work: outlines too
    // long to keep whole, and any beyond the budget, go to the queue's
    // threads.
    std::size_t budget = framePointBudget;
    for (OutlineCache::value_type* entry : unevaluated) {
        const std::size_t points = std::size_t(std::max(entry->first.samples, 0)) + 1;
        if (entry->first.samples < wholeOutlineLimit && points <= budget) {
            budget -= points;
            entry->second.outline = evaluateOutline(entry->first);
        } else {
            entry->second.job = queue.submit(entry->first);
        }
    }
    unevaluated.clear();

    for (const Placement& creature : placements) {
        CachedOutline& cached = creature.outline->second;
        if (!cached.job)
            continue;
        if (unready == Unready::waitFor)
            queue.wait(*cached.job);
        if (cached.job->done()) {
            cached.outline = std::move(cached.job->outline);
            cached.job.reset();
        }
    }
}

void CreatureRenderer::place(const Placement& creature)
{
    const Outline& outline = creature.outline->second.outline;

    // The matrices a display list's drawing builds, step by step:
    // position, fit scale, spin.
    GlMatrix body = frame;
    if (creature.atPosition)
        body.translate(float(creature.x), float(creature.y), 0);
    const float fit = float(outline.fitScale);
    body.scale(fit, fit, fit);
    body.rotateZ(float(creature.angle));

    if (outline.drawable) {
        const GlMatrix rimToClip = projection * body;
        const std::vector<OutlinePoint>& points = drawnPoints(*creature.outline, pixelsPerUnit(rimToClip));
        const int count = int(points.size());
        fan(rimToClip, points.data(), count, 1, clear, black);
        GlMatrix fill = body;
        const float s = float(1 - creature.border);
        fill.scale(s, s, s);
        fan(projection * fill, points.data(), count, 1, creature.colour[1], creature.colour[0]);
    }

    // The eye is drawn unrotated, in the frame turned back by the angle,
    // which in floats is not quite the frame before it.
    GlMatrix eye = body;
    eye.rotateZ(-float(creature.angle));
    const float size = float(creature.eye);
    eye.scale(size, size, size);
    eye.scale(0.3f, 0.3f, 0.3f);
    if (creature.eyeClosed) {
        closedEye(projection * eye);
        return;
    }
    const GLfloat* colours[3] = {white, creature.colour[2], black};
    const float scales[3] = {1.0f, 0.6f, 0.5f};
    for (int disc = 0; disc < 3; ++disc) {
        eye.scale(scales[disc], scales[disc], scales[disc]);
        const GlMatrix toClip = projection * eye;
        const int stride = thin ? discStride(pixelsPerUnit(toClip)) : 1;
        fan(toClip, discRimPoints(), discSteps + 1, stride, colours[disc], colours[disc]);
    }
}

const std::vector<OutlinePoint>& CreatureRenderer::drawnPoints(OutlineCache::value_type& entry, double pixelsPerUnit)
{
    const OutlineFormula& formula = entry.first;
    CachedOutline& cached = entry.second;
    const Outline& outline = cached.outline;
    if (!thin || !outlineThinned(formula.samples, outline.perimeter * pixelsPerUnit)) {
        if (outline.whole)
            return outline.points;
        if (cached.drawnLevel != wholeLevel) {
            cached.drawn = outlinePoints(formula);
            cached.drawnLevel = wholeLevel;
        }
        return cached.drawn;
    }
    // The tolerance is rounded down to a quarter power of two, so that the
    // points are chosen again only when the scale changes by a fifth. A
    // scale of 0 or not a number leaves the fewest points.
    const double quarterPowers = 4 * std::log2(thinningTolerance / pixelsPerUnit);
    const int level = std::isfinite(quarterPowers) ? int(std::floor(std::clamp(quarterPowers, -4000.0, 4000.0))) : 4000;
    if (level != cached.drawnLevel) {
        const double tolerance = std::exp2(level / 4.0);
        const double levelPixelsPerUnit = thinningTolerance / tolerance;
        cached.drawn = simplifiedOutline(outline, tolerance, thinnedOutlinePoints(outline.perimeter * levelPixelsPerUnit));
        cached.drawnLevel = level;
    }
    return cached.drawn;
}

double CreatureRenderer::pixelsPerUnit(const GlMatrix& toClip) const
{
    const double alongX = std::hypot(double(toClip.m[0]) * viewportScale[0], double(toClip.m[1]) * viewportScale[1]);
    const double alongY = std::hypot(double(toClip.m[4]) * viewportScale[0], double(toClip.m[5]) * viewportScale[1]);
    return std::max(alongX, alongY);
}

void CreatureRenderer::vertex(const GlMatrix& toClip, float x, float y, const GLfloat colour[4])
{
    vertices.push_back({toClip.transformX(x, y), toClip.transformY(x, y), colour[0], colour[1], colour[2], colour[3]});
}

void CreatureRenderer::fan(const GlMatrix& toClip, const OutlinePoint* rim, int count, int stride,
                           const GLfloat centre[4], const GLfloat edge[4])
{
    const GLuint first = GLuint(vertices.size());
    vertex(toClip, 0, 0, centre);
    for (int i = 0; i < count; i += stride)
        vertex(toClip, rim[i].x, rim[i].y, edge);
    const GLuint last = GLuint(vertices.size()) - 1;
    for (GLuint v = first + 1; v < last; ++v) {
        indices.push_back(first);
        indices.push_back(v);
        indices.push_back(v + 1);
    }
}

void CreatureRenderer::closedEye(const GlMatrix& toClip)
{
    // The line from (-1, 0) to (1, 0) becomes the quadrilateral the
    // rasteriser would fill for it, taken from window coordinates back to
    // clip space. In a window's own framebuffer the rasteriser counts rows
    // from the top (see lineQuad).
    const float rows = intoFramebufferObject ? 1.0f : -1.0f;
    auto toWindow = [&](float x, float y) {
        return WindowPoint{std::fma(toClip.transformX(x, y), viewportScale[0], viewportOffset[0]),
                           rows * std::fma(toClip.transformY(x, y), viewportScale[1], viewportOffset[1])};
    };
    const std::array<WindowPoint, 4> quad = lineQuad(toWindow(-1, 0), toWindow(1, 0));
    const GLuint first = GLuint(vertices.size());
    for (const WindowPoint& corner : quad)
        vertices.push_back({float((double(corner.x) - viewportOffset[0]) / viewportScale[0]),
                            float((double(rows * corner.y) - viewportOffset[1]) / viewportScale[1]), black[0],
                            black[1], black[2], black[3]});
    for (GLuint v : {0u, 1u, 2u, 0u, 2u, 3u})
        indices.push_back(first + v);
}
