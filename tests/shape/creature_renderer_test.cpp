#include "draw_calls.h"
#include "reference_drawing.h"
#include "shape_draws.h"
#include "shape_gl.h"

#include "shape/creature_renderer.h"
#include "shape/gl_matrix.h"
#include "shape/line_quad.h"
#include "shape/shape_random.h"
#include "shape/super_formula.h"

#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace {

using World = std::vector<std::unique_ptr<SuperFormula>>;
using Pixels = std::vector<unsigned char>;

// The world view's frame: y down, one world unit a tenth of the side,
// blending on, over a cleared frame.
void worldFrame(int side)
{
    glViewport(0, 0, side, side);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-0.5, 0.5, 0.5, -0.5, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glScaled(0.1, 0.1, 0.1);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearColor(0.5f, 0.1f, 0.3f, 0.8f);
    glClear(GL_COLOR_BUFFER_BIT);
}

Pixels grab(int side)
{
    Pixels p(std::size_t(side) * side * 4);
    glReadPixels(0, 0, side, side, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    return p;
}

int differingPixels(const Pixels& a, const Pixels& b)
{
    int count = 0;
    for (std::size_t i = 0; i < a.size(); i += 4)
        count += std::memcmp(&a[i], &b[i], 4) != 0;
    return count;
}

// Random creatures of seed 11, turned anywhere, every third with its eye
// shut, and shapes that show only an eye or nothing at all.
World seededWorld(int count)
{
    seedShapeRandom(11);
    World world;
    for (int i = 0; i < count; ++i) {
        world.emplace_back(randomSuperFormula());
        world.back()->angle = randomIn(-5000, 5000);
        world.back()->eyeClosed = i % 3 == 0;
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    world.emplace_back(new SuperFormula(0, 1, 4, 2, 2, 2, 0));   // radii infinite: eye only
    world.emplace_back(new SuperFormula(1, 1, nan, 2, 2, 2, 0)); // no samples: eye only
    world.emplace_back(new SuperFormula(1, 1, 4, 2, 2, 2, 0));
    world.back()->eye = nan;
    world.back()->border = nan;
    return world;
}

Pixels displayListFrame(const World& world, int side)
{
    worldFrame(side);
    ReferenceRenderer reference;
    for (const auto& creature : world)
        reference.draw(*creature);
    reference.release();
    return grab(side);
}

double fitScaleOf(const SuperFormula& c)
{
    return evaluateOutline({c.a, c.b, c.m, c.n1, c.n2, c.n3, c.samples}).fitScale;
}

Pixels rendererFrame(CreatureRenderer& renderer, const World& world, int side)
{
    worldFrame(side);
    renderer.beginFrame();
    for (const auto& creature : world)
        renderer.add(*creature);
    renderer.finishFrame();
    return grab(side);
}

} // namespace

class CreatureRendering : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gl.valid()); }
    ShapeGl gl{800};
};

TEST_F(CreatureRendering, FrameHasTheDisplayListsPixels)
{
    World world = seededWorld(600);
    const Pixels reference = displayListFrame(world, 800);
    CreatureRenderer renderer;
    renderer.setThinning(false);
    EXPECT_EQ(0, differingPixels(reference, rendererFrame(renderer, world, 800)));

    // Thinned, the same wherever nothing is small enough to thin: here the
    // pupils, made at least five pixels in radius.
    for (auto& creature : world)
        creature->eye = std::max(creature->eye, 5 / (0.09 * 80 * fitScaleOf(*creature)));
    const Pixels bigEyes = displayListFrame(world, 800);
    renderer.setThinning(true);
    EXPECT_EQ(0, differingPixels(bigEyes, rendererFrame(renderer, world, 800)));
}

TEST_F(CreatureRendering, PreviewHasDrawCentredsPixels)
{
    ShapeGl preview(400);
    World world = seededWorld(3);
    CreatureRenderer renderer;
    for (auto& creature : world) {
        creature->position = {3, -2}; // ignored when centred
        auto frame = [] {
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            glOrtho(-1, 1, 1, -1, -1, 1);
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            glEnable(GL_BLEND);
            glClearColor(1, 1, 1, 1);
            glClear(GL_COLOR_BUFFER_BIT);
        };
        frame();
        DisplayList list;
        list.drawCentred(*creature);
        list.release();
        const Pixels reference = grab(400);
        frame();
        renderer.drawCentred(*creature);
        EXPECT_EQ(0, differingPixels(reference, grab(400))) << "eye closed: " << creature->eyeClosed;
    }
}

