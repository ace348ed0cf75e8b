// Gradient building of the channel sliders: once per change of a fixed channel (and of the layout),
// so its cost is what a colour change costs each slider.
#include "pickers/ChannelSliderGeometry.h"
#include "pickers/HexaGeometry.h"

#include <benchmark/benchmark.h>

namespace tintara {
namespace {

void BM_BuildGradient(benchmark::State& state, SliderChannel channel, TTrackBarLayout layout)
{
    Bitmap32 gradient;
    SliderChannels channels{200, 180, 160};
    buildGradient(gradient, channel, layout, channels);
    for (auto _ : state) {
        // A different fixed colour each time, as when the current colour moves.
        channels[0] = (channels[0] + 7) % 239;
        channels[1] = (channels[1] + 5) % 240;
        channels[2] = (channels[2] + 3) % 240;
        buildGradient(gradient, channel, layout, channels);
        benchmark::DoNotOptimize(gradient.bits());
        benchmark::ClobberMemory();
    }
    const double pixels = static_cast<double>(gradient.width()) * gradient.height();
    state.counters["pixels"] = pixels;
    // Seconds per pixel (shown as ns with the "n" suffix).
    state.counters["per_pixel"] = benchmark::Counter(pixels * static_cast<double>(state.iterations()),
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK_CAPTURE(BM_BuildGradient, hue_vertical, SliderChannel::Hue, lyVertical);
BENCHMARK_CAPTURE(BM_BuildGradient, hue_horizontal, SliderChannel::Hue, lyHorizontal);
BENCHMARK_CAPTURE(BM_BuildGradient, saturation_vertical, SliderChannel::Saturation, lyVertical);
BENCHMARK_CAPTURE(BM_BuildGradient, value_vertical, SliderChannel::Value, lyVertical);
BENCHMARK_CAPTURE(BM_BuildGradient, luminance_vertical, SliderChannel::Luminance, lyVertical);

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
