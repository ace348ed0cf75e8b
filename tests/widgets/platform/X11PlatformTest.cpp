// The X11 backend against a real X server (Xvfb started by tests/e2e/harness.py, Qt on xcb):
// known colours on the screen come back exactly, rectangles off the screen come back black, and
// nothing the server refuses ends the process.
#include "platform/X11Platform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>

// Xlib last: its macros (None, Bool, KeyPress, ...) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef Bool // testing::Bool

namespace tintara {
namespace {

void run(const QString& program, const QStringList& args)
{
    ASSERT_EQ(QProcess::execute(program, args), 0) << program.toStdString();
}

// Processes Qt events until the condition holds or two seconds pass.
bool waitFor(const std::function<bool()>& condition)
{
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > 2000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qSleep(5);
    }
    return true;
}

// Windows of one solid colour painted by the server itself, on a connection of the test's own,
// placed exactly (override-redirect: no window manager moves them).
class SolidWindows {
public:
    SolidWindows() : dpy_(XOpenDisplay(nullptr)) {}
    ~SolidWindows()
    {
        if (dpy_)
            XCloseDisplay(dpy_);
    }
    SolidWindows(const SolidWindows&) = delete;
    SolidWindows& operator=(const SolidWindows&) = delete;

    bool ok() const { return dpy_ != nullptr; }

    Window add(int x, int y, int w, int h, unsigned long rgb)
    {
        XSetWindowAttributes a{};
        a.override_redirect = True;
        a.background_pixel = rgb; // TrueColor 24-bit: the pixel is 0xRRGGBB
        const Window win =
            XCreateWindow(dpy_, DefaultRootWindow(dpy_), x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), 0,
                          CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &a);
        XMapRaised(dpy_, win);
        XSync(dpy_, False);
        return win;
    }

    // A window of 32-bit depth (with alpha), or 0 when the server offers no such visual.
    Window addDeep(int x, int y, int w, int h)
    {
        XVisualInfo info{};
        if (!XMatchVisualInfo(dpy_, DefaultScreen(dpy_), 32, TrueColor, &info))
            return 0;
        XSetWindowAttributes a{};
        a.override_redirect = True;
        a.colormap = XCreateColormap(dpy_, DefaultRootWindow(dpy_), info.visual, AllocNone);
        a.border_pixel = 0;
        a.background_pixel = 0xFF000000;
        const Window win = XCreateWindow(dpy_, DefaultRootWindow(dpy_), x, y, static_cast<unsigned>(w),
                                         static_cast<unsigned>(h), 0, 32, InputOutput, info.visual,
                                         CWOverrideRedirect | CWColormap | CWBorderPixel | CWBackPixel, &a);
        XMapRaised(dpy_, win);
        XSync(dpy_, False);
        return win;
    }

    void destroy(Window win)
    {
        XDestroyWindow(dpy_, win);
        XSync(dpy_, False);
    }

    TRect rootRect() const
    {
        Window r = 0;
        int x = 0, y = 0;
        unsigned w = 0, h = 0, b = 0, d = 0;
        XGetGeometry(dpy_, DefaultRootWindow(dpy_), &r, &x, &y, &w, &h, &b, &d);
        return {0, 0, static_cast<int>(w), static_cast<int>(h)};
    }

    TPoint pointer() const
    {
        Window r = 0, c = 0;
        int x = 0, y = 0, wx = 0, wy = 0;
        unsigned m = 0;
        XQueryPointer(dpy_, DefaultRootWindow(dpy_), &r, &c, &x, &y, &wx, &wy, &m);
        return {x, y};
    }

private:
    Display* dpy_;
};

constexpr std::uint32_t kRoot = 0x3366CC;
constexpr std::uint32_t kBox = 0xE01020;

// Expected pixel at a screen point: black off the screen, the box inside it, the root elsewhere.
std::uint32_t expectedAt(long long x, long long y, const TRect& screen, const TRect& box)
{
    if (x < screen.Left || y < screen.Top || x >= screen.Right || y >= screen.Bottom)
        return 0;
    if (x >= box.Left && y >= box.Top && x < box.Right && y < box.Bottom)
        return kBox;
    return kRoot;
}

