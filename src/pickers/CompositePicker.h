#pragma once
// What the Rainbow and Hue composites share: two owned children placed by their anchors, the
// children's mouse and key events (and the slider's wheel events) passed on with the composite as
// sender, a focus that goes straight on to one child, and a background of the composite's colour.
#include "colormodel/TColor.h"
#include "pickers/CompositePickerGeometry.h"
#include "pickers/TrackBarGeometry.h"

#include <QColor>
#include <QWidget>

class QMenu;

namespace tintara {

class PickerBase;
class PlatformServices;

class CompositePicker : public QWidget {
    Q_OBJECT

public:
    // The background around the children; follows the parent's colour until set.
    QColor Color() const;
    void setColor(const QColor& color);

    // Passed on to both children.
    bool ShowHint() const { return showHint_; }
    void setShowHint(bool show);

    // Where the children confine the cursor while the left button drags in them.
    void setPlatformServices(PlatformServices* platform);

    // Bytes of the composite's colour as the children last reported it.
    int Red() const { return red_; }
    int Green() const { return green_; }
    int Blue() const { return blue_; }

signals:
    void OnChange(QObject* sender);
    void OnMouseDown(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnMouseMove(QObject* sender, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnMouseUp(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void OnKeyDown(QObject* sender, int key, Qt::KeyboardModifiers modifiers);
    void OnKeyUp(QObject* sender, int key, Qt::KeyboardModifiers modifiers);
    void OnMouseWheel(QObject* sender, Qt::KeyboardModifiers modifiers, int wheelDelta, QPoint mousePos, bool* handled);
    void OnMouseWheelUp(QObject* sender, Qt::KeyboardModifiers modifiers, QPoint mousePos, bool* handled);
    void OnMouseWheelDown(QObject* sender, Qt::KeyboardModifiers modifiers, QPoint mousePos, bool* handled);

protected:
    explicit CompositePicker(QWidget* parent);

    // Places the children, wires their events to the composite's and hands the focus to `focusChild`.
    // The slider's own wheel stepping gives way to the composite's wheel events.
    void adopt(PickerBase* field, PickerBase* slider, PickerBase* focusChild);

    // A popup menu shown on the child's context-menu request; null takes it away.
    static void setPopupMenu(QWidget* child, QMenu* menu);

    void setRgb(TColor c);

    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The child's mouse and key events as the composite's own, with the composite as sender;
    // coordinates stay the child's.
    void forwardMouseAndKeys(PickerBase* child);
    void placeChildren();
    // The composite's own OnMouseWheel, then one OnMouseWheelUp / Down per full notch; whether handled.
    bool ownWheel(const QWheelEvent* e, QPoint pos);

    PickerBase* field_ = nullptr;
    PickerBase* slider_ = nullptr;
    bool showHint_ = true;
    int red_ = 255;
    int green_ = 0;
    int blue_ = 0;
    WheelAccumulator wheel_;
};

} // namespace tintara
