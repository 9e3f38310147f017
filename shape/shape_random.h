#pragma once

// The process-wide source of the shapes' random numbers: uniform integers
// from 0 to 32767 inclusive, derived without bias from the C library's
// rand(). Seeded once by the world view; tests seed it for reproducible
// shapes.
void seedShapeRandom(unsigned int seed);
int shapeRandom();

constexpr int shapeRandomMax = 32767;
