// The four channel sliders: construction, the setter pattern, SelectedColor and the hint.
#include "pickers/HColorPicker.h"
#include "pickers/LColorPicker.h"
#include "pickers/SColorPicker.h"
#include "pickers/VColorPicker.h"

#include <QSignalSpy>
#include <gmock/gmock.h>

#include <memory>

namespace tintara {
namespace {

struct ChannelReadout {
    int hue;
    int saturation;
    int third; // value or luminance
};

template <typename T> ChannelReadout readout(const T& s)
{
    if constexpr (std::is_same_v<T, TLColorPicker>)
        return {s.Hue(), s.Saturation(), s.Luminance()};
    else
        return {s.Hue(), s.Saturation(), s.Value()};
}

template <typename T>
void expectConstructed(QSize size, TTrackBarLayout layout, ChannelReadout channels, int arrowPos, const char* hint)
{
    T s;
    SCOPED_TRACE(s.metaObject()->className());
    EXPECT_EQ(s.size(), size);
    EXPECT_EQ(s.Layout(), layout);
    const ChannelReadout r = readout(s);
    EXPECT_EQ(r.hue, channels.hue);
    EXPECT_EQ(r.saturation, channels.saturation);
    EXPECT_EQ(r.third, channels.third);
    EXPECT_EQ(s.ArrowPos(), arrowPos);
    EXPECT_EQ(s.HintFormat(), hint);
    EXPECT_TRUE(s.NotifyEnabled());
    EXPECT_FALSE(s.ChangePending());
    EXPECT_EQ(s.Increment(), 1);
    EXPECT_EQ(s.ArrowPlacement(), spAfter);
    EXPECT_FALSE(s.NewArrowStyle());
    // The gradient as the strip shows it.
    EXPECT_EQ(QSize(s.gradient().width(), s.gradient().height()), QSize(s.StripRect().width(), s.StripRect().height()));
}

TEST(ChannelSliders, ConstructorsSetTheDocumentedState)
{
    // Arrow positions: k = (L - 12) / M. Saturation 255 on 267: 255; luminance 120 on 252: k = 1.
    expectConstructed<THColorPicker>({267, 22}, lyHorizontal, {0, 255, 255}, 0, "Hue: %h");
    expectConstructed<TSColorPicker>({267, 22}, lyHorizontal, {0, 255, 255}, 255, "Saturation: %s");
    expectConstructed<TVColorPicker>({22, 267}, lyVertical, {0, 0, 255}, 0, "Value: %v");
    expectConstructed<TLColorPicker>({22, 252}, lyVertical, {0, 240, 120}, 120, "Luminance: %l");
}

TEST(ChannelSliders, SettersClampIgnoreEqualValuesAndNotify)
{
    THColorPicker hue;
    QSignalSpy changes(&hue, &TktTrackBarPicker::OnChange);
    const int builds = hue.gradientBuildCount();

    hue.setHue(0); // unchanged: nothing at all
    hue.setSaturation(300);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(hue.gradientBuildCount(), builds);

    // The own channel moves the arrow and leaves the gradient alone.
    hue.setHue(500);
    EXPECT_EQ(hue.Hue(), 360);
    EXPECT_EQ(hue.ArrowPos(), 255);
    EXPECT_EQ(hue.gradientBuildCount(), builds);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).value<QObject*>(), &hue);

    // A fixed channel rebuilds the gradient and leaves the arrow alone.
    hue.setSaturation(0);
    EXPECT_EQ(hue.gradientBuildCount(), builds + 1);
    EXPECT_EQ(hue.ArrowPos(), 255);
    EXPECT_EQ(hue.gradient().pixel(100, 0), 0xFFFFFFu);
    EXPECT_EQ(changes.count(), 2);
    hue.setValue(-3);
    EXPECT_EQ(hue.Value(), 0);
    EXPECT_EQ(changes.count(), 3);

    TSColorPicker saturation;
    saturation.setSaturation(0);
    saturation.setSaturation(300);
    EXPECT_EQ(saturation.Saturation(), 255);
    EXPECT_EQ(saturation.ArrowPos(), 255); // the end of the 267-wide track

    TLColorPicker luminance;
    luminance.setHue(240);
    EXPECT_EQ(luminance.Hue(), 239);
    luminance.setSaturation(241);
    EXPECT_EQ(luminance.Saturation(), 240);
    luminance.setLuminance(-1);
    EXPECT_EQ(luminance.Luminance(), 0);
    EXPECT_EQ(luminance.ArrowPos(), 240);
}

