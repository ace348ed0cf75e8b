#include "platform/X11Platform.h"

#include <QDesktopServices>
#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QScreen>
#include <QString>
#include <QUrl>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <xcb/xcb.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>

namespace tintara {

namespace {

// Xlib's default error handler ends the process. Every block of our Xlib calls runs with this trap
// installed, so an error (ours, or one Xlib collects for an earlier request while we wait for a
// reply) is counted and survived. Errors on other displays go on to whoever handled them before.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* dpy) : outerTarget_(target_), outerErrors_(errors_), outerPrevious_(previous_)
    {
        target_ = dpy;
        errors_ = 0;
        replaced_ = XSetErrorHandler(&ErrorTrap::handle);
        if (replaced_ != &ErrorTrap::handle)
            previous_ = replaced_;
    }
    ~ErrorTrap()
    {
        XSetErrorHandler(replaced_);
        target_ = outerTarget_;
        errors_ += outerErrors_;
        previous_ = outerPrevious_;
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    int errors() const { return errors_; }

private:
    static int handle(Display* dpy, XErrorEvent* event)
    {
        if (dpy == target_) {
            ++errors_;
            return 0;
        }
        return previous_ ? previous_(dpy, event) : 0;
    }

    // Xlib's handler is process-wide, and all our calls come from the GUI thread. A trap set up
    // inside another keeps the outer one's state and hands its count on when it ends.
    static inline Display* target_ = nullptr;
    static inline int errors_ = 0;
    static inline XErrorHandler previous_ = nullptr; // the handler that was there before any trap
    XErrorHandler replaced_ = nullptr;
    Display* outerTarget_;
    int outerErrors_;
    XErrorHandler outerPrevious_;
};

// How one colour channel sits in a TrueColor pixel.
struct Channel {
    unsigned long mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(unsigned long m = 0) : mask(m)
    {
        if (m != 0) {
            shift = std::countr_zero(m);
            bits = std::popcount(m);
        }
    }
    std::uint32_t to8(unsigned long pixel) const
    {
        if (bits == 0)
            return 0;
        const unsigned long v = (pixel & mask) >> shift;
        if (bits >= 8)
            return static_cast<std::uint32_t>(v >> (bits - 8));
        return static_cast<std::uint32_t>(v * 255 / ((1UL << bits) - 1));
    }
};

} // namespace

// Sees the application's mouse moves while the pointer is confined; also the context of the
// screen-change connections.
class X11Watcher : public QObject {
public:
    explicit X11Watcher(std::function<void()> onMouseMove) : onMouseMove_(std::move(onMouseMove)) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Every mouse move reaches the QWindow first and the widget after; checking at the window
        // costs one pointer query per move.
        if (event->type() == QEvent::MouseMove && watched->isWindowType())
            onMouseMove_();
        return false;
    }

private:
    std::function<void()> onMouseMove_;
};

struct X11Platform::Impl {
    Display* dpy = nullptr;
    bool ownsDisplay = false;
    Window root = 0;
    Visual* visual = nullptr;
    int depth = 0;
    int rootWidth = 0;
    int rootHeight = 0;
    bool geometryDirty = true;
    int protocolErrors = 0;

    Channel red, green, blue;
    bool trueColor = false;

    bool shmWanted = true;
    XShmSegmentInfo shm{};
    XImage* shmImage = nullptr;
    std::size_t shmBytes = 0;

    std::optional<TRect> confine;
    bool filterInstalled = false;
    X11Watcher watcher{[this] { enforceConfine(true); }};

    explicit Impl(const Options& options);
    ~Impl();

    void queryGeometry();
    bool attachShm(int width, int height);
    void detachShm();
    bool grab(int x, int y, int w, int h, Bitmap32& into, int dx, int dy);
    void convert(const XImage* image, int w, int h, Bitmap32& into, int dx, int dy) const;
    void clampToConfine(int& x, int& y) const;
    void warp(int x, int y);
    void enforceConfine(bool dropWhenNoButton);
    void setConfine(std::optional<TRect> rect);
};

