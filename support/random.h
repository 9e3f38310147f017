#pragma once

#include <cstdint>

namespace tex {

// The Mersenne Twister MT19937 with its published seeding procedures,
// tempering and 53-bit doubles, plus a few derived draws. A plain value:
// copying it copies the sequence position. Not thread-safe.
class Random {
public:
    // Seeded from the calendar time in whole seconds.
    Random();
    // Seeded with the int's bits taken as unsigned.
    explicit Random(int s);

    void seed(std::uint32_t s);
    // Reseeds from `length` words of `key`. A null key or a length below 1
    // reads nothing from `key` and seeds as if from the single word 0.
    void seedArray(const std::uint32_t* key, int length);

    std::uint32_t nextUint32();
    // nextUint32() >> 1: 0 .. 2^31 - 1.
    int nextUint31();
    // [0, 1) with 53 random bits; two outputs, the high part drawn first.
    double nextDouble();
    // The same as nextDouble().
    double uniform();
    // nextDouble() rounded to float: in [0, 1], exactly 1.0 when the double is
    // at least 1 - 2^-25.
    float nextFloat();
    // lo + trunc(nextDouble() * (hi - lo)), with hi - lo taken in 64 bits,
    // so for every pair of ints: in [lo, hi) for hi > lo, lo for hi = lo,
    // and in (hi, lo] for hi < lo (truncation toward zero from the other
    // side). Consumes two outputs.
    int nextInt(int lo, int hi);
    // A standard normal deviate by the polar method, in single precision.
    float gaussian();
    float gaussian(float mean, float deviation);

    // State word mt[0], without drawing: right after seed(s) it is s.
    std::uint32_t firstStateWord() const { return state[0]; }

    // The generator's arithmetic, for code that reproduces a few of its
    // outputs without running it (Voronoi cells). The templates work in
    // place, on one word or on every lane of a vector of words:
    // seed word i from word i - 1,
    static std::uint32_t seedWord(std::uint32_t previous, int i)
    {
        advanceSeedWord(previous, static_cast<std::uint32_t>(i));
        return previous;
    }
    template <typename Word, typename Index>
    static void advanceSeedWord(Word& word, const Index& i)
    {
        word = 1812433253u * (word ^ (word >> 30)) + i;
    }
    // a regenerated word from its partner `from` and y = upper(mt[k]) | lower(mt[k + 1]),
    static std::uint32_t twist(std::uint32_t from, std::uint32_t y)
    {
        twistInPlace(y, from);
        return y;
    }
    template <typename Word>
    static void twistInPlace(Word& y, const Word& from)
    {
        // mag(y): 0x9908b0df where y is odd, 0 where it is even.
        y = from ^ (y >> 1) ^ ((0u - (y & 1u)) & 0x9908b0dfu);
    }
    // the tempering of a state word into an output,
    static std::uint32_t temper(std::uint32_t y)
    {
        temperInPlace(y);
        return y;
    }
    template <typename Word>
    static void temperInPlace(Word& y)
    {
        y ^= y >> 11;
        y ^= (y << 7) & 0x9d2c5680u;
        y ^= (y << 15) & 0xefc60000u;
        y ^= y >> 18;
    }
    // and the 53-bit double in [0, 1) of two outputs, the first the high part.
    static double unitDouble(std::uint32_t first, std::uint32_t second)
    {
        return ((first >> 5) * 67108864.0 + (second >> 6)) * (1.0 / 9007199254740992.0);
    }

protected:
    // Leaves the generator never seeded: its first draw seeds it with 5489.
    struct Unseeded {};
    explicit Random(Unseeded);

private:
    void regenerate();

    static constexpr int stateSize = 624;
    static constexpr int neverSeeded = 625;

    std::uint32_t state[stateSize];
    int index;
};

} // namespace tex
