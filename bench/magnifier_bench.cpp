// One sampling tick of the magnifier at the main window's geometry (273 x 116): pickColor(false) with
// the cursor still, and with the cursor moving one pixel per tick followed by the repaint that a move
// brings (the enlargement, drawn straight into the window's picture). The screen is the fake
// platform's memory, so the figures are the magnifier's own work (capture copy, sample, enlargement)
// without the X server's round trip. Run with --benchmark_counters_tabular=true for a compact table.
#include "magnifier/MagnifierCore.h"
#include "platform/FakePlatform.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tintara;

struct Setup {
    FakePlatform screen{1920, 1080};
    MagnifierCore magnifier{screen};
    // The main window's picture, with the magnifier where the window has it.
    Bitmap32 window{436, 540};
    Bitmap32 shown = Bitmap32::over(window.scanLine(33) + 8, 273, 116, window.stride());

    Setup(int magnification, int pointSize, bool smooth)
    {
        // A busy screen, so the enlargement has real work to do.
        for (int y = 0; y < screen.screenHeight(); ++y)
            for (int x = 0; x < screen.screenWidth(); ++x)
                screen.setScreenPixel(x, y, rgbColor(x * 7, y * 13, (x ^ y) & 0xFF));
        screen.setCursorPos(900, 500);
        magnifier.setSize(273, 116);
        // The main window's order of assignments.
        magnifier.setMagnification(magnification);
        magnifier.setPointSize(pointSize);
        magnifier.setHiLite(true);
        magnifier.setHiLiteColor(clMaroon);
        magnifier.setGrid(false);
        magnifier.setGridColor(clNavy);
        magnifier.setSmooth(smooth);
    }
};

void BM_PickColorStill(benchmark::State& state)
{
    Setup s(static_cast<int>(state.range(0)), 1, false);
    s.screen.resetCaptureCount();
    for (auto _ : state)
        benchmark::DoNotOptimize(s.magnifier.pickColor(false));
    state.counters["captures"] = benchmark::Counter(s.screen.captureCount());
}

// Moves right and back over 200 pixels so every call captures.
void moving(benchmark::State& state, int pointSize, bool smooth)
{
    Setup s(static_cast<int>(state.range(0)), pointSize, smooth);
    int x = 900, step = 1;
    s.screen.resetCaptureCount();
    for (auto _ : state) {
        x += step;
        if (x == 1100 || x == 900)
            step = -step;
        s.screen.setCursorPos(x, 500);
        benchmark::DoNotOptimize(s.magnifier.pickColor(false));
        s.magnifier.renderPicture(s.shown, 0, 0);
        benchmark::DoNotOptimize(s.window.bits());
    }
    state.counters["captures/tick"] =
        benchmark::Counter(static_cast<double>(s.screen.captureCount()) / static_cast<double>(state.iterations()));
}

void BM_PickColorMoving(benchmark::State& state)
{
    moving(state, 1, false);
}

void BM_PickColorMovingPoint5(benchmark::State& state)
{
    moving(state, 5, false);
}

// Not used by the program; measured so a change to the kernel path shows.
void BM_PickColorMovingSmooth(benchmark::State& state)
{
    moving(state, 1, true);
}

// A repaint without a new capture (an expose), with the grid and the hi-lite.
void BM_Repaint(benchmark::State& state)
{
    Setup s(static_cast<int>(state.range(0)), 1, false);
    s.magnifier.setGrid(true);
    for (auto _ : state) {
        s.magnifier.renderPicture(s.shown, 0, 0);
        benchmark::DoNotOptimize(s.window.bits());
    }
}

BENCHMARK(BM_PickColorStill)->Arg(6)->Arg(10);
BENCHMARK(BM_PickColorMoving)->Arg(6)->Arg(10);
BENCHMARK(BM_PickColorMovingPoint5)->Arg(6)->Arg(10);
BENCHMARK(BM_PickColorMovingSmooth)->Arg(6)->Arg(10);
BENCHMARK(BM_Repaint)->Arg(6)->Arg(10);

} // namespace

BENCHMARK_MAIN();
