#include "app/core/PanelState.h"

#include <array>
#include <gtest/gtest.h>
#include <numeric>

namespace tintara {
namespace {

TEST(PanelState, MixerCollapsesBy184AndComesBack)
{
    PanelToggle mixer;
    auto h = togglePanel(mixer, {195, 603}, true);
    EXPECT_EQ(h, (PanelHeights{11, 419}));
    EXPECT_TRUE(mixer.isCollapsed());
    EXPECT_EQ(mixer.glyph(), kGlyphCollapsed);
    EXPECT_EQ(mixer.boxTag, 195);

    h = togglePanel(mixer, h, true);
    EXPECT_EQ(h, (PanelHeights{195, 603}));
    EXPECT_EQ(mixer.glyph(), kGlyphOpen);
}

TEST(PanelState, WithoutAdjustTheWindowStays)
{
    PanelToggle chipsPanel;
    EXPECT_EQ(togglePanel(chipsPanel, {97, 500}, false), (PanelHeights{11, 500}));
    EXPECT_EQ(togglePanel(chipsPanel, {11, 500}, false), (PanelHeights{97, 500}));
}

TEST(PanelState, MagnifyCollapsedAtStartRestoresTheFallback)
{
    // The stored height already leaves the panel out, so its box measures 11 when it is collapsed
    // at start-up without adjusting; expanding then grows the window by 86 - 11.
    PanelToggle magnify;
    EXPECT_EQ(togglePanel(magnify, {11, 415}, false), (PanelHeights{11, 415}));
    EXPECT_EQ(magnify.boxTag, kPanelFallbackHeight);
    EXPECT_EQ(togglePanel(magnify, {11, 415}, true), (PanelHeights{86, 490}));

    // Enlarged by hand while collapsed: the next click still adds the recorded height minus 11.
    togglePanel(magnify, {86, 490}, true);
    EXPECT_EQ(togglePanel(magnify, {40, 600}, true), (PanelHeights{86, 675}));
}

TEST(PanelState, EveryPanelCollapsedAndRestored)
{
    // A window whose Magnify box takes whatever the four top-aligned boxes and the frame leave.
    const int frame = 40;
    std::array<int, 4> top = {41, 97, 58, 195};
    std::array<PanelToggle, 5> panels{};
    int window = 603;
    auto magnify = [&] { return window - frame - std::accumulate(top.begin(), top.end(), 0); };
    const int magnifyOpen = magnify();

    auto toggle = [&](std::size_t i) {
        const int box = i < 4 ? top[i] : magnify();
        const auto h = togglePanel(panels[i], {box, window}, true);
        window = h.window;
        if (i < 4)
            top[i] = h.box; // a top-aligned box takes the height; the Magnify box follows the window
    };
    for (std::size_t i = 0; i < 5; ++i)
        toggle(i);
    EXPECT_EQ(window, frame + 5 * kCollapsedPanelHeight);
    EXPECT_EQ(magnify(), kCollapsedPanelHeight);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_TRUE(isPanelClosedAtClose(i < 4 ? top[i] : magnify())) << i;

    for (std::size_t i = 5; i-- > 0;)
        toggle(i);
    EXPECT_EQ(window, 603);
    EXPECT_EQ(top, (std::array<int, 4>{41, 97, 58, 195}));
    EXPECT_EQ(magnify(), magnifyOpen);
    EXPECT_FALSE(isPanelClosedAtClose(magnifyOpen));
}

} // namespace
} // namespace tintara
