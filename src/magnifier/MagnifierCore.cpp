#include "magnifier/MagnifierCore.h"

#include "colormodel/ColorNames.h"
#include "raster/Raster.h"

#include <algorithm>

namespace tintara {

namespace {

// Far beyond any desktop, yet small enough that the rectangle arithmetic around the point cannot
// overflow, whatever offsets the settings file holds.
constexpr long long pointLimit = 1 << 28;

// The alpha byte of an opaque pixel in a window's picture.
constexpr std::uint32_t kOpaque = 0xFF000000u;

int clampCoordinate(long long v)
{
    return static_cast<int>(std::clamp(v, -pointLimit, pointLimit));
}

} // namespace

MagnifierCore::MagnifierCore(ScreenSource& screen) : screen_(screen) {}

void MagnifierCore::setSize(int width, int height)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
}

void MagnifierCore::Resize()
{
    if (magnification_ != 0)
        setMagnification(magnification_);
}

void MagnifierCore::setMagnification(int value)
{
    magnification_ = std::max(value, 1);
    cellsAcross_ = width_ / magnification_;
    cellsDown_ = height_ / magnification_;
    cellsValid_ = true;
    pickColor(true);
}

void MagnifierCore::setPointSize(int value)
{
    pointSize_ = (value == 1 || value == 3 || value == 5) ? value : 1;
    pickColor(true);
}

void MagnifierCore::setHiLite(bool value)
{
    hiLite_ = value;
    pickColor(true);
}

void MagnifierCore::setHiLiteColor(TColor value)
{
    hiLiteColor_ = value;
    pickColor(true);
}

void MagnifierCore::setGrid(bool value)
{
    grid_ = value;
    pickColor(true);
}

void MagnifierCore::setGridColor(TColor value)
{
    gridColor_ = value;
    pickColor(true);
}

void MagnifierCore::setSmooth(bool value)
{
    smooth_ = value;
    pickColor(true);
}

std::uint32_t MagnifierCore::Red() const
{
    return tintara::Red(curColor_);
}

std::uint32_t MagnifierCore::Green() const
{
    return tintara::Green(curColor_);
}

std::uint32_t MagnifierCore::Blue() const
{
    return tintara::Blue(curColor_);
}

bool MagnifierCore::WebSafe() const
{
    return tintara::WebSafe(curColor_);
}

bool MagnifierCore::DarkColor() const
{
    return tintara::DarkColor(curColor_);
}

const char* MagnifierCore::ColorName() const
{
    return tintara::ColorName(curColor_);
}

TPoint MagnifierCore::takePoint()
{
    if (!followMouse_) {
        const TRect b = parentBounds ? parentBounds() : TRect{};
        captureOpaque_ = true;
        return {b.Left + b.width() / 2, b.Top + b.height() / 2};
    }
    TPoint p;
    if (!screen_.cursorPos(p))
        throw CursorPosError();
    long long x = p.x, y = p.y;
    if (fourK_) {
        x *= 2;
        y *= 2;
    }
    return {clampCoordinate(x + offsetX_), clampCoordinate(y + offsetY_)};
}

TColor MagnifierCore::pickColor(bool Force)
{
    if (!cellsValid_ && magnification_ != 0)
        setMagnification(magnification_);
    const TPoint p = takePoint();
    if (p != lastPoint_ || Force) {
        lastPoint_ = p;
        captureScreen({p.x - width_ / 2, p.y - height_ / 2, p.x + width_ / 2, p.y + height_ / 2});
        if (requestRepaint)
            requestRepaint();
    }
    return curColor_;
}

TRect MagnifierCore::captureRect(const TRect& R) const
{
    TRect c;
    c.Left = R.Left + (R.width() - (cellsAcross_ + 1)) / 2;
    c.Top = R.Top + (R.height() - (cellsDown_ + 1)) / 2;
    c.Right = c.Left + cellsAcross_ + 1;
    c.Bottom = c.Top + cellsDown_ + 1;
    return c;
}

void MagnifierCore::captureScreen(const TRect& R)
{
    if (!visible_ || width_ <= 0 || height_ <= 0)
        return;
    const int m = magnification_;
    const int w = R.width(), h = R.height();
    const TRect c = captureRect(R);
    // One cell or less across or down: the magnification exceeds the control, keep what we have.
    if (c.width() <= 1 || c.height() <= 1)
        return;

    capture_.setSize(c.width(), c.height());
    screen_.capture(c.Left, c.Top, capture_, captureOpaque_);

    // With few cells the sampled block can reach past the picture's capture; then the block is
    // read from the screen on its own, so the colour always comes from real screen pixels.
    const int hs = pointSize_ / 2;
    const int cx = lastPoint_.x - c.Left, cy = lastPoint_.y - c.Top;
    if (cx - hs >= 0 && cy - hs >= 0 && cx + hs < c.width() && cy + hs < c.height()) {
        curColor_ = SampleBlock(capture_, cx, cy, pointSize_);
    } else {
        sampleBlock_.setSize(pointSize_, pointSize_);
        screen_.capture(lastPoint_.x - hs, lastPoint_.y - hs, sampleBlock_, captureOpaque_);
        curColor_ = SampleBlock(sampleBlock_, hs, hs, pointSize_);
    }

    // The picture is enlarged when it is painted, straight into the window's picture.
    zoomGeometry_ = {m, cellsAcross_, cellsDown_, pointSize_, w + m, h + m, smooth_};
    zoomBitmapStale_ = true;
    opaqueCaptureStale_ = true;
}

