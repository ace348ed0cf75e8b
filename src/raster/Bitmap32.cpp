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
    width_ = width;
    height_ = height;
}

void Bitmap32::fill(std::uint32_t p)
{
    std::fill(pixels_.begin(), pixels_.end(), p);
}

} // namespace tintara
