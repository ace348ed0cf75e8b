#include "app/core/StatusPulse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tintara {
namespace {

// From any starting red (the button face's, odd or even, inside or outside the band) the level
// follows the ±2 sequence every tick, the label is repainted at most every 4th and at least every 7th
// tick, and every turning point of the swing is among the repainted levels. That holds whether or not
// the window holds back an update of its own, here one every `period` ticks. The pulse then waits for
// those updates and costs one of its own only near a turn.
TEST(StatusPulseTest, RepaintsAtMostEveryFourthTickShowsEveryTurnAndJoinsTheWindowsUpdates)
{
    // 0: the window updates nothing else (the cursor is still); 9: its updates come later than the
    // pulse may wait.
    for (const int period : {0, 4, 5, 9})
        for (const int start : {239, 240, 0, 141, 170, 255}) {
            SCOPED_TRACE(start);
            SCOPED_TRACE(period);
            StatusPulse pulse;
            pulse.restart(start);
            int previous = start;
            int step = 1;
            int lastShown = -100;
            int lastUpdate = 0;
            std::vector<int> levels, shown, ownUpdates;
            for (int t = 0; t < 400; ++t) {
                // The reference sequence: the timer's tag as the step.
                if (previous > 200)
                    step = -2;
                if (previous < 140)
                    step = 2;
                const int expected = (previous + step) & 0xFF;
                const bool updates = period != 0 && t - lastUpdate >= period;
                if (updates)
                    lastUpdate = t;
                const bool updateComing = period != 0 && !updates;
                const bool show = pulse.tick(updateComing);
                ASSERT_EQ(pulse.red(), expected) << "tick " << t;
                previous = expected;
                levels.push_back(expected);
                if (t == 0) {
                    EXPECT_TRUE(show) << "the first tick turns the label red at once";
                }
                if (show) {
                    if (t > 0) {
                        EXPECT_GE(t - lastShown, StatusPulse::kRepaintEvery) << "tick " << t;
                        EXPECT_LE(t - lastShown, 7) << "tick " << t;
                    }
                    lastShown = t;
                    shown.push_back(t);
                    if (updateComing)
                        ownUpdates.push_back(t);
                }
            }
            const auto turn = [&levels](int t) { return t >= 0 && t < 400 && (levels[t] < 140 || levels[t] > 200); };
            // Every turning point after the first (a level below 140 or above 200) is repainted.
            for (int t = 100; t < 400; ++t) {
                if (turn(t)) {
                    EXPECT_TRUE(std::find(shown.begin(), shown.end(), t) != shown.end()) << "turn at tick " << t;
                }
            }
            for (const int t : ownUpdates) {
                bool nearTurn = false;
                for (int d = -StatusPulse::kRepaintEvery - StatusPulse::kMaxWait; d <= StatusPulse::kRepaintEvery; ++d)
                    nearTurn = nearTurn || turn(t + d);
                if (t > 0 && period < 9) {
                    EXPECT_TRUE(nearTurn) << "tick " << t;
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
