#pragma once
// The arithmetic of collapsing and expanding the five group boxes. The window keeps one PanelToggle
// per box (the toggle image's tag and the box's tag), passes the present heights in and applies the
// heights that come back.
namespace tintara {

inline constexpr int kCollapsedPanelHeight = 11;
// Recorded as the height to restore when a box that is already collapsed-high gets collapsed (the
// Magnify box at start-up, whose height follows the window).
inline constexpr int kPanelFallbackHeight = 86;

// Glyphs of the chevron image list.
inline constexpr int kGlyphCollapsed = 0; // pointing down
inline constexpr int kGlyphOpen = 1;      // pointing up

struct PanelToggle {
    int imageTag = 0; // 0 open, 1 collapsed
    int boxTag = 0;   // the box height to restore, recorded when it collapses

    bool isCollapsed() const { return imageTag == 1; }
    int glyph() const { return isCollapsed() ? kGlyphCollapsed : kGlyphOpen; }
};

struct PanelHeights {
    int box = 0;
    int window = 0;
    friend bool operator==(const PanelHeights&, const PanelHeights&) = default;
};

// TogglePanel: expands a collapsed panel to its recorded height, otherwise collapses it to 11
// pixels, recording the height to restore. With `adjustWindow` the window height changes by the
// same amount as the box (the recorded height minus 11), otherwise it is returned unchanged.
PanelHeights togglePanel(PanelToggle& panel, PanelHeights now, bool adjustWindow);

// A box exactly 11 pixels high is stored as closed, whatever its chevron shows.
constexpr bool isPanelClosedAtClose(int boxHeight)
{
    return boxHeight == kCollapsedPanelHeight;
}

} // namespace tintara
