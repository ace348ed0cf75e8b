#include "app/core/DisplaySession.h"

namespace tintara {

DisplaySessionChoice chooseDisplaySession(const DisplaySessionEnv& env)
{
    DisplaySessionChoice choice;
    choice.wayland = env.xdgSessionType == "wayland" || !env.waylandDisplay.empty();
    choice.forceXcb = choice.wayland && env.qpaPlatform.empty() && !env.display.empty();
    choice.noXDisplay = choice.wayland && env.display.empty();
    return choice;
}

} // namespace tintara
