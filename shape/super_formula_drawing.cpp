#include "shape/super_formula.h"

#include <array>
#include <cmath>
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

} // namespace

void SuperFormula::buildList()
{
    if (listId == 0)
        listId = glGenLists(1);
    glNewList(listId, GL_COMPILE);

    // The outline is evaluated once and sent for both fans; the points and
    // the largest radius are the same as evaluating it per fan.
    std::vector<Point> outline;
    double largestR = 0;
    bool finite = samples > 0;
    if (finite) {
        const double k = 0.25 * m;
        const double step = 2 * pi / samples;
        const double ia = 1 / a;
        const double ib = 1 / b;
        const double e = 1 / n1;
        outline.reserve(samples + 1);
        for (int i = 0; i <= samples; ++i) {
            const double phi = step * i;
            const double R = 1 / std::pow(std::pow(std::fabs(ia * std::cos(k * phi)), n2)
                                          + std::pow(std::fabs(ib * std::sin(k * phi)), n3), e);
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
        const GLfloat s = GLfloat(1 - border);
        glScalef(s, s, s);
        glBegin(GL_TRIANGLE_FAN);
        glColor4fv(colour[1]);
        glVertex2f(0, 0);
        glColor4fv(colour[0]);
        vertices(outline);
        glEnd();
        glPopMatrix();
    }

    glEndList();
    fitScale = drawable ? 1 / largestR : 1.0;
    listValid = true;
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

void drawDisc()
{
    glBegin(GL_TRIANGLE_FAN);
    glVertex2d(0, 0);
    for (const auto& point : discRim())
        glVertex2dv(point.data());
    glEnd();
}

void SuperFormula::drawEye()
{
    glPushMatrix();
    glScaled(0.3, 0.3, 0.3);
    if (eyeClosed) {
        glColor4f(0, 0, 0, 1);
        glBegin(GL_LINES);
        glVertex2d(-1, 0);
        glVertex2d(1, 0);
        glEnd();
    } else {
        glColor4f(1, 1, 1, 1);
        drawDisc();
        glScaled(0.6, 0.6, 0.6);
        glColor4fv(colour[2]);
        drawDisc();
        glScaled(0.5, 0.5, 0.5);
        glColor4f(0, 0, 0, 1);
        drawDisc();
    }
    glPopMatrix();
}

void SuperFormula::draw()
{
    drawFrom(true);
}

void SuperFormula::drawCentred()
{
    drawFrom(false);
}

void SuperFormula::drawFrom(bool atPosition)
{
    if (!listValid)
        buildList();
    glPushMatrix();
    if (atPosition)
        glTranslated(position.x, position.y, 0);
    const GLfloat f = GLfloat(fitScale);
    glScalef(f, f, f);
    glRotated(angle, 0, 0, 1);
    glCallList(listId);
    glRotated(-angle, 0, 0, 1);
    glScaled(eye, eye, eye);
    drawEye();
    glPopMatrix();
}
