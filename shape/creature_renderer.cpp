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
    vertices.clear();
    indices.clear();
    counts = {};
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

void CreatureRenderer::drawCentred(const SuperFormula& creature)
{
    beginFrame();
    addCentred(creature);
    finishFrame();
}

void CreatureRenderer::addAt(const SuperFormula& creature, bool atPosition)
{
    CachedOutline& outline = outlineFor(creature);
    ++counts.creatures;

    // The matrices SuperFormula::draw builds, step by step.
    GlMatrix body = frame;
    if (atPosition)
        body.translate(float(creature.position.x), float(creature.position.y), 0);
    const float fit = float(outline.measure.fitScale);
    body.scale(fit, fit, fit);
    body.rotateZ(float(creature.angle));

    if (outline.measure.drawable) {
        const GlMatrix rimToClip = projection * body;
        const OutlineFormula formula{creature.a, creature.b, creature.m, creature.n1,
                                     creature.n2, creature.n3, creature.samples};
        const int stride =
            thin ? outlineStride(creature.samples, outline.measure.perimeter * pixelsPerUnit(rimToClip)) : 1;
        if (stride != outline.stride) {
            outline.points = outlinePoints(formula, stride);
            outline.stride = stride;
        }
        const int count = int(outline.points.size());
        fan(rimToClip, outline.points.data(), count, 1, clear, black);
        GlMatrix fill = body;
        const float s = float(1 - creature.border);
        fill.scale(s, s, s);
        fan(projection * fill, outline.points.data(), count, 1, creature.colour[1], creature.colour[0]);
    }

    // The eye is drawn unrotated: SuperFormula::draw turns the frame back
    // by the angle, which in floats is not quite the frame before it.
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

CreatureRenderer::CachedOutline& CreatureRenderer::outlineFor(const SuperFormula& creature)
{
    const OutlineFormula formula{creature.a, creature.b, creature.m, creature.n1,
                                 creature.n2, creature.n3, creature.samples};
    auto [entry, added] = outlines.try_emplace(formula);
    if (added)
        entry->second.measure = measureOutline(formula);
    entry->second.lastFrame = frameNumber;
    return entry->second;
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
    // clip space.
    // Window rows count from the top in a window's own framebuffer.
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

void CreatureRenderer::finishFrame()
{
    counts.vertices = vertices.size();
    counts.triangles = indices.size() / 3;
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

    for (auto entry = outlines.begin(); entry != outlines.end();) {
        if (entry->second.lastFrame == frameNumber)
            ++entry;
        else
            entry = outlines.erase(entry);
    }
}
