#pragma once
// Slider of the HSV value (0..255) at a fixed hue and saturation; also serves as a red, green or
// blue channel slider with hue 0, 120 or 240 and full saturation.
#include "pickers/ChannelSliderPicker.h"

namespace tintara {

class TVColorPicker : public ChannelSliderPicker {
    Q_OBJECT

public:
    explicit TVColorPicker(QWidget* parent = nullptr);

    int Hue() const { return channelValue(0); }
    void setHue(int v) { setChannelValue(0, v); }
    int Saturation() const { return channelValue(1); }
    void setSaturation(int v) { setChannelValue(1, v); }
    int Value() const { return channelValue(2); }
    void setValue(int v) { setChannelValue(2, v); }
};

} // namespace tintara
