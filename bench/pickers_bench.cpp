// Gradient building of the channel sliders: once per change of a fixed channel (and of the layout),
// so its cost is what a colour change costs each slider. The program builds the gradient as the strip
// shows it (the main window's vertical sliders: 15 x 127); the whole gradient is the reference.
#include "pickers/ChannelSliderGeometry.h"
#include "pickers/HexaGeometry.h"

#include <benchmark/benchmark.h>

namespace tintara {
namespace {

void BM_BuildGradient(benchmark::State& state, SliderChannel channel, TTrackBarLayout layout, int width, int height)
{
    Bitmap32 gradient;
    SliderChannels channels{200, 180, 160};
    const auto build = [&] {
        if (width > 0)
            buildGradientShown(gradient, channel, layout, channels, width, height);
        else
            buildGradient(gradient, channel, layout, channels);
    };
    build();
    for (auto _ : state) {
        // A different fixed colour each time, as when the current colour moves.
        channels[0] = (channels[0] + 7) % 239;
        channels[1] = (channels[1] + 5) % 240;
        channels[2] = (channels[2] + 3) % 240;
        build();
        benchmark::DoNotOptimize(gradient.bits());
        benchmark::ClobberMemory();
    }
    const double pixels = static_cast<double>(gradient.width()) * gradient.height();
    state.counters["pixels"] = pixels;
    // Seconds per pixel (shown as ns with the "n" suffix).
    state.counters["per_pixel"] = benchmark::Counter(pixels * static_cast<double>(state.iterations()),
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK_CAPTURE(BM_BuildGradient, hue_shown, SliderChannel::Hue, lyVertical, 15, 127);
BENCHMARK_CAPTURE(BM_BuildGradient, saturation_shown, SliderChannel::Saturation, lyVertical, 15, 127);
BENCHMARK_CAPTURE(BM_BuildGradient, value_shown, SliderChannel::Value, lyVertical, 15, 127);
BENCHMARK_CAPTURE(BM_BuildGradient, luminance_shown, SliderChannel::Luminance, lyVertical, 15, 127);
BENCHMARK_CAPTURE(BM_BuildGradient, hue_whole, SliderChannel::Hue, lyVertical, 0, 0);
BENCHMARK_CAPTURE(BM_BuildGradient, luminance_whole, SliderChannel::Luminance, lyVertical, 0, 0);

// The hexagon's 127 colour combs and 17 greys with their grid numbers, rebuilt on every change of its
// intensity.
void BM_BuildCombs(benchmark::State& state)
{
    HexaCombModel model;
    model.resizeTo(142, 138);
    int intensity = 0;
    for (auto _ : state) {
        intensity = (intensity + 1) % 101;
        model.setIntensity(intensity);
        benchmark::DoNotOptimize(model.ColorCombs().data());
    }
}

BENCHMARK(BM_BuildCombs);

} // namespace
} // namespace tintara

BENCHMARK_MAIN();
