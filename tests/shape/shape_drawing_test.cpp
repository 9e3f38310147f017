#include "shape_gl.h"

#include "reference_drawing.h"
#include "shape/super_formula.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>

namespace {

// Window coordinates of the 200 x 200 test viewport back to GL units.
double unitX(const FedVertex& v) { return v.x / 100.0 - 1; }
double unitY(const FedVertex& v) { return v.y / 100.0 - 1; }
double radius(const FedVertex& v) { return std::hypot(unitX(v), unitY(v)); }

bool isCentre(const FedVertex& v) { return std::fabs(unitX(v)) < 1e-5 && std::fabs(unitY(v)) < 1e-5; }

SuperFormula unitCircle()
{
    return SuperFormula(1, 1, 4, 2, 2, 2, 0);
}

std::vector<GLfloat> modelview()
{
    std::vector<GLfloat> m(16);
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

// The colour at window pixel (x, y) as 0xRRGGBB.
unsigned rgbAt(int x, int y)
{
    GLubyte p[4];
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return unsigned(p[0]) << 16 | unsigned(p[1]) << 8 | p[2];
}

std::vector<GLfloat> identity()
{
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

} // namespace

class ShapeDrawing : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gl.valid()); }
    ShapeGl gl;
};

TEST_F(ShapeDrawing, UnitCircleOutlineHasRadiusOneAndFitScaleOne)
{
    SuperFormula s = unitCircle();
    ASSERT_EQ(90, s.samples);
    s.border = 0.25;
    DisplayList list;
    list.build(s);
    EXPECT_TRUE(list.holds(s));
    EXPECT_NE(0u, list.listId);
    EXPECT_DOUBLE_EQ(1.0, list.fitScale);

    const auto primitives = feedback([&] { glCallList(list.listId); });
    // Each fan of samples + 2 vertices gives samples triangles.
    ASSERT_EQ(2u * 90, primitives.size());
    for (size_t p = 0; p < primitives.size(); ++p) {
        const bool rim = p < 90;
        ASSERT_EQ(3u, primitives[p].vertices.size());
        int centres = 0;
        for (const FedVertex& v : primitives[p].vertices) {
            if (isCentre(v)) {
                ++centres;
                if (rim) {
                    EXPECT_EQ(0.0f, v.a);
                } else {
                    EXPECT_FLOAT_EQ(0.3f, v.g); // colour 1 at the centre
                }
                continue;
            }
            EXPECT_NEAR(rim ? 1.0 : 0.75, radius(v), 1e-5);
            if (rim) {
                EXPECT_EQ(0.0f, v.r);
                EXPECT_EQ(1.0f, v.a);
            } else {
                EXPECT_EQ(1.0f, v.g); // colour 0 at the outline
                EXPECT_EQ(0.0f, v.b);
            }
        }
        EXPECT_EQ(1, centres);
    }
}

TEST_F(ShapeDrawing, OutlineStartsAtAngleZeroAndClosesOnItself)
{
    SuperFormula s(1, 1, 4, 2, 2, 2, 4);
    DisplayList list;
    list.build(s);
    const auto primitives = feedback([&] { glCallList(list.listId); });
    ASSERT_EQ(8u, primitives.size());
    // Four steps: a square through (1, 0), (0, 1), (-1, 0), (0, -1).
    std::vector<std::pair<double, double>> outer;
    for (int p = 0; p < 4; ++p)
        for (const FedVertex& v : primitives[p].vertices)
            if (!isCentre(v))
                outer.emplace_back(unitX(v), unitY(v));
    bool sawStart = false;
    bool sawTop = false;
    for (const auto& [x, y] : outer) {
        sawStart = sawStart || (std::fabs(x - 1) < 1e-5 && std::fabs(y) < 1e-5);
        sawTop = sawTop || (std::fabs(x) < 1e-5 && std::fabs(y - 1) < 1e-5);
    }
    EXPECT_TRUE(sawStart);
    EXPECT_TRUE(sawTop);
}

TEST_F(ShapeDrawing, FitScaleFollowsTheLargestRadius)
{
    SuperFormula s(2, 2, 4, 2, 2, 2, 0);
    DisplayList list;
    list.build(s);
    EXPECT_DOUBLE_EQ(0.5, list.fitScale);
    // Drawn, the shape's largest radius is one unit.
    const auto primitives = feedback([&] { list.drawCentred(s); });
    double largest = 0;
    for (size_t p = 0; p < 2u * s.samples; ++p)
        for (const FedVertex& v : primitives[p].vertices)
            largest = std::max(largest, radius(v));
    EXPECT_NEAR(1.0, largest, 1e-5);
}

TEST_F(ShapeDrawing, EachCreatureGetsItsOwnListAndReleasingOneKeepsTheOther)
{
    SuperFormula s = unitCircle();
    DisplayList list;
    list.draw(s);
    ASSERT_TRUE(glIsList(list.listId));
    SuperFormula c(s);
    DisplayList copyList;
    EXPECT_EQ(0u, copyList.listId);
    copyList.draw(c);
    EXPECT_NE(0u, copyList.listId);
    EXPECT_NE(list.listId, copyList.listId);
    copyList.release();
    EXPECT_FALSE(glIsList(copyList.listId));
    EXPECT_TRUE(glIsList(list.listId));
    list.release();
    EXPECT_FALSE(glIsList(list.listId));
}

