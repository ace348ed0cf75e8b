#pragma once
// The desktop services on X11. Xlib stays inside X11Platform.cpp; this header is safe to include
// from any Qt unit (Xlib's macros such as None, Bool or Status clash with Qt's names).
#include "platform/PlatformServices.h"

#include <memory>

namespace tintara {

// The backend for the running program: X11 over a connection of its own to the display Qt runs on
// (or $DISPLAY), falling back to Qt's connection when a second one cannot be opened. Without any X
// server the cursor cannot be read and captures are black. Needs a QGuiApplication.
std::unique_ptr<PlatformServices> createPlatformServices();

class X11Platform : public PlatformServices {
public:
    struct Options {
        // Capture through an MIT-SHM segment when the server offers it (one round trip, no copy
        // through the socket); off means plain GetImage requests.
        bool useShm = true;
        // Pixels the shared segment holds at start; a larger capture replaces it once by a
        // bigger one. The magnifier of the main window needs about 140 x 60 at most.
        int initialCaptureWidth = 256;
        int initialCaptureHeight = 256;
        // Put pictures straight in a window through a shared segment of our own, where the server
        // and the window allow it.
        bool presentPictures = true;
    };

    X11Platform();
    explicit X11Platform(const Options& options);
    ~X11Platform() override;
    X11Platform(const X11Platform&) = delete;
    X11Platform& operator=(const X11Platform&) = delete;

    // Whether an X display is connected at all.
    bool connected() const;
    // Whether captures currently go through the shared segment.
    bool usingShm() const;

    // Cursor position on the root window in physical pixels; false on no display or when the
    // pointer is on another X screen.
    bool cursorPos(TPoint& pos) override;
    // Reads the part of the rectangle that lies on the root window; everything else is black.
    // X has no layered windows to leave out, so `opaque` makes no difference here.
    void capture(int left, int top, Bitmap32& into, bool opaque) override;
    // A shared segment of our own, put in the window with MIT-SHM; empty without shared memory, on
    // a root of another pixel layout, or with the toolkit's shared memory turned off.
    Bitmap32 presentationSurface(int width, int height) override;
    // False for a window of another depth or colour layout (asked once per window).
    bool present(std::uintptr_t windowId, int x, int y, const TRect* rects, std::size_t count) override;
    // Warps the pointer (inside the confinement rectangle while one is set).
    void setCursorPos(int x, int y) override;
    // True when Qt's focus window has this native id; asks the server nothing.
    bool isForeground(std::uintptr_t windowId) override;
    // Holds the pointer inside the rectangle while a mouse button is down: every mouse move the
    // application receives is checked and a pointer outside is warped back to the nearest pixel
    // inside. A widget may therefore see one move outside before the one at the edge. Releasing
    // the buttons ends the confinement as well, so a lost release can never trap the pointer.
    void confineCursor(const TRect& screenRect) override;
    void releaseCursor() override;
    void openUrl(const std::string& url) override;
    void flushWindowSystem() override;
    std::int64_t monotonicMs() override;

    // Number of X protocol errors met (and survived) so far.
    int protocolErrors() const;

    // Test hook: pretend the root window has this size until the next X error says otherwise.
    // Lets a test drive a capture into a rectangle the server refuses.
    void setAssumedRootSizeForTesting(int width, int height);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tintara
