#pragma once
// Mouse, wheel and tool-tip events for the picker widget tests, delivered the way the toolkit delivers
// them (through notify, so unaccepted ones go on to the parent).
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSpontaneKeyEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <QWidget>

#include <vector>

namespace tintara::testinput {

// A window that records the keys that get past the control, like the main window's own key handling.
class KeyWindow : public QWidget {
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        // QTest presses the modifier keys of a click on their own; those are not of interest here.
        const int k = e->key();
        if (k != Qt::Key_Shift && k != Qt::Key_Control && k != Qt::Key_Alt && k != Qt::Key_Meta)
            keys.push_back(k);
        e->accept();
    }
};

inline void sendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at)
{
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
inline void press(QWidget* w, QPoint at, Qt::MouseButton b = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseButtonPress, b, b, at);
}
inline void drag(QWidget* w, QPoint at, Qt::MouseButtons held = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseMove, Qt::NoButton, held, at);
}
inline void release(QWidget* w, QPoint at, Qt::MouseButton b = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseButtonRelease, b, Qt::NoButton, at);
}
inline bool wheel(QWidget* w, int delta, QPoint at)
{
    QWheelEvent e(QPointF(at), QPointF(w->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    // As the window system delivers it.
    QSpontaneKeyEvent::setSpontaneous(&e);
    QApplication::sendEvent(w, &e);
    return e.isAccepted();
}
// What the tool tip shows after the toolkit asked the widget for its hint at `at`; empty when none.
inline QString hintAt(QWidget* w, QPoint at)
{
    // QToolTip::hideText only starts a timer; the label is hidden at once so a refused hint shows.
    for (QWidget* label : QApplication::topLevelWidgets())
        if (label->objectName() == QLatin1String("qtooltip_label"))
            label->hide();
    QHelpEvent help(QEvent::ToolTip, at, w->mapToGlobal(at));
    QApplication::sendEvent(w, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace tintara::testinput
