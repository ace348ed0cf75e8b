#pragma once
// Slider of the HSV saturation (0..255) at a fixed hue and value.
#include "pickers/ChannelSliderPicker.h"

namespace tintara {

class TSColorPicker : public ChannelSliderPicker {
    Q_OBJECT

public:
    explicit TSColorPicker(QWidget* parent = nullptr);

    int Hue() const { return channelValue(0); }
    void setHue(int v) { setChannelValue(0, v); }
    int Saturation() const { return channelValue(1); }
    void setSaturation(int v) { setChannelValue(1, v); }
    int Value() const { return channelValue(2); }
    void setValue(int v) { setChannelValue(2, v); }
};

} // namespace tintara
