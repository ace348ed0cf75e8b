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

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace tintara {

namespace {

// Xlib's default error handler ends the process. Every block of our Xlib calls runs with this trap
// installed, so an error (ours, or one Xlib collects for an earlier request while we wait for a
// reply) is counted and survived. Errors on other displays go on to whoever handled them before.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* dpy)
        : outerTarget_(target_), outerErrors_(errors_), outerFirstSerial_(firstSerial_), outerPrevious_(previous_)
    {
        target_ = dpy;
        errors_ = 0;
        firstSerial_ = NextRequest(dpy);
        lateAtStart_ = late_;
        replaced_ = XSetErrorHandler(&ErrorTrap::handle);
        if (replaced_ != &ErrorTrap::handle)
            previous_ = replaced_;
    }
    ~ErrorTrap()
    {
        XSetErrorHandler(replaced_);
        target_ = outerTarget_;
        errors_ += outerErrors_;
        firstSerial_ = outerFirstSerial_;
        previous_ = outerPrevious_;
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Errors of the requests made while this trap was set.
    int errors() const { return errors_; }
    // With the errors of requests made earlier, whose answer nobody waited for (a pointer warp), that
    // arrived meanwhile: they are counted, but no failure of what this trap guards.
    int total() const { return errors_ + (late_ - lateAtStart_); }

private:
    static int handle(Display* dpy, XErrorEvent* event)
    {
        if (dpy == target_) {
            if (event->serial >= firstSerial_)
                ++errors_;
            else
                ++late_;
            return 0;
        }
        return previous_ ? previous_(dpy, event) : 0;
    }

    // Xlib's handler is process-wide, and all our calls come from the GUI thread. A trap set up
    // inside another keeps the outer one's state and hands its count on when it ends.
    static inline Display* target_ = nullptr;
    static inline int errors_ = 0;
    static inline unsigned long firstSerial_ = 0;
    static inline int late_ = 0;
    static inline XErrorHandler previous_ = nullptr; // the handler that was there before any trap
    XErrorHandler replaced_ = nullptr;
    int lateAtStart_ = 0;
    Display* outerTarget_;
    int outerErrors_;
    unsigned long outerFirstSerial_;
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

// An image in a shared memory segment that the server has attached: a capture or a put then moves
// no pixels through the socket.
struct SharedImage {
    XShmSegmentInfo info{};
    XImage* image = nullptr;
    std::size_t bytes = 0;

    bool attach(Display* dpy, Visual* visual, int depth, int width, int height, int& errors);
    void detach(Display* dpy, int& errors);
    // Qt closed the display we shared: only our side of the segment is left to free.
    void forget();
    // Shapes the image to `width` x `height` over the start of the segment, whose size it keeps;
    // false when that does not fit.
    bool shape(int width, int height) const;
};

bool SharedImage::attach(Display* dpy, Visual* visual, int depth, int width, int height, int& errors)
{
    detach(dpy, errors);
    XImage* created = XShmCreateImage(dpy, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &info,
                                      static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (!created)
        return false;
    const auto size = static_cast<std::size_t>(created->bytes_per_line) * static_cast<std::size_t>(created->height);
    info.shmid = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    if (info.shmid < 0) {
        XDestroyImage(created);
        return false;
    }
    void* addr = shmat(info.shmid, nullptr, 0);
    if (reinterpret_cast<std::intptr_t>(addr) == -1) { // shmat's failure value is (void*)-1
        shmctl(info.shmid, IPC_RMID, nullptr);
        XDestroyImage(created);
        return false;
    }
    info.shmaddr = static_cast<char*>(addr);
    created->data = info.shmaddr;
    info.readOnly = False;

    // A server on another machine (or one refusing our segment) answers the attach with an error
    // that only a round trip brings back.
    bool ok = false;
    {
        ErrorTrap trap(dpy);
        ok = XShmAttach(dpy, &info) != 0;
        XSync(dpy, False);
        ok = ok && trap.errors() == 0;
        errors += trap.total();
    }
    // Marked for removal at once: the segment disappears with the last detach, even if we crash.
    shmctl(info.shmid, IPC_RMID, nullptr);
    if (!ok) {
        shmdt(info.shmaddr);
        created->data = nullptr;
        XDestroyImage(created);
        return false;
    }
    image = created;
    bytes = size;
    return true;
}

void SharedImage::detach(Display* dpy, int& errors)
{
    if (!image)
        return;
    if (dpy) {
        ErrorTrap trap(dpy);
        XShmDetach(dpy, &info);
        XSync(dpy, False);
        errors += trap.total();
    }
    forget();
}

void SharedImage::forget()
{
    if (!image)
        return;
    shmdt(info.shmaddr);
    image->data = nullptr;
    XDestroyImage(image);
    image = nullptr;
    bytes = 0;
}

bool SharedImage::shape(int width, int height) const
{
    const int pad = image->bitmap_pad;
    const int bytesPerLine = (width * image->bits_per_pixel + pad - 1) / pad * (pad / 8);
    if (static_cast<std::size_t>(bytesPerLine) * static_cast<std::size_t>(height) > bytes)
        return false;
    image->width = width;
    image->height = height;
    image->bytes_per_line = bytesPerLine;
    return true;
}

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
    SharedImage shm;

    // Pictures put straight in a window (presentationSurface, present).
    bool presentable = false;
    SharedImage presentation;
    Window presentWindow = 0;
    GC presentGc = nullptr;
    Window refusedWindow = 0;
    // Puts the server may not have read yet: the surface waits for them before it is drawn into, and
    // the next reply on the connection tells whether they failed (checked requests: their errors never
    // wait in the event queue, which on the toolkit's connection is its reader's).
    std::vector<xcb_void_cookie_t> putsInFlight;

    // The display's XCB side, for the requests we make every tick.
    xcb_connection_t* xcb = nullptr;

    std::optional<TRect> confine;
    bool filterInstalled = false;
    X11Watcher watcher{[this] { enforceConfine(true); }};

    explicit Impl(const Options& options);
    ~Impl();

    void queryGeometry();
    bool queryPointer(TPoint& pos, unsigned& buttons);
    // After a reply: the puts before it are done, and any that failed is counted, without a wait.
    // Before one: waits for the server to have read them.
    void settlePuts();
    bool attachShm(int width, int height);
    bool usePresentWindow(Window window);
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
    xcb = XGetXCBConnection(dpy);
    putsInFlight.reserve(16); // a put is one rectangle; the magnifier's picture is one or a few

    const int screen = DefaultScreen(dpy);
    root = RootWindow(dpy, screen);
    visual = DefaultVisual(dpy, screen);
    depth = DefaultDepth(dpy, screen);
    trueColor = visual->c_class == TrueColor || visual->c_class == DirectColor;
    red = Channel(visual->red_mask);
    green = Channel(visual->green_mask);
    blue = Channel(visual->blue_mask);
    queryGeometry();

    const bool shmServed = XShmQueryExtension(dpy);
    if (shmWanted && shmServed)
        attachShm(std::max(options.initialCaptureWidth, 1), std::max(options.initialCaptureHeight, 1));
    // Without shared memory of its own the toolkit shows an exposed window from its copy in the
    // server, which holds only what it painted itself: a picture put past it would be lost there.
    presentable = options.presentPictures && shmServed && trueColor && red.mask == 0xFF0000 && green.mask == 0xFF00 &&
                  blue.mask == 0xFF && std::getenv("QT_XCB_NO_MITSHM") == nullptr;

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
                shm.forget();
                presentation.forget();
                presentGc = nullptr; // went with the display
                dpy = nullptr;
            });
        }
    }
}

