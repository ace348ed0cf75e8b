#include "app/core/StatusPulse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tintara {
namespace {

// From any starting red (the button face's, odd or even, inside or outside the band) the level
// follows the ±2 sequence every tick, the label is repainted at most every 4th tick, and every
// turning point of the swing is among the repainted levels; also when every other tick passes a due
// repaint on (the cursor moves on every other tick), which then lands on the next tick unless a
// turn is near.
TEST(StatusPulseTest, RepaintsAtMostEveryFourthTickAndShowsEveryTurn)
{
    // -1: no tick passes on; 0 or 1: the even or the odd ticks do.
    for (const int alternate : {-1, 0, 1})
        for (const int start : {239, 240, 0, 141, 170, 255}) {
            SCOPED_TRACE(start);
            SCOPED_TRACE(alternate);
            const auto passOn = [alternate](int t) { return t % 2 == alternate; };
            StatusPulse pulse;
            pulse.restart(start);
            int previous = start;
            int step = 1;
            int lastShown = -100;
            std::vector<int> levels, shown;
            for (int t = 0; t < 400; ++t) {
                // The reference sequence: the timer's tag as the step.
                if (previous > 200)
                    step = -2;
                if (previous < 140)
                    step = 2;
                const int expected = (previous + step) & 0xFF;
                const bool show = pulse.tick(passOn(t));
                ASSERT_EQ(pulse.red(), expected) << "tick " << t;
                previous = expected;
                levels.push_back(expected);
                if (t == 0) {
                    EXPECT_TRUE(show) << "the first tick turns the label red at once";
                }
                if (show) {
                    if (t > 0) {
                        EXPECT_GE(t - lastShown, StatusPulse::kRepaintEvery) << "tick " << t;
                    }
                    lastShown = t;
                    shown.push_back(t);
                }
            }
            // Every turning point after the first (a level below 140 or above 200) is repainted.
            for (int t = 100; t < 400; ++t) {
                if (levels[t] < 140 || levels[t] > 200) {
                    EXPECT_TRUE(std::find(shown.begin(), shown.end(), t) != shown.end()) << "turn at tick " << t;
                }
            }
            // And the pulse still moves: at most 7 ticks between two repaints.
            for (std::size_t i = 1; i < shown.size(); ++i)
                EXPECT_LE(shown[i] - shown[i - 1], 7);
            const auto turn = [&levels](int t) { return levels[t] < 140 || levels[t] > 200; };
            for (const int t : shown) {
                if (t > 0 && passOn(t) && t + 4 < 400) {
                    EXPECT_TRUE(turn(t) || turn(t + 1) || turn(t + 2) || turn(t + 3) || turn(t + 4)) << "tick " << t;
                }
            }
        }
}

TEST(StatusPulseTest, RestartShowsTheNextTickAndKeepsTheDirection)
{
    StatusPulse pulse;
    pulse.restart(150);
    for (int i = 0; i < 60; ++i)
        pulse.tick(); // up by 1 to 201, then down by 2: 183, descending
    pulse.restart(180);
    EXPECT_TRUE(pulse.tick());
    EXPECT_EQ(pulse.red(), 178);
}

} // namespace
} // namespace tintara
