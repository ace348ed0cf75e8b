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
    };
    const Case cases[] = {
        {{"x11", "", ":0", ""}, false, false},
        {{"", "", ":0", ""}, false, false},
        {{"tty", "", "", "offscreen"}, false, false},
        {{"wayland", "wayland-0", ":0", ""}, true, true},
        {{"", "wayland-0", ":1", ""}, true, true},                // no session type, but a compositor
        {{"wayland", "", ":0", ""}, true, true},                  // session type alone
        {{"wayland", "wayland-0", ":0", "wayland"}, true, false}, // the user's choice stays
        {{"wayland", "wayland-0", ":0", "offscreen"}, true, false},
        {{"wayland", "wayland-0", "", ""}, true, false}, // no XWayland: xcb could not start
    };
    for (const auto& c : cases) {
        const DisplaySessionChoice got = chooseDisplaySession(c.env);
        const std::string what = std::string(c.env.xdgSessionType) + "/" + std::string(c.env.waylandDisplay) + "/" +
                                 std::string(c.env.display) + "/" + std::string(c.env.qpaPlatform);
        EXPECT_EQ(got.wayland, c.wayland) << what;
        EXPECT_EQ(got.forceXcb, c.forceXcb) << what;
    }
}

} // namespace
} // namespace tintara
