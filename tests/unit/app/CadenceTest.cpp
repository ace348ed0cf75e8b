#include "app/core/Cadence.h"

#include <gtest/gtest.h>

#include <vector>

namespace tintara {
namespace {

// A colour that changes on every 10 ms tick for a second and then rests: it is written at once, then
// every 100 ms, and the last colour is written on the first tick the interval allows.
TEST(CadenceTest, WritesAtMostEveryIntervalAndEndsOnTheLastColour)
{
    Cadence cadence(100);
    std::int64_t now = 5000;
    int wanted = 0, shown = -1;
    std::vector<std::int64_t> writes;
    auto tick = [&] {
        if (shown != wanted && cadence.due(now)) {
            shown = wanted;
            writes.push_back(now);
        }
        now += 10;
    };
    for (int t = 0; t < 100; ++t) {
        ++wanted; // a new colour every tick
        tick();
    }
    for (int t = 0; t < 20; ++t)
        tick(); // the cursor rests
    EXPECT_EQ(shown, wanted);
    ASSERT_EQ(writes.size(), 11u);
    for (std::size_t i = 0; i < writes.size(); ++i)
        EXPECT_EQ(writes[i], 5000 + 100 * static_cast<std::int64_t>(i));
}

TEST(CadenceTest, AChangeAfterAPauseOrAUsersWriteAndAClockGoingBack)
{
    Cadence cadence(100);
    EXPECT_TRUE(cadence.due(0)); // the first title at once
    EXPECT_FALSE(cadence.due(99));
    EXPECT_TRUE(cadence.due(100));
    EXPECT_TRUE(cadence.due(1000)); // after a pause: at once
    cadence.written(1050);                // a user's action wrote it
    EXPECT_FALSE(cadence.due(1100));
    EXPECT_TRUE(cadence.due(1150));
    EXPECT_TRUE(cadence.due(20)); // a clock that went backwards does not hold the title back
}

} // namespace
} // namespace tintara