X11Platform::Impl::Impl(const Options& options) : shmWanted(options.useShm)
{
    // A connection of our own to the display Qt uses: replies to our cursor queries and captures then
    // never pass through Qt's event reader thread, which would wake the GUI thread a few times a tick
    // (measured: about a third of the CPU of a still cursor). Qt's own connection is the fallback.
    Display* qtDisplay = nullptr;
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        qtDisplay = x11->display();
    if (qtDisplay || std::getenv("DISPLAY")) {
        dpy = XOpenDisplay(qtDisplay ? DisplayString(qtDisplay) : nullptr);
        ownsDisplay = dpy != nullptr;
    }
    if (!dpy)
        dpy = qtDisplay;
    if (!dpy)
        return;

    const int screen = DefaultScreen(dpy);
    root = RootWindow(dpy, screen);
    visual = DefaultVisual(dpy, screen);
    depth = DefaultDepth(dpy, screen);
    trueColor = visual->c_class == TrueColor || visual->c_class == DirectColor;
    red = Channel(visual->red_mask);
    green = Channel(visual->green_mask);
    blue = Channel(visual->blue_mask);
    queryGeometry();

    if (shmWanted && XShmQueryExtension(dpy))
        attachShm(std::max(options.initialCaptureWidth, 1), std::max(options.initialCaptureHeight, 1));

    if (qGuiApp) {
        // Monitors come and go (and RandR resizes the root); the next capture asks the server.
        auto dirty = [this] { geometryDirty = true; };
        auto watchScreen = [this, dirty](QScreen* s) {
            QObject::connect(s, &QScreen::geometryChanged, &watcher, dirty);
        };
        for (QScreen* s : QGuiApplication::screens())
            watchScreen(s);
        QObject::connect(qGuiApp, &QGuiApplication::screenAdded, &watcher, [dirty, watchScreen](QScreen* s) {
            watchScreen(s);
            dirty();
        });
        QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, &watcher, dirty);
        if (!ownsDisplay) {
            // Qt closes its display before the application object is gone; from then on there is
            // nothing left to talk to.
            QObject::connect(qGuiApp, &QObject::destroyed, &watcher, [this] {
                if (shmImage) {
                    shmdt(shm.shmaddr);
                    shmImage->data = nullptr;
                    XDestroyImage(shmImage);
                    shmImage = nullptr;
                }
                dpy = nullptr;
            });
        }
    }
}

X11Platform::Impl::~Impl()
{
    setConfine(std::nullopt);
    detachShm();
    if (ownsDisplay && dpy)
        XCloseDisplay(dpy);
}

void X11Platform::Impl::queryGeometry()
{
    ErrorTrap trap(dpy);
    Window r = 0;
    int x = 0, y = 0;
    unsigned w = 0, h = 0, border = 0, rootDepth = 0;
    if (XGetGeometry(dpy, root, &r, &x, &y, &w, &h, &border, &rootDepth)) {
        rootWidth = static_cast<int>(w);
        rootHeight = static_cast<int>(h);
    }
    protocolErrors += trap.errors();
    geometryDirty = false;
}