const Bitmap32& MagnifierCore::ZoomBitmap() const
{
    if (zoomBitmapStale_) {
        zoomBitmap_.setSize(zoomGeometry_.pictureWidth, zoomGeometry_.pictureHeight);
        drawEnlarged(zoomBitmap_, 0, 0, capture_);
        zoomBitmapStale_ = false;
    }
    return zoomBitmap_;
}

void MagnifierCore::renderPicture(Bitmap32& into, int left, int top) const
{
    if (zoomGeometry_.magnification <= 0)
        return;
    if (opaqueCaptureStale_) {
        // A window's picture wants 0xffRRGGBB; setting the alpha in the capture's few pixels spares
        // a pass over the enlargement.
        opaqueCapture_.setSize(capture_.width(), capture_.height());
        const std::uint32_t* from = capture_.bits();
        std::uint32_t* to = opaqueCapture_.bits();
        const std::size_t n = static_cast<std::size_t>(capture_.width()) * static_cast<std::size_t>(capture_.height());
        for (std::size_t i = 0; i < n; ++i)
            to[i] = from[i] | kOpaque;
        opaqueCaptureStale_ = false;
    }
    drawEnlarged(into, left, top, opaqueCapture_);
    if (zoomGeometry_.smooth) {
        // The filter makes its pixels from the channels alone.
        for (int y = 0; y < into.height(); ++y) {
            std::uint32_t* row = into.scanLine(y);
            for (int x = 0; x < into.width(); ++x)
                row[x] |= kOpaque;
        }
    }
    drawOverlays(into, left, top, kOpaque);
}

void MagnifierCore::drawEnlarged(Bitmap32& into, int left, int top, const Bitmap32& source) const
{
    const ZoomGeometry& g = zoomGeometry_;
    const int m = g.magnification;
    // Whole cells; the rest, to the picture's edge, lies beyond the control.
    const int across = m * (g.pictureWidth / m), down = m * (g.pictureHeight / m);
    into.setResampler(g.smooth ? Resampler::Mitchell : Resampler::NearestNeighbour);
    stretchCopy(into, {-left, -top, across - left, down - top}, {0, 0, into.width(), into.height()}, source,
                {0, 0, source.width(), source.height()});
}

TColor MagnifierCore::SampleBlock(const Bitmap32& bitmap, int cx, int cy, int pointSize)
{
    if (pointSize != 3 && pointSize != 5)
        return colorFromPixel(bitmap.pixel(cx, cy));
    const int hs = pointSize / 2;
    std::uint32_t red = 0, green = 0, blue = 0;
    for (int dy = -hs; dy <= hs; ++dy) {
        for (int dx = -hs; dx <= hs; ++dx) {
            const TColor c = colorFromPixel(bitmap.pixel(cx + dx, cy + dy));
            red += c & 0xFF;
            green += (c >> 8) & 0xFF;
            blue += (c >> 16) & 0xFF;
        }
    }
    const auto n = static_cast<std::uint32_t>(pointSize * pointSize);
    return red / n + 256 * (green / n) + 65536 * (blue / n);
}

void MagnifierCore::paintOverlays()
{
    ZoomBitmap();
    drawOverlays(zoomBitmap_, 0, 0, 0);
}

void MagnifierCore::drawOverlays(Bitmap32& into, int left, int top, std::uint32_t alpha) const
{
    // The overlays follow the geometry the picture was made with: a setting that could not capture
    // (magnification beyond the control, hidden control) must not draw lines that fit no picture.
    const ZoomGeometry& g = zoomGeometry_;
    if (into.empty() || g.magnification <= 0)
        return;
    const int m = g.magnification;
    auto outline = [&](int x1, int y1, int x2, int y2, std::uint32_t pen) {
        drawOutlineRect(into, x1 - left, y1 - top, x2 - left, y2 - top, pen);
    };
    if (grid_) {
        const std::uint32_t pen = pixelFromColor(gridColor_) | alpha;
        const int ox = (g.cellsAcross / 2) % 2, oy = (g.cellsDown / 2) % 2;
        for (int i = 0; i <= g.cellsAcross / 2; ++i) {
            for (int j = 0; j <= g.cellsDown / 2; ++j) {
                const int x = 2 * i + ox, y = 2 * j + oy;
                outline(x * m, y * m, (x + 1) * m, (y + 1) * m, pen);
            }
        }
    }
    if (hiLite_) {
        const int hs = g.pointSize / 2;
        outline((g.cellsAcross / 2 + 1 - hs) * m - 1, (g.cellsDown / 2 + 1 - hs) * m - 1,
                (g.cellsAcross / 2 + 2 + hs) * m + 1, (g.cellsDown / 2 + 2 + hs) * m + 1,
                pixelFromColor(hiLiteColor_) | alpha);
    }
}

} // namespace tintara
