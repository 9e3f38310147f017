#include "shape/shape_random.h"

#include <cstdlib>

namespace {

ShapeRandomStream& breedingStream()
{
    static ShapeRandomStream stream;
    return stream;
}

} // namespace

void ShapeRandomStream::seed(unsigned int seed)
{
    // A seed of 0 would leave the whole state 0.
    if (seed == 0)
        seed = 1;
    // state[i] = 16807 * state[i - 1] mod (2^31 - 1), computed without
    // overflowing 31 bits (Schrage's method), from the seed taken as signed.
    std::int32_t word = static_cast<std::int32_t>(seed);
    state[0] = word;
    for (std::size_t i = 1; i < state.size(); ++i) {
        const long hi = word / 127773;
        const long lo = word % 127773;
        long next = 16807 * lo - 2836 * hi;
        if (next < 0)
            next += 2147483647;
        word = static_cast<std::int32_t>(next);
        state[i] = word;
    }
    front = 3;
    rear = 0;
    // The first ten rounds of the state are thrown away.
    for (std::size_t i = 0; i < 10 * state.size(); ++i)
        nextRaw();
}

std::int32_t ShapeRandomStream::nextRaw()
{
    const std::uint32_t sum = static_cast<std::uint32_t>(state[front]) + static_cast<std::uint32_t>(state[rear]);
    state[front] = static_cast<std::int32_t>(sum);
    front = (front + 1) % int(state.size());
    rear = (rear + 1) % int(state.size());
    return static_cast<std::int32_t>(sum >> 1);
}

int ShapeRandomStream::next()
{
    return nextRaw() >> 16;
}

void seedShapeRandom(unsigned int seed)
{
    breedingStream().seed(seed);
    std::srand(seed);
}

int shapeRandom()
{
    return breedingStream().next();
}

int tickRandom()
{
    // rand() yields 0..RAND_MAX. Values at or above the largest multiple of
    // 32768 are drawn again, so that every result 0..32767 covers the same
    // number of raw values; with glibc (RAND_MAX = 2^31 - 1) none is rejected.
    constexpr long long range = shapeRandomMax + 1LL;
    constexpr long long limit = (RAND_MAX + 1LL) / range * range;
    constexpr long long perValue = limit / range;
    long long r;
    do {
        r = std::rand();
    } while (r >= limit);
    return static_cast<int>(r / perValue);
}
