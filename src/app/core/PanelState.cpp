#include "app/core/PanelState.h"

namespace tintara {

PanelHeights togglePanel(PanelToggle& panel, PanelHeights now, bool adjustWindow)
{
    PanelHeights next = now;
    if (panel.isCollapsed()) {
        panel.imageTag = 0;
        next.box = panel.boxTag;
        if (adjustWindow)
            next.window = now.window + panel.boxTag - kCollapsedPanelHeight;
    } else {
        panel.imageTag = 1;
        panel.boxTag = now.box == kCollapsedPanelHeight ? kPanelFallbackHeight : now.box;
        next.box = kCollapsedPanelHeight;
        if (adjustWindow)
            next.window = now.window - panel.boxTag + kCollapsedPanelHeight;
    }
    return next;
}

} // namespace tintara
