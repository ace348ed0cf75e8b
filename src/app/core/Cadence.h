#pragma once
// When something that follows the sampled colour is brought up to date, while the colour keeps
// changing: at most every interval. The first change after a pause goes out at once, and a change held
// back goes out on the first tick the interval allows, so what follows the colour always ends on it.
//
// The window title is written at most every 100 ms: every write makes the window manager redraw the
// title bar, which over a varied screen cost the X server and the window manager more than all of
// Tintara's own drawing, and nobody reads a title that changes faster. The mixer's pickers, the
// read-outs, the chip and the swatch repaint at most every 40 ms, as fast as a film's frames: each
// picker repaints a large area, and every repainted control costs the toolkit a round of its own.
#include <cstdint>
#include <optional>

namespace tintara {

class Cadence {
public:
    explicit Cadence(std::int64_t intervalMs) : intervalMs_(intervalMs) {}

    // A tick at `nowMs` (a monotonic clock) finds what follows the colour behind it: true when it is
    // to be brought up to date now.
    bool due(std::int64_t nowMs);

    // It was brought up to date at `nowMs` outside the cadence (a user's action shows at once).
    void written(std::int64_t nowMs) { lastWrite_ = nowMs; }

private:
    std::int64_t intervalMs_;
    std::optional<std::int64_t> lastWrite_;
};

} // namespace tintara
