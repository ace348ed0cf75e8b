#include "magnifier/MagnifierCore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace tintara {
namespace {

// A screen made of memory: a settable cursor and a log of every capture.
class TestScreen : public ScreenSource {
public:
    struct Capture {
        int left, top, width, height;
        bool opaque;
    };

    TestScreen(int w, int h) : pixels(w, h)
    {
        // Every pixel tells where it is, so a sample or a zoomed cell names its source.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                pixels.setPixel(x, y, at(x, y));
    }
    static std::uint32_t at(int x, int y) { return 0x010000u * (x % 250) + 0x100u * (y % 250) + 0x40u; }
    TColor color(int x, int y) const { return colorFromPixel(pixel(x, y)); }
    std::uint32_t pixel(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < pixels.width() && y < pixels.height() ? pixels.pixel(x, y) : 0u;
    }

    bool cursorPos(TPoint& pos) override
    {
        if (fails)
            return false;
        pos = cursor;
        return true;
    }
    void capture(int left, int top, Bitmap32& into, bool opaque) override
    {
        captures.push_back({left, top, into.width(), into.height(), opaque});
        for (int y = 0; y < into.height(); ++y)
            for (int x = 0; x < into.width(); ++x)
                into.setPixel(x, y, pixel(left + x, top + y));
    }

    Bitmap32 pixels;
    TPoint cursor{400, 300};
    bool fails = false;
    std::vector<Capture> captures;
};

constexpr TColor kHiLite = 0x000080; // maroon
constexpr TColor kGrid = 0x800000;   // navy

class MagnifierCoreTest : public testing::Test {
protected:
    MagnifierCoreTest() : screen(800, 600), mag(screen)
    {
        mag.requestRepaint = [this] { ++repaints; };
        mag.setSize(273, 116);
    }

    // The main window's sequence: designed values in table order.
    void designed(int magnification = 10)
    {
        mag.setMagnification(magnification);
        mag.setPointSize(1);
        mag.setHiLite(true);
        mag.setHiLiteColor(kHiLite);
        mag.setGrid(false);
        mag.setGridColor(kGrid);
        mag.setCurColor(clWhite);
    }

    std::vector<std::uint32_t> zoomPixels() const
    {
        const Bitmap32& z = mag.ZoomBitmap();
        return {z.bits(), z.bits() + static_cast<std::size_t>(z.width()) * z.height()};
    }

