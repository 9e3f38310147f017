#include "shape/line_quad.h"

#include <cmath>
#include <utility>

namespace {

// Positions are snapped to 1/256 pixel after half a pixel is taken off, so
// that pixel centres fall on whole pixels.
constexpr float subpixels = 256.0f;
constexpr int halfWidth = 128;
constexpr float pixelOffset = 0.5f;

// To the nearest grid point, halves away from zero, in float.
int snap(float a)
{
    const float scaled = subpixels * a;
    return scaled >= 0.0f ? int(scaled + 0.5f) : int(scaled - 0.5f);
}

bool sign(float x)
{
    return x >= 0;
}

float fraction(float f)
{
    return f - std::floor(f);
}

// An end's offset from the centre of its pixel.
float centreOffset(float f)
{
    return f - std::floor(f) - 0.5f;
}

std::array<WindowPoint, 4> corners(const int x[4], const int y[4])
{
    std::array<WindowPoint, 4> c;
    for (int i = 0; i < 4; ++i)
        c[i] = {x[i] / subpixels + pixelOffset, y[i] / subpixels + pixelOffset};
    return c;
}

std::array<WindowPoint, 4> empty(WindowPoint at)
{
    return {at, at, at, at};
}

// A line at least as wide as it is high: a band one pixel high whose left
// and right ends are moved to where the diamond-exit rule starts and stops.
std::array<WindowPoint, 4> xMajorQuad(WindowPoint v1, WindowPoint v2)
{
    const float dx = v1.x - v2.x;
    const float dy = v1.y - v2.y;
    const float dydx = dy / dx;
    const float x1diff = centreOffset(v1.x);
    const float y1diff = centreOffset(v1.y);
    const float x2diff = centreOffset(v2.x);
    float y2diff = centreOffset(v2.y);
    if (y2diff == -0.5f && dy < 0.0f)
        y2diff = 0.5f;

    bool drawStart;
    if (std::fabs(x1diff) + std::fabs(y1diff) < 0.5f) {
        drawStart = true;
    } else if (sign(x1diff) == sign(-dx)) {
        drawStart = false;
    } else if (sign(-y1diff) != sign(dy)) {
        drawStart = true;
    } else {
        const float yIntersect = fraction(v1.y) + x1diff * dydx;
        drawStart = yIntersect < 1.0f && yIntersect > 0.0f;
    }

    bool drawEnd;
    if (std::fabs(x2diff) + std::fabs(y2diff) < 0.5f) {
        drawEnd = false;
    } else if (sign(x2diff) != sign(-dx)) {
        drawEnd = false;
    } else if (sign(-y2diff) == sign(dy)) {
        drawEnd = true;
    } else {
        const float yIntersect = fraction(v2.y) + x2diff * dydx;
        drawEnd = yIntersect < 1.0f && yIntersect > 0.0f;
    }

    float xOffset = 0, yOffset = 0, xOffsetEnd = 0, yOffsetEnd = 0;
    if (dx < 0.0f) {
        // Drawn from left to right with the ends swapped.
        std::swap(v1, v2);
        if ((x1diff <= 0.f) != drawStart) {
            xOffsetEnd = -x1diff - 0.5f;
            yOffsetEnd = xOffsetEnd * dydx;
        }
        if ((x2diff > 0.f) != drawEnd) {
            xOffset = -x2diff - 0.5f;
            yOffset = xOffset * dydx;
        }
    } else {
        if ((x1diff > 0.f) != drawStart) {
            xOffset = -x1diff + 0.5f;
            yOffset = xOffset * dydx;
        }
        if ((x2diff <= 0.f) != drawEnd) {
            xOffsetEnd = -x2diff + 0.5f;
            yOffsetEnd = xOffsetEnd * dydx;
        }
    }

    int x[4], y[4];
    x[0] = x[3] = snap(v1.x + xOffset - pixelOffset);
    x[1] = x[2] = snap(v2.x + xOffsetEnd - pixelOffset);
    const int y1 = snap(v1.y + yOffset - pixelOffset);
    const int y2 = snap(v2.y + yOffsetEnd - pixelOffset);
    y[0] = y1 - halfWidth;
    y[1] = y2 - halfWidth;
    y[2] = y2 + halfWidth;
    y[3] = y1 + halfWidth;
    // The first end is the right one; ends moved past each other turn the
    // band inside out, and it covers nothing.
    if (x[0] < x[1])
        return empty(v1);
    return corners(x, y);
}

// A line higher than it is wide: the same with the axes' roles exchanged,
// and the edge rule's own conventions for its bottom and top ends.
std::array<WindowPoint, 4> yMajorQuad(WindowPoint v1, WindowPoint v2)
{
    const float dx = v1.x - v2.x;
    const float dy = v1.y - v2.y;
    const float dxdy = dx / dy;
    const float x1diff = centreOffset(v1.x);
    const float y1diff = centreOffset(v1.y);
    float x2diff = centreOffset(v2.x);
    const float y2diff = centreOffset(v2.y);
    if (x2diff == -0.5f && dx < 0.0f)
        x2diff = 0.5f;

    bool drawStart;
    if (std::fabs(x1diff) + std::fabs(y1diff) < 0.5f) {
        drawStart = true;
    } else if (sign(-y1diff) == sign(dy)) {
        drawStart = false;
    } else if (sign(x1diff) != sign(-dx)) {
        drawStart = true;
    } else {
        const float xIntersect = fraction(v1.x) + y1diff * dxdy;
        drawStart = xIntersect < 1.0f && xIntersect > 0.0f;
    }

    bool drawEnd;
    if (std::fabs(x2diff) + std::fabs(y2diff) < 0.5f) {
        drawEnd = false;
    } else if (sign(-y2diff) != sign(dy)) {
        drawEnd = false;
    } else if (sign(x2diff) == sign(-dx)) {
        drawEnd = true;
    } else {
        const float xIntersect = fraction(v2.x) + y2diff * dxdy;
        drawEnd = xIntersect < 1.0f && xIntersect >= 0.0f;
    }

    float xOffset = 0, yOffset = 0, xOffsetEnd = 0, yOffsetEnd = 0;
    if (dy > 0.0f) {
        // Drawn from top to bottom with the ends swapped.
        std::swap(v1, v2);
        if ((y1diff >= 0.f) != drawStart) {
            yOffsetEnd = -y1diff + 0.5f;
            xOffsetEnd = yOffsetEnd * dxdy;
        }
        if ((y2diff < 0.f) != drawEnd) {
            yOffset = -y2diff + 0.5f;
            xOffset = yOffset * dxdy;
        }
    } else {
        if ((y1diff < 0.f) != drawStart) {
            yOffset = -y1diff - 0.5f;
            xOffset = yOffset * dxdy;
        }
        if ((y2diff >= 0.f) != drawEnd) {
            yOffsetEnd = -y2diff - 0.5f;
            xOffsetEnd = yOffsetEnd * dxdy;
        }
    }

    int x[4], y[4];
    const int x1 = snap(v1.x + xOffset - pixelOffset);
    const int x2 = snap(v2.x + xOffsetEnd - pixelOffset);
    x[0] = x1 - halfWidth;
    x[1] = x2 - halfWidth;
    x[2] = x2 + halfWidth;
    x[3] = x1 + halfWidth;
    y[0] = y[3] = snap(v1.y + yOffset - pixelOffset);
    y[1] = y[2] = snap(v2.y + yOffsetEnd - pixelOffset);
    // The first end is the lower one.
    if (y[1] < y[0])
        return empty(v1);
    return corners(x, y);
}

} // namespace

std::array<WindowPoint, 4> lineQuad(WindowPoint from, WindowPoint to)
{
    // Beyond the reach of the rasteriser's fixed point, or not a number.
    constexpr float reach = 1 << 22;
    for (float v : {from.x, from.y, to.x, to.y})
        if (!(std::fabs(v) < reach))
            return empty(from);
    const float dx = from.x - to.x;
    const float dy = from.y - to.y;
    if (dx * dx + dy * dy == 0)
        return empty(from);
    return std::fabs(dx) >= std::fabs(dy) ? xMajorQuad(from, to) : yMajorQuad(from, to);
}
