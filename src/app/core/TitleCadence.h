#pragma once
// When the window title, which names the sampled colour, is written. Every write makes the window
// manager redraw the title bar (once per title property the toolkit writes), which over a varied
// screen cost the X server and the window manager more than all of Tintara's own drawing. So while
// the colour keeps changing the title is written at most every kMinIntervalMs: ten times a second is
// still a live read-out, and the hex field beside it follows every tick. The first change after a pause
// is written at once, and a change held back is written on the first tick the interval allows, so
// the title always ends on the colour shown.
#include <cstdint>
#include <optional>

namespace tintara {

class TitleCadence {
public:
    static constexpr std::int64_t kMinIntervalMs = 100;

    // A tick at `nowMs` (a monotonic clock) finds the title shown differing from the one wanted:
    // true when the wanted title is to be written now.
    bool due(std::int64_t nowMs);

    // The title was written at `nowMs` outside the cadence (a user's action shows at once).
    void written(std::int64_t nowMs) { lastWrite_ = nowMs; }

private:
    std::optional<std::int64_t> lastWrite_;
};

} // namespace tintara
