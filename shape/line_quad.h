#pragma once

#include <array>

// The pixels Mesa's software rasteriser (llvmpipe) fills for a one-pixel
// GL line, as a quadrilateral that two triangles cover pixel for pixel. A
// line drawn this way can share a batch of triangles and keep its place
// among the triangles drawn before and after it.

// A point in the rasteriser's window coordinates, pixel centres at
// half-integers. Into a framebuffer object these are GL's window
// coordinates. Into a window's own framebuffer its rows count from the top:
// the negated GL y is that up to a whole number of rows, and fills the same
// pixels except, now and then, for an end that falls exactly halfway
// between two points of the 1/256 pixel grid, which it rounds the other way.
struct WindowPoint {
    float x;
    float y;
};

// The fill of the line from `from` to `to` by the diamond-exit rule, with
// the bottom-left fill convention of both framebuffers: corners 0 to 3 in
// order around the quadrilateral, on the rasteriser's 1/256 pixel grid.
// All four corners coincide when the line fills no pixel, and for a line
// with an end 2^22 pixels or more away or not a number.
std::array<WindowPoint, 4> lineQuad(WindowPoint from, WindowPoint to);
