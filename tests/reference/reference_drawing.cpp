#include "reference_drawing.h"

#include "shape/super_formula.h"

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;

struct Point {
    GLfloat x;
    GLfloat y;
};

void vertices(const std::vector<Point>& outline)
{
    for (const Point& p : outline)
        glVertex2f(p.x, p.y);
}

bool sameBits(const void* a, const void* b, std::size_t size)
{
    return std::memcmp(a, b, size) == 0;
}

} // namespace

void DisplayList::build(const SuperFormula& creature)
{
    if (listId == 0)
        listId = glGenLists(1);
    glNewList(listId, GL_COMPILE);

    // The outline is evaluated once and sent for both fans; the points and
    // the largest radius are the same as evaluating it per fan.
    std::vector<Point> outline;
    double largestR = 0;
    const int samples = creature.samples;
    bool finite = samples > 0;
    if (finite) {
        const double k = 0.25 * creature.m;
        const double step = 2 * pi / samples;
        const double ia = 1 / creature.a;
        const double ib = 1 / creature.b;
        const double e = 1 / creature.n1;
        outline.reserve(samples + 1);
        for (int i = 0; i <= samples; ++i) {
            const double phi = step * i;
            const double R = 1 / std::pow(std::pow(std::fabs(ia * std::cos(k * phi)), creature.n2)
                                          + std::pow(std::fabs(ib * std::sin(k * phi)), creature.n3), e);
            const Point p{GLfloat(R * std::cos(phi)), GLfloat(R * std::sin(phi))};
            finite = finite && std::isfinite(p.x) && std::isfinite(p.y);
            if (R > largestR)
                largestR = R;
            outline.push_back(p);
        }
    }

    // Degenerate parameters (a, b or n1 of 0, negative values, no samples)
    // can give radii that are 0, infinite or not numbers. Such a shape draws
    // no body, only its eye at the size of a unit shape, so that it stays
    // visible and can be clicked away, and no non-finite scale reaches GL.
    const bool drawable = finite && largestR > 0 && std::isfinite(GLfloat(1 / largestR));
    if (drawable) {
        glBegin(GL_TRIANGLE_FAN);
        glColor4f(0, 0, 0, 0);
        glVertex2f(0, 0);
        glColor4f(0, 0, 0, 1);
        vertices(outline);
        glEnd();

        glPushMatrix();
        const GLfloat s = GLfloat(1 - creature.border);
        glScalef(s, s, s);
        glBegin(GL_TRIANGLE_FAN);
        glColor4fv(creature.colour[1]);
        glVertex2f(0, 0);
        glColor4fv(creature.colour[0]);
        vertices(outline);
        glEnd();
        glPopMatrix();
    }

    glEndList();
    fitScale = drawable ? 1 / largestR : 1.0;
    built = true;
    formula = {creature.a, creature.b, creature.m, creature.n1, creature.n2, creature.n3, creature.samples};
    std::memcpy(fill, creature.colour, sizeof fill);
    border = creature.border;
}

bool DisplayList::holds(const SuperFormula& creature) const
{
    const OutlineFormula now{creature.a, creature.b, creature.m, creature.n1, creature.n2, creature.n3,
                             creature.samples};
    return built && formula == now && sameBits(fill, creature.colour, sizeof fill)
           && sameBits(&border, &creature.border, sizeof border);
}

void DisplayList::release()
{
    if (listId != 0)
        glDeleteLists(listId, 1);
    built = false;
}

namespace {

// The disc's 61 rim points, i * pi / 30 apart, the last closing the rim.
// Every eye of every frame draws three discs, so they are computed once.
const std::array<std::array<GLdouble, 2>, 61>& discRim()
{
    static const auto rim = [] {
        constexpr double step = 0.10471975511965977;
        std::array<std::array<GLdouble, 2>, 61> points;
        for (int i = 0; i <= 60; ++i)
            points[i] = {std::cos(i * step), std::sin(i * step)};
        return points;
    }();
    return rim;
}

} // namespace

void drawBackgroundQuad(GLuint texture)
{
    glMatrixMode(GL_TEXTURE);
    glRotatef(0.01f, 0.0f, 0.0f, 1.0f);
    glMatrixMode(GL_MODELVIEW);

    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4f(1.0f, 1.0f, 1.0f, 0.1f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-0.5f, 0.5f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-0.5f, -0.5f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(0.5f, -0.5f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(0.5f, 0.5f);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void drawDisc()
{
    glBegin(GL_TRIANGLE_FAN);
    glVertex2d(0, 0);
    for (const auto& point : discRim())
        glVertex2dv(point.data());
    glEnd();
}

void drawEye(const SuperFormula& creature)
{
    glPushMatrix();
    glScaled(0.3, 0.3, 0.3);
    if (creature.eyeClosed) {
        glColor4f(0, 0, 0, 1);
        glBegin(GL_LINES);
        glVertex2d(-1, 0);
        glVertex2d(1, 0);
        glEnd();
    } else {
        glColor4f(1, 1, 1, 1);
        drawDisc();
        glScaled(0.6, 0.6, 0.6);
        glColor4fv(creature.colour[2]);
        drawDisc();
        glScaled(0.5, 0.5, 0.5);
        glColor4f(0, 0, 0, 1);
        drawDisc();
    }
    glPopMatrix();
}

void DisplayList::draw(const SuperFormula& creature)
{
    drawFrom(creature, true);
}

void DisplayList::drawCentred(const SuperFormula& creature)
{
    drawFrom(creature, false);
}

void DisplayList::drawFrom(const SuperFormula& creature, bool atPosition)
{
    if (!holds(creature))
        build(creature);
    glPushMatrix();
    if (atPosition)
        glTranslated(creature.position.x, creature.position.y, 0);
    const GLfloat f = GLfloat(fitScale);
    glScalef(f, f, f);
    glRotated(creature.angle, 0, 0, 1);
    glCallList(listId);
    glRotated(-creature.angle, 0, 0, 1);
    glScaled(creature.eye, creature.eye, creature.eye);
    drawEye(creature);
    glPopMatrix();
}

void ReferenceRenderer::drawWorldFrame(GLuint background, const std::vector<SuperFormula>& population)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    drawBackgroundQuad(background);
    glScaled(0.1, 0.1, 0.1);
    for (const SuperFormula& creature : population)
        draw(creature);
}

void ReferenceRenderer::release()
{
    for (auto& [creature, list] : lists)
        list.release();
    lists.clear();
}
