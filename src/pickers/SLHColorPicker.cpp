#include "pickers/SLHColorPicker.h"

#include "colormodel/RGBHSLUtils.h"
#include "pickers/HColorPicker.h"
#include "pickers/SLColorPicker.h"

namespace tintara {

TSLHColorPicker::TSLHColorPicker(QWidget* parent)
    : CompositePicker(parent), slider_(new THColorPicker(this)), field_(new TSLColorPicker(this)),
      hHintFormat_(QStringLiteral("Hue: %h")), slHintFormat_(QStringLiteral("S: %s L: %l\rHex: %hex"))
{
    slider_->setObjectName(QStringLiteral("HPicker"));
    field_->setObjectName(QStringLiteral("SLPicker"));
    slider_->setLayout(lyVertical);
    slider_->setArrowPlacement(spAfter);
    slider_->setNewArrowStyle(true);
    field_->setSelectedColor(rgbColor(255, 0, 0));
    adopt(field_, slider_, slider_);
    connect(field_, &PickerBase::OnChange, this, [this] { FieldChanged(); });
    connect(slider_, &PickerBase::OnChange, this, [this] { SliderChanged(); });
}

void TSLHColorPicker::SliderChanged()
{
    // Reports through FieldChanged first when the field's hue changes.
    field_->setHue(slider_->Hue());
    UpdateValues();
}

void TSLHColorPicker::FieldChanged()
{
    selectedColor_ = field_->SelectedColor();
    UpdateValues();
}

void TSLHColorPicker::UpdateValues()
{
    hue_ = slider_->Hue();
    saturation_ = field_->Saturation();
    luminance_ = field_->Luminance();
    setRgb(field_->SelectedColor());
    emit OnChange(this);
}

void TSLHColorPicker::setSelectedColor(TColor color)
{
    selectedColor_ = color;
    slider_->setHue(HueFromColor(color, Scale360));
    // The field reports this exactly once, through FieldChanged.
    field_->setSelectedColor(color);
}

void TSLHColorPicker::setHue(int value)
{
    hue_ = value;
    field_->setHue(value);
    slider_->setHue(value);
}

void TSLHColorPicker::setHPickerHintFormat(const QString& format)
{
    hHintFormat_ = format;
    slider_->setHintFormat(format);
}

void TSLHColorPicker::setSLPickerHintFormat(const QString& format)
{
    slHintFormat_ = format;
    field_->setHintFormat(format);
}

void TSLHColorPicker::setHPickerPopupMenu(QMenu* menu)
{
    hPopupMenu_ = menu;
    setPopupMenu(slider_, menu);
}

void TSLHColorPicker::setSLPickerPopupMenu(QMenu* menu)
{
    slPopupMenu_ = menu;
    setPopupMenu(field_, menu);
}

void TSLHColorPicker::setHPickerCursor(Qt::CursorShape cursor)
{
    hCursor_ = cursor;
    slider_->setCursor(cursor);
}

void TSLHColorPicker::setSLPickerCursor(Qt::CursorShape cursor)
{
    slCursor_ = cursor;
    field_->setCursor(cursor);
}

} // namespace tintara
