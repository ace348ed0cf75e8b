#include "app/core/StatusPulse.h"

namespace tintara {

bool StatusPulse::tick(bool updateComing)
{
    if (red_ > kHigh)
        step_ = -kStep;
    if (red_ < kLow)
        step_ = kStep;
    red_ = (red_ + step_) & 0xFF;
    ++sinceShown_;
    // Turning points are shown; a repaint within 4 ticks before one is left out so the turn keeps its
    // distance from the previous repaint. The first tick shows at once: the label turns red as soon
    // as another window is active.
    const int toTurn = ticksToTurn();
    if (!first_ && (sinceShown_ < kRepaintEvery || (toTurn != 0 && toTurn < kRepaintEvery)))
        return false;
    if (!first_ && updateComing && toTurn > kRepaintEvery && sinceShown_ < kRepaintEvery + kMaxWait)
        return false;
    first_ = false;
    sinceShown_ = 0;
    return true;
}

int StatusPulse::ticksToTurn() const
{
    if (step_ < 0)
        return red_ < kLow ? 0 : (red_ - kLow) / -step_ + 1;
    return red_ > kHigh ? 0 : (kHigh - red_) / step_ + 1;
}

} // namespace tintara
