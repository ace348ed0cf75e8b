#include "raster/Raster.h"
#include "raster/Bitmap32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tintara {
namespace {

// A pixel that tells where it came from.
std::uint32_t tag(int x, int y)
{
    return 0x010000u * static_cast<std::uint32_t>(x + 1) + static_cast<std::uint32_t>(y + 1);
}

Bitmap32 tagged(int w, int h)
{
    Bitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, tag(x, y));
    return b;
}

Bitmap32 filled(int w, int h, std::uint32_t p)
{
    Bitmap32 b(w, h);
    b.fill(p);
    return b;
}

int red(std::uint32_t p)
{
    return static_cast<int>((p >> 16) & 0xFF);
}

TEST(Bitmap32, SizeRules)
{
    Bitmap32 b(-3, 4);
    EXPECT_EQ(b.width(), 0);
    EXPECT_EQ(b.height(), 4);
    EXPECT_TRUE(b.empty());

    b.setSize(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(b.pixel(x, y), 0u) << "a new size starts black";
    b.fill(0x123456);
    const std::uint32_t* before = b.bits();
    b.setSize(3, 2);
    EXPECT_EQ(b.bits(), before);
    EXPECT_EQ(b.pixel(2, 1), 0x123456u) << "the same size again keeps the pixels";

    b.setSize(3, 1);
    EXPECT_EQ(b.pixel(2, 0), 0u);
}

TEST(Bitmap32, ResizingBackAndForthKeepsItsMemory)
{
    Bitmap32 b(40, 30);
    const std::uint32_t* mem = b.bits();
    for (int i = 0; i < 5; ++i) {
        b.setSize(7, 3);
        EXPECT_EQ(b.bits(), mem);
        b.setSize(40, 30);
        EXPECT_EQ(b.bits(), mem);
        b.setSize(30, 40);
        EXPECT_EQ(b.bits(), mem);
    }
    EXPECT_EQ(b.scanLine(1), mem + 30);
}

TEST(Bitmap32, AViewOverOtherPixelsDrawsThereAndNowhereElse)
{
    // A 6 x 4 view at (3, 2) of a 12 x 8 picture.
    Bitmap32 picture = filled(12, 8, 0x777777);
    Bitmap32 view = Bitmap32::over(picture.scanLine(2) + 3, 6, 4, picture.stride());
    ASSERT_EQ(view.width(), 6);
    ASSERT_EQ(view.stride(), 12);
    view.fill(0x111111);
    stretchCopy(view, {-1, -1, 7, 7}, {0, 0, 6, 4}, tagged(2, 2), {0, 0, 2, 2}); // x4
    drawOutlineRect(view, 4, 0, 9, 9, 0x222222);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 12; ++x) {
            const int vx = x - 3, vy = y - 2;
            std::uint32_t want = 0x777777;
            if (vx >= 0 && vx < 6 && vy >= 0 && vy < 4)
                want = vx == 4 || (vy == 0 && vx > 4) ? 0x222222 : tag((vx + 1) / 4, (vy + 1) / 4);
            ASSERT_EQ(picture.pixel(x, y), want) << x << "," << y;
        }
    }
    // Given a size, it has pixels of its own.
    view.setSize(2, 2);
    EXPECT_EQ(view.stride(), 2);
    view.fill(0x333333);
    EXPECT_EQ(picture.pixel(3, 2), tag(0, 0));
    EXPECT_TRUE(Bitmap32::over(nullptr, 4, 4, 4).empty());
    EXPECT_TRUE(Bitmap32::over(picture.bits(), 13, 1, 12).empty()) << "rows overlapping";
}

TEST(Bitmap32, PixelAndColourLayoutsConvert)
{
    EXPECT_EQ(pixelFromColor(rgbColor(0x12, 0x34, 0x56)), 0x123456u);
    EXPECT_EQ(colorFromPixel(0x123456u), rgbColor(0x12, 0x34, 0x56));
}

struct StretchCase {
    TRect src;
    TRect dst;
    TRect clip{0, 0, 40, 40};
};

class NearestStretch : public testing::TestWithParam<StretchCase> {};

