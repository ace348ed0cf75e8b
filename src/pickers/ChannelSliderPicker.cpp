#include "pickers/ChannelSliderPicker.h"

#include "pickers/HintFormat.h"

#include <algorithm>
#include <string>

namespace tintara {

namespace {

const char* placeholderOf(SliderChannel c)
{
    switch (c) {
    case SliderChannel::Hue:
        return "%h";
    case SliderChannel::Saturation:
        return "%s";
    case SliderChannel::Value:
        return "%v";
    case SliderChannel::Luminance:
        return "%l";
    }
    return "";
}

} // namespace

ChannelSliderPicker::ChannelSliderPicker(SliderChannel channel, const Initial& initial, QWidget* parent)
    : TktTrackBarPicker(parent), channel_(channel)
{
    resize(initial.size);
    initLayout(initial.layout);
    const int ownIndex = ownSlot(channel_);
    for (int slot = 0; slot < 3; ++slot) {
        if (slot != ownIndex)
            values_[static_cast<std::size_t>(slot)] = initial.channels[static_cast<std::size_t>(slot)];
    }
    {
        // Through the setter, so the arrow starts at the initial value, but without an OnChange.
        NotifySuspender quiet(*this);
        setChannelValue(ownIndex, initial.channels[static_cast<std::size_t>(ownIndex)]);
    }
    setHintFormat(QString::fromUtf8(initial.hintFormat));
    rebuildGradient();
}

TColor ChannelSliderPicker::SelectedColor() const
{
    return sliderColor(channel_, values_);
}

void ChannelSliderPicker::setSelectedColor(TColor color)
{
    const SliderChannels target = sliderChannelsFromColor(channel_, color);
    {
        NotifySuspender quiet(*this);
        for (int slot = 0; slot < 3; ++slot)
            setChannelValue(slot, target[static_cast<std::size_t>(slot)]);
    }
    fireChange();
}

void ChannelSliderPicker::setChannelValue(int slot, int value)
{
    value = clampChannel(channel_, slot, value);
    int& stored = values_[static_cast<std::size_t>(slot)];
    if (value == stored)
        return;
    stored = value;
    if (slot == ownSlot(channel_)) {
        setArrowPos(sliderPosFromValue(channel_, trackLength(shape()), value));
        updateArrow();
    } else {
        rebuildGradient();
        updateShown();
    }
    if (NotifyEnabled())
        fireChange();
}

void ChannelSliderPicker::rebuildGradient()
{
    gradientStale_ = true;
}

const Bitmap32& ChannelSliderPicker::gradient() const
{
    const TRect strip = StripRect();
    const int width = std::max(strip.width(), 0), height = std::max(strip.height(), 0);
    if (gradientStale_ || gradient_.width() != width || gradient_.height() != height) {
        buildGradientShown(gradient_, channel_, Layout(), values_, width, height);
        gradientStale_ = false;
        ++gradientBuilds_;
    }
    return gradient_;
}

int ChannelSliderPicker::gradientBuildCount() const
{
    gradient(); // a stale gradient counts as built once it is wanted
    return gradientBuilds_;
}

void ChannelSliderPicker::HandleCommand(TTrackBarCommand command)
{
    switch (command) {
    case tcResize:
        // own := own: nothing changes.
        return;
    case tcPaint:
        // Drawn by paintStrip, which gets the painter.
        return;
    case tcMouseMove:
    case tcMouseDown:
    case tcMouseUp:
        // Stored directly: the change reaches listeners from the next paint.
        values_[static_cast<std::size_t>(ownSlot(channel_))] =
            sliderValueFromPos(channel_, trackLength(shape()), ArrowPos());
        return;
    case tcLayoutChanged:
        rebuildGradient();
        return;
    default:
        if (const auto target = commandTarget(channel_, command, own(), Increment()))
            setChannelValue(ownSlot(channel_), *target);
        return;
    }
}

int ChannelSliderPicker::ArrowPosFromValue()
{
    return sliderPosFromValue(channel_, trackLength(shape()), own());
}

void ChannelSliderPicker::paintStrip(QPainter& p)
{
    drawStretched(p, gradient());
}

QString ChannelSliderPicker::HintText()
{
    const std::string format = HintFormat().toStdString();
    const std::string value = std::to_string(own());
    return QString::fromStdString(formatHint(format, {{placeholderOf(channel_), value}}));
}

} // namespace tintara
