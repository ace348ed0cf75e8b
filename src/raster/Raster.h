#pragma once
// The drawing operations the magnifier needs: stretch copy, 1-pixel outlines, 1:1 copy.
#include "raster/Bitmap32.h"

namespace tintara {

// Copies srcRect of src into dstRect of dst, writing only pixels inside clip (and inside dst),
// replacing them. Same-size rectangles are a plain copy; otherwise dst.resampler() decides:
// nearest-neighbour maps destination column d (counted from dstRect.Left) to source column
// srcRect.Left + d * srcW / dstW (for an integer enlargement M that is d div M), rows likewise;
// Mitchell filters with the Mitchell-Netravali cubic (B = C = 1/3, support 2).
void stretchCopy(Bitmap32& dst, const TRect& dstRect, const TRect& clip, const Bitmap32& src, const TRect& srcRect);

// Outline of the rectangle (x1, y1, x2, y2) with a 1-pixel pen and a clear brush: columns x1 and
// x2 - 1, rows y1 and y2 - 1. Pixels outside the bitmap are skipped.
void drawOutlineRect(Bitmap32& dst, int x1, int y1, int x2, int y2, std::uint32_t pixel);

// Copies all of src 1:1 into dst with its top-left at (x, y), clipped to dst.
void copyBitmap(Bitmap32& dst, int x, int y, const Bitmap32& src);

} // namespace tintara
