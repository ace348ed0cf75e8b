#pragma once
// A desktop made of memory, for widget tests and benchmarks: a synthetic screen the test paints,
// a cursor it places, and a record of everything the program asked of the desktop.
#include "platform/PlatformServices.h"

#include <optional>
#include <string>
#include <vector>

namespace tintara {

class FakePlatform : public PlatformServices {
public:
    explicit FakePlatform(int screenWidth = 1920, int screenHeight = 1080);

    // --- the screen -------------------------------------------------------------------------
    // A new size leaves the whole screen black and pulls the cursor back onto it.
    void setScreenSize(int width, int height);
    int screenWidth() const { return screen_.width(); }
    int screenHeight() const { return screen_.height(); }
    const Bitmap32& screen() const { return screen_; }

    void fillScreen(TColor color);
    // Clipped to the screen; an empty or off-screen rectangle paints nothing.
    void fillRect(const TRect& rect, TColor color);
    // Ignored off the screen.
    void setScreenPixel(int x, int y, TColor color);
    // Black off the screen, like a capture there.
    TColor screenPixel(int x, int y) const;

    // --- the cursor -------------------------------------------------------------------------
    // Where the cursor is, whether or not cursorPos is currently failing.
    TPoint cursor() const { return cursor_; }
    // While set, cursorPos reports failure and leaves its argument alone (the desktop is locked,
    // another session has the input, ...).
    void setCursorPosFails(bool fails) { cursorFails_ = fails; }
    bool cursorPosFails() const { return cursorFails_; }
    int setCursorPosCalls() const { return setCursorCalls_; }

    // --- captures ---------------------------------------------------------------------------
    struct Capture {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        bool opaque = false;
    };
    int captureCount() const { return captureCount_; }
    void resetCaptureCount() { captureCount_ = 0; }
    // The most recent capture request; meaningful once captureCount() > 0.
    const Capture& lastCapture() const { return lastCapture_; }

    // --- foreground, confinement, URLs ------------------------------------------------------
    // isForeground answers this flag whatever window id it is asked about.
    void setForeground(bool foreground) { foreground_ = foreground; }
    bool foreground() const { return foreground_; }
    std::uintptr_t lastForegroundQuery() const { return lastForegroundQuery_; }

    // The rectangle the cursor is held in, or none after releaseCursor (or before any confine).
    const std::optional<TRect>& confineRect() const { return confine_; }
    int confineCalls() const { return confineCalls_; }
    int releaseCalls() const { return releaseCalls_; }

    const std::vector<std::string>& openedUrls() const { return urls_; }

    // --- pictures put straight in a window ------------------------------------------------------
    // Off unless a test turns it on; the program then repaints through the toolkit.
    void setPresentsPictures(bool on) { presents_ = on; }
    struct Presented {
        std::uintptr_t windowId = 0;
        int x = 0;
        int y = 0;
        std::vector<TRect> rects;
    };
    // The presents since the last clear, the latest one, and the surface it was put from. Kept
    // without allocating per present: benchmarks put pictures on every move.
    int presentCount() const { return presentCount_; }
    const Presented& lastPresented() const { return lastPresented_; }
    void clearPresented() { presentCount_ = 0; }
    const Bitmap32& presentationPixels() const { return surface_; }

    // --- clock ----------------------------------------------------------------------------------
    void setClockStepMs(std::int64_t step) { clockStepMs_ = step; }
    void advanceClockMs(std::int64_t ms) { nowMs_ += ms; }

    // --- PlatformServices -------------------------------------------------------------------
    bool cursorPos(TPoint& pos) override;
    void capture(int left, int top, Bitmap32& into, bool opaque) override;
    // Moves the cursor like the desktop would: it stays on the screen and, while confined, inside
    // the confinement rectangle. Tests use it for the user's mouse moves as well.
    void setCursorPos(int x, int y) override;
    bool isForeground(std::uintptr_t windowId) override;
    // Pulls a cursor that is outside the rectangle in at once, as the desktop does.
    void confineCursor(const TRect& screenRect) override;
    void releaseCursor() override;
    void openUrl(const std::string& url) override;
    Bitmap32 presentationSurface(int width, int height) override;
    bool present(std::uintptr_t windowId, int x, int y, const TRect* rects, std::size_t count) override;
    void flushWindowSystem() override {}
    // Each reading advances the clock by the step first (1 s unless set): every tick of a test then
    // lies well apart from the one before, unless the test steps the clock itself.
    std::int64_t monotonicMs() override { return nowMs_ += clockStepMs_; }

private:
    TPoint clampCursor(int x, int y) const;

    Bitmap32 screen_;
    TPoint cursor_;
    bool cursorFails_ = false;
    int setCursorCalls_ = 0;
    int captureCount_ = 0;
    Capture lastCapture_;
    bool foreground_ = true;
    std::uintptr_t lastForegroundQuery_ = 0;
    std::optional<TRect> confine_;
    int confineCalls_ = 0;
    int releaseCalls_ = 0;
    std::vector<std::string> urls_;
    bool presents_ = false;
    Bitmap32 surface_;
    int presentCount_ = 0;
    Presented lastPresented_;
    std::int64_t nowMs_ = 0;
    std::int64_t clockStepMs_ = 1000;
};

} // namespace tintara
