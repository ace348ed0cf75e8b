#pragma once
// Everything the magnifier control does without a window: where to look, what to capture, which
// colour the cursor is on, and the enlarged picture with its grid and hi-lite square. The TMagnifier
// widget owns one, tells it its size and visibility, and paints the picture (renderPicture).
#include "colormodel/TColor.h"
#include "platform/PlatformServices.h"
#include "raster/Bitmap32.h"

#include <cstdint>
#include <functional>
#include <stdexcept>

namespace tintara {

// Raised by pickColor when the cursor position cannot be read (the desktop is locked, another
// session has the input, ...). Nothing was captured; colour, picture and LastPoint are unchanged.
// The caller that triggered the pick catches it.
class CursorPosError : public std::runtime_error {
public:
    CursorPosError() : std::runtime_error("The cursor position cannot be read") {}
};

class MagnifierCore {
public:
    explicit MagnifierCore(ScreenSource& screen);

    // --- what the owner tells it ------------------------------------------------------------
    // Plain stores; the owner calls Resize() after a size change, as its resize handler.
    void setSize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The control's own visibility flag (not its parent's): a hidden control captures nothing.
    void setVisible(bool visible) { visible_ = visible; }
    bool Visible() const { return visible_; }
    // Screen rectangle of the parent; its centre is the point taken while FollowMouse is off.
    std::function<TRect()> parentBounds;
    // Invoked wherever the control invalidates itself; the owner repaints later.
    std::function<void()> requestRepaint;

    // Reacts to a new size: new cell counts and a forced capture, once a magnification is set.
    void Resize();

    // --- properties ---------------------------------------------------------------------------
    // Each of these setters captures at once (pickColor(true)).
    int Magnification() const { return magnification_; }
    // Values below 1 are stored as 1: the cell counts divide by it.
    void setMagnification(int value);
    int PointSize() const { return pointSize_; }
    // 1, 3 or 5; anything else stores 1.
    void setPointSize(int value);
    bool HiLite() const { return hiLite_; }
    void setHiLite(bool value);
    TColor HiLiteColor() const { return hiLiteColor_; }
    void setHiLiteColor(TColor value);
    bool Grid() const { return grid_; }
    void setGrid(bool value);
    TColor GridColor() const { return gridColor_; }
    void setGridColor(TColor value);
    bool Smooth() const { return smooth_; }
    void setSmooth(bool value);

    // Plain stores: no capture, no repaint.
    TColor CurColor() const { return curColor_; }
    void setCurColor(TColor value) { curColor_ = value; }
    // Passed to the screen source; the X11 desktop has no layered windows to leave out, so it has no
    // effect there.
    bool CaptureOpaque() const { return captureOpaque_; }
    void setCaptureOpaque(bool value) { captureOpaque_ = value; }
    bool FollowMouse() const { return followMouse_; }
    void setFollowMouse(bool value) { followMouse_ = value; }
    bool FourK() const { return fourK_; }
    void setFourK(bool value) { fourK_ = value; }
    int OffsetX() const { return offsetX_; }
    void setOffsetX(int value) { offsetX_ = value; }
    int OffsetY() const { return offsetY_; }
    void setOffsetY(int value) { offsetY_ = value; }

    // Read-only, computed from CurColor at every read.
    std::uint32_t Red() const;
    std::uint32_t Green() const;
    std::uint32_t Blue() const;
    bool WebSafe() const;
    bool DarkColor() const;
    const char* ColorName() const;

    // --- fields -------------------------------------------------------------------------------
    TPoint LastPoint() const { return lastPoint_; }
    int CellsAcross() const { return cellsAcross_; }
    int CellsDown() const { return cellsDown_; }
    bool CellsValid() const { return cellsValid_; }
    // The enlarged picture of the last capture, without the overlays until paintOverlays(); empty
    // before the first capture. Made when first asked for after a capture.
    const Bitmap32& ZoomBitmap() const;

    // --- operations ---------------------------------------------------------------------------
    // Takes the point; captures when it moved or when forced, then requests a repaint. Returns
    // CurColor. Throws CursorPosError when FollowMouse is on and the cursor cannot be read.
    TColor pickColor(bool Force);

    // The paint steps before the final copy: grid, then hi-lite, drawn into ZoomBitmap. Drawing
    // them again without a new capture changes nothing.
    void paintOverlays();

    // Size of the enlarged picture of the last capture ((w + M) x (h + M) of that capture's control
    // size and magnification); 0 x 0 before the first.
    int pictureWidth() const { return zoomGeometry_.pictureWidth; }
    int pictureHeight() const { return zoomGeometry_.pictureHeight; }
    // The part of the picture, overlays included, whose top-left is (left, top), drawn into all of
    // `into`: the pixels ZoomBitmap shows after paintOverlays, made straight where they are wanted
    // (a window's picture) instead of being copied there from ZoomBitmap, and opaque (0xffRRGGBB).
    void renderPicture(Bitmap32& into, int left, int top) const;

    // The screen rectangle whose pixels make the picture, for the point rectangle R
    // (point ± half the control's size).
    TRect captureRect(const TRect& R) const;

    // Colour of the pointSize × pointSize block centred on (cx, cy) of bitmap: one pixel, or the
    // channel averages of 3 × 3 or 5 × 5 truncated. The block must lie inside the bitmap.
    static TColor SampleBlock(const Bitmap32& bitmap, int cx, int cy, int pointSize);

private:
    TPoint takePoint();
    void captureScreen(const TRect& R);
    void drawEnlarged(Bitmap32& into, int left, int top, const Bitmap32& source) const;
    // `alpha` is or-ed into the pens' pixels.
    void drawOverlays(Bitmap32& into, int left, int top, std::uint32_t alpha) const;

    ScreenSource& screen_;
    int width_ = 0;
    int height_ = 0;
    bool visible_ = true;

    int magnification_ = 0;
    int pointSize_ = 1;
    bool hiLite_ = false;
    TColor hiLiteColor_ = 0;
    bool grid_ = false;
    TColor gridColor_ = 0;
    TColor curColor_ = 0;
    bool smooth_ = false;
    bool captureOpaque_ = false;
    bool followMouse_ = true;
    bool fourK_ = false;
    int offsetX_ = 0;
    int offsetY_ = 0;

    TPoint lastPoint_;
    int cellsAcross_ = 0;
    int cellsDown_ = 0;
    bool cellsValid_ = false;
    struct ZoomGeometry {
        int magnification = 0;
        int cellsAcross = 0;
        int cellsDown = 0;
        int pointSize = 1;
        int pictureWidth = 0;
        int pictureHeight = 0;
        bool smooth = false;
    };
    ZoomGeometry zoomGeometry_; // what the last capture is to be enlarged with
    mutable Bitmap32 zoomBitmap_;
    mutable bool zoomBitmapStale_ = false; // a capture came after zoomBitmap_ was made
    mutable Bitmap32 opaqueCapture_;       // capture_ with the alpha a window's picture wants
    mutable bool opaqueCaptureStale_ = false;
    // Reused from capture to capture so a moving cursor costs no allocation.
    Bitmap32 capture_;
    Bitmap32 sampleBlock_;
};

} // namespace tintara