X11Platform::Impl::~Impl()
{
    setConfine(std::nullopt);
    if (presentGc && dpy)
        XFreeGC(dpy, presentGc);
    shm.detach(dpy, protocolErrors);
    presentation.detach(dpy, protocolErrors);
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
    protocolErrors += trap.total();
    geometryDirty = false;
}

// Where the pointer is on our root and which buttons are down; false when it is on another screen.
bool X11Platform::Impl::queryPointer(TPoint& pos, unsigned& buttons)
{
    // Straight through XCB: Xlib's way to the same reply adds two empty reads and a poll, and the
    // loop asks 100 times a second.
    xcb_generic_error_t* error = nullptr;
    xcb_query_pointer_reply_t* reply = xcb_query_pointer_reply(xcb, xcb_query_pointer(xcb, root), &error);
    settlePuts();
    bool onScreen = false;
    if (reply) {
        onScreen = reply->same_screen != 0;
        pos = {reply->root_x, reply->root_y};
        buttons = reply->mask;
        std::free(reply);
    }
    if (error) {
        ++protocolErrors;
        std::free(error);
    }
    return onScreen;
}

void X11Platform::Impl::settlePuts()
{
    for (const xcb_void_cookie_t put : putsInFlight)
        if (xcb_generic_error_t* error = xcb_request_check(xcb, put)) {
            ++protocolErrors;
            std::free(error);
        }
    putsInFlight.clear();
}

