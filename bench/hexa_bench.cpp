// The hexagon picker at the main window's 142 x 138 on Qt's offscreen platform. While the Hex tab is
// shown the main window assigns SelectedColor on every change of the sampled colour, up to 100 times
// a second, so that assignment and the repaint it causes must stay cheap.
//
//   BM_HexaAssign/comb/paint     a comb colour (the selection moves), then the repaint it causes
//   BM_HexaAssign/other/paint    a colour no comb has, alternating with a comb colour
//   BM_HexaAssign/comb/frame     the same without Qt's backing store: assignment and frame only
//   BM_HexaAssignSame            the colour it already has: OnChange only, nothing to repaint
//   BM_HexaIntensityStep/paint   one intensity step (combs and cached image rebuilt) and its repaint
//
// Not included: the X server (Qt's flush of the window to the screen).
//
//   QT_QPA_PLATFORM is set to offscreen here; run as build/release/bin/bench_hexa
#include "QtBenchMain.h"
#include "pickers/HexaColorPicker.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace tintara;

struct Rig {
    Rig()
    {
        window.setGeometry(100, 100, 300, 250);
        picker.setParent(&window);
        picker.setGeometry(17, 31, 142, 138);
        window.show();
        QApplication::processEvents();
        picker.repaint();
        for (const TCombEntry& c : picker.model().ColorCombs())
            combColors.push_back(c.Color);
    }
    QWidget window;
    THexaColorPicker picker;
    std::vector<TColor> combColors;
};

void assignComb(benchmark::State& state, bool paint)
{
    Rig rig;
    QImage frame;
    std::size_t i = 0;
    for (auto _ : state) {
        i = (i + 37) % rig.combColors.size();
        rig.picker.setSelectedColor(rig.combColors[i]);
        if (paint)
            rig.picker.repaint();
        else
            rig.picker.renderFrame(frame);
    }
    state.counters["images"] = rig.picker.combImageBuildCount();
}

void BM_HexaAssignOther(benchmark::State& state)
{
    Rig rig;
    bool other = false;
    std::size_t i = 0;
    for (auto _ : state) {
        other = !other;
        i = (i + 37) % rig.combColors.size();
        rig.picker.setSelectedColor(other ? rgbColor(1, 2, 3) : rig.combColors[i]);
        rig.picker.repaint();
    }
}

void BM_HexaAssignSame(benchmark::State& state)
{
    Rig rig;
    rig.picker.setSelectedColor(rig.combColors[5]);
    rig.picker.repaint();
    const int frames = rig.picker.frameCount();
    for (auto _ : state) {
        rig.picker.setSelectedColor(rig.combColors[5]);
        QApplication::processEvents();
    }
    state.counters["frames"] = rig.picker.frameCount() - frames;
}

void BM_HexaIntensityStep(benchmark::State& state)
{
    Rig rig;
    rig.picker.setSelectedColor(rig.combColors[5]);
    bool up = false;
    for (auto _ : state) {
        up = !up;
        rig.picker.setIntensity(up ? 51 : 50);
        rig.picker.repaint();
    }
}

void registerAll()
{
    auto configure = [](benchmark::internal::Benchmark* b) {
        b->Unit(benchmark::kMicrosecond)->MinTime(0.3)->Repetitions(5)->ReportAggregatesOnly(true);
    };
    configure(
        benchmark::RegisterBenchmark("BM_HexaAssign/comb/paint", [](benchmark::State& s) { assignComb(s, true); }));
    configure(benchmark::RegisterBenchmark("BM_HexaAssign/other/paint", BM_HexaAssignOther));
    configure(
        benchmark::RegisterBenchmark("BM_HexaAssign/comb/frame", [](benchmark::State& s) { assignComb(s, false); }));
    configure(benchmark::RegisterBenchmark("BM_HexaAssignSame", BM_HexaAssignSame));
    configure(benchmark::RegisterBenchmark("BM_HexaIntensityStep/paint", BM_HexaIntensityStep));
}

} // namespace

int main(int argc, char** argv)
{
    return tintara::runQtBenchmarks(argc, argv, registerAll);
}
