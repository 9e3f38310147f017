#pragma once

#include <GL/gl.h>

#include <string>

// One creature of the world: a closed superformula curve
//   r(phi) = (|cos(m phi / 4) / a|^n2 + |sin(m phi / 4) / b|^n3)^(-1/n1)
// filled with a radial colour gradient, edged with a dark rim and given one
// eye. It spins, swims along a wandering heading, wraps around the world and
// blinks. Its outline and fill are compiled into a display list that belongs
// to the GL context of its first draw; the owner calls deleteList() in that
// context before destroying the shape.
class SuperFormula {
public:
    struct Vector {
        double x;
        double y;
    };

    // A sample count above 3 is kept; otherwise it follows from m as
    // trunc(10 m + 50) (0 for a NaN m). Either way it is bounded so that no
    // outline has more than maxSamples points (samples + 1).
    SuperFormula(double a, double b, double m, double n1, double n2, double n3, int samples);
    // An independent shape without a display list, drawable in any context.
    SuperFormula(const SuperFormula& source);
    SuperFormula& operator=(const SuperFormula&) = delete;

    void deleteList();
    // Advances the shape by dt: spins (the angle folded into -180..180
    // degrees), blinks, travels (wrapped into -6..6) and wanders. Every
    // number stays within its range (shape/creature_bounds.h).
    void animate(double dt);
    // Rotates the heading by `angle` radians.
    void turn(double angle);
    // Compiles outline and fill, sets fitScale = 1 / largest radius. A shape
    // whose radii are not all finite, or all 0, compiles an empty list and
    // gets fitScale 1: it shows only its eye.
    void buildList();
    void draw();
    void drawCentred();
    void drawEye();

    // Parameter i by index: 0..5 a, b, m, n1, n2, n3; 6 rotspeed; 7 eye;
    // any other index border. Writing through it leaves listValid alone.
    double& param(int i);
    double param(int i) const { return const_cast<SuperFormula*>(this)->param(i); }
    // Parameter i = steps times its slider's step, held in its range (see
    // creature_bounds.h); clears listValid unless i is 6 or 7.
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
    bool listValid;
    GLuint listId;
    double angle;
    double rotspeed;
    double fitScale;
    float colour[3][4];
    double border;
    double eye;
    double speed;
    double wander;
    Vector heading;
    Vector position;
    double blinkTime;
    bool eyeClosed;

private:
    void drawFrom(bool atPosition);
};

// The nine parameters' names; their sliders are in creature_bounds.h.
std::string paramName(int i);

// A new shape with every number drawn at random; owned by the caller.
SuperFormula* randomSuperFormula();
// A child of `parent`, every inherited number scaled by its own factor drawn
// from [1 - rate, 1 + rate] (rate held in 0..2) and then held in its range
// (creature_bounds.h); owned by the caller.
SuperFormula* mutant(const SuperFormula& parent, double rate);

// A unit disc as one triangle fan of 61 rim points; sets no colour.
void drawDisc();
// Folds v into [lo, hi] by whole periods hi - lo. A value that is not finite
// becomes the middle of the range; an empty or reversed range returns v.
double wrap(double v, double lo, double hi);
// lo + (r / 32767) * (hi - lo) with r the next shape random number.
double randomIn(double lo, double hi);