class X11Capture : public testing::TestWithParam<bool> {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run under tests/e2e/harness.py run -- <this program>";
        windows_ = std::make_unique<SolidWindows>();
        ASSERT_TRUE(windows_->ok());
        run("xsetroot", {"-solid", "#3366cc"});
        windows_->add(box_.Left, box_.Top, box_.width(), box_.height(), kBox);
        screen_ = windows_->rootRect();
    }
    static void TearDownTestSuite() { windows_.reset(); }

    void SetUp() override
    {
        X11Platform::Options o;
        o.useShm = GetParam();
        o.initialCaptureWidth = 64;
        o.initialCaptureHeight = 64;
        platform = std::make_unique<X11Platform>(o);
        ASSERT_TRUE(platform->connected());
        ASSERT_EQ(platform->usingShm(), GetParam());
    }

    // Captures w x h at (left, top) and counts the pixels that differ from the expected screen.
    int wrongPixels(int left, int top, int w, int h)
    {
        Bitmap32 into(w, h);
        into.fill(0x00ABCDEF); // stale content must not survive
        platform->capture(left, top, into, false);
        int wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                wrong += into.pixel(x, y) !=
                         expectedAt(static_cast<long long>(left) + x, static_cast<long long>(top) + y, screen_, box_);
        return wrong;
    }

    std::unique_ptr<X11Platform> platform;
    static inline std::unique_ptr<SolidWindows> windows_;
    static inline TRect screen_;
    static inline const TRect box_{200, 150, 210, 158};
};

TEST_P(X11Capture, ReadsKnownColoursAndBlackOffTheScreen)
{
    ASSERT_EQ(screen_, (TRect{0, 0, 1280, 1024})); // the harness's screen
    struct Case {
        const char* what;
        int left, top, w, h;
    } const cases[] = {
        {"root only", 100, 100, 28, 12},
        {"around the box", 195, 145, 20, 20},
        {"one pixel", 205, 155, 1, 1},
        {"across the top-left corner", -5, -7, 20, 20},
        {"across the bottom-right corner", 1270, 1020, 28, 12},
        {"larger than the screen", -3, -3, 1290, 1030},
        {"wholly right of the screen", 1280, 0, 28, 12},
        {"wholly above the screen", 10, -100, 28, 12},
        {"near INT_MAX", INT_MAX - 5, INT_MAX - 5, 28, 12},
        {"near INT_MIN", INT_MIN, INT_MIN, 28, 12},
        {"bigger than the first segment", 150, 100, 300, 200},
        {"small again", 199, 149, 3, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wrongPixels(c.left, c.top, c.w, c.h), 0) << c.what;
    EXPECT_EQ(platform->usingShm(), GetParam()); // growing the segment kept shared memory
    EXPECT_EQ(platform->protocolErrors(), 0);
}

TEST_P(X11Capture, SurvivesARefusedRequest)
{
    // The backend believes in a larger root than there is, so the server refuses the request
    // (BadMatch). Xlib's default handler, put back here in place of Qt's lenient one, would end the
    // process; we must learn the real size and still deliver the right pixels.
    struct DefaultHandler {
        XErrorHandler qt = XSetErrorHandler(nullptr);
        ~DefaultHandler() { XSetErrorHandler(qt); }
    } useXlibDefault;
    platform->setAssumedRootSizeForTesting(2000, 2000);
    EXPECT_EQ(wrongPixels(1270, 1000, 40, 40), 0);
    EXPECT_GT(platform->protocolErrors(), 0);
    // And the connection is still good for the next ones.
    EXPECT_EQ(wrongPixels(195, 145, 20, 20), 0);
    TPoint p;
    EXPECT_TRUE(platform->cursorPos(p));
}

INSTANTIATE_TEST_SUITE_P(SharedMemoryAndPlain, X11Capture, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& p) { return p.param ? "Shm" : "GetImage"; });

