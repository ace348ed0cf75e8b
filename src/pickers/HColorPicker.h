#pragma once
// Slider of the HSV hue (0..360) at a fixed saturation and value.
#include "pickers/ChannelSliderPicker.h"

namespace tintara {

class THColorPicker : public HsvSliderPicker {
    Q_OBJECT

public:
    explicit THColorPicker(QWidget* parent = nullptr);
};

} // namespace tintara