    TestScreen screen;
    MagnifierCore mag;
    int repaints = 0;
};

TEST_F(MagnifierCoreTest, FreshControlDefaults)
{
    EXPECT_TRUE(mag.FollowMouse());
    EXPECT_EQ(mag.PointSize(), 1);
    EXPECT_FALSE(mag.CellsValid());
    EXPECT_TRUE(mag.ZoomBitmap().empty());
    EXPECT_EQ(mag.Magnification(), 0);
    EXPECT_EQ(mag.HiLiteColor(), 0u);
    EXPECT_EQ(mag.GridColor(), 0u);
    EXPECT_EQ(mag.CurColor(), 0u);
    EXPECT_EQ(mag.LastPoint(), (TPoint{0, 0}));
    EXPECT_FALSE(mag.HiLite() || mag.Grid() || mag.Smooth() || mag.CaptureOpaque() || mag.FourK());
    EXPECT_EQ(mag.OffsetX(), 0);
    EXPECT_EQ(mag.OffsetY(), 0);
    EXPECT_TRUE(screen.captures.empty()) << "constructing captures nothing";
}

TEST_F(MagnifierCoreTest, MainWindowGeometryAtMagnificationTen)
{
    const TPoint p = screen.cursor;
    designed();
    EXPECT_EQ(mag.CurColor(), clWhite) << "the designed CurColor is a plain store";
    mag.pickColor(true);
    EXPECT_EQ(mag.CellsAcross(), 27);
    EXPECT_EQ(mag.CellsDown(), 11);
    EXPECT_TRUE(mag.CellsValid());
    EXPECT_EQ(mag.LastPoint(), p);

    // R = (p.x - 136, p.y - 58, p.x + 136, p.y + 58); C is 28 x 12 with the cursor at column 14, row 6.
    const TRect c = mag.captureRect({p.x - 136, p.y - 58, p.x + 136, p.y + 58});
    EXPECT_EQ(c, (TRect{p.x - 14, p.y - 6, p.x + 14, p.y + 6}));
    ASSERT_FALSE(screen.captures.empty());
    const TestScreen::Capture& last = screen.captures.back();
    EXPECT_EQ(last.left, c.Left);
    EXPECT_EQ(last.top, c.Top);
    EXPECT_EQ(last.width, 28);
    EXPECT_EQ(last.height, 12);
    EXPECT_FALSE(last.opaque);
    EXPECT_EQ(mag.CurColor(), screen.color(c.Left + 14, c.Top + 6));

    // (w + M) x (h + M) with w = 272; each screen pixel a 10 x 10 block from (0, 0), black past D.
    const Bitmap32& z = mag.ZoomBitmap();
    ASSERT_EQ(z.width(), 282);
    ASSERT_EQ(z.height(), 126);
    for (int y = 0; y < 126; ++y) {
        for (int x = 0; x < 282; ++x) {
            const std::uint32_t want = x < 280 && y < 120 ? screen.pixel(c.Left + x / 10, c.Top + y / 10) : 0u;
            ASSERT_EQ(z.pixel(x, y), want) << x << "," << y;
        }
    }
    EXPECT_EQ(z.pixel(140, 60), pixelFromColor(mag.CurColor())) << "the cursor's cell starts at 140, 60";

    // Hi-lite at PointSize 1: columns 139 and 150, rows 59 and 70.
    mag.paintOverlays();
    const std::uint32_t pen = pixelFromColor(kHiLite);
    for (int i = 59; i <= 70; ++i) {
        EXPECT_EQ(z.pixel(139, i), pen);
        EXPECT_EQ(z.pixel(150, i), pen);
    }
    for (int i = 139; i <= 150; ++i) {
        EXPECT_EQ(z.pixel(i, 59), pen);
        EXPECT_EQ(z.pixel(i, 70), pen);
    }
    EXPECT_NE(z.pixel(138, 65), pen);
    EXPECT_NE(z.pixel(151, 65), pen);
    EXPECT_NE(z.pixel(145, 58), pen);
    EXPECT_NE(z.pixel(145, 71), pen);
    EXPECT_EQ(z.pixel(140, 60), pixelFromColor(mag.CurColor()));
}

TEST_F(MagnifierCoreTest, HiLiteFramesTheSampledBlock)
{
    designed();
    struct Case {
        int pointSize, first, last; // outlined columns, relative to the cursor cell's 140
    };
    for (const Case& c : {Case{3, 129, 160}, Case{5, 119, 170}}) {
        mag.setPointSize(c.pointSize);
        mag.paintOverlays();
        const Bitmap32& z = mag.ZoomBitmap();
        const std::uint32_t pen = pixelFromColor(kHiLite);
        EXPECT_EQ(z.pixel(c.first, 65), pen) << c.pointSize;
        EXPECT_EQ(z.pixel(c.last, 65), pen) << c.pointSize;
        EXPECT_NE(z.pixel(c.first + 1, 65), pen) << c.pointSize;
        EXPECT_NE(z.pixel(c.last + 1, 65), pen) << c.pointSize;
        EXPECT_EQ(z.pixel(145, c.first - 80), pen) << "rows are the same distance out";
    }
}

TEST_F(MagnifierCoreTest, GridBoxesOneCellInEachTwoByTwoGroup)
{
    designed();
    mag.setHiLite(false);
    mag.setGrid(true);
    mag.paintOverlays();
    const Bitmap32& z = mag.ZoomBitmap();
    const std::uint32_t pen = pixelFromColor(kGrid);
    // 27 x 11 cells: the boxed cells have odd column and odd row, so the cursor cell (14, 6) is not
    // boxed and its diagonal neighbours are.
    auto boxed = [&](int col, int row) {
        const int x = col * 10, y = row * 10;
        return z.pixel(x, y + 5) == pen && z.pixel(x + 9, y + 5) == pen && z.pixel(x + 5, y) == pen &&
               z.pixel(x + 5, y + 9) == pen && z.pixel(x + 5, y + 5) != pen;
    };
    auto touched = [&](int col, int row) {
        for (int y = row * 10 + 1; y < row * 10 + 9; ++y)
            for (int x = col * 10 + 1; x < col * 10 + 9; ++x)
                if (z.pixel(x, y) == pen)
                    return true;
        return z.pixel(col * 10 + 5, row * 10) == pen || z.pixel(col * 10, row * 10 + 5) == pen;
    };
    for (const auto& [col, row] : {std::pair{13, 5}, {15, 5}, {13, 7}, {15, 7}, {1, 1}, {27, 11}})
        EXPECT_TRUE(boxed(col, row)) << col << "," << row;
    for (const auto& [col, row] : {std::pair{14, 6}, {14, 5}, {13, 6}, {0, 0}, {2, 1}, {1, 2}})
        EXPECT_FALSE(touched(col, row)) << col << "," << row;

    // Overlays drawn twice are the same picture.
    const std::vector<std::uint32_t> once = zoomPixels();
    mag.paintOverlays();
    EXPECT_EQ(zoomPixels(), once);
}

TEST_F(MagnifierCoreTest, FourKDoublesBeforeTheOffsets)
{
    designed();
    mag.setFourK(true);
    mag.setOffsetX(5);
    screen.cursor = {100, 40};
    mag.pickColor(false);
    EXPECT_EQ(mag.LastPoint(), (TPoint{205, 80}));
    EXPECT_EQ(mag.CurColor(), screen.color(205, 80));

    mag.setFourK(false);
    mag.setOffsetY(-7);
    mag.pickColor(false);
    EXPECT_EQ(mag.LastPoint(), (TPoint{105, 33}));
}

TEST_F(MagnifierCoreTest, AbsurdOffsetsStayDefined)
{
    designed();
    mag.setFourK(true);
    mag.setOffsetX(INT_MAX);
    mag.setOffsetY(INT_MIN);
    screen.cursor = {INT_MAX / 2 + 5, INT_MIN / 2 - 5};
    mag.pickColor(false);
    EXPECT_GT(mag.LastPoint().x, 1 << 20);
    EXPECT_LT(mag.LastPoint().y, -(1 << 20));
    EXPECT_EQ(mag.CurColor(), clBlack) << "off the screen reads black";
}

TEST_F(MagnifierCoreTest, CursorAtRestCapturesNothingUntilForced)
{
    designed();
    const std::size_t captures = screen.captures.size();
    const int paints = repaints;
    const TColor before = mag.CurColor();
    screen.pixels.fill(0xFFFFFF); // the screen changes under the still cursor
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(mag.pickColor(false), before);
    EXPECT_EQ(screen.captures.size(), captures);
    EXPECT_EQ(repaints, paints);

    mag.setGridColor(0x00FF00); // any capturing setter
    EXPECT_EQ(screen.captures.size(), captures + 1);
    EXPECT_EQ(repaints, paints + 1);
    EXPECT_EQ(mag.CurColor(), clWhite);

    screen.cursor.x += 1;
    mag.pickColor(false);
    EXPECT_EQ(screen.captures.size(), captures + 2);
    mag.pickColor(true);
    EXPECT_EQ(screen.captures.size(), captures + 3);
}

TEST_F(MagnifierCoreTest, EverySetterOfTheFirstGroupCapturesAndPlainStoresDoNot)
{
    designed();
    std::size_t n = screen.captures.size();
    for (auto set : std::vector<void (*)(MagnifierCore&)>{
             [](MagnifierCore& m) { m.setMagnification(6); }, [](MagnifierCore& m) { m.setPointSize(3); },
             [](MagnifierCore& m) { m.setHiLite(false); }, [](MagnifierCore& m) { m.setHiLiteColor(1); },
             [](MagnifierCore& m) { m.setGrid(true); }, [](MagnifierCore& m) { m.setGridColor(2); },
             [](MagnifierCore& m) { m.setSmooth(true); }, [](MagnifierCore& m) { m.setMagnification(6); }}) {
        set(mag);
        EXPECT_EQ(screen.captures.size(), ++n);
    }
    mag.setCurColor(0x123456);
    mag.setCaptureOpaque(true);
    mag.setFollowMouse(true);
    mag.setFourK(true);
    mag.setOffsetX(3);
    mag.setOffsetY(4);
    EXPECT_EQ(screen.captures.size(), n);
    EXPECT_EQ(mag.CurColor(), 0x123456u);
}

TEST_F(MagnifierCoreTest, PointSizeOtherThanOneThreeFiveStoresOne)
{
    for (int v : {1, 3, 5, 2, 4, 0, -3, 6, 7}) {
        mag.setPointSize(v);
        EXPECT_EQ(mag.PointSize(), v == 3 || v == 5 ? v : 1) << v;
    }
}

TEST(SampleBlock, AveragesTruncateChannelByChannel)
{
    Bitmap32 b(7, 7);
    b.fill(pixelFromColor(rgbColor(11, 200, 31)));
    b.setPixel(3, 3, pixelFromColor(rgbColor(10, 199, 0)));
    // One pixel of red 10 and eight of red 11: 98 / 9 = 10.9 truncates to 10.
    EXPECT_EQ(MagnifierCore::SampleBlock(b, 3, 3, 3), rgbColor(10, 199, 27));
    EXPECT_EQ(MagnifierCore::SampleBlock(b, 3, 3, 1), rgbColor(10, 199, 0));
    // 5 x 5: (24 * 11 + 10) / 25 = 10.96 -> 10; (24 * 31) / 25 = 29.76 -> 29.
    EXPECT_EQ(MagnifierCore::SampleBlock(b, 3, 3, 5), rgbColor(10, 199, 29));
    EXPECT_EQ(MagnifierCore::SampleBlock(b, 1, 1, 3), rgbColor(11, 200, 31));
}

TEST_F(MagnifierCoreTest, PointSizeThreeThroughPickColor)
{
    designed();
    screen.pixels.fill(pixelFromColor(rgbColor(11, 0, 0)));
    screen.pixels.setPixel(screen.cursor.x, screen.cursor.y, pixelFromColor(rgbColor(10, 0, 0)));
    mag.setPointSize(3);
    EXPECT_EQ(mag.Red(), 10u);
    EXPECT_EQ(mag.CurColor(), rgbColor(10, 0, 0));
}

TEST_F(MagnifierCoreTest, BlockReachingPastAFewCellsStillReadsTheScreen)
{
    // At magnification 24 a 116-pixel-high control has 4 cells down: a 5 x 5 block would reach past
    // the picture's capture. The picture keeps its own capture; the block is read on its own.
    designed(24);
    ASSERT_EQ(mag.CellsDown(), 4);
    const TPoint p = screen.cursor;
    Bitmap32& s = screen.pixels;
    s.fill(pixelFromColor(rgbColor(0, 0, 0)));
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            s.setPixel(p.x + dx, p.y + dy, pixelFromColor(rgbColor(50, 100, 5)));
    s.setPixel(p.x + 2, p.y + 2, pixelFromColor(rgbColor(75, 100, 5))); // a corner of the 5 x 5 block
    screen.captures.clear();
    mag.setPointSize(5);
    EXPECT_EQ(mag.CurColor(), rgbColor(51, 100, 5));

    ASSERT_EQ(screen.captures.size(), 2u);
    const TestScreen::Capture& picture = screen.captures[0];
    EXPECT_EQ(picture.width, mag.CellsAcross() + 1);
    EXPECT_EQ(picture.height, mag.CellsDown() + 1);
    const TestScreen::Capture& block = screen.captures[1];
    EXPECT_EQ(block.left, p.x - 2);
    EXPECT_EQ(block.top, p.y - 2);
    EXPECT_EQ(block.width, 5);
    EXPECT_EQ(block.height, 5);

    // The picture is still that capture, enlarged.
    const Bitmap32& z = mag.ZoomBitmap();
    for (int y = 0; y < 5 * 24; y += 7)
        for (int x = 0; x < (mag.CellsAcross() + 1) * 24; x += 5)
            ASSERT_EQ(z.pixel(x, y), screen.pixel(picture.left + x / 24, picture.top + y / 24));

    // With room in the capture only one capture is made.
    screen.captures.clear();
    mag.setMagnification(10);
    EXPECT_EQ(screen.captures.size(), 1u);
    EXPECT_EQ(mag.CurColor(), rgbColor(51, 100, 5));
}

TEST_F(MagnifierCoreTest, MagnificationBeyondTheControlKeepsColourAndPicture)
{
    designed();
    mag.setGrid(true);
    mag.paintOverlays();
    const std::vector<std::uint32_t> picture = zoomPixels();
    const TColor colour = mag.CurColor();
    screen.pixels.fill(0xFFFFFF);
    const std::size_t captures = screen.captures.size();
    const int paints = repaints;

    mag.setMagnification(117);
    EXPECT_EQ(mag.CellsDown(), 0);
    EXPECT_EQ(mag.CellsAcross(), 2);
    EXPECT_EQ(screen.captures.size(), captures);
    EXPECT_EQ(repaints, paints + 1) << "the repaint is still requested";
    mag.paintOverlays();
    EXPECT_EQ(mag.CurColor(), colour);
    EXPECT_EQ(zoomPixels(), picture);

    mag.setMagnification(300); // wider than the control too
    mag.paintOverlays();
    EXPECT_EQ(zoomPixels(), picture);
}

TEST_F(MagnifierCoreTest, HiddenOrAreaLessControlCapturesNothing)
{
    designed();
    const TColor colour = mag.CurColor();
    screen.pixels.fill(0xFFFFFF);
    const std::size_t captures = screen.captures.size();
    mag.setVisible(false);
    const int paints = repaints;
    mag.setHiLite(false);
    EXPECT_EQ(repaints, paints + 1);
    mag.setSize(0, 116);
    mag.Resize();
    EXPECT_EQ(screen.captures.size(), captures);
    EXPECT_EQ(mag.CurColor(), colour);

    mag.setVisible(true);
    mag.pickColor(true);
    EXPECT_EQ(screen.captures.size(), captures);
    mag.setSize(273, 116);
    mag.Resize();
    EXPECT_EQ(screen.captures.size(), captures + 1);
    EXPECT_EQ(mag.CurColor(), clWhite);
}

TEST_F(MagnifierCoreTest, ResizeRecomputesTheCells)
{
    mag.setSize(100, 50);
    mag.Resize();
    EXPECT_TRUE(screen.captures.empty()) << "no magnification yet: nothing to do";
    EXPECT_FALSE(mag.CellsValid());

    mag.setMagnification(6);
    mag.setSize(273, 116);
    EXPECT_EQ(mag.CellsAcross(), 16) << "a size change alone keeps the cells";
    const std::size_t captures = screen.captures.size();
    mag.Resize();
    EXPECT_EQ(mag.CellsAcross(), 45);
    EXPECT_EQ(mag.CellsDown(), 19);
    EXPECT_EQ(screen.captures.size(), captures + 1);
    EXPECT_EQ(mag.ZoomBitmap().width(), 272 + 6);
}

TEST_F(MagnifierCoreTest, ZeroMagnificationIsRaisedToOne)
{
    mag.setMagnification(0);
    EXPECT_EQ(mag.Magnification(), 1);
    EXPECT_EQ(mag.CellsAcross(), 273);
    mag.setMagnification(-4);
    EXPECT_EQ(mag.Magnification(), 1);
    EXPECT_EQ(mag.CurColor(), screen.color(screen.cursor.x, screen.cursor.y));
}

TEST_F(MagnifierCoreTest, UnreadableCursorThrowsAndCapturesNothing)
{
    designed();
    const std::size_t captures = screen.captures.size();
    const TPoint last = mag.LastPoint();
    const int paints = repaints;
    screen.fails = true;
    screen.cursor.x += 10;
    EXPECT_THROW(mag.pickColor(false), CursorPosError);
    EXPECT_THROW(mag.setHiLite(false), std::runtime_error);
    EXPECT_EQ(screen.captures.size(), captures);
    EXPECT_EQ(mag.LastPoint(), last);
    EXPECT_EQ(repaints, paints);

    screen.fails = false;
    mag.pickColor(false);
    EXPECT_EQ(screen.captures.size(), captures + 1);
}

TEST_F(MagnifierCoreTest, WithoutFollowMouseTheParentCentreIsSampledOpaque)
{
    designed();
    mag.parentBounds = [] { return TRect{100, 50, 301, 151}; };
    mag.setFollowMouse(false);
    screen.fails = true; // the cursor is not read at all
    mag.pickColor(false);
    EXPECT_EQ(mag.LastPoint(), (TPoint{200, 100}));
    EXPECT_TRUE(mag.CaptureOpaque());
    EXPECT_TRUE(screen.captures.back().opaque);
    EXPECT_EQ(mag.CurColor(), screen.color(200, 100));
}

TEST_F(MagnifierCoreTest, CaptureOpaqueIsHandedToTheScreen)
{
    designed();
    EXPECT_FALSE(screen.captures.back().opaque);
    mag.setCaptureOpaque(true);
    mag.pickColor(true);
    EXPECT_TRUE(screen.captures.back().opaque);
}

TEST_F(MagnifierCoreTest, SmoothEnlargesWithTheKernel)
{
    designed();
    screen.pixels.fill(0);
    screen.pixels.setPixel(screen.cursor.x, screen.cursor.y, 0xFFFFFF);
    mag.setSmooth(true);
    EXPECT_EQ(mag.ZoomBitmap().resampler(), Resampler::Mitchell);
    EXPECT_EQ(mag.CurColor(), clWhite) << "the sample is the screen's, not the smoothed picture's";
    const Bitmap32& z = mag.ZoomBitmap();
    const std::uint32_t centre = z.pixel(145, 65), edge = z.pixel(140, 65), near = z.pixel(135, 65);
    EXPECT_GT(centre & 0xFF, edge & 0xFF);
    EXPECT_GT(edge & 0xFF, near & 0xFF);
    EXPECT_GT(near & 0xFF, 0u);
    EXPECT_EQ(z.pixel(0, 0), 0u);

    mag.setSmooth(false);
    const Bitmap32& sharp = mag.ZoomBitmap();
    EXPECT_EQ(sharp.resampler(), Resampler::NearestNeighbour);
    EXPECT_EQ(sharp.pixel(140, 65), 0xFFFFFFu);
    EXPECT_EQ(sharp.pixel(139, 65), 0u);
}

TEST_F(MagnifierCoreTest, MovingCursorReusesTheBitmaps)
{
    designed();
    const std::uint32_t* bits = mag.ZoomBitmap().bits();
    for (int i = 0; i < 20; ++i) {
        screen.cursor.x += 1;
        mag.pickColor(false);
    }
    EXPECT_EQ(mag.ZoomBitmap().bits(), bits);
    EXPECT_EQ(mag.CurColor(), screen.color(screen.cursor.x, screen.cursor.y));
}

TEST_F(MagnifierCoreTest, ReadOnlyPropertiesFollowCurColor)
{
    mag.setCurColor(0x00D3D3D3);
    EXPECT_STREQ(mag.ColorName(), "LightGrey");
    mag.setCurColor(rgbColor(51, 102, 255));
    EXPECT_EQ(mag.Red(), 51u);
    EXPECT_EQ(mag.Green(), 102u);
    EXPECT_EQ(mag.Blue(), 255u);
    EXPECT_TRUE(mag.WebSafe());
    EXPECT_FALSE(mag.DarkColor()) << "sum 408 is light";
    EXPECT_STREQ(mag.ColorName(), "");
}

} // namespace
} // namespace tintara
