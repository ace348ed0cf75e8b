// The Rainbow and Hue composites as the main window drives them: while their tab is shown, every
// sampled colour change assigns SelectedColor, up to 100 times a second. Measured at the main window's
// 169 x 143 with the repaints each assignment causes (offscreen Qt), and the field images on their own.
//
//   QT_QPA_PLATFORM is set to offscreen here; run as
//   build/release/bin/bench_composites --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "QtBenchMain.h"
#include "colormodel/RGBHSVUtils.h"
#include "pickers/HColorPicker.h"
#include "pickers/HSColorPicker.h"
#include "pickers/HSFieldGeometry.h"
#include "pickers/HSLColorPicker.h"
#include "pickers/LColorPicker.h"
#include "pickers/SLColorPicker.h"
#include "pickers/SLFieldGeometry.h"
#include "pickers/SLHColorPicker.h"

#include <QApplication>
#include <QEvent>
#include <QWindow>
#include <benchmark/benchmark.h>

#include <chrono>

namespace tintara {
namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, e);
    }
};

// A shown window with the composite where the main window has it.
template <typename Composite> class Rig {
public:
    Rig()
    {
        window_.setGeometry(100, 100, 200, 180);
        picker_ = new Composite(&window_);
        picker_->setGeometry(10, 26, 169, 143);
        for (QObject* o : std::initializer_list<QObject*>{picker_, picker_->field(), picker_->slider()})
            o->installEventFilter(&paints_);
        window_.show();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline &&
               !(window_.windowHandle() != nullptr && window_.windowHandle()->isExposed()))
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        paints_.paints = 0;
    }

    Composite& picker() { return *picker_; }
    void report(benchmark::State& state) const
    {
        state.counters["paints"] = static_cast<double>(paints_.paints) / static_cast<double>(state.iterations());
    }

private:
    QWidget window_;
    Composite* picker_ = nullptr;
    PaintCounter paints_;
};

// Colours as the sampling loop meets them: each one a new hue (and a different saturation and value).
TColor sampled(int i)
{
    return ColorFromHsv(i % 360, 120 + (i * 7) % 136, 100 + (i * 13) % 156);
}

template <typename Composite> void BM_AssignWithRepaint(benchmark::State& state)
{
    Rig<Composite> rig;
    int i = 1;
    for (auto _ : state) {
        rig.picker().setSelectedColor(sampled(i++));
        // What the event loop does before the next tick: deliver the repaints.
        QCoreApplication::processEvents();
    }
    rig.report(state);
}

template <typename Composite> void BM_AssignOnly(benchmark::State& state)
{
    Rig<Composite> rig;
    int i = 1;
    for (auto _ : state) {
        rig.picker().setSelectedColor(sampled(i++));
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    rig.report(state);
}

// The Hue composite's field for a new hue: only the pixels the 127 x 127 control shows, against the
// full 256 x 256 image it stands for.
void BM_SlFieldShown(benchmark::State& state)
{
    Bitmap32 shown;
    int hue = 0;
    for (auto _ : state) {
        hue = (hue + 1) % 361;
        buildSlFieldShown(shown, hue, static_cast<int>(state.range(0)), static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(shown.bits());
    }
}

void BM_SlFieldFull(benchmark::State& state)
{
    Bitmap32 field;
    int hue = 0;
    for (auto _ : state) {
        hue = (hue + 1) % 361;
        buildSlField(field, hue);
        benchmark::DoNotOptimize(field.bits());
    }
}

// The Rainbow field is the same for every colour: built once, stretched on a resize only.
void BM_HsFieldBuild(benchmark::State& state)
{
    Bitmap32 field;
    for (auto _ : state) {
        buildHsField(field);
        benchmark::DoNotOptimize(field.bits());
    }
}

void BM_HsFieldStretch(benchmark::State& state)
{
    Bitmap32 shown;
    for (auto _ : state) {
        shown.setSize(0, 0);
        stretchHsField(shown, 127, 127);
        benchmark::DoNotOptimize(shown.bits());
    }
}

BENCHMARK_TEMPLATE(BM_AssignWithRepaint, TSLHColorPicker)
    ->Name("BM_HueComposite/assign_new_hue/paint")
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(0.3);
BENCHMARK_TEMPLATE(BM_AssignOnly, TSLHColorPicker)
    ->Name("BM_HueComposite/assign_new_hue/assign")
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(0.3);
BENCHMARK_TEMPLATE(BM_AssignWithRepaint, THSLColorPicker)
    ->Name("BM_RainbowComposite/assign/paint")
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(0.3);
BENCHMARK_TEMPLATE(BM_AssignOnly, THSLColorPicker)
    ->Name("BM_RainbowComposite/assign/assign")
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(0.3);
BENCHMARK(BM_SlFieldShown)->Arg(127)->Arg(255)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SlFieldFull)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HsFieldBuild)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HsFieldStretch)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tintara

int main(int argc, char** argv)
{
    return tintara::runQtBenchmarks(argc, argv);
}
