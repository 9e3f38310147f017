#pragma once

// The GL calls that draw, counted on their way to the GL library by
// definitions of the same names that an executable linking this carries:
// glDrawElements, glDrawArrays, glCallList and glBegin, which begins every
// run of immediate-mode vertices.
struct DrawCalls {
    int elements = 0;
    int arrays = 0;
    int lists = 0;
    int begins = 0;
    int total() const { return elements + arrays + lists + begins; }
};

// Counts since the program started or since the last reset.
DrawCalls drawCallsSoFar();
void resetDrawCalls();