// Pictures put straight in a window through the backend's own shared segment.
class X11Present : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        ASSERT_TRUE(windows.ok());
        run("xsetroot", {"-solid", "#3366cc"});
    }

    // Draws a surface whose every pixel differs, w x h, and returns what it holds.
    Bitmap32 drawSurface(int w, int h)
    {
        Bitmap32 surface = platform.presentationSurface(w, h);
        Bitmap32 drawn(w, h);
        if (surface.width() != w || surface.height() != h)
            return {};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t p = static_cast<std::uint32_t>(0x10 + 3 * x) << 16 |
                                        static_cast<std::uint32_t>(0x20 + 5 * y) << 8 |
                                        static_cast<std::uint32_t>(x ^ y);
                surface.scanLine(y)[x] = p;
                drawn.scanLine(y)[x] = p;
            }
        return drawn;
    }

    X11Platform platform;
    SolidWindows windows;
};

TEST_F(X11Present, PutsTheRectanglesInTheWindowAndNothingElse)
{
    constexpr int kLeft = 300, kTop = 200, kWidth = 80, kHeight = 60, kX = 5, kY = 7;
    constexpr std::uint32_t kBackground = 0x00FF00;
    // Surfaces of several sizes out of one segment, which grows when one does not fit.
    for (const std::pair<int, int>& size : {std::pair{40, 30}, std::pair{64, 48}, std::pair{20, 10}}) {
        const auto [w, h] = size;
        const Window win = windows.add(kLeft, kTop, kWidth, kHeight, kBackground);
        const Bitmap32 drawn = drawSurface(w, h);
        ASSERT_FALSE(drawn.empty()) << w << "x" << h;
        // Two parts of the surface; the window keeps its own pixels everywhere else.
        const TRect rects[] = {{0, 0, w, h / 3}, {w / 2, h / 2, w, h}};
        ASSERT_TRUE(platform.present(win, kX, kY, rects, std::size(rects)));
        Bitmap32 screen(kWidth, kHeight);
        platform.capture(kLeft, kTop, screen, false);
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const int sx = x - kX, sy = y - kY;
                const bool put = sx >= 0 && sy >= 0 && sx < w && sy < h && (sy < h / 3 || (sx >= w / 2 && sy >= h / 2));
                wrong += screen.pixel(x, y) != (put ? drawn.pixel(sx, sy) : kBackground);
            }
        EXPECT_EQ(wrong, 0) << w << "x" << h;
        windows.destroy(win);
    }
    EXPECT_EQ(platform.protocolErrors(), 0);
}

TEST_F(X11Present, RefusesAWindowOfAnotherDepthAndSurvivesOneThatWentAway)
{
    const TRect all{0, 0, 20, 20};
    const Window deep = windows.addDeep(300, 200, 40, 40);
    if (deep != 0) {
        ASSERT_FALSE(drawSurface(20, 20).empty());
        EXPECT_FALSE(platform.present(deep, 0, 0, &all, 1)); // the toolkit paints that one
        EXPECT_FALSE(platform.present(deep, 0, 0, &all, 1));
        windows.destroy(deep);
    }

    // The window is destroyed behind the backend's back: the put's error comes back with a later
    // reply, which must not make that request (a cursor query) fail.
    const Window gone = windows.add(300, 200, 40, 40, 0x00FF00);
    ASSERT_FALSE(drawSurface(20, 20).empty());
    ASSERT_TRUE(platform.present(gone, 0, 0, &all, 1));
    windows.destroy(gone);
    ASSERT_FALSE(drawSurface(20, 20).empty());
    platform.present(gone, 0, 0, &all, 1);
    TPoint p;
    EXPECT_TRUE(platform.cursorPos(p));
    Bitmap32 screen(4, 4);
    platform.capture(100, 100, screen, false);
    EXPECT_EQ(screen.pixel(0, 0), 0x3366CCu);
    EXPECT_GT(platform.protocolErrors(), 0);
}

