#pragma once
// A 32-bit bitmap for the magnifier: pixels are 0x00RRGGBB (the row layout of QImage::Format_RGB32),
// so a widget can show one without converting it.
#include "colormodel/TColor.h"

#include <cstdint>
#include <vector>

namespace tintara {

enum class Resampler { NearestNeighbour, Mitchell };

class Bitmap32 {
public:
    Bitmap32() = default;
    Bitmap32(int width, int height) { setSize(width, height); }

    // Negative sizes become 0. Setting the size it already has does nothing (no reallocation);
    // a new size leaves the pixels black. Growing never shrinks the allocation back, so a
    // bitmap resized back and forth does not allocate again.
    void setSize(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }

    std::uint32_t* scanLine(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* scanLine(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    std::uint32_t* bits() { return pixels_.data(); }
    const std::uint32_t* bits() const { return pixels_.data(); }

    // Unchecked access; callers stay inside 0..width-1, 0..height-1.
    std::uint32_t pixel(int x, int y) const { return scanLine(y)[x]; }
    void setPixel(int x, int y, std::uint32_t p) { scanLine(y)[x] = p; }
    void fill(std::uint32_t p);

    Resampler resampler() const { return resampler_; }
    void setResampler(Resampler r) { resampler_ = r; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
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
