#pragma once
// A 32-bit bitmap for the magnifier: pixels are 0x00RRGGBB (the row layout of QImage::Format_RGB32),
// so a widget can show one without converting it.
#include "colormodel/TColor.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tintara {

enum class Resampler { NearestNeighbour, Mitchell };

class Bitmap32 {
public:
    Bitmap32() = default;
    Bitmap32(int width, int height) { setSize(width, height); }

    // A bitmap over pixels it does not own, rows `stride` pixels apart: part of a window's picture,
    // say, which drawing into it then draws on. The pixels must outlive it. Given a new size, it
    // becomes a bitmap of its own.
    static Bitmap32 over(std::uint32_t* bits, int width, int height, std::ptrdiff_t stride);

    // Negative sizes become 0. Setting the size it already has does nothing (no reallocation);
    // a new size leaves the pixels black. Growing never shrinks the allocation back, so a
    // bitmap resized back and forth does not allocate again.
    void setSize(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }

    std::uint32_t* scanLine(int y) { return bits() + y * stride_; }
    const std::uint32_t* scanLine(int y) const { return bits() + y * stride_; }
    std::uint32_t* bits() { return external_ ? external_ : pixels_.data(); }
    const std::uint32_t* bits() const { return external_ ? external_ : pixels_.data(); }
    // Pixels from one row to the next: the width, except over pixels of someone else's.
    std::ptrdiff_t stride() const { return stride_; }

    // Unchecked access; callers stay inside 0..width-1, 0..height-1.
    std::uint32_t pixel(int x, int y) const { return scanLine(y)[x]; }
    void setPixel(int x, int y, std::uint32_t p) { scanLine(y)[x] = p; }
    void fill(std::uint32_t p);

    Resampler resampler() const { return resampler_; }
    void setResampler(Resampler r) { resampler_ = r; }

private:
    int width_ = 0;
    int height_ = 0;
    std::ptrdiff_t stride_ = 0;
    std::vector<std::uint32_t> pixels_;
    std::uint32_t* external_ = nullptr;
    Resampler resampler_ = Resampler::NearestNeighbour;
};

constexpr std::uint32_t pixelFromColor(TColor c)
{
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr TColor colorFromPixel(std::uint32_t p)
{
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

} // namespace tintara
