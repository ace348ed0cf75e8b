#include "pickers/HColorPicker.h"

namespace tintara {

THColorPicker::THColorPicker(QWidget* parent)
    : HsvSliderPicker(SliderChannel::Hue, {{0, 255, 255}, QSize(267, 22), lyHorizontal, "Hue: %h"}, parent)
{
}

} // namespace tintara