// Destination column d (from the destination's left) shows source column srcLeft + d * srcW / dstW;
// rows likewise. For a whole enlargement M that is d div M. Where that falls outside the source
// bitmap, or outside the clip, the destination keeps its pixel.
TEST_P(NearestStretch, FollowsTheMappingRule)
{
    const StretchCase& c = GetParam();
    const Bitmap32 src = tagged(12, 9);
    Bitmap32 dst = filled(40, 40, 0xABCDEF);
    stretchCopy(dst, c.dst, c.clip, src, c.src);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            std::uint32_t want = 0xABCDEF;
            if (PtInRect(c.dst, {x, y}) && PtInRect(c.clip, {x, y})) {
                const int sx = c.src.Left + (x - c.dst.Left) * c.src.width() / c.dst.width();
                const int sy = c.src.Top + (y - c.dst.Top) * c.src.height() / c.dst.height();
                if (sx >= 0 && sx < 12 && sy >= 0 && sy < 9)
                    want = tag(sx, sy);
            }
            ASSERT_EQ(dst.pixel(x, y), want) << "at " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, NearestStretch,
                         testing::Values(StretchCase{{0, 0, 4, 3}, {0, 0, 40, 30}},   // x10
                                         StretchCase{{2, 1, 6, 4}, {3, 5, 11, 11}},   // x2, offsets
                                         StretchCase{{0, 0, 12, 9}, {1, 2, 37, 29}},  // x3
                                         StretchCase{{1, 1, 4, 8}, {0, 0, 7, 17}},    // uneven growth
                                         StretchCase{{0, 0, 12, 9}, {5, 5, 10, 9}},   // reduction
                                         StretchCase{{3, 2, 9, 8}, {10, 20, 16, 26}}, // same size
                                         StretchCase{{0, 0, 12, 1}, {0, 0, 36, 40}},
                                         StretchCase{{-2, 6, 5, 11}, {1, 0, 36, 29}}, // hangs off left, bottom
                                         StretchCase{{8, -3, 15, 9}, {0, 3, 39, 38}}, // uneven, off right, top
                                         StretchCase{{7, 0, 19, 9}, {2, 2, 9, 7}},    // reduction, off right
                                         StretchCase{{0, 0, 5, 5}, {0, 0, 40, 40}},   // x8
                                         StretchCase{{1, 0, 6, 9}, {2, 1, 37, 37}},   // x7, offsets
                                         // x3 and x7, clipped in the middle of runs
                                         StretchCase{{0, 0, 12, 9}, {0, 0, 36, 27}, {4, 1, 31, 20}},
                                         StretchCase{{2, 2, 7, 7}, {1, 1, 36, 36}, {3, 9, 25, 33}}));

TEST(StretchCopy, WritesOnlyInsideClipAndBitmap)
{
    const Bitmap32 src = tagged(4, 4);
    for (Resampler r : {Resampler::NearestNeighbour, Resampler::Mitchell}) {
        Bitmap32 dst = filled(20, 20, 0x777777);
        dst.setResampler(r);
        const TRect clip{5, 6, 13, 9};
        // The destination rectangle hangs off the bitmap's left and bottom edges.
        stretchCopy(dst, {-4, 4, 16, 24}, clip, src, {0, 0, 4, 4});
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                if (!PtInRect(clip, {x, y})) {
                    ASSERT_EQ(dst.pixel(x, y), 0x777777u) << x << "," << y;
                }
        // Inside the clip the nearest-neighbour result is still the unclipped one.
        if (r == Resampler::NearestNeighbour) {
            EXPECT_EQ(dst.pixel(5, 6), tag((5 + 4) / 5, (6 - 4) / 5));
        }
    }
}

TEST(StretchCopy, EmptyRectanglesChangeNothing)
{
    const Bitmap32 src = tagged(4, 4);
    Bitmap32 dst = filled(8, 8, 0x777777);
    stretchCopy(dst, {0, 0, 0, 8}, {0, 0, 8, 8}, src, {0, 0, 4, 4});
    stretchCopy(dst, {0, 0, 8, 8}, {0, 0, 8, 8}, src, {2, 2, 2, 4});
    stretchCopy(dst, {0, 0, 8, 8}, {4, 4, 2, 2}, src, {0, 0, 4, 4});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(dst.pixel(x, y), 0x777777u);
}

TEST(Mitchell, KeepsAFlatColourFlatUpToTheEdges)
{
    for (const TRect dstRect : {TRect{0, 0, 70, 30}, TRect{0, 0, 5, 2}, TRect{0, 0, 13, 29}}) {
        const Bitmap32 src = filled(7, 3, 0x3080F0);
        Bitmap32 dst(dstRect.width(), dstRect.height());
        dst.setResampler(Resampler::Mitchell);
        stretchCopy(dst, dstRect, dstRect, src, {0, 0, 7, 3});
        for (int y = 0; y < dst.height(); ++y)
            for (int x = 0; x < dst.width(); ++x)
                ASSERT_EQ(dst.pixel(x, y), 0x3080F0u) << x << "," << y;
    }
}

