#pragma once
// Slider of the HSV hue (0..360) at a fixed saturation and value.
#include "pickers/ChannelSliderPicker.h"

namespace tintara {

class THColorPicker : public ChannelSliderPicker {
    Q_OBJECT

public:
    explicit THColorPicker(QWidget* parent = nullptr);

    int Hue() const { return channelValue(0); }
    void setHue(int v) { setChannelValue(0, v); }
    int Saturation() const { return channelValue(1); }
    void setSaturation(int v) { setChannelValue(1, v); }
    int Value() const { return channelValue(2); }
    void setValue(int v) { setChannelValue(2, v); }
};

} // namespace tintara
