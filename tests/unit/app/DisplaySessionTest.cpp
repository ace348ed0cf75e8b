#include "app/core/DisplaySession.h"

#include <gtest/gtest.h>

namespace tintara {
namespace {

TEST(DisplaySession, WaylandRunsOnXWaylandUnlessThePlatformWasChosen)
{
    struct Case {
        DisplaySessionEnv env;
        bool wayland;
        bool forceXcb;
        bool noXDisplay;
    };
    const Case cases[] = {
        {{"x11", "", ":0", ""}, false, false, false},
        {{"", "", ":0", ""}, false, false, false},
        {{"tty", "", "", "offscreen"}, false, false, false}, // not a Wayland session: nothing to say
        {{"wayland", "wayland-0", ":0", ""}, true, true, false},
        {{"", "wayland-0", ":1", ""}, true, true, false},                // no session type, but a compositor
        {{"wayland", "", ":0", ""}, true, true, false},                  // session type alone
        {{"wayland", "wayland-0", ":0", "wayland"}, true, false, false}, // the user's choice stays
        {{"wayland", "wayland-0", ":0", "offscreen"}, true, false, false},
        {{"wayland", "wayland-0", "", ""}, true, false, true}, // no XWayland: xcb could not start
        {{"wayland", "wayland-0", "", "wayland"}, true, false, true},
    };
    for (const auto& c : cases) {
        const DisplaySessionChoice got = chooseDisplaySession(c.env);
        const std::string what = std::string(c.env.xdgSessionType) + "/" + std::string(c.env.waylandDisplay) + "/" +
                                 std::string(c.env.display) + "/" + std::string(c.env.qpaPlatform);
        EXPECT_EQ(got.wayland, c.wayland) << what;
        EXPECT_EQ(got.forceXcb, c.forceXcb) << what;
        EXPECT_EQ(got.noXDisplay, c.noXDisplay) << what;
    }
}

} // namespace
} // namespace tintara
