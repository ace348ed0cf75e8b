#pragma once
// The status line's pulse while another window is active: its red level swings by 2 each tick
// between the turning points below 140 and above 200. The level advances every tick, but the label
// is repainted at most every 4th tick: a person cannot tell the difference, and the window then flushes
// a quarter as often while the user works elsewhere. The turning points are always shown.
namespace tintara {

class StatusPulse {
public:
    static constexpr int kLow = 140;
    static constexpr int kHigh = 200;
    static constexpr int kStep = 2;
    static constexpr int kRepaintEvery = 4;
    static constexpr int kMaxWait = 3;

    // Starts (or restarts) from the red level the label shows now; the first tick after it is shown.
    // The direction carries over, as the timer's tag did.
    void restart(int red)
    {
        red_ = red;
        first_ = true;
    }

    // One tick: advances the level; true when the label should show it. While the window holds back an
    // update for one of the next ticks (`updateComing`), a level that is due waits for it, up to
    // kMaxWait ticks and not near a turning point, so that the label joins a window update that
    // happens anyway instead of costing one of its own.
    bool tick(bool updateComing = false);

    int red() const { return red_; }

private:
    // Ticks until the level reaches its next turning point (0 when it is at one).
    int ticksToTurn() const;

    int red_ = 0;
    int step_ = 1; // until the first turning point
    int sinceShown_ = 0;
    bool first_ = true;
};

} // namespace tintara
