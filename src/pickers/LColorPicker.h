#pragma once
// Slider of the HSL luminance on the 240 scale (hue 0..239, saturation and luminance 0..240).
#include "pickers/ChannelSliderPicker.h"

namespace tintara {

class TLColorPicker : public ChannelSliderPicker {
    Q_OBJECT

public:
    explicit TLColorPicker(QWidget* parent = nullptr);

    int Hue() const { return channelValue(0); }
    void setHue(int v) { setChannelValue(0, v); }
    int Saturation() const { return channelValue(1); }
    void setSaturation(int v) { setChannelValue(1, v); }
    int Luminance() const { return channelValue(2); }
    void setLuminance(int v) { setChannelValue(2, v); }
};

} // namespace tintara
