#include "support/random.h"

#include <cmath>
#include <ctime>

namespace tex {

namespace {

constexpr std::uint32_t upperMask = 0x80000000u;
constexpr std::uint32_t lowerMask = 0x7fffffffu;

} // namespace

Random::Random() : index(neverSeeded)
{
    seed(static_cast<std::uint32_t>(std::time(nullptr)));
}

Random::Random(int s) : index(neverSeeded)
{
    seed(static_cast<std::uint32_t>(s));
}

Random::Random(Unseeded) : state{}, index(neverSeeded) {}

void Random::seed(std::uint32_t s)
{
    state[0] = s;
    for (int i = 1; i < stateSize; ++i)
        state[i] = seedWord(state[i - 1], i);
    index = stateSize;
}

void Random::seedArray(const std::uint32_t* key, int length)
{
    static const std::uint32_t zeroKey[1] = {0};
    if (key == nullptr || length < 1) {
        key = zeroKey;
        length = 1;
    }

    seed(19650218u);
    int i = 1;
    int j = 0;
    for (int k = length > stateSize ? length : stateSize; k > 0; --k) {
        const std::uint32_t prev = state[i - 1];
        state[i] = (state[i] ^ ((prev ^ (prev >> 30)) * 1664525u)) + key[j] + static_cast<std::uint32_t>(j);
        ++i;
        if (i >= stateSize) {
            state[0] = state[stateSize - 1];
            i = 1;
        }
        ++j;
        if (j >= length)
            j = 0;
    }
    for (int k = stateSize - 1; k > 0; --k) {
        const std::uint32_t prev = state[i - 1];
        state[i] = (state[i] ^ ((prev ^ (prev >> 30)) * 1566083941u)) - static_cast<std::uint32_t>(i);
        ++i;
        if (i >= stateSize) {
            state[0] = state[stateSize - 1];
            i = 1;
        }
    }
    state[0] = 0x80000000u;
}

void Random::regenerate()
{
    if (index == neverSeeded)
        seed(5489u);

    // Three stretches instead of modulo indexing: k + 397 stays in range up
    // to k = 226, then the partner word wraps round to k - 227.
    int k = 0;
    for (; k < stateSize - 397; ++k)
        state[k] = twist(state[k + 397], (state[k] & upperMask) | (state[k + 1] & lowerMask));
    for (; k < stateSize - 1; ++k)
        state[k] = twist(state[k - (stateSize - 397)], (state[k] & upperMask) | (state[k + 1] & lowerMask));
    state[stateSize - 1] = twist(state[396], (state[stateSize - 1] & upperMask) | (state[0] & lowerMask));
    index = 0;
}

std::uint32_t Random::nextUint32()
{
    if (index >= stateSize)
        regenerate();
    return temper(state[index++]);
}

int Random::nextUint31()
{
    return static_cast<int>(nextUint32() >> 1);
}

double Random::nextDouble()
{
    const std::uint32_t first = nextUint32();
    return unitDouble(first, nextUint32());
}

double Random::uniform()
{
    return nextDouble();
}

float Random::nextFloat()
{
    return static_cast<float>(nextDouble());
}

int Random::nextInt(int lo, int hi)
{
    // In 64 bits, so that a range wider than an int neither wraps nor
    // overflows: the width is below 2^33, exact as a double, and the offset
    // lies between 0 and the width, so lo + offset lies between lo and hi.
    const std::int64_t width = static_cast<std::int64_t>(hi) - lo;
    const auto offset = static_cast<std::int64_t>(nextDouble() * static_cast<double>(width));
    return static_cast<int>(lo + offset);
}

float Random::gaussian()
{
    float x1;
    float w;
    do {
        x1 = static_cast<float>(2.0 * nextFloat() - 1.0);
        const float x2 = static_cast<float>(2.0 * nextFloat() - 1.0);
        w = x1 * x1 + x2 * x2;
        // w = 0 would give 0 * sqrt(inf), a NaN: draw again as for w >= 1.
    } while (w >= 1.0f || w == 0.0f);
    const float f = static_cast<float>(-2.0 * std::log(static_cast<double>(w)) / static_cast<double>(w));
    return static_cast<float>(static_cast<double>(x1) * std::sqrt(static_cast<double>(f)));
}

float Random::gaussian(float mean, float deviation)
{
    return gaussian() * deviation + mean;
}

} // namespace tex