bool X11Platform::Impl::attachShm(int width, int height)
{
    detachShm();
    XImage* image = XShmCreateImage(dpy, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &shm,
                                    static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (!image)
        return false;
    const auto bytes = static_cast<std::size_t>(image->bytes_per_line) * static_cast<std::size_t>(image->height);
    shm.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (shm.shmid < 0) {
        XDestroyImage(image);
        return false;
    }
    void* addr = shmat(shm.shmid, nullptr, 0);
    if (reinterpret_cast<std::intptr_t>(addr) == -1) { // shmat's failure value is (void*)-1
        shmctl(shm.shmid, IPC_RMID, nullptr);
        XDestroyImage(image);
        return false;
    }
    shm.shmaddr = static_cast<char*>(addr);
    image->data = shm.shmaddr;
    shm.readOnly = False;

    // A server on another machine (or one refusing our segment) answers the attach with an error
    // that only a round trip brings back.
    bool ok = false;
    {
        ErrorTrap trap(dpy);
        ok = XShmAttach(dpy, &shm) != 0;
        XSync(dpy, False);
        ok = ok && trap.errors() == 0;
        protocolErrors += trap.errors();
    }
    // Marked for removal at once: the segment disappears with the last detach, even if we crash.
    shmctl(shm.shmid, IPC_RMID, nullptr);
    if (!ok) {
        shmdt(shm.shmaddr);
        image->data = nullptr;
        XDestroyImage(image);
        return false;
    }
    shmImage = image;
    shmBytes = bytes;
    return true;
}

void X11Platform::Impl::detachShm()
{
    if (!shmImage)
        return;
    if (dpy) {
        ErrorTrap trap(dpy);
        XShmDetach(dpy, &shm);
        XSync(dpy, False);
        protocolErrors += trap.errors();
    }
    shmdt(shm.shmaddr);
    shmImage->data = nullptr;
    XDestroyImage(shmImage);
    shmImage = nullptr;
    shmBytes = 0;
}

bool X11Platform::Impl::grab(int x, int y, int w, int h, Bitmap32& into, int dx, int dy)
{
    if (shmImage) {
        const int pad = shmImage->bitmap_pad;
        const int bytesPerLine = (w * shmImage->bits_per_pixel + pad - 1) / pad * (pad / 8);
        if (static_cast<std::size_t>(bytesPerLine) * static_cast<std::size_t>(h) > shmBytes) {
            const int newWidth = std::max(w, shmImage->width);
            const int newHeight = std::max(h, shmImage->height);
            if (!attachShm(newWidth, newHeight))
                shmWanted = false; // keep going with plain GetImage
        }
    }
    if (shmImage) {
        // The request takes its size from the image, so one image over the whole segment serves
        // every capture size without creating an XImage per capture.
        const int pad = shmImage->bitmap_pad;
        shmImage->width = w;
        shmImage->height = h;
        shmImage->bytes_per_line = (w * shmImage->bits_per_pixel + pad - 1) / pad * (pad / 8);
        ErrorTrap trap(dpy);
        const bool ok = XShmGetImage(dpy, root, shmImage, x, y, AllPlanes) != 0 && trap.errors() == 0;
        protocolErrors += trap.errors();
        if (ok)
            convert(shmImage, w, h, into, dx, dy);
        return ok;
    }

    ErrorTrap trap(dpy);
    XImage* image = XGetImage(dpy, root, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes, ZPixmap);
    protocolErrors += trap.errors();
    if (!image)
        return false;
    convert(image, w, h, into, dx, dy);
    XDestroyImage(image);
    return true;
}

void X11Platform::Impl::convert(const XImage* image, int w, int h, Bitmap32& into, int dx, int dy) const
{
    if (!trueColor) {
        // Colour-mapped roots are long gone from real desktops; show them as black rather than guess.
        for (int row = 0; row < h; ++row)
            std::fill_n(into.scanLine(dy + row) + dx, w, 0u);
        return;
    }
    const bool nativeOrder = (image->byte_order == LSBFirst) == (std::endian::native == std::endian::little);
    if (image->bits_per_pixel == 32 && nativeOrder && red.mask == 0xFF0000 && green.mask == 0xFF00 &&
        blue.mask == 0xFF) {
        // The common desktop: the pixel already is 0x??RRGGBB; only the padding byte goes.
        for (int row = 0; row < h; ++row) {
            const auto* src = reinterpret_cast<const std::uint8_t*>(image->data) +
                              static_cast<std::ptrdiff_t>(row) * image->bytes_per_line;
            std::uint32_t* dst = into.scanLine(dy + row) + dx;
            for (int col = 0; col < w; ++col) {
                std::uint32_t p;
                std::memcpy(&p, src + static_cast<std::ptrdiff_t>(col) * 4, 4);
                dst[col] = p & 0x00FFFFFFu;
            }
        }
        return;
    }
    // Other depths and byte orders: XGetPixel knows every layout.
    auto* img = const_cast<XImage*>(image);
    for (int row = 0; row < h; ++row) {
        std::uint32_t* dst = into.scanLine(dy + row) + dx;
        for (int col = 0; col < w; ++col) {
            const unsigned long p = XGetPixel(img, col, row);
            dst[col] = (red.to8(p) << 16) | (green.to8(p) << 8) | blue.to8(p);
        }
    }
}

void X11Platform::Impl::clampToConfine(int& x, int& y) const
{
    if (!confine)
        return;
    // Right and bottom are exclusive: the last pixel the pointer may reach is one before them.
    x = std::max(confine->Left, std::min(x, confine->Right - 1));
    y = std::max(confine->Top, std::min(y, confine->Bottom - 1));
}

void X11Platform::Impl::warp(int x, int y)
{
    if (geometryDirty)
        queryGeometry();
    // The protocol carries 16-bit coordinates; the server keeps the pointer on the screen anyway.
    x = std::clamp(x, 0, std::max(rootWidth - 1, 0));
    y = std::clamp(y, 0, std::max(rootHeight - 1, 0));
    ErrorTrap trap(dpy);
    XWarpPointer(dpy, 0 /* None */, root, 0, 0, 0, 0, x, y);
    XFlush(dpy);
    protocolErrors += trap.errors();
}

void X11Platform::Impl::enforceConfine(bool dropWhenNoButton)
{
    if (!confine || !dpy)
        return;
    Window r = 0, child = 0;
    int x = 0, y = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    bool onScreen = false;
    {
        ErrorTrap trap(dpy);
        onScreen = XQueryPointer(dpy, root, &r, &child, &x, &y, &wx, &wy, &mask) != 0;
        protocolErrors += trap.errors();
    }
    if (dropWhenNoButton && (mask & (Button1Mask | Button2Mask | Button3Mask)) == 0) {
        // The drag is over even if its release never reached the widget.
        setConfine(std::nullopt);
        return;
    }
    if (!onScreen)
        return;
    int cx = x, cy = y;
    clampToConfine(cx, cy);
    if (cx != x || cy != y)
        warp(cx, cy);
}

void X11Platform::Impl::setConfine(std::optional<TRect> rect)
{
    confine = rect;
    const bool want = confine.has_value() && dpy && QCoreApplication::instance();
    if (want && !filterInstalled)
        QCoreApplication::instance()->installEventFilter(&watcher);
    else if (!want && filterInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(&watcher);
    filterInstalled = want;
}

// ---------------------------------------------------------------------------------------------

X11Platform::X11Platform() : X11Platform(Options{}) {}

X11Platform::X11Platform(const Options& options) : d(std::make_unique<Impl>(options)) {}

X11Platform::~X11Platform() = default;

bool X11Platform::connected() const
{
    return d->dpy != nullptr;
}

bool X11Platform::usingShm() const
{
    return d->shmImage != nullptr;
}

int X11Platform::protocolErrors() const
{
    return d->protocolErrors;
}

bool X11Platform::cursorPos(TPoint& pos)
{
    if (!d->dpy)
        return false;
    Window r = 0, child = 0;
    int x = 0, y = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    ErrorTrap trap(d->dpy);
    const bool onScreen = XQueryPointer(d->dpy, d->root, &r, &child, &x, &y, &wx, &wy, &mask) != 0;
    d->protocolErrors += trap.errors();
    if (!onScreen || trap.errors() != 0)
        return false;
    pos = {x, y};
    return true;
}

void X11Platform::capture(int left, int top, Bitmap32& into, bool /*opaque*/)
{
    if (into.empty())
        return;
    if (!d->dpy) {
        into.fill(0);
        return;
    }
    if (d->geometryDirty)
        d->queryGeometry();

    for (int attempt = 0; attempt < 2; ++attempt) {
        // 64-bit bounds: a rectangle near INT_MAX must not wrap round onto the screen.
        const std::int64_t l = left;
        const std::int64_t t = top;
        const std::int64_t x0 = std::max<std::int64_t>(l, 0);
        const std::int64_t y0 = std::max<std::int64_t>(t, 0);
        const std::int64_t x1 = std::min<std::int64_t>(l + into.width(), d->rootWidth);
        const std::int64_t y1 = std::min<std::int64_t>(t + into.height(), d->rootHeight);
        if (x0 >= x1 || y0 >= y1) {
            into.fill(0);
            return;
        }
        if (x0 > l || y0 > t || x1 < l + into.width() || y1 < t + into.height())
            into.fill(0);
        if (d->grab(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0), static_cast<int>(y1 - y0),
                    into, static_cast<int>(x0 - l), static_cast<int>(y0 - t)))
            return;
        // Refused: most likely the root shrank under us. Learn its size and try once more.
        d->queryGeometry();
    }
    into.fill(0);
}

void X11Platform::setCursorPos(int x, int y)
{
    if (!d->dpy)
        return;
    d->clampToConfine(x, y);
    d->warp(x, y);
}

bool X11Platform::isForeground(std::uintptr_t windowId)
{
    QWindow* w = QGuiApplication::focusWindow();
    // A drop-down list or tool tip has the focus without taking the foreground from its owner.
    while (w && (w->type() == Qt::Popup || w->type() == Qt::ToolTip) && w->transientParent())
        w = w->transientParent();
    return w && w->winId() == windowId;
}

void X11Platform::confineCursor(const TRect& screenRect)
{
    d->setConfine(screenRect);
    // Like the desktop's own confinement, a pointer outside comes in at once.
    d->enforceConfine(false);
}

void X11Platform::releaseCursor()
{
    d->setConfine(std::nullopt);
}

void X11Platform::openUrl(const std::string& url)
{
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void X11Platform::flushWindowSystem()
{
    // Qt's own connection, not ours: it carries the window's requests.
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        if (xcb_connection_t* connection = x11->connection())
            xcb_flush(connection);
}

std::int64_t X11Platform::monotonicMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void X11Platform::setAssumedRootSizeForTesting(int width, int height)
{
    d->rootWidth = width;
    d->rootHeight = height;
    d->geometryDirty = false;
}

std::unique_ptr<PlatformServices> createPlatformServices()
{
    return std::make_unique<X11Platform>();
}

} // namespace tintara
