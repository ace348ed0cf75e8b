#include "pickers/CompositePicker.h"

#include "pickers/PickerBase.h"

#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QWheelEvent>

#include <cstdlib>

namespace tintara {

namespace {

const char* const kPopupMenuProperty = "tintaraPopupMenu";

} // namespace

CompositePicker::CompositePicker(QWidget* parent) : QWidget(parent)
{
    // The background is painted whole; the children paint themselves.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    resize(kCompositeWidth, kCompositeHeight);
}

QColor CompositePicker::Color() const
{
    return palette().color(QPalette::Window);
}

void CompositePicker::setColor(const QColor& color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
    update();
}

void CompositePicker::setShowHint(bool show)
{
    showHint_ = show;
    if (field_ != nullptr) {
        field_->setShowHint(show);
        slider_->setShowHint(show);
    }
}

void CompositePicker::setPlatformServices(PlatformServices* platform)
{
    field_->setPlatformServices(platform);
    slider_->setPlatformServices(platform);
}

void CompositePicker::setRgb(TColor c)
{
    red_ = redOf(c);
    green_ = greenOf(c);
    blue_ = blueOf(c);
}

void CompositePicker::adopt(PickerBase* field, PickerBase* slider, PickerBase* focusChild)
{
    field_ = field;
    slider_ = slider;
    placeChildren();
    // Keys go to the child that has the focus; the composite only hands it on.
    setFocusProxy(focusChild);
    forwardMouseAndKeys(field);
    forwardMouseAndKeys(slider);
    field->installEventFilter(this);
    // Only the slider's wheel is passed on, and it replaces the slider's own stepping: with no
    // handler on the composite the wheel does nothing there.
    slider->setOwnWheelStepping(false);
    connect(slider, &PickerBase::OnMouseWheel, this,
            [this](QObject*, Qt::KeyboardModifiers m, int delta, QPoint pos, bool* handled) {
                emit OnMouseWheel(this, m, delta, pos, handled);
            });
    connect(slider, &PickerBase::OnMouseWheelUp, this,
            [this](QObject*, Qt::KeyboardModifiers m, QPoint pos, bool* handled) {
                emit OnMouseWheelUp(this, m, pos, handled);
            });
    connect(slider, &PickerBase::OnMouseWheelDown, this,
            [this](QObject*, Qt::KeyboardModifiers m, QPoint pos, bool* handled) {
                emit OnMouseWheelDown(this, m, pos, handled);
            });
}

void CompositePicker::forwardMouseAndKeys(PickerBase* child)
{
    connect(child, &PickerBase::OnMouseDown, this,
            [this](QObject*, Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) {
                emit OnMouseDown(this, b, m, x, y);
            });
    connect(child, &PickerBase::OnMouseMove, this,
            [this](QObject*, Qt::MouseButtons b, Qt::KeyboardModifiers m, int x, int y) {
                emit OnMouseMove(this, b, m, x, y);
            });
    connect(child, &PickerBase::OnMouseUp, this,
            [this](QObject*, Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) {
                emit OnMouseUp(this, b, m, x, y);
            });
    connect(child, &PickerBase::OnKeyDown, this,
            [this](QObject*, int key, Qt::KeyboardModifiers m) { emit OnKeyDown(this, key, m); });
    connect(child, &PickerBase::OnKeyUp, this,
            [this](QObject*, int key, Qt::KeyboardModifiers m) { emit OnKeyUp(this, key, m); });
}

void CompositePicker::setPopupMenu(QWidget* child, QMenu* menu)
{
    child->setProperty(kPopupMenuProperty, QVariant::fromValue(QPointer<QMenu>(menu)));
    if (menu == nullptr) {
        child->setContextMenuPolicy(Qt::DefaultContextMenu);
        return;
    }
    if (child->contextMenuPolicy() != Qt::CustomContextMenu) {
        child->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(child, &QWidget::customContextMenuRequested, child, [child](QPoint pos) {
            const auto m = child->property(kPopupMenuProperty).value<QPointer<QMenu>>();
            if (m)
                m->popup(child->mapToGlobal(pos));
        });
    }
}

void CompositePicker::placeChildren()
{
    if (field_ == nullptr || slider_ == nullptr)
        return;
    const ChildPlace f = compositeFieldPlace(width(), height());
    const ChildPlace s = compositeSliderPlace(width(), height());
    field_->setGeometry(f.left, f.top, f.width, f.height);
    slider_->setGeometry(s.left, s.top, s.width, s.height);
}

void CompositePicker::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    p.fillRect(e->rect(), Color());
}

void CompositePicker::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    placeChildren();
}

void CompositePicker::wheelEvent(QWheelEvent* e)
{
    const QPoint pos = e->position().toPoint();
    // The slider passed its wheel on already; what its handlers left alone ends here.
    if (slider_ != nullptr && slider_->geometry().contains(pos)) {
        e->ignore();
        return;
    }
    e->setAccepted(ownWheel(e, pos));
}

bool CompositePicker::eventFilter(QObject* watched, QEvent* e)
{
    // The field has no wheel of its own: its wheel is the composite's, at the composite's coordinates,
    // as if passed on to the parent (which Qt does not do for every wheel event).
    if (watched == field_ && e->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(e);
        wheel->setAccepted(ownWheel(wheel, field_->mapToParent(wheel->position().toPoint())));
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

bool CompositePicker::ownWheel(const QWheelEvent* e, QPoint pos)
{
    const int delta = e->angleDelta().y();
    if (delta == 0)
        return false;
    bool handled = false;
    emit OnMouseWheel(this, e->modifiers(), delta, pos, &handled);
    if (handled)
        return true;
    const int steps = wheel_.add(delta);
    for (int i = 0; i < std::abs(steps); ++i) {
        bool stepHandled = false;
        if (steps > 0)
            emit OnMouseWheelUp(this, e->modifiers(), pos, &stepHandled);
        else
            emit OnMouseWheelDown(this, e->modifiers(), pos, &stepHandled);
        handled = handled || stepHandled;
    }
    return handled;
}

} // namespace tintara
