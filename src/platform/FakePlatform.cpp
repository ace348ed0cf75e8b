#include "platform/FakePlatform.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tintara {

FakePlatform::FakePlatform(int screenWidth, int screenHeight)
{
    setScreenSize(screenWidth, screenHeight);
}

void FakePlatform::setScreenSize(int width, int height)
{
    screen_.setSize(width, height);
    screen_.fill(0);
    cursor_ = clampCursor(cursor_.x, cursor_.y);
}

void FakePlatform::fillScreen(TColor color)
{
    screen_.fill(pixelFromColor(color));
}

void FakePlatform::fillRect(const TRect& rect, TColor color)
{
    const int left = std::max(rect.Left, 0);
    const int top = std::max(rect.Top, 0);
    const int right = std::min(rect.Right, screen_.width());
    const int bottom = std::min(rect.Bottom, screen_.height());
    const std::uint32_t p = pixelFromColor(color);
    for (int y = top; y < bottom; ++y)
        std::fill(screen_.scanLine(y) + left, screen_.scanLine(y) + std::max(left, right), p);
}

void FakePlatform::setScreenPixel(int x, int y, TColor color)
{
    if (x >= 0 && y >= 0 && x < screen_.width() && y < screen_.height())
        screen_.setPixel(x, y, pixelFromColor(color));
}

TColor FakePlatform::screenPixel(int x, int y) const
{
    if (x >= 0 && y >= 0 && x < screen_.width() && y < screen_.height())
        return colorFromPixel(screen_.pixel(x, y));
    return clBlack;
}

bool FakePlatform::cursorPos(TPoint& pos)
{
    if (cursorFails_)
        return false;
    pos = cursor_;
    return true;
}

Bitmap32 FakePlatform::presentationSurface(int width, int height)
{
    if (!presents_ || width <= 0 || height <= 0)
        return {};
    if (surface_.width() != width || surface_.height() != height) {
        surface_.setSize(width, height);
        surface_.fill(0xDEADBEEF); // what the caller does not draw shows
    }
    return Bitmap32::over(surface_.bits(), width, height, surface_.stride());
}

bool FakePlatform::present(std::uintptr_t windowId, int x, int y, const TRect* rects, std::size_t count)
{
    if (!presents_)
        return false;
    ++presentCount_;
    lastPresented_.windowId = windowId;
    lastPresented_.x = x;
    lastPresented_.y = y;
    lastPresented_.rects.assign(rects, rects + count);
    return true;
}

void FakePlatform::capture(int left, int top, Bitmap32& into, bool opaque)
{
    ++captureCount_;
    lastCapture_ = {left, top, into.width(), into.height(), opaque};

    // 64-bit bounds: a rectangle near INT_MAX must not wrap round onto the screen.
    const std::int64_t l = left;
    const std::int64_t t = top;
    const std::int64_t x0 = std::max<std::int64_t>(l, 0);
    const std::int64_t y0 = std::max<std::int64_t>(t, 0);
    const std::int64_t x1 = std::min<std::int64_t>(l + into.width(), screen_.width());
    const std::int64_t y1 = std::min<std::int64_t>(t + into.height(), screen_.height());
    if (x0 >= x1 || y0 >= y1) {
        into.fill(0);
        return;
    }
    if (x0 > l || y0 > t || x1 < l + into.width() || y1 < t + into.height())
        into.fill(0);
    const auto dx = static_cast<int>(x0 - l);
    const auto count = static_cast<std::size_t>(x1 - x0);
    for (std::int64_t y = y0; y < y1; ++y)
        std::memcpy(into.scanLine(static_cast<int>(y - t)) + dx, screen_.scanLine(static_cast<int>(y)) + x0,
                    count * sizeof(std::uint32_t));
}

TPoint FakePlatform::clampCursor(int x, int y) const
{
    if (confine_) {
        // The rectangle's right and bottom edges are exclusive, so the last reachable pixel is
        // one before them.
        x = std::max(confine_->Left, std::min(x, confine_->Right - 1));
        y = std::max(confine_->Top, std::min(y, confine_->Bottom - 1));
    }
    x = std::clamp(x, 0, std::max(screen_.width() - 1, 0));
    y = std::clamp(y, 0, std::max(screen_.height() - 1, 0));
    return {x, y};
}

void FakePlatform::setCursorPos(int x, int y)
{
    ++setCursorCalls_;
    cursor_ = clampCursor(x, y);
}

bool FakePlatform::isForeground(std::uintptr_t windowId)
{
    lastForegroundQuery_ = windowId;
    return foreground_;
}

void FakePlatform::confineCursor(const TRect& screenRect)
{
    ++confineCalls_;
    confine_ = screenRect;
    cursor_ = clampCursor(cursor_.x, cursor_.y);
}

void FakePlatform::releaseCursor()
{
    ++releaseCalls_;
    confine_.reset();
}

void FakePlatform::openUrl(const std::string& url)
{
    urls_.push_back(url);
}

} // namespace tintara