TEST_F(CreatureRendering, WindowFramebufferHasTheDisplayListsPixels)
{
    // A window's own framebuffer counts its rows from the top, which the
    // closed eyes' lines follow.
    QWindow window;
    window.setSurfaceType(QSurface::OpenGLSurface);
    window.resize(300, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    gl.framebuffer->release();
    ASSERT_TRUE(gl.context.makeCurrent(&window));
    World world = seededWorld(150);
    for (auto& creature : world)
        creature->eyeClosed = true;
    const Pixels reference = displayListFrame(world, 300);
    CreatureRenderer renderer;
    renderer.setThinning(false);
    EXPECT_EQ(0, differingPixels(reference, rendererFrame(renderer, world, 300)));
}

TEST_F(CreatureRendering, OneDrawCallAFrameAndNoImmediateMode)
{
    World world = seededWorld(600);
    resetDrawCalls();
    displayListFrame(world, 800);
    // The counter sees the display lists' drawing: a list and three discs a creature.
    EXPECT_GT(drawCallsSoFar().total(), 2400);

    CreatureRenderer renderer;
    rendererFrame(renderer, world, 800);
    resetDrawCalls();
    rendererFrame(renderer, world, 800);
    const DrawCalls drawCalls = drawCallsSoFar();
    EXPECT_EQ(1, drawCalls.elements);
    EXPECT_EQ(0, drawCalls.arrays + drawCalls.lists + drawCalls.begins);
    EXPECT_EQ(world.size(), renderer.lastFrame().creatures);
}

TEST_F(CreatureRendering, LeavesTheMatricesAndArraysAsFound)
{
    World world = seededWorld(5);
    worldFrame(800);
    glMatrixMode(GL_TEXTURE);
    GLfloat modelview[16], projection[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    CreatureRenderer renderer;
    renderer.beginFrame();
    for (const auto& creature : world)
        renderer.add(*creature);
    renderer.finishFrame();
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(GL_TEXTURE, mode);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(0, std::memcmp(modelview, after, sizeof after));
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    EXPECT_EQ(0, std::memcmp(projection, after, sizeof after));
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    glMatrixMode(GL_MODELVIEW);
}

TEST_F(CreatureRendering, OutlinesFollowTheirValuesAndUnusedOnesGo)
{
    World world = seededWorld(2);
    world.resize(2);
    world[1] = std::make_unique<SuperFormula>(*world[0]); // the same outline elsewhere
    world[1]->position = {-2, 3};
    CreatureRenderer renderer;
    renderer.setThinning(false);
    rendererFrame(renderer, world, 800);
    EXPECT_EQ(1u, renderer.cachedOutlines());

    // Changed without telling anyone: drawn as the changed creature.
    world[0]->a *= 1.5;
    world[0]->samples = 7;
    const Pixels changed = rendererFrame(renderer, world, 800);
    EXPECT_EQ(2u, renderer.cachedOutlines());
    EXPECT_EQ(0, differingPixels(displayListFrame(world, 800), changed));

    world.pop_back();
    rendererFrame(renderer, world, 800);
    EXPECT_EQ(1u, renderer.cachedOutlines());
    renderer.beginFrame();
    renderer.finishFrame();
    EXPECT_EQ(0u, renderer.cachedOutlines());
}

// An outline too long to keep whole is evaluated apart: its creature is
// left out, eye and all, until it is ready, then drawn as any other.
TEST_F(CreatureRendering, LongOutlineIsLeftOutUntilReadyThenDrawnTheSame)
{
    World world = seededWorld(20);
    World without = seededWorld(20);
    world.back()->samples = SuperFormula::maxSamples - 1;
    without.pop_back();
    std::atomic<int> ready{0};
    CreatureRenderer renderer;
    renderer.setThinning(false);
    renderer.setOutlineReadyHandler([&] { ++ready; });

    const Pixels loading = rendererFrame(renderer, world, 800);
    EXPECT_EQ(world.size() - 1, renderer.lastFrame().creatures);
    EXPECT_EQ(1u, renderer.lastFrame().leftOut);
    EXPECT_EQ(1u, renderer.outlinesUnderWay());
    EXPECT_EQ(0, differingPixels(displayListFrame(without, 800), loading));

    ASSERT_TRUE(QTest::qWaitFor([&] { return ready == 1; }));
    const Pixels loaded = rendererFrame(renderer, world, 800);
    EXPECT_EQ(world.size(), renderer.lastFrame().creatures);
    EXPECT_EQ(0u, renderer.outlinesUnderWay());
    EXPECT_EQ(0, differingPixels(displayListFrame(world, 800), loaded));

    // A picture waits for the outline instead.
    CreatureRenderer picture;
    worldFrame(800);
    picture.drawCentred(*world.back(), CreatureRenderer::Unready::waitFor);
    EXPECT_EQ(1u, picture.lastFrame().creatures);
    EXPECT_GT(picture.lastFrame().triangles, 0u);
}

TEST_F(CreatureRendering, ThinnedOutlineHasNoMorePointsThanPixelsAndKeepsItsSize)
{
    // A creature of the most samples in a 100-pixel view: one world unit,
    // its largest radius, is 10 pixels.
    World world = seededWorld(40);
    SuperFormula* creature = nullptr;
    double fit = 0;
    for (auto& c : world) {
        const Outline outline = evaluateOutline({c->a, c->b, c->m, c->n1, c->n2, c->n3, SuperFormula::maxSamples - 1});
        if (outline.drawable) {
            creature = c.get();
            fit = outline.fitScale;
            break;
        }
    }
    ASSERT_TRUE(creature);
    creature->samples = SuperFormula::maxSamples - 1;
    creature->position = {0, 0};
    creature->eyeClosed = false;
    creature->eye = 0.5 / fit; // a pupil 0.45 pixels in radius
    ShapeGl small(100);
    worldFrame(100);
    CreatureRenderer renderer;
    const auto fed = feedback([&] {
        renderer.beginFrame();
        renderer.add(*creature);
        renderer.finishFrame(CreatureRenderer::Unready::waitFor);
    });

    // The rim's fan: triangles from the clear centre to two outline points.
    int rimTriangles = 0, pupilTriangles = 0;
    double perimeter = 0, largest = 0;
    for (const FedPrimitive& p : fed) {
        std::vector<FedVertex> rim;
        bool black = true;
        for (const FedVertex& v : p.vertices) {
            black = black && v.r == 0 && v.g == 0 && v.b == 0 && v.a == 1;
            if (v.a != 0)
                rim.push_back(v);
        }
        pupilTriangles += black;
        if (rim.size() != 2)
            continue;
        ++rimTriangles;
        perimeter += std::hypot(rim[0].x - rim[1].x, rim[0].y - rim[1].y);
        for (const FedVertex& v : rim)
            largest = std::max(largest, std::hypot(v.x - 50.0, v.y - 50.0));
    }
    EXPECT_GE(rimTriangles + 1, 8);
    EXPECT_LE(rimTriangles + 1, perimeter);
    EXPECT_NEAR(10.0, largest, 1e-3);
    // The pupil: a hexagon.
    EXPECT_EQ(6, pupilTriangles);
}

TEST(GlMatrix, BuildsWhatGlBuilds)
{
    ShapeGl gl(16);
    seedShapeRandom(3);
    for (int i = 0; i < 500; ++i) {
        const double x = randomIn(-6, 6), y = randomIn(-6, 6), s = randomIn(0.01, 3), angle = randomIn(-1e4, 1e4);
        glLoadIdentity();
        glScaled(0.1, 0.1, 0.1);
        glTranslated(x, y, 0);
        glScalef(float(s), float(s), float(s));
        glRotated(angle, 0, 0, 1);
        glRotated(-angle, 0, 0, 1);
        GLfloat fromGl[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, fromGl);
        GlMatrix m;
        m.scale(0.1f, 0.1f, 0.1f);
        m.translate(float(x), float(y), 0);
        m.scale(float(s), float(s), float(s));
        m.rotateZ(float(angle));
        m.rotateZ(-float(angle));
        ASSERT_EQ(0, std::memcmp(fromGl, m.m, sizeof fromGl)) << i;
    }
}

// Lines of every slope and length up to 4 pixels, many from pixel centres
// and edges, each in a 16-pixel cell of its own, drawn as GL lines and as
// their quadrilaterals.
TEST_F(CreatureRendering, LineQuadsFillTheLinesPixels)
{
    constexpr int frames = 40;
    constexpr int side = 128, cells = side / 16;
    glViewport(0, 0, side, side);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, side, 0, side, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glClearColor(1, 1, 1, 1);
    seedShapeRandom(13);
    int filled = 0;
    for (int frame = 0; frame < frames; ++frame) {
        std::vector<float> ends;
        for (int cell = 0; cell < cells * cells; ++cell) {
            float x = float(16 * (cell % cells) + randomIn(4, 12)), y = float(16 * (cell / cells) + randomIn(4, 12));
            if (cell % 2 == 0) {
                x = std::round(2 * x) / 2;
                y = std::round(2 * y) / 2;
            }
            const double length = cell % 5 == 0 ? randomIn(0, 1.5) : randomIn(0, 4);
            double angle = randomIn(0, 2 * pi);
            if (cell % 3 == 0)
                angle = std::round(angle / (pi / 4)) * (pi / 4);
            ends.insert(ends.end(), {x, y, float(x + length * std::cos(angle)), float(y + length * std::sin(angle))});
        }
        auto lines = [&] {
            glBegin(GL_LINES);
            for (std::size_t i = 0; i < ends.size(); i += 2)
                glVertex2f(ends[i], ends[i + 1]);
            glEnd();
        };
        const auto fed = feedback(lines);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor4f(0, 0, 0, 1);
        lines();
        const Pixels reference = grab(side);
        glClear(GL_COLOR_BUFFER_BIT);
        glBegin(GL_TRIANGLES);
        for (const FedPrimitive& line : fed) {
            const auto q = lineQuad({line.vertices[0].x, line.vertices[0].y}, {line.vertices[1].x, line.vertices[1].y});
            for (int corner : {0, 1, 2, 0, 2, 3})
                glVertex2f(q[corner].x, q[corner].y);
        }
        glEnd();
        EXPECT_EQ(0, differingPixels(reference, grab(side))) << "frame " << frame;
        for (std::size_t i = 0; i < reference.size(); i += 4)
            filled += reference[i] == 0;
    }
    EXPECT_GT(filled, frames * cells * cells);
}