TEST(Mitchell, SmoothsAnEnlargedDotSymmetrically)
{
    Bitmap32 src(5, 5);
    src.setPixel(2, 2, 0xFFFFFF);
    Bitmap32 dst(50, 50);
    dst.setResampler(Resampler::Mitchell);
    stretchCopy(dst, {0, 0, 50, 50}, {0, 0, 50, 50}, src, {0, 0, 5, 5});

    const int peak = red(dst.pixel(25, 25));
    EXPECT_GT(peak, 128);
    EXPECT_LT(peak, 255) << "B = 1/3 blurs: the dot does not keep its full brightness";
    int between = 0;
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 50; ++x) {
            const std::uint32_t p = dst.pixel(x, y);
            ASSERT_EQ(p, dst.pixel(49 - x, y));
            ASSERT_EQ(p, dst.pixel(x, 49 - y));
            ASSERT_EQ(p, dst.pixel(y, x));
            ASSERT_LE(red(p), peak);
            if (red(p) > 0 && red(p) < peak)
                ++between;
        }
    }
    EXPECT_GT(between, 100) << "a smooth falloff, not a hard square";
    EXPECT_EQ(dst.pixel(0, 0), 0u) << "beyond the kernel's support";
    EXPECT_EQ(dst.pixel(25, 0), 0u);
}

TEST(Mitchell, OvershootIsClampedAndReductionAverages)
{
    // A hard black/white edge rings below 0 and above 255; the channels must not wrap around.
    Bitmap32 edge(4, 1);
    edge.setPixel(2, 0, 0xFFFFFF);
    edge.setPixel(3, 0, 0xFFFFFF);
    Bitmap32 big(40, 1);
    big.setResampler(Resampler::Mitchell);
    stretchCopy(big, {0, 0, 40, 1}, {0, 0, 40, 1}, edge, {0, 0, 4, 1});
    for (int x = 1; x < 40; ++x)
        EXPECT_GE(red(big.pixel(x, 0)), red(big.pixel(x - 1, 0))) << "no wrapped channel at " << x;
    EXPECT_EQ(big.pixel(0, 0), 0u);
    EXPECT_EQ(big.pixel(39, 0), 0xFFFFFFu);

    // Halving alternate black and white columns gives grey.
    Bitmap32 stripes(16, 2);
    for (int x = 1; x < 16; x += 2)
        for (int y = 0; y < 2; ++y)
            stripes.setPixel(x, y, 0xFFFFFF);
    Bitmap32 half(8, 1);
    half.setResampler(Resampler::Mitchell);
    stretchCopy(half, {0, 0, 8, 1}, {0, 0, 8, 1}, stripes, {0, 0, 16, 2});
    for (int x = 1; x < 7; ++x)
        EXPECT_NEAR(red(half.pixel(x, 0)), 128, 12) << x;
}

TEST(DrawOutlineRect, DrawsTheFourEdgesOnly)
{
    struct Case {
        int x1, y1, x2, y2;
    };
    for (const Case& c :
         {Case{2, 1, 6, 4}, Case{3, 3, 4, 4}, Case{-2, -3, 5, 2}, Case{6, 4, 12, 9}, Case{0, 0, 8, 6}}) {
        Bitmap32 b = filled(8, 6, 0x111111);
        drawOutlineRect(b, c.x1, c.y1, c.x2, c.y2, 0xFF0000);
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool inside = x >= c.x1 && x < c.x2 && y >= c.y1 && y < c.y2;
                const bool edge = inside && (x == c.x1 || x == c.x2 - 1 || y == c.y1 || y == c.y2 - 1);
                ASSERT_EQ(b.pixel(x, y), edge ? 0xFF0000u : 0x111111u)
                    << "rect " << c.x1 << "," << c.y1 << "," << c.x2 << "," << c.y2 << " at " << x << "," << y;
            }
        }
    }
}

TEST(DrawOutlineRect, EmptyOrOffBitmapDrawsNothing)
{
    Bitmap32 b = filled(8, 6, 0x111111);
    drawOutlineRect(b, 4, 2, 4, 5, 0xFF0000);
    drawOutlineRect(b, 4, 2, 2, 5, 0xFF0000);
    drawOutlineRect(b, 20, 2, 30, 5, 0xFF0000);
    drawOutlineRect(b, -10, -10, -2, -2, 0xFF0000);
    drawOutlineRect(b, -10, -10, 100, 100, 0xFF0000); // all four edges outside
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(b.pixel(x, y), 0x111111u);
}

TEST(CopyBitmap, CopiesOneToOneClipped)
{
    const Bitmap32 src = tagged(5, 4);
    struct Case {
        int x, y;
    };
    for (const Case& c : {Case{0, 0}, Case{2, 1}, Case{-3, -2}, Case{5, 4}, Case{8, 0}, Case{-5, 0}}) {
        Bitmap32 dst = filled(7, 5, 0x777777);
        copyBitmap(dst, c.x, c.y, src);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 7; ++x) {
                const int sx = x - c.x, sy = y - c.y;
                const bool from = sx >= 0 && sx < 5 && sy >= 0 && sy < 4;
                ASSERT_EQ(dst.pixel(x, y), from ? tag(sx, sy) : 0x777777u) << c.x << "," << c.y;
            }
        }
    }
}

} // namespace
} // namespace tintara