TEST_F(ShapeDrawing, DrawBuildsOnlyWhenStaleAndRebuildsUnderTheSameName)
{
    SuperFormula s = unitCircle();
    DisplayList list;
    list.draw(s);
    const GLuint name = list.listId;
    list.fitScale = 0.125; // would be overwritten by a rebuild
    list.draw(s);
    EXPECT_EQ(0.125, list.fitScale);
    s.setParamSteps(0, 20);
    EXPECT_FALSE(list.holds(s));
    list.draw(s);
    EXPECT_TRUE(list.holds(s));
    EXPECT_EQ(name, list.listId);
    EXPECT_DOUBLE_EQ(0.5, list.fitScale);
    // A fill colour is compiled in too; the eye's size is not.
    s.eye = 3;
    EXPECT_TRUE(list.holds(s));
    s.colour[1][2] = 0.5f;
    EXPECT_FALSE(list.holds(s));
    list.release();
}

TEST_F(ShapeDrawing, DeleteListWithoutAListDoesNothing)
{
    DisplayList list;
    const GLuint other = glGenLists(1);
    list.release();
    EXPECT_TRUE(glIsList(other) || glGetError() == GL_NO_ERROR);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    glDeleteLists(other, 1);
}

TEST_F(ShapeDrawing, DiscIsAFanOfSixtyOneRimPoints)
{
    const auto primitives = feedback([] { drawDisc(); });
    ASSERT_EQ(60u, primitives.size());
    for (const auto& p : primitives)
        for (const FedVertex& v : p.vertices)
            EXPECT_TRUE(isCentre(v) || std::fabs(radius(v) - 1.0) < 1e-5) << radius(v);
}

TEST_F(ShapeDrawing, OpenEyeIsThreeNestedDiscs)
{
    SuperFormula s = unitCircle();
    s.colour[2][0] = 0.25f;
    s.colour[2][1] = 0.5f;
    s.colour[2][2] = 0.75f;
    const auto primitives = feedback([&] { drawEye(s); });
    ASSERT_EQ(180u, primitives.size());
    const double radii[] = {0.3, 0.18, 0.09};
    const float colours[3][3] = {{1, 1, 1}, {0.25f, 0.5f, 0.75f}, {0, 0, 0}};
    for (int disc = 0; disc < 3; ++disc) {
        for (int p = 0; p < 60; ++p) {
            for (const FedVertex& v : primitives[60 * disc + p].vertices) {
                EXPECT_FLOAT_EQ(colours[disc][0], v.r);
                EXPECT_FLOAT_EQ(colours[disc][1], v.g);
                EXPECT_FLOAT_EQ(colours[disc][2], v.b);
                EXPECT_EQ(1.0f, v.a);
                EXPECT_TRUE(isCentre(v) || std::fabs(radius(v) - radii[disc]) < 1e-5) << radius(v);
            }
        }
    }
    EXPECT_EQ(identity(), modelview());
}

TEST_F(ShapeDrawing, ClosedEyeIsOneBlackLineThatDoesNotSpin)
{
    SuperFormula s = unitCircle();
    s.eyeClosed = true;
    s.angle = 90;
    s.eye = 2;
    DisplayList list;
    list.build(s);
    const auto primitives = feedback([&] {
        glScalef(0.5f, 0.5f, 0.5f);
        list.drawCentred(s);
    });
    ASSERT_FALSE(primitives.empty());
    const FedPrimitive& line = primitives.back();
    ASSERT_EQ(GLenum(GL_LINE_TOKEN), line.kind);
    // 0.5 (frame) x 1 (fit) x 2 (eye) x 0.3 (eye frame) = 0.3, horizontal.
    EXPECT_NEAR(0.3, std::fabs(unitX(line.vertices[0])), 1e-5);
    EXPECT_NEAR(0.0, unitY(line.vertices[0]), 1e-5);
    EXPECT_NEAR(-unitX(line.vertices[0]), unitX(line.vertices[1]), 1e-5);
    EXPECT_EQ(0.0f, line.vertices[0].r);
    EXPECT_EQ(1.0f, line.vertices[0].a);
    glLoadIdentity();
    list.release();
}