bool X11Platform::Impl::attachShm(int width, int height)
{
    return shm.attach(dpy, visual, depth, width, height, protocolErrors);
}

bool X11Platform::Impl::usePresentWindow(Window window)
{
    if (presentGc)
        XFreeGC(dpy, presentGc);
    presentGc = nullptr;
    presentWindow = 0;
    ErrorTrap trap(dpy);
    // A put needs the window's depth; the pixels also need its colour layout.
    XWindowAttributes attributes{};
    bool ok = XGetWindowAttributes(dpy, window, &attributes) != 0 && trap.errors() == 0 && attributes.depth == depth &&
              attributes.visual != nullptr && attributes.visual->red_mask == red.mask &&
              attributes.visual->green_mask == green.mask && attributes.visual->blue_mask == blue.mask;
    if (ok) {
        presentGc = XCreateGC(dpy, window, 0, nullptr);
        XSync(dpy, False);
        ok = trap.errors() == 0;
    }
    protocolErrors += trap.total();
    if (!ok) {
        if (presentGc)
            XFreeGC(dpy, presentGc);
        presentGc = nullptr;
        refusedWindow = window; // asked once, not on every move
        return false;
    }
    presentWindow = window;
    return true;
}

bool X11Platform::Impl::grab(int x, int y, int w, int h, Bitmap32& into, int dx, int dy)
{
    // The request takes its size from the image, so one image over the whole segment serves every
    // capture size without creating an XImage per capture.
    if (shm.image && !shm.shape(w, h)) {
        const int newWidth = std::max(w, shm.image->width);
        const int newHeight = std::max(h, shm.image->height);
        if (!attachShm(newWidth, newHeight) || !shm.shape(w, h)) {
            shm.detach(dpy, protocolErrors);
            shmWanted = false; // keep going with plain GetImage
        }
    }
    if (shm.image) {
        // Straight through XCB, like the cursor query: Xlib's way adds empty reads on every move.
        xcb_generic_error_t* error = nullptr;
        xcb_shm_get_image_reply_t* reply = xcb_shm_get_image_reply(
            xcb,
            xcb_shm_get_image(xcb, root, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                              static_cast<std::uint16_t>(w), static_cast<std::uint16_t>(h), ~0u,
                              XCB_IMAGE_FORMAT_Z_PIXMAP, static_cast<xcb_shm_seg_t>(shm.info.shmseg), 0),
            &error);
        settlePuts();
        const bool ok = reply != nullptr;
        std::free(reply);
        if (error) {
            ++protocolErrors;
            std::free(error);
        }
        if (ok)
            convert(shm.image, w, h, into, dx, dy);
        return ok;
    }

    ErrorTrap trap(dpy);
    XImage* image = XGetImage(dpy, root, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes, ZPixmap);
    protocolErrors += trap.total();
    settlePuts();
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
    protocolErrors += trap.total();
}