TEST(ChannelSliders, SelectedColorFiresExactlyOneOnChange)
{
    THColorPicker hue;
    QSignalSpy changes(&hue, &TktTrackBarPicker::OnChange);

    hue.setSelectedColor(rgbColor(0, 0, 255));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(hue.Hue(), 240);
    // The same colour again: still one.
    hue.setSelectedColor(rgbColor(0, 0, 255));
    EXPECT_EQ(changes.count(), 2);
    EXPECT_TRUE(hue.NotifyEnabled());

    // Greys have hue 0 and saturation 0; black also value 0.
    hue.setSelectedColor(rgbColor(90, 90, 90));
    EXPECT_EQ(hue.Hue(), 0);
    EXPECT_EQ(hue.Saturation(), 0);
    EXPECT_EQ(hue.Value(), 90);
    hue.setSelectedColor(clBlack);
    EXPECT_EQ(hue.Value(), 0);
    // Red with a trace of blue rounds to hue 360, not 0.
    hue.setSelectedColor(rgbColor(255, 0, 1));
    EXPECT_EQ(hue.Hue(), 360);
    EXPECT_EQ(hue.SelectedColor(), rgbColor(255, 0, 0));
    EXPECT_EQ(changes.count(), 5);

    // The luminance slider reads and writes HSL on the 240 scale.
    TLColorPicker luminance;
    luminance.setSaturation(0);
    luminance.setLuminance(240);
    EXPECT_EQ(luminance.SelectedColor(), clWhite);
    EXPECT_EQ(luminance.gradient().pixel(5, 0), 0xFFFFFFu);
    luminance.setSelectedColor(rgbColor(255, 0, 0));
    EXPECT_EQ(luminance.Hue(), 0);
    EXPECT_EQ(luminance.Saturation(), 240);
    EXPECT_EQ(luminance.Luminance(), 120);
}

TEST(ChannelSliders, MainWindowDesignedValues)
{
    // Applied in this order, through the setters.
    TSColorPicker sat;
    sat.setLayout(lyVertical);
    sat.setSaturation(0);
    sat.setSelectedColor(clWhite);
    EXPECT_EQ(sat.Saturation(), 0);
    EXPECT_EQ(sat.Value(), 255);

    TVColorPicker green;
    green.setHue(120);
    green.setSaturation(255);
    green.setSelectedColor(clLime);
    EXPECT_EQ(green.Hue(), 120);
    EXPECT_EQ(green.Value(), 255);
    EXPECT_EQ(green.SelectedColor(), clLime);
    // Its gradient runs from green at the top to black.
    EXPECT_EQ(green.gradient().pixel(0, 0), 0x00FF00u);
    EXPECT_EQ(green.gradient().pixel(0, 254), 0x000100u);
}

TEST(ChannelSliders, LayoutChangeRebuildsTheGradientButKeepsTheSize)
{
    TVColorPicker value;
    const int builds = value.gradientBuildCount();
    value.setLayout(lyHorizontal);
    EXPECT_EQ(value.gradientBuildCount(), builds + 1);
    EXPECT_EQ(value.size(), QSize(22, 267));
    EXPECT_EQ(value.gradient().width(), value.StripRect().width());
    EXPECT_EQ(value.gradient().height(), value.StripRect().height());
    EXPECT_LT(value.gradient().width(), value.gradient().height()) << "now across the slider's length";
    value.setLayout(lyHorizontal);
    EXPECT_EQ(value.gradientBuildCount(), builds + 1);
}

TEST(ChannelSliders, HintShowsTheOwnChannel)
{
    TVColorPicker value;
    value.setValue(200);
    EXPECT_EQ(value.hintDisplayText(), "Value: 200");
    THColorPicker hue;
    hue.setHintFormat("%h%h %s %v");
    hue.setHue(7);
    EXPECT_EQ(hue.hintDisplayText(), "77 %s %v");
    TSColorPicker saturation;
    EXPECT_EQ(saturation.hintDisplayText(), "Saturation: 255");
    TLColorPicker luminance;
    luminance.setHintFormat("L\r%l");
    EXPECT_EQ(luminance.hintDisplayText(), "L\n120");
}

} // namespace
} // namespace tintara
