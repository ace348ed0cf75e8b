#pragma once
// What every picker control shares besides its drawing: the back buffer copied to the screen in one
// step, the paint hook, the change reported after a paint, notification suspension, the wheel
// dispatch through the owner's handlers, cursor confinement during a drag, and hints that follow
// the pointer. A control computes its geometry in a pure unit and only paints and reacts here.
#include "colormodel/TColor.h"
#include "pickers/TrackBarGeometry.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <optional>

class QPainter;

namespace tintara {

class Bitmap32;
class PlatformServices;

inline QRect toQRect(const TRect& r)
{
    return {r.Left, r.Top, r.width(), r.height()};
}
inline TPoint toTPoint(QPoint p)
{
    return {p.x(), p.y()};
}
inline QPoint toQPoint(TPoint p)
{
    return {p.x, p.y};
}

// A 32-bit bitmap drawn into target, stretched by nearest neighbour when the sizes differ.
void drawBitmap(QPainter& p, const QRect& target, const Bitmap32& bitmap);

// What a hint shows for one pointer position.
struct PickerHint {
    // The text as shown: lines broken at line feeds. Empty hides the hint.
    QString text;
    // Client point where the tip's top-left corner goes; without one the tip takes the usual place
    // below the pointer.
    std::optional<QPoint> at;
    // Without `at`: the client area over which the tip stays where it is while its text is unchanged.
    QRect keep;
};

class PickerBase : public QWidget {
    Q_OBJECT

public:
    explicit PickerBase(QWidget* parent = nullptr);
    ~PickerBase() override;

    // With false no hint is shown.
    bool ShowHint() const { return showHint_; }
    void setShowHint(bool show) { showHint_ = show; }

    // The background; follows the parent's colour until set.
    QColor Color() const;
    void setColor(const QColor& color);

    // Where the cursor is confined while the left button drags; null means no confinement.
    PlatformServices* platformServices() const { return platform_; }
    void setPlatformServices(PlatformServices* platform) { platform_ = platform; }

    // Whether a wheel notch that no OnMouseWheel / OnMouseWheelUp / OnMouseWheelDown handler marked
    // handled steps the control. An owner that does its own stepping turns this off.
    bool OwnWheelStepping() const { return ownWheelStepping_; }
    void setOwnWheelStepping(bool on) { ownWheelStepping_ = on; }

    // True for the keys the control consumes itself, which never reach the window; a window that
    // previews keys lets these through to the control.
    virtual bool HandlesKey(int qtKey) const;

    // Set by input whose change listeners hear of at the next paint.
    bool ChangePending() const { return changePending_; }
    // While false, value setters fire no OnChange.
    bool NotifyEnabled() const { return notifyEnabled_; }

    // The frame as the next paint would show it, drawn into image (resized to the control).
    void renderFrame(QImage& image);

    // While its owner holds repaints, a change of what the control shows is not painted yet: it waits
    // for repaintHeldBack(), or for any other paint of the whole control, which shows it as it is
    // anyway. An owner that assigns a new colour on every sampled tick lets the control follow at its
    // own pace.
    void setRepaintsHeld(bool held) { repaintsHeld_ = held; }
    bool hasHeldBackRepaint() const { return held_ != Held::Nothing; }
    void repaintHeldBack();

signals:
    void OnChange(QObject* sender);
    void OnMouseDown(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnMouseMove(QObject* sender, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnMouseUp(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnKeyDown(QObject* sender, int key, Qt::KeyboardModifiers modifiers);
    void OnKeyUp(QObject* sender, int key, Qt::KeyboardModifiers modifiers);
    // Fires first for every wheel event; a handler that sets *handled stops the control's own stepping.
    void OnMouseWheel(QObject* sender, Qt::KeyboardModifiers modifiers, int wheelDelta, QPoint mousePos, bool* handled);
    // One per full notch that OnMouseWheel left unhandled; setting *handled skips the own step.
    void OnMouseWheelUp(QObject* sender, Qt::KeyboardModifiers modifiers, QPoint mousePos, bool* handled);
    void OnMouseWheelDown(QObject* sender, Qt::KeyboardModifiers modifiers, QPoint mousePos, bool* handled);

protected:
    // The paint hook: draws every pixel of the frame (the control's size in logical pixels).
    virtual void paintPicker(QPainter& p) = 0;

    // What the control shows changed: a repaint, unless its owner holds repaints.
    void updateShown();
    // Only a marker moved, from where the last paint put it to where it goes now: a repaint of those
    // two areas. Over a varied screen the owner moves the marker on every tick while the picture
    // beneath it stays, and a control's whole area is many times the marker's.
    void updateShown(const QRect& drawnMarker, const QRect& marker);

    // One wheel notch that the owner's handlers left alone; returns whether the control used it.
    virtual bool wheelNotch(bool up);

    // The hint for a pointer position in client pixels. Nothing leaves the toolkit's request to the
    // ordinary tool-tip handling and, while a hint is up, hides it.
    virtual std::optional<PickerHint> hintAt(QPoint pointer);

    void fireChange() { emit OnChange(this); }
    // The next paint fires OnChange once.
    void setChangePending() { changePending_ = true; }
    void setNotifyEnabled(bool enabled) { notifyEnabled_ = enabled; }

    // Notifications off for a scope; the previous state comes back afterwards.
    class NotifySuspender {
    public:
        explicit NotifySuspender(PickerBase& picker) : picker_(picker), was_(picker.notifyEnabled_)
        {
            picker_.notifyEnabled_ = false;
        }
        ~NotifySuspender() { picker_.notifyEnabled_ = was_; }
        NotifySuspender(const NotifySuspender&) = delete;
        NotifySuspender& operator=(const NotifySuspender&) = delete;

    private:
        PickerBase& picker_;
        bool was_;
    };

    // Keeps the system cursor inside the control's client area until releaseCursor (or a hide).
    void confineCursor();
    void releaseCursor();

    // Once the toolkit asked for the hint while the pointer is over the control, input calls this so
    // that the hint tracks the value and the pointer.
    void refreshHint(QPoint pointer);

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    bool wheelStep(bool up, Qt::KeyboardModifiers modifiers, QPoint pos);
    void present(const PickerHint& hint, QPoint pointer);

    bool showHint_ = true;
    bool ownWheelStepping_ = true;
    PlatformServices* platform_ = nullptr;
    bool changePending_ = false;
    bool notifyEnabled_ = true;
    bool confined_ = false;
    bool hintActive_ = false;
    bool repaintsHeld_ = false;
    // What a held-back change repaints: the whole control, or only the marker's areas (where a paint
    // put it, however many moves ago, and where it goes now).
    enum class Held { Nothing, Marker, Whole };
    Held held_ = Held::Nothing;
    QRect heldDrawnMarker_;
    QRect heldMarker_;
    WheelAccumulator wheel_;
};

} // namespace tintara