class X11Pointer : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        ASSERT_TRUE(probe.ok());
    }
    // A window the pointer can press on, placed exactly.
    static bool showAt(QWidget& w, int x, int y, int width, int height)
    {
        w.setWindowFlags(Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint);
        w.setGeometry(x, y, width, height);
        w.show();
        return QTest::qWaitForWindowExposed(&w);
    }

    // The probe's connection may be served before our warp is: wait for the pointer to arrive.
    testing::AssertionResult pointerReaches(TPoint where)
    {
        if (waitFor([&] { return probe.pointer() == where; }))
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << "pointer at " << probe.pointer().x << "," << probe.pointer().y
                                           << ", expected " << where.x << "," << where.y;
    }

    X11Platform platform;
    SolidWindows probe; // reads the pointer on a connection of its own
};

TEST_F(X11Pointer, MovesAndReadsTheCursorOnTheScreen)
{
    struct Move {
        int x, y;
        TPoint expected;
    } const moves[] = {
        {123, 45, {123, 45}},
        {-50, 99999, {0, 1023}},
        {INT_MAX, INT_MIN, {1279, 0}},
        {1279, 1023, {1279, 1023}},
    };
    for (const Move& m : moves) {
        platform.setCursorPos(m.x, m.y);
        TPoint p{-1, -1};
        ASSERT_TRUE(platform.cursorPos(p));
        EXPECT_EQ(p, m.expected) << "moved to " << m.x << "," << m.y;
        EXPECT_TRUE(pointerReaches(m.expected));
    }
}

TEST_F(X11Pointer, ConfinementHoldsThePointerWhileAButtonIsDown)
{
    QWidget control;
    ASSERT_TRUE(showAt(control, 400, 300, 200, 100));

    // A picker confines on the button press; a pointer outside the rectangle comes in at once.
    run("xdotool", {"mousemove", "450", "350", "mousedown", "1"});
    platform.confineCursor({400, 300, 440, 330});
    EXPECT_TRUE(pointerReaches({439, 329}));
    // The program's own moves stay inside too.
    platform.setCursorPos(0, 1000);
    EXPECT_TRUE(pointerReaches({400, 329}));

    // The user drags far out: the pointer is brought back to the nearest pixel inside.
    run("xdotool", {"mousemove", "900", "50"});
    EXPECT_TRUE(pointerReaches({439, 300}));

    run("xdotool", {"mouseup", "1"});
    platform.releaseCursor();
    platform.setCursorPos(900, 50);
    EXPECT_TRUE(pointerReaches({900, 50}));
}

TEST_F(X11Pointer, ConfinementEndsWithTheButtonsEvenWithoutRelease)
{
    QWidget control;
    ASSERT_TRUE(showAt(control, 400, 300, 200, 100));

    run("xdotool", {"mousemove", "450", "350", "mousedown", "1"});
    platform.confineCursor({400, 300, 600, 400});
    run("xdotool", {"mouseup", "1"}); // the widget never calls releaseCursor
    platform.setCursorPos(900, 50);
    EXPECT_TRUE(pointerReaches({599, 300})); // still confined until a move shows the button is up
    run("xdotool", {"mousemove", "420", "320"});
    EXPECT_TRUE(waitFor([&] {
        platform.setCursorPos(900, 50);
        return probe.pointer() == TPoint{900, 50};
    }));
}

TEST_F(X11Pointer, ForegroundIsTheActiveWindow)
{
    QWidget main;
    main.setGeometry(100, 100, 120, 80);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    main.activateWindow();
    ASSERT_TRUE(waitFor([&] { return QGuiApplication::focusWindow() == main.windowHandle(); }));
    const auto id = static_cast<std::uintptr_t>(main.winId());
    EXPECT_TRUE(platform.isForeground(id));
    EXPECT_FALSE(platform.isForeground(id + 1));

    QWidget other;
    other.setGeometry(300, 100, 120, 80);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    other.activateWindow();
    ASSERT_TRUE(waitFor([&] { return QGuiApplication::focusWindow() == other.windowHandle(); }));
    EXPECT_FALSE(platform.isForeground(id));
}

} // namespace
} // namespace tintara
