#pragma once
// What the hue, saturation, value and luminance sliders share: three channels of which one is the
// slider's own, the gradient of the own channel over the other two, and the setter pattern (clamp,
// nothing when unchanged, arrow or gradient, repaint, OnChange while notifications are on).
#include "pickers/ChannelSliderGeometry.h"
#include "pickers/ktTrackBarPicker.h"
#include "raster/Bitmap32.h"

#include <QSize>

namespace tintara {

class ChannelSliderPicker : public TktTrackBarPicker {
    Q_OBJECT

public:
    SliderChannel channel() const { return channel_; }

    // The colour of the three channels. Assigning one sets all three quietly and then fires exactly
    // one OnChange, also when nothing changed.
    TColor SelectedColor() const;
    void setSelectedColor(TColor color);

    // The gradient as the strip shows it (StripRect's size), and how often it was built. A change of
    // a fixed channel only marks it stale: the main window sets the sliders' colour on every change
    // of the sampled colour, also while their tab is hidden, so it is built when it is next needed.
    const Bitmap32& gradient() const;
    int gradientBuildCount() const;

protected:
    struct Initial {
        SliderChannels channels;
        QSize size;
        TTrackBarLayout layout;
        const char* hintFormat;
    };
    ChannelSliderPicker(SliderChannel channel, const Initial& initial, QWidget* parent);

    int channelValue(int slot) const { return values_[static_cast<std::size_t>(slot)]; }
    void setChannelValue(int slot, int value);

    void HandleCommand(TTrackBarCommand command) override;
    int ArrowPosFromValue() override;
    QString HintText() override;
    void paintStrip(QPainter& p) override;

private:
    int own() const { return channelValue(ownSlot(channel_)); }
    void rebuildGradient();

    SliderChannel channel_;
    SliderChannels values_{};
    mutable Bitmap32 gradient_;
    mutable bool gradientStale_ = true;
    mutable int gradientBuilds_ = 0;
};

// The hue, saturation and value sliders share their three channels: HSV hue 0..360, saturation and
// value 0..255; each makes a different one its own.
class HsvSliderPicker : public ChannelSliderPicker {
public:
    int Hue() const { return channelValue(0); }
    void setHue(int v) { setChannelValue(0, v); }
    int Saturation() const { return channelValue(1); }
    void setSaturation(int v) { setChannelValue(1, v); }
    int Value() const { return channelValue(2); }
    void setValue(int v) { setChannelValue(2, v); }

protected:
    using ChannelSliderPicker::ChannelSliderPicker;
};

} // namespace tintara
