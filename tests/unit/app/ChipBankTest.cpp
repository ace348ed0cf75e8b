#include "app/core/ChipBank.h"

#include <climits>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tintara {
namespace {

using ::testing::ElementsAre;

TEST(ChipBank, ChipByIndexMapsEverythingElseToChipOne)
{
    const std::pair<int, int> cases[] = {{1, 1},  {2, 2},  {9, 9},       {16, 16},    {0, 1},
                                         {-1, 1}, {17, 1}, {INT_MIN, 1}, {INT_MAX, 1}};
    for (const auto& [n, chip] : cases)
        EXPECT_EQ(ChipBank::ChipByIndex(n), chip) << n;
}

TEST(ChipBank, StartsOnTheHiddenPlaceholderWithEveryChipWhite)
{
    ChipBank chips;
    EXPECT_EQ(chips.current(), ChipBank::TokenSlot);
    for (int n = 0; n <= ChipBank::ChipCount; ++n) {
        EXPECT_EQ(chips.chip(n).color, clWhite);
        EXPECT_FALSE(chips.chip(n).locked);
    }
}

TEST(ChipBank, LeavingAnUnlockedChipTurnsItWhiteALockedOneKeepsItsColour)
{
    ChipBank chips;
    chips.selectChip(4);
    chips.setCurrentColor(0x123456);
    auto change = chips.selectChip(5); // F4, then F5 without locking
    EXPECT_EQ(change.previous, 4);
    EXPECT_EQ(change.current, 5);
    EXPECT_TRUE(change.previousWhitened);
    EXPECT_EQ(chips.chip(4).color, clWhite);

    chips.selectChip(4);
    chips.setCurrentColor(0x123456);
    chips.setChipLocked(true, true); // F4, Ctrl+G on a dark colour
    change = chips.selectChip(5);
    EXPECT_FALSE(change.previousWhitened);
    EXPECT_EQ(chips.chip(4).color, 0x123456u);
    EXPECT_TRUE(chips.IsChipLocked(4));
    EXPECT_EQ(chips.chip(4).markColor, clWhite);

    // Reselecting the current unlocked chip whitens it too; the window's sample then refills it.
    chips.setCurrentColor(0x00FF00);
    change = chips.selectChip(5);
    EXPECT_EQ(change.previous, 5);
    EXPECT_TRUE(change.previousWhitened);
    EXPECT_EQ(chips.currentColor(), clWhite);
}

TEST(ChipBank, LockingAndToggling)
{
    ChipBank chips;
    chips.selectChip(3);
    chips.setCurrentColor(0xE0E0F0);
    EXPECT_TRUE(chips.toggleChipLock(false));
    EXPECT_TRUE(chips.isCurrentLocked());
    EXPECT_EQ(chips.currentChip().markColor, clBlack) << "light colour, black check mark";
    EXPECT_FALSE(chips.toggleChipLock());
    EXPECT_FALSE(chips.IsChipLocked(3));
    EXPECT_EQ(chips.currentColor(), 0xE0E0F0u) << "unlocking keeps the colour until the next refresh";
    EXPECT_EQ(ChipBank::checkMarkColor(true), clWhite);
}

TEST(ChipBank, LockingThePlaceholderNeverReachesAPalette)
{
    ChipBank chips; // the palette file could not be read: no chip was selected
    chips.setCurrentColor(0x0000FF);
    chips.setChipLocked(true);
    EXPECT_TRUE(chips.isCurrentLocked());
    for (int n = -1; n <= 17; ++n)
        EXPECT_FALSE(chips.IsChipLocked(n)) << n;
    EXPECT_TRUE(chips.lockedColors().empty());
}

TEST(ChipBank, ClearChipsRunsTheWindowsSelectForEveryStep)
{
    ChipBank chips;
    chips.selectChip(2);
    chips.setCurrentColor(0x111111);
    chips.setChipLocked(true);
    chips.selectChip(7);
    chips.setCurrentColor(0x222222);
    chips.setChipLocked(true);
    chips.selectChip(9);
    EXPECT_THAT(chips.lockedColors(), ElementsAre(0x111111u, 0x222222u));

    std::vector<int> selected;
    chips.clearChips([&](int n) {
        selected.push_back(n);
        chips.selectChip(n);
        chips.setCurrentColor(0xABCDEF); // the refresh writes the sample into an unlocked chip
    });
    EXPECT_THAT(selected, ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 1));
    EXPECT_EQ(chips.current(), 1);
    EXPECT_EQ(chips.currentColor(), 0xABCDEFu);
    for (int n = 2; n <= ChipBank::ChipCount; ++n) {
        EXPECT_EQ(chips.chip(n).color, clWhite) << n;
        EXPECT_FALSE(chips.chip(n).locked) << n;
    }
    EXPECT_TRUE(chips.lockedColors().empty());
}

TEST(ChipBank, PaletteLoadSequence)
{
    // ClearChips, then for each colour: SelectChip, set the colour, lock; finally SelectChip(1).
    ChipBank chips;
    chips.clearChips();
    const TColor palette[] = {0x0000FF, 0x00FF00, 0xFF0000};
    for (int i = 0; i < 3; ++i) {
        chips.selectChip(i + 1);
        chips.setCurrentColor(palette[i]);
        chips.setChipLocked(true);
    }
    chips.selectChip(1);
    EXPECT_EQ(chips.current(), 1);
    EXPECT_EQ(chips.currentColor(), 0x0000FFu);
    EXPECT_THAT(chips.lockedColors(), ElementsAre(0x0000FFu, 0x00FF00u, 0xFF0000u));
    EXPECT_EQ(chips.chip(4).color, clWhite);
}

} // namespace
} // namespace tintara
