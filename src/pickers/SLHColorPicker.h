#pragma once
// The Hue picker: a saturation-luminance field with a hue slider at its right. The slider owns the
// hue (0..360), the field saturation and luminance (HSV, 0..255); the composite's colour is the field's.
#include "pickers/CompositePicker.h"

#include <QMenu>
#include <QPointer>
#include <QString>

namespace tintara {

class TSLColorPicker;
class THColorPicker;

class TSLHColorPicker : public CompositePicker {
    Q_OBJECT

public:
    explicit TSLHColorPicker(QWidget* parent = nullptr);

    TColor SelectedColor() const { return selectedColor_; }
    void setSelectedColor(TColor color);

    // Copies of the children's values. Hue can be written: the copy keeps what is written, the
    // children clamp to 0..360.
    int Hue() const { return hue_; }
    void setHue(int value);
    int Saturation() const { return saturation_; }
    int Luminance() const { return luminance_; }

    QString HPickerHintFormat() const { return hHintFormat_; }
    void setHPickerHintFormat(const QString& format);
    QString SLPickerHintFormat() const { return slHintFormat_; }
    void setSLPickerHintFormat(const QString& format);
    QMenu* HPickerPopupMenu() const { return hPopupMenu_; }
    void setHPickerPopupMenu(QMenu* menu);
    QMenu* SLPickerPopupMenu() const { return slPopupMenu_; }
    void setSLPickerPopupMenu(QMenu* menu);
    Qt::CursorShape HPickerCursor() const { return hCursor_; }
    void setHPickerCursor(Qt::CursorShape cursor);
    Qt::CursorShape SLPickerCursor() const { return slCursor_; }
    void setSLPickerCursor(Qt::CursorShape cursor);

    TSLColorPicker* field() const { return field_; }
    THColorPicker* slider() const { return slider_; }

private:
    void FieldChanged();
    void SliderChanged();
    void UpdateValues();

    THColorPicker* slider_;
    TSLColorPicker* field_;
    TColor selectedColor_ = rgbColor(255, 0, 0);
    int hue_ = 0;
    int saturation_ = 255;
    int luminance_ = 255;
    QString hHintFormat_;
    QString slHintFormat_;
    QPointer<QMenu> hPopupMenu_;
    QPointer<QMenu> slPopupMenu_;
    Qt::CursorShape hCursor_ = Qt::ArrowCursor;
    Qt::CursorShape slCursor_ = Qt::ArrowCursor;
};

} // namespace tintara
