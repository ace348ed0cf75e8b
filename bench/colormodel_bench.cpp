// Per-pixel cost of the conversions the picker controls paint their gradients with.
// Items processed = pixels, so the reported items/s convert directly to ns per pixel.
#include "colormodel/RGBHSLUtils.h"
#include "colormodel/RGBHSVUtils.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

using namespace tintara;

// The hue-saturation field: hue across (0..238), saturation down (240..0), luminance fixed at the middle.
void BM_ColorFromScaledHsl_Field239x240(benchmark::State& state)
{
    constexpr int width = 239;
    constexpr int height = 240;
    std::vector<TColor> field(static_cast<std::size_t>(width) * height);
    for (auto _ : state) {
        TColor* out = field.data();
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                *out++ = ColorFromScaledHsl(x, Scale240.SaturationMax - y, 120, Scale240);
            }
        }
        benchmark::DoNotOptimize(field.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * width * height);
}
BENCHMARK(BM_ColorFromScaledHsl_Field239x240);

// The saturation-luminance field bitmap: saturation across, value down, one hue.
void BM_PixelFromClampedHsv_Field256x256(benchmark::State& state)
{
    constexpr int size = 256;
    std::vector<Pixel32> field(static_cast<std::size_t>(size) * size);
    const int hue = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Pixel32* out = field.data();
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                *out++ = PixelFromClampedHsv(hue, x, 255 - y);
            }
        }
        benchmark::DoNotOptimize(field.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * size * size);
}
BENCHMARK(BM_PixelFromClampedHsv_Field256x256)->Arg(0)->Arg(200);

// A hue slider's gradient: every degree at full saturation and value.
void BM_ColorFromHsv_Hue360(benchmark::State& state)
{
    constexpr int steps = 360;
    std::vector<TColor> gradient(steps);
    for (auto _ : state) {
        for (int h = 0; h < steps; ++h) {
            gradient[static_cast<std::size_t>(h)] = ColorFromHsv(h, 255, 255);
        }
        benchmark::DoNotOptimize(gradient.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * steps);
}
BENCHMARK(BM_ColorFromHsv_Hue360);

} // namespace

BENCHMARK_MAIN();
