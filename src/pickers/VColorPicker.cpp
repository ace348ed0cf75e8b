#include "pickers/VColorPicker.h"

namespace tintara {

TVColorPicker::TVColorPicker(QWidget* parent)
    : HsvSliderPicker(SliderChannel::Value, {{0, 0, 255}, QSize(22, 267), lyVertical, "Value: %v"}, parent)
{
}

} // namespace tintara
