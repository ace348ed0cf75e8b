#pragma once
// Slider of the HSV value (0..255) at a fixed hue and saturation; also serves as a red, green or
// blue channel slider with hue 0, 120 or 240 and full saturation.
#include "pickers/ChannelSliderPicker.h"

namespace tintara {

class TVColorPicker : public HsvSliderPicker {
    Q_OBJECT

public:
    explicit TVColorPicker(QWidget* parent = nullptr);
};

} // namespace tintara