void X11Platform::Impl::enforceConfine(bool dropWhenNoButton)
{
    if (!confine || !dpy)
        return;
    TPoint p;
    unsigned buttons = 0;
    const bool onScreen = queryPointer(p, buttons);
    if (dropWhenNoButton && (buttons & (Button1Mask | Button2Mask | Button3Mask)) == 0) {
        // The drag is over even if its release never reached the widget.
        setConfine(std::nullopt);
        return;
    }
    if (!onScreen)
        return;
    int cx = p.x, cy = p.y;
    clampToConfine(cx, cy);
    if (cx != p.x || cy != p.y)
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
    return d->shm.image != nullptr;
}

int X11Platform::protocolErrors() const
{
    return d->protocolErrors;
}

bool X11Platform::cursorPos(TPoint& pos)
{
    unsigned buttons = 0;
    return d->dpy && d->queryPointer(pos, buttons);
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

Bitmap32 X11Platform::presentationSurface(int width, int height)
{
    Impl& i = *d;
    if (!i.dpy || !i.presentable || width <= 0 || height <= 0)
        return {};
    if (!i.presentation.image || !i.presentation.shape(width, height)) {
        int errors = 0;
        if (!i.presentation.attach(i.dpy, i.visual, i.depth, width, height, errors) || errors != 0 ||
            i.presentation.image->bits_per_pixel != 32 || i.presentation.image->byte_order != LSBFirst ||
            !i.presentation.shape(width, height)) {
            i.presentation.detach(i.dpy, errors);
            i.presentable = false;
        }
        i.protocolErrors += errors;
        if (!i.presentable)
            return {};
    }
    // Puts that no reply has followed yet: the server may still be reading the segment.
    i.settlePuts();
    XImage* image = i.presentation.image;
    return Bitmap32::over(reinterpret_cast<std::uint32_t*>(image->data), width, height, image->bytes_per_line / 4);
}

bool X11Platform::present(std::uintptr_t windowId, int x, int y, const TRect* rects, std::size_t count)
{
    Impl& i = *d;
    const auto window = static_cast<Window>(windowId);
    if (!i.dpy || !i.presentation.image || window == 0 || window == i.refusedWindow)
        return false;
    if (window != i.presentWindow && !i.usePresentWindow(window))
        return false;
    const XImage* image = i.presentation.image;
    const auto gc = static_cast<xcb_gcontext_t>(XGContextFromGC(i.presentGc));
    for (std::size_t n = 0; n < count; ++n) {
        const TRect& r = rects[n];
        if (r.Left < 0 || r.Top < 0 || r.width() <= 0 || r.height() <= 0 || r.Right > image->width ||
            r.Bottom > image->height)
            continue;
        // No completion event: the next reply on this connection says the server is done with it.
        i.putsInFlight.push_back(xcb_shm_put_image_checked(
            i.xcb, static_cast<xcb_drawable_t>(window), gc, static_cast<std::uint16_t>(image->width),
            static_cast<std::uint16_t>(image->height), static_cast<std::uint16_t>(r.Left),
            static_cast<std::uint16_t>(r.Top), static_cast<std::uint16_t>(r.width()),
            static_cast<std::uint16_t>(r.height()), static_cast<std::int16_t>(x + r.Left),
            static_cast<std::int16_t>(y + r.Top), static_cast<std::uint8_t>(i.depth), XCB_IMAGE_FORMAT_Z_PIXMAP, 0,
            static_cast<xcb_shm_seg_t>(i.presentation.info.shmseg), 0));
    }
    xcb_flush(i.xcb);
    return true;
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
