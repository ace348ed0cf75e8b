#include "pickers/HSLColorPicker.h"

#include "colormodel/RGBHSLUtils.h"
#include "pickers/HSColorPicker.h"
#include "pickers/LColorPicker.h"

namespace tintara {

THSLColorPicker::THSLColorPicker(QWidget* parent)
    : CompositePicker(parent), field_(new THSColorPicker(this)), slider_(new TLColorPicker(this)),
      hsHintFormat_(QStringLiteral("H: %h S: %s\rHex: %hex")), lHintFormat_(QStringLiteral("Luminance: %l"))
{
    field_->setObjectName(QStringLiteral("HSPicker"));
    slider_->setObjectName(QStringLiteral("LPicker"));
    slider_->setArrowPlacement(spAfter);
    slider_->setNewArrowStyle(true);
    adopt(field_, slider_, field_);
    connect(field_, &PickerBase::OnChange, this, [this] { FieldChanged(); });
    connect(slider_, &PickerBase::OnChange, this, [this] { SliderChanged(); });
}

void THSLColorPicker::FieldChanged()
{
    // Each assignment that changes the slider reports through SliderChanged first.
    slider_->setHue(field_->HueValue());
    slider_->setSaturation(field_->SaturationValue());
    UpdateValues();
}

void THSLColorPicker::SliderChanged()
{
    field_->setHintLuminance(slider_->Luminance());
    selectedColor_ = slider_->SelectedColor();
    UpdateValues();
}

void THSLColorPicker::UpdateValues()
{
    hue_ = slider_->Hue();
    saturation_ = slider_->Saturation();
    luminance_ = slider_->Luminance();
    setRgb(slider_->SelectedColor());
    emit OnChange(this);
}

void THSLColorPicker::setSelectedColor(TColor color)
{
    selectedColor_ = color;
    const ScaledHsl hsl = ScaledHslFromColor(color, Scale240);
    slider_->setHue(hsl.h);
    slider_->setSaturation(hsl.s);
    slider_->setLuminance(hsl.l);
    // The field reports this at its next paint.
    field_->setSelectedColor(color);
}

void THSLColorPicker::setLuminance(int value)
{
    luminance_ = value;
    slider_->setLuminance(value);
}

void THSLColorPicker::setLuminanceIncrement(int value)
{
    luminanceIncrement_ = value;
    slider_->setIncrement(value);
}

void THSLColorPicker::setHSPickerHintFormat(const QString& format)
{
    hsHintFormat_ = format;
    field_->setHintFormat(format);
}

void THSLColorPicker::setLPickerHintFormat(const QString& format)
{
    lHintFormat_ = format;
    slider_->setHintFormat(format);
}

void THSLColorPicker::setHSPickerPopupMenu(QMenu* menu)
{
    hsPopupMenu_ = menu;
    setPopupMenu(field_, menu);
}

void THSLColorPicker::setLPickerPopupMenu(QMenu* menu)
{
    lPopupMenu_ = menu;
    setPopupMenu(slider_, menu);
}

void THSLColorPicker::setHSPickerCursor(Qt::CursorShape cursor)
{
    hsCursor_ = cursor;
    field_->setCursor(cursor);
}

void THSLColorPicker::setLPickerCursor(Qt::CursorShape cursor)
{
    lCursor_ = cursor;
    slider_->setCursor(cursor);
}

} // namespace tintara
