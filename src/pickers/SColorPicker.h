#pragma once
// Slider of the HSV saturation (0..255) at a fixed hue and value.
#include "pickers/ChannelSliderPicker.h"

namespace tintara {

class TSColorPicker : public HsvSliderPicker {
    Q_OBJECT

public:
    explicit TSColorPicker(QWidget* parent = nullptr);
};

} // namespace tintara
