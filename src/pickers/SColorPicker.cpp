#include "pickers/SColorPicker.h"

namespace tintara {

TSColorPicker::TSColorPicker(QWidget* parent)
    : HsvSliderPicker(SliderChannel::Saturation, {{0, 255, 255}, QSize(267, 22), lyHorizontal, "Saturation: %s"},
                      parent)
{
}

} // namespace tintara
