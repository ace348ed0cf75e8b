#include "raster/Bitmap32.h"

#include <algorithm>

namespace tintara {

void Bitmap32::setSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    // assign() keeps the capacity, so the magnifier's bitmaps stop allocating once they have
    // reached the largest size they are given.
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
    external_ = nullptr;
    width_ = width;
    height_ = height;
    stride_ = width;
}

Bitmap32 Bitmap32::over(std::uint32_t* bits, int width, int height, std::ptrdiff_t stride)
{
    Bitmap32 b;
    if (bits == nullptr || width <= 0 || height <= 0 || stride < width)
        return b;
    b.external_ = bits;
    b.width_ = width;
    b.height_ = height;
    b.stride_ = stride;
    return b;
}

void Bitmap32::fill(std::uint32_t p)
{
    for (int y = 0; y < height_; ++y)
        std::fill_n(scanLine(y), width_, p);
}

} // namespace tintara
