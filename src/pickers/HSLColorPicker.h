#pragma once
// The Rainbow picker: a hue-saturation field with a luminance slider at its right, all on Scale240.
// The field owns hue and saturation, the slider the luminance; the composite's colour is the slider's.
#include "pickers/CompositePicker.h"

#include <QMenu>
#include <QPointer>
#include <QString>

namespace tintara {

class THSColorPicker;
class TLColorPicker;

class THSLColorPicker : public CompositePicker {
    Q_OBJECT

public:
    explicit THSLColorPicker(QWidget* parent = nullptr);

    TColor SelectedColor() const { return selectedColor_; }
    void setSelectedColor(TColor color);

    // Copies of the children's values (Scale240). Luminance can be written: the copy keeps what is
    // written, the slider clamps to 0..240.
    int Hue() const { return hue_; }
    int Saturation() const { return saturation_; }
    int Luminance() const { return luminance_; }
    void setLuminance(int value);

    int LuminanceIncrement() const { return luminanceIncrement_; }
    void setLuminanceIncrement(int value);

    QString HSPickerHintFormat() const { return hsHintFormat_; }
    void setHSPickerHintFormat(const QString& format);
    QString LPickerHintFormat() const { return lHintFormat_; }
    void setLPickerHintFormat(const QString& format);
    QMenu* HSPickerPopupMenu() const { return hsPopupMenu_; }
    void setHSPickerPopupMenu(QMenu* menu);
    QMenu* LPickerPopupMenu() const { return lPopupMenu_; }
    void setLPickerPopupMenu(QMenu* menu);
    Qt::CursorShape HSPickerCursor() const { return hsCursor_; }
    void setHSPickerCursor(Qt::CursorShape cursor);
    Qt::CursorShape LPickerCursor() const { return lCursor_; }
    void setLPickerCursor(Qt::CursorShape cursor);

    THSColorPicker* field() const { return field_; }
    TLColorPicker* slider() const { return slider_; }

private:
    void FieldChanged();
    void SliderChanged();
    void UpdateValues();

    THSColorPicker* field_;
    TLColorPicker* slider_;
    TColor selectedColor_ = rgbColor(255, 0, 0);
    int hue_ = 0;
    int saturation_ = 240;
    int luminance_ = 120;
    int luminanceIncrement_ = 1;
    QString hsHintFormat_;
    QString lHintFormat_;
    QPointer<QMenu> hsPopupMenu_;
    QPointer<QMenu> lPopupMenu_;
    Qt::CursorShape hsCursor_ = Qt::ArrowCursor;
    Qt::CursorShape lCursor_ = Qt::ArrowCursor;
};

} // namespace tintara
