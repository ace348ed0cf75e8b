// The fake desktop stands in for the screen in every widget test and benchmark, so its capture
// must agree pixel for pixel with the screen it shows, and its cursor must obey the same bounds
// as a real desktop's.
#include "platform/FakePlatform.h"

#include <gtest/gtest.h>

#include <climits>

namespace tintara {
namespace {

// Every pixel distinct, so an off-by-one in the copy shows.
TColor patternAt(int x, int y)
{
    return rgbColor(x & 0xFF, y & 0xFF, (x >> 8) | ((y >> 8) << 4));
}

class FakeScreen : public testing::Test {
protected:
    FakeScreen() : fake(300, 200)
    {
        for (int y = 0; y < fake.screenHeight(); ++y)
            for (int x = 0; x < fake.screenWidth(); ++x)
                fake.setScreenPixel(x, y, patternAt(x, y));
    }
    FakePlatform fake;
};

TEST_F(FakeScreen, CaptureCopiesTheScreenAndLeavesOffScreenPixelsBlack)
{
    struct Case {
        int left, top, width, height;
    } const cases[] = {
        {10, 20, 28, 12},        // inside
        {0, 0, 300, 200},        // the whole screen
        {-5, -3, 28, 12},        // across the top-left corner
        {290, 195, 28, 12},      // across the bottom-right corner
        {-10, -10, 320, 220},    // larger than the screen on every side
        {300, 0, 8, 8},          // just right of the screen
        {-8, 200, 8, 8},         // below-left, touching nothing
        {INT_MAX - 4, 10, 8, 8}, // would wrap round with 32-bit arithmetic
        {INT_MIN, INT_MIN, 16, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "capture at " << c.left << "," << c.top << " " << c.width << "x"
                                        << c.height);
        Bitmap32 into(c.width, c.height);
        into.fill(0x123456); // stale content must not survive
        fake.capture(c.left, c.top, into, false);
        int wrong = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const long long sx = static_cast<long long>(c.left) + x;
                const long long sy = static_cast<long long>(c.top) + y;
                const bool on = sx >= 0 && sy >= 0 && sx < 300 && sy < 200;
                const std::uint32_t want =
                    on ? pixelFromColor(patternAt(static_cast<int>(sx), static_cast<int>(sy))) : 0;
                wrong += into.pixel(x, y) != want;
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(FakeScreen, CaptureIsCountedAndRecorded)
{
    Bitmap32 into(28, 12);
    fake.capture(5, 6, into, false);
    fake.capture(7, 8, into, true);
    EXPECT_EQ(fake.captureCount(), 2);
    EXPECT_EQ(fake.lastCapture().left, 7);
    EXPECT_EQ(fake.lastCapture().top, 8);
    EXPECT_EQ(fake.lastCapture().width, 28);
    EXPECT_EQ(fake.lastCapture().height, 12);
    EXPECT_TRUE(fake.lastCapture().opaque);
    fake.resetCaptureCount();
    EXPECT_EQ(fake.captureCount(), 0);
}

TEST(FakePlatform, PaintingIsClippedAndColoursKeepTheirChannels)
{
    FakePlatform fake(100, 50);
    EXPECT_EQ(fake.screenPixel(0, 0), clBlack);
    fake.fillRect({90, 40, 200, 200}, rgbColor(1, 2, 3));
    fake.fillRect({-20, -20, 1, 1}, clWhite);
    fake.fillRect({30, 30, 20, 40}, clWhite); // empty: right < left
    fake.setScreenPixel(100, 0, clWhite);     // off screen: ignored
    fake.setScreenPixel(-1, 5, clWhite);
    EXPECT_EQ(fake.screenPixel(0, 0), clWhite);
    EXPECT_EQ(fake.screenPixel(1, 1), clBlack);
    EXPECT_EQ(fake.screenPixel(89, 39), clBlack);
    EXPECT_EQ(fake.screenPixel(90, 40), rgbColor(1, 2, 3));
    EXPECT_EQ(fake.screenPixel(99, 49), rgbColor(1, 2, 3));
    EXPECT_EQ(fake.screenPixel(100, 49), clBlack);
    EXPECT_EQ(fake.screenPixel(25, 35), clBlack);
    // The captured bitmap holds 0x00RRGGBB, as the magnifier reads it.
    Bitmap32 one(1, 1);
    fake.capture(95, 45, one, false);
    EXPECT_EQ(one.pixel(0, 0), 0x010203u);

    fake.fillScreen(clLime);
    EXPECT_EQ(fake.screenPixel(99, 0), clLime);
    fake.setScreenSize(40, 30);
    EXPECT_EQ(fake.screenWidth(), 40);
    EXPECT_EQ(fake.screenPixel(0, 0), clBlack);
}

TEST(FakePlatform, CursorStaysOnTheScreenAndInsideTheConfinement)
{
    FakePlatform fake(1920, 1080);
    struct Move {
        int x, y;
        TPoint expected;
    };
    for (const Move& m : {Move{100, 40, {100, 40}}, Move{-1, 5, {0, 5}}, Move{5000, -7, {1919, 0}},
                          Move{1920, 1080, {1919, 1079}}, Move{INT_MIN, INT_MAX, {0, 1079}}}) {
        fake.setCursorPos(m.x, m.y);
        TPoint p{-99, -99};
        ASSERT_TRUE(fake.cursorPos(p));
        EXPECT_EQ(p, m.expected) << "moved to " << m.x << "," << m.y;
    }

    fake.setCursorPos(10, 10);
    fake.confineCursor({100, 200, 150, 260}); // the cursor outside is pulled in at once
    EXPECT_EQ(fake.cursor(), (TPoint{100, 200}));
    ASSERT_TRUE(fake.confineRect().has_value());
    EXPECT_EQ(*fake.confineRect(), (TRect{100, 200, 150, 260}));
    fake.setCursorPos(500, 500); // right and bottom are exclusive
    EXPECT_EQ(fake.cursor(), (TPoint{149, 259}));
    fake.setCursorPos(120, 230);
    EXPECT_EQ(fake.cursor(), (TPoint{120, 230}));

    fake.releaseCursor();
    EXPECT_FALSE(fake.confineRect().has_value());
    fake.setCursorPos(500, 500);
    EXPECT_EQ(fake.cursor(), (TPoint{500, 500}));
    EXPECT_EQ(fake.confineCalls(), 1);
    EXPECT_EQ(fake.releaseCalls(), 1);

    fake.setScreenSize(320, 240); // a smaller screen takes the cursor along
    EXPECT_EQ(fake.cursor(), (TPoint{319, 239}));
}

TEST(FakePlatform, FailingCursorLeavesThePointAlone)
{
    FakePlatform fake;
    fake.setCursorPos(7, 8);
    fake.setCursorPosFails(true);
    TPoint p{-1, -2};
    EXPECT_FALSE(fake.cursorPos(p));
    EXPECT_EQ(p, (TPoint{-1, -2}));
    fake.setCursorPos(9, 9); // the cursor still moves; only reading it fails
    fake.setCursorPosFails(false);
    ASSERT_TRUE(fake.cursorPos(p));
    EXPECT_EQ(p, (TPoint{9, 9}));
}

TEST(FakePlatform, RecordsForegroundQueriesAndOpenedUrls)
{
    FakePlatform fake;
    EXPECT_TRUE(fake.isForeground(42));
    fake.setForeground(false);
    EXPECT_FALSE(fake.isForeground(43));
    EXPECT_EQ(fake.lastForegroundQuery(), 43u);
    fake.openUrl("https://example.invalid/a");
    fake.openUrl("https://example.invalid/b");
    EXPECT_EQ(fake.openedUrls(), (std::vector<std::string>{"https://example.invalid/a", "https://example.invalid/b"}));
}

} // namespace
} // namespace tintara
