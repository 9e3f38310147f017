#pragma once

#include <array>
#include <cstdint>

// The shapes' random numbers: uniform integers from 0 to 32767 inclusive, in
// two process-wide streams. Breeding (random shapes and mutants, through
// randomIn) draws from shapeRandom(); the animation (blinking, wandering)
// draws from tickRandom(). Ticks come as fast as the machine paints, so a
// single stream would make what a click breeds depend on timing; with two,
// a seed and the same clicks breed the same shapes.
//
// seedShapeRandom seeds both with the same seed, so that each starts the
// same sequence: the one the C library's rand() gives after srand(seed) with
// the GNU C library. The world view seeds them once; tests seed them for
// reproducible shapes.
void seedShapeRandom(unsigned int seed);
int shapeRandom();
int tickRandom();

constexpr int shapeRandomMax = 32767;

// The additive feedback generator of the GNU C library's rand() (degree 31,
// separation 3), held in an object of its own so that it shares no state
// with rand() and gives the same numbers on every platform.
class ShapeRandomStream {
public:
    explicit ShapeRandomStream(unsigned int initial = 1) { seed(initial); }

    void seed(unsigned int seed);
    // The next number, 0 to 32767: the top 15 of the generator's 31 bits.
    int next();

private:
    std::int32_t nextRaw();

    std::array<std::int32_t, 31> state{};
    int front = 3;
    int rear = 0;
};
