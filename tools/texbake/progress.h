#pragma once

#include <chrono>
#include <functional>
#include <ostream>

namespace texbake {

// A progress bar for a bake, redrawn in place on one line:
//   texbake: [##########..........]  50%  12.3 Mtexel/s
// It appears only when enabled (stderr is a terminal and --quiet was not
// given) and once the bake has taken longer than showAfter, so that quick
// bakes stay silent; it is redrawn at most every redrawEvery.
class Progress {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds showAfter{500};
    static constexpr std::chrono::milliseconds redrawEvery{100};

    // `total` samples are to be baked, starting now.
    Progress(std::ostream& out, bool enabled, long long total,
             std::function<Clock::time_point()> now = Clock::now);

    // `samples` more are done.
    void advance(long long samples);
    // Ends the bar's line, if one was drawn.
    void finish();

private:
    void draw(Clock::time_point at);

    std::ostream& out;
    bool enabled;
    long long total;
    long long done = 0;
    std::function<Clock::time_point()> now;
    Clock::time_point start;
    Clock::time_point lastDrawn;
    bool drawn = false;
};

} // namespace texbake
