#include "tools/texbake/progress.h"

#include <gtest/gtest.h>

#include <sstream>

using texbake::Progress;
using namespace std::chrono_literals;

namespace {

// A clock the test moves by hand.
struct ManualClock {
    Progress::Clock::time_point now{};
    std::function<Progress::Clock::time_point()> source()
    {
        return [this] { return now; };
    }
};

} // namespace

TEST(Progress, QuickBakesAndBakesOffATerminalStaySilent)
{
    ManualClock clock;
    std::ostringstream quick;
    Progress fast(quick, true, 100, clock.source());
    clock.now += 400ms;
    fast.advance(100);
    fast.finish();
    EXPECT_EQ(quick.str(), "");

    std::ostringstream piped;
    Progress slow(piped, false, 100, clock.source());
    clock.now += 10s;
    slow.advance(50);
    slow.finish();
    EXPECT_EQ(piped.str(), "");
}

TEST(Progress, ASlowBakeRedrawsOneLineAndEndsIt)
{
    ManualClock clock;
    std::ostringstream out;
    Progress progress(out, true, 4'000'000, clock.source());
    clock.now += 1s;
    progress.advance(1'000'000);
    EXPECT_EQ(out.str(), "\rtexbake: [#######.......................]  25%  1.0 Mtexel/s");

    // Within the redraw interval nothing more is drawn, unless the bake is done.
    clock.now += 50ms;
    progress.advance(1'000'000);
    EXPECT_EQ(out.str().find('\r', 1), std::string::npos);
    progress.advance(2'000'000);
    const std::string last = out.str().substr(out.str().rfind('\r'));
    EXPECT_EQ(last, "\rtexbake: [##############################] 100%  3.8 Mtexel/s");
    progress.finish();
    EXPECT_EQ(out.str().back(), '\n');
}
