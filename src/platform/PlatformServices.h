#pragma once
// What Tintara needs of the desktop, behind one interface: an X11 backend for the program and a
// fake one (a synthetic screen and cursor) for tests and benchmarks.
#include "colormodel/TColor.h"
#include "raster/Bitmap32.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tintara {

// The part the magnifier reads: where the cursor is and what the screen shows.
class ScreenSource {
public:
    virtual ~ScreenSource() = default;

    // Cursor position in physical screen pixels; false when it cannot be read.
    virtual bool cursorPos(TPoint& pos) = 0;

    // Fills all of `into` (already sized by the caller) with the screen pixels whose top-left is
    // (left, top). Pixels outside the screen read as black; never fails.
    // opaque: leave translucent overlay windows out where the desktop can tell them apart.
    virtual void capture(int left, int top, Bitmap32& into, bool opaque) = 0;

    // Putting a picture in a window at once, past the toolkit's repaint of the window. The caller
    // draws into the surface (0x??RRGGBB rows, `width` x `height`, valid until the next call), then
    // presents rectangles of it (surface coordinates) at (x, y) in the window with this native id.
    // A desktop that cannot returns an empty surface or false, and the caller repaints through the
    // toolkit instead.
    virtual Bitmap32 presentationSurface(int /*width*/, int /*height*/) { return {}; }
    virtual bool present(std::uintptr_t /*windowId*/, int /*x*/, int /*y*/, const TRect* /*rects*/,
                         std::size_t /*count*/)
    {
        return false;
    }
};

class PlatformServices : public ScreenSource {
public:
    virtual void setCursorPos(int x, int y) = 0;

    // Whether the top-level window with this native id is the active window.
    virtual bool isForeground(std::uintptr_t windowId) = 0;

    // Keeps the pointer inside the rectangle (screen pixels) until releaseCursor.
    virtual void confineCursor(const TRect& screenRect) = 0;
    virtual void releaseCursor() = 0;

    virtual void openUrl(const std::string& url) = 0;

    // Sends what the toolkit has queued for the window system (a title change, say) now, instead of
    // with its next repaint.
    virtual void flushWindowSystem() = 0;

    // Milliseconds on a clock that never goes back (its zero is arbitrary).
    virtual std::int64_t monotonicMs() = 0;
};

} // namespace tintara
