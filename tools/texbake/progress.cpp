#include "tools/texbake/progress.h"

#include <cstdio>
#include <string>

namespace texbake {

namespace {

constexpr int barWidth = 30;

} // namespace

Progress::Progress(std::ostream& out, bool enabled, long long total, std::function<Clock::time_point()> now)
    : out(out), enabled(enabled && total > 0), total(total), now(std::move(now)), start(this->now())
{
}

void Progress::advance(long long samples)
{
    done += samples;
    if (!enabled)
        return;
    const Clock::time_point at = now();
    if (at - start < showAfter || (drawn && at - lastDrawn < redrawEvery && done < total))
        return;
    draw(at);
}

void Progress::finish()
{
    if (drawn)
        out << '\n' << std::flush;
    drawn = false;
}

void Progress::draw(Clock::time_point at)
{
    const double fraction = double(done) / double(total);
    const int filled = static_cast<int>(fraction * barWidth);
    const double seconds = std::chrono::duration<double>(at - start).count();
    char figures[64];
    std::snprintf(figures, sizeof figures, "] %3d%%  %.1f Mtexel/s", static_cast<int>(fraction * 100),
                  double(done) / seconds / 1e6);
    out << "\rtexbake: [" << std::string(std::size_t(filled), '#') << std::string(std::size_t(barWidth - filled), '.')
        << figures << std::flush;
    lastDrawn = at;
    drawn = true;
}

} // namespace texbake
