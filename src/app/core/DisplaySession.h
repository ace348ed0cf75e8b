#pragma once
// What Tintara does in a Wayland session. It samples the screen through X11, and a Wayland
// compositor shows an X client only the windows of other X clients (XWayland). So the program runs on
// the xcb platform, where the X11 backend works, and tells the user once what it cannot see.
#include <string_view>

namespace tintara {

struct DisplaySessionEnv {
    std::string_view xdgSessionType; // XDG_SESSION_TYPE
    std::string_view waylandDisplay; // WAYLAND_DISPLAY
    std::string_view display;        // DISPLAY
    std::string_view qpaPlatform;    // QT_QPA_PLATFORM
};

struct DisplaySessionChoice {
    bool wayland = false;    // the session is a Wayland one: say so once
    bool forceXcb = false;   // set QT_QPA_PLATFORM=xcb before the application object exists
    bool noXDisplay = false; // a Wayland session without XWayland: nothing could be sampled at all
};

// A platform the user chose (QT_QPA_PLATFORM) is kept, and without DISPLAY there is no XWayland to
// run on, so xcb is forced only when neither is the case. Without DISPLAY the program says why it
// cannot work and ends, rather than showing a window that would only ever read black.
DisplaySessionChoice chooseDisplaySession(const DisplaySessionEnv& env);

inline constexpr std::string_view kWaylandNotice =
    "This is a Wayland session: colours can only be sampled from X11 windows in this session.";
inline constexpr std::string_view kNoXDisplayNotice =
    "No X11 display (XWayland) is available in this Wayland session (DISPLAY is not set), so no colour "
    "can be sampled. Start Tintara where XWayland runs.";

} // namespace tintara
