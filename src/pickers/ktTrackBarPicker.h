#pragma once
// The base of the one-dimensional colour sliders: a focusable, custom-drawn strip with an arrow at
// the current value. It turns mouse, wheel and key input into commands for the concrete slider,
// shows a hint that follows the pointer and reports changes through OnChange. It knows nothing about
// colour; the geometry it paints lives in TrackBarGeometry.
#include "colormodel/TColor.h"
#include "pickers/TrackBarGeometry.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

class QPainter;

namespace tintara {

class Bitmap32;
class PlatformServices;

class TktTrackBarPicker : public QWidget {
    Q_OBJECT

public:
    explicit TktTrackBarPicker(QWidget* parent = nullptr);
    ~TktTrackBarPicker() override;

    // Template of the hint text (see HintFormat.h); each slider sets its own.
    QString HintFormat() const { return hintFormat_; }
    void setHintFormat(const QString& format) { hintFormat_ = format; }

    // Step of the wheel and of the plain arrow keys, in value units.
    int Increment() const { return increment_; }
    void setIncrement(int increment) { increment_ = increment; }

    // Changing the layout rebuilds the gradient for the new direction; the owner sets the size.
    TTrackBarLayout Layout() const { return layout_; }
    void setLayout(TTrackBarLayout layout);

    TSliderPlacement ArrowPlacement() const { return placement_; }
    void setArrowPlacement(TSliderPlacement placement);

    // The seven-point outlined arrow instead of the filled triangle; it also changes the margins.
    bool NewArrowStyle() const { return newArrowStyle_; }
    void setNewArrowStyle(bool newStyle);

    // With false no hint is shown, whatever HintFormat holds.
    bool ShowHint() const { return showHint_; }
    void setShowHint(bool show) { showHint_ = show; }

    // The background around the strip; follows the parent's colour until set.
    QColor Color() const;
    void setColor(const QColor& color);

    // Where the cursor is confined while the left button drags; null means no confinement.
    PlatformServices* platformServices() const { return platform_; }
    void setPlatformServices(PlatformServices* platform) { platform_ = platform; }

    // Whether a wheel notch that no OnMouseWheel / OnMouseWheelUp / OnMouseWheelDown handler marked
    // handled steps the value. An owner that does its own stepping turns this off.
    bool OwnWheelStepping() const { return ownWheelStepping_; }
    void setOwnWheelStepping(bool on) { ownWheelStepping_ = on; }

    // True for the keys the slider consumes itself (the arrow keys along its track), which never
    // reach the window; a window that previews keys lets these through to the slider.
    bool HandlesKey(int qtKey) const;

    // State the concrete sliders and the tests read.
    int EdgeInset() const { return edgeInsetFor(newArrowStyle_); }
    int ArrowDepth() const { return arrowDepthFor(newArrowStyle_); }
    // Where the gradient is drawn, for the current size and settings.
    TRect StripRect() const { return tintara::stripRect(shape()); }
    int ArrowPos() const { return arrowPos_; }
    bool ChangePending() const { return changePending_; }
    bool NotifyEnabled() const { return notifyEnabled_; }
    TrackBarShape shape() const;

    // The hint for the given pointer position as the tool tip shows it: text and global position.
    QString hintDisplayText();
    QPoint hintGlobalPos(QPoint pointer) const;

signals:
    void OnChange(QObject* sender);
    void OnMouseDown(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnMouseMove(QObject* sender, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnMouseUp(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnKeyDown(QObject* sender, int key, Qt::KeyboardModifiers modifiers);
    void OnKeyUp(QObject* sender, int key, Qt::KeyboardModifiers modifiers);
    // Fires first for every wheel event; a handler that sets *handled stops the slider's own stepping.
    void OnMouseWheel(QObject* sender, Qt::KeyboardModifiers modifiers, int wheelDelta, QPoint mousePos, bool* handled);
    // One per full notch that OnMouseWheel left unhandled; setting *handled skips the own step.
    void OnMouseWheelUp(QObject* sender, Qt::KeyboardModifiers modifiers, QPoint mousePos, bool* handled);
    void OnMouseWheelDown(QObject* sender, Qt::KeyboardModifiers modifiers, QPoint mousePos, bool* handled);

protected:
    // What a concrete slider overrides. The base does nothing, puts the arrow at 0 and has no hint.
    virtual void HandleCommand(TTrackBarCommand command);
    virtual int ArrowPosFromValue();
    virtual QString HintText();

    void setArrowPos(int pos) { arrowPos_ = pos; }
    // For constructors: the layout without the layout-changed command (there is no gradient yet).
    void initLayout(TTrackBarLayout layout) { layout_ = layout; }
    void setNotifyEnabled(bool enabled) { notifyEnabled_ = enabled; }
    // Fires OnChange.
    void fireChange();

    // Notifications off for a scope; the previous state comes back afterwards.
    class NotifySuspender {
    public:
        explicit NotifySuspender(TktTrackBarPicker& picker) : picker_(picker), was_(picker.notifyEnabled_)
        {
            picker_.notifyEnabled_ = false;
        }
        ~NotifySuspender() { picker_.notifyEnabled_ = was_; }
        NotifySuspender(const NotifySuspender&) = delete;
        NotifySuspender& operator=(const NotifySuspender&) = delete;

    private:
        TktTrackBarPicker& picker_;
        bool was_;
    };

    // For tcPaint: stretches the bitmap (nearest neighbour) into StripRect of the frame being painted.
    void drawStretched(const Bitmap32& bitmap);

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void issueQuietly(TTrackBarCommand command);
    bool wheelStep(bool up, Qt::KeyboardModifiers modifiers, QPoint pos);
    void drawArrows(QPainter& p);
    void confineCursor();
    void releaseCursor();
    void showHint(QPoint pointer);
    void refreshHint(QPoint pointer);

    QString hintFormat_;
    int increment_ = 1;
    TTrackBarLayout layout_ = lyHorizontal;
    TSliderPlacement placement_ = spAfter;
    bool newArrowStyle_ = false;
    bool showHint_ = true;
    bool ownWheelStepping_ = true;
    PlatformServices* platform_ = nullptr;

    int arrowPos_ = 0;
    bool changePending_ = false;
    bool notifyEnabled_ = true;

    WheelAccumulator wheel_;
    bool confined_ = false;
    // Set once the toolkit asked for the hint while the pointer is over the control; input then
    // refreshes it so it tracks the value.
    bool hintActive_ = false;
    QImage backBuffer_;
    QPainter* canvas_ = nullptr;
};

} // namespace tintara