TEST_F(ShapeDrawing, DrawPlacesTheShapeAtItsPositionAndRestoresTheMatrix)
{
    SuperFormula s(2, 2, 4, 2, 2, 2, 0); // radius 2, drawn at radius 1
    s.position = {4, -2};
    s.eye = 1.5;
    s.angle = 30;
    glScalef(0.1f, 0.1f, 0.1f);
    const std::vector<GLfloat> before = modelview();
    DisplayList list;
    const auto primitives = feedback([&] { list.draw(s); });
    EXPECT_EQ(before, modelview());
    ASSERT_EQ(2u * s.samples + 180, primitives.size());
    for (int p = 0; p < s.samples; ++p)
        for (const FedVertex& v : primitives[p].vertices) {
            const double r = std::hypot(unitX(v) - 0.4, unitY(v) + 0.2);
            EXPECT_TRUE(r < 1e-5 || std::fabs(r - 0.1) < 1e-5) << r;
        }
    // The white of the eye: 0.1 (frame) x 0.5 (fit) x 1.5 (eye) x 0.3.
    for (const FedVertex& v : primitives[2 * s.samples].vertices) {
        const double r = std::hypot(unitX(v) - 0.4, unitY(v) + 0.2);
        EXPECT_TRUE(r < 1e-5 || std::fabs(r - 0.0225) < 1e-5) << r;
    }
    list.release();
}

TEST_F(ShapeDrawing, BorderZeroHidesTheRimAndBorderOneHidesTheFill)
{
    for (double border : {0.0, 1.0}) {
        SuperFormula s = unitCircle();
        s.border = border;
        DisplayList list;
        list.build(s);
        const auto primitives = feedback([&] { glCallList(list.listId); });
        ASSERT_EQ(180u, primitives.size());
        for (size_t p = 90; p < 180; ++p)
            for (const FedVertex& v : primitives[p].vertices)
                EXPECT_NEAR(border == 0 ? (isCentre(v) ? 0.0 : 1.0) : 0.0, radius(v), 1e-5);
        list.release();
    }
}

TEST_F(ShapeDrawing, PixelsShowFillRimAndPupil)
{
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    SuperFormula s = unitCircle();
    s.samples = 200;
    for (int k : {0, 1}) {
        s.colour[k][0] = 0;
        s.colour[k][1] = 1;
        s.colour[k][2] = 0;
    }
    s.border = 0.2;
    s.eye = 0.5;
    DisplayList list;
    list.draw(s);
    // Centre: the pupil; at 0.65 of the radius: the fill; near the outline:
    // the rim; outside: the cleared white.
    EXPECT_EQ(0x000000u, rgbAt(100, 100));
    EXPECT_EQ(0x00ff00u, rgbAt(165, 100));
    EXPECT_LT((rgbAt(197, 100) >> 8) & 0xff, 40u);
    EXPECT_EQ(0xffffffu, rgbAt(2, 2));
    list.release();
}

TEST_F(ShapeDrawing, DegenerateShapesDrawOnlyTheirEyeAndLeaveTheMatrixClean)
{
    const double nan = std::nan("");
    SuperFormula shapes[] = {
        SuperFormula(0, 1, 4, 2, 2, 2, 0),   SuperFormula(1, 0, 4, 2, 2, 2, 0),
        SuperFormula(1, 1, 4, 0, 2, 2, 0),   SuperFormula(1, 1, 4, 2, 0, 0, 0),
        SuperFormula(-1, 1, 4, 2, 2, 2, 0),  SuperFormula(1, 1, 4, -2, 2, 2, 0),
        SuperFormula(1, 1, -10, 2, 2, 2, 0), SuperFormula(1, 1, nan, 2, 2, 2, 0),
        SuperFormula(1e-300, 1e-300, 4, 1e-3, 2, 2, 0), SuperFormula(1, 1, 4, 2, -2, 2, 0),
    };
    glScalef(0.1f, 0.1f, 0.1f);
    const std::vector<GLfloat> before = modelview();
    DisplayList lists[std::size(shapes)];
    for (std::size_t i = 0; i < std::size(shapes); ++i) {
        const SuperFormula& s = shapes[i];
        lists[i].draw(s);
        EXPECT_TRUE(lists[i].holds(s));
        EXPECT_TRUE(std::isfinite(lists[i].fitScale)) << s.a << " " << s.n1 << " " << s.m;
        EXPECT_GT(lists[i].fitScale, 0);
        EXPECT_EQ(before, modelview());
        const auto primitives = feedback([&] { lists[i].draw(s); });
        for (const auto& p : primitives)
            for (const FedVertex& v : p.vertices)
                EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));
    }
    // Shapes whose radii are all 0 or not finite show just the eye.
    for (int i : {0, 1, 2, 6, 7}) {
        EXPECT_EQ(1.0, lists[i].fitScale);
        const auto primitives = feedback([&] { glCallList(lists[i].listId); });
        EXPECT_TRUE(primitives.empty()) << i;
    }
    // A healthy shape drawn afterwards is unaffected.
    SuperFormula s = unitCircle();
    s.position = {1, 1};
    DisplayList list;
    const auto primitives = feedback([&] { list.draw(s); });
    ASSERT_EQ(2u * 90 + 180, primitives.size());
    for (const FedVertex& v : primitives[0].vertices) {
        const double r = std::hypot(unitX(v) - 0.1, unitY(v) - 0.1);
        EXPECT_TRUE(r < 1e-5 || std::fabs(r - 0.1) < 1e-5) << r;
    }
    for (DisplayList& d : lists)
        d.release();
    list.release();
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}
