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

    // The gradient that paint stretches into the strip, and how often it was built. A change of a
    // fixed channel only marks it stale: the main window sets the sliders' colour on every change of
    // the sampled colour, also while their tab is hidden, so it is built when it is next needed.
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

private:
    int own() const { return channelValue(ownSlot(channel_)); }
    void rebuildGradient();

    SliderChannel channel_;
    SliderChannels values_{};
    mutable Bitmap32 gradient_;
    mutable bool gradientStale_ = true;
    mutable int gradientBuilds_ = 0;
};

} // namespace tintara
