#pragma once

#include <cstdint>
#include <string>

// One creature of the world: a closed superformula curve
//   r(phi) = (|cos(m phi / 4) / a|^n2 + |sin(m phi / 4) / b|^n3)^(-1/n1)
// filled with a radial colour gradient, edged with a dark rim and given one
// eye. It spins, swims along a wandering heading, wraps around the world and
// blinks. A plain value: copies, files and mutation need no GL, and a view
// draws it from its values alone (shape/creature_renderer.h).
class SuperFormula {
public:
    struct Vector {
        double x;
        double y;
    };

    // The creature's place in its world's family tree, given by the world
    // (world/world.h): an id unique within the world (from 1 on), its
    // parent's id (noParent for random and inserted creatures) and its
    // generation (0 without a parent, the parent's + 1 for a mutant). A
    // shape outside a world has id 0. Copies keep it.
    static constexpr std::uint64_t noParent = 0;
    struct Lineage {
        std::uint64_t id = 0;
        std::uint64_t parent = noParent;
        std::uint64_t generation = 0;
    };

    // A sample count above 3 is kept; otherwise it follows from m as
    // trunc(10 m + 50) (0 for a NaN m). Either way it is bounded so that no
    // outline has more than maxSamples points (samples + 1).
    SuperFormula(double a, double b, double m, double n1, double n2, double n3, int samples);
    // The source's every number but its blink: the copy's eye is open, with
    // a blink time of 1, as a fresh shape's.
    SuperFormula(const SuperFormula& source);
    SuperFormula& operator=(const SuperFormula&) = delete;
    // A move keeps every number, the blink too: the same creature held
    // somewhere else (the world's population is a vector of creatures).
    SuperFormula(SuperFormula&&) = default;
    SuperFormula& operator=(SuperFormula&&) = default;

    // Advances the shape by dt: spins (the angle folded into -180..180
    // degrees), blinks, travels (wrapped into -6..6) and wanders. Every
    // number stays within its range (shape/creature_bounds.h).
    void animate(double dt);
    // Rotates the heading by `angle` radians.
    void turn(double angle);

    // Parameter i by index: 0..5 a, b, m, n1, n2, n3; 6 rotspeed; 7 eye;
    // any other index border.
    double& param(int i);
    double param(int i) const { return const_cast<SuperFormula*>(this)->param(i); }
    // Parameter i = steps times its slider's step, held in its range (see
    // creature_bounds.h); other indices are ignored.
    void setParamSteps(int i, int steps);

    // The most points an outline may have; samples stays below it.
    static constexpr int maxSamples = 100000;

    double a;
    double b;
    double m;
    double n1;
    double n2;
    double n3;
    int samples;
    double angle;
    double rotspeed;
    float colour[3][4];
    double border;
    double eye;
    double speed;
    double wander;
    Vector heading;
    Vector position;
    double blinkTime;
    bool eyeClosed;
    Lineage lineage;
};

// The nine parameters' names; their sliders are in creature_bounds.h.
std::string paramName(int i);

// A new shape with every number drawn at random; owned by the caller.
SuperFormula* randomSuperFormula();
// A child of `parent`, every inherited number scaled by its own factor drawn
// from [1 - rate, 1 + rate] (rate held in 0..2) and then held in its range
// (creature_bounds.h); owned by the caller.
SuperFormula* mutant(const SuperFormula& parent, double rate);

// Folds v into [lo, hi] by whole periods hi - lo. A value that is not finite
// becomes the middle of the range; an empty or reversed range returns v.
double wrap(double v, double lo, double hi);
// lo + (r / 32767) * (hi - lo) with r the next shape random number.
double randomIn(double lo, double hi);
