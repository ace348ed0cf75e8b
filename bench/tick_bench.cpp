// One tick of the sampling loop (TfrmMain::timTintaraTimer: sample, RefreshDisplays(false), status
// label) in the real main window at its designed geometry, on the fake desktop and Qt's offscreen
// platform.
//
// Each case runs in two flavours:
//   .../paint   the tick, then the event processing that follows it in the real program: the
//               posted update requests are delivered and every widget the tick invalidated is
//               repainted into the window's back buffer.
//   .../tick    the tick alone; the repaints it asked for are done with the clock stopped.
// The fake desktop takes the magnifier's pictures the way the X11 one does (the magnifier draws a
// new capture into the put's surface and the window's back buffer, not in a repaint).
// Not included anywhere: everything that talks to the X server (the cursor query, the screen capture
// and the put, Qt's back-buffer sync and flush, its event-reader thread) and the window manager. On a
// real display those cost more per tick than the work measured here; bench/measure.py covers them on
// the real program.
//
// Counters per tick: captures (screen grabs by the magnifier), paints (paint events delivered to any
// widget of the window) and rounds (the window's update requests: each is a sync and flush of the
// toolkit's back buffer, and on X a wait for the server).
//
//   QT_QPA_PLATFORM is set to offscreen here; run as
//   build/bin/bench_tick --benchmark_counters_tabular=true
// Instruction counts of the measured loops alone (the window's construction and first paints left
// out), repeatable on a loaded machine:
//   bench/tick_instructions.sh build/release/bin/bench_tick   (callgrind, --instr-atstart=no)
#include "QtBenchMain.h"
#include "app/Main.h"
#include "platform/FakePlatform.h"

#include <QApplication>
#include <QEvent>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>

#include <benchmark/benchmark.h>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define TINTARA_COLLECT(on)                                                                                            \
    do {                                                                                                               \
        if (on)                                                                                                        \
            CALLGRIND_START_INSTRUMENTATION;                                                                           \
        else                                                                                                           \
            CALLGRIND_STOP_INSTRUMENTATION;                                                                            \
    } while (false)
#else
#define TINTARA_COLLECT(on) ((void)(on))
#endif

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <string>

namespace {

using namespace tintara;

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr int kCursorY = 500;
constexpr int kPathLeft = 900;
constexpr int kPathRight = 1100;
constexpr int kStripeWidth = 40;

// Counts the paint events the window's widgets receive, and the window's update requests: each is one
// round of the toolkit (sync and flush of its back buffer, and on X a wait for the server).
class PaintCounter : public QObject {
public:
    long long paints = 0;
    long long rounds = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        else if (event->type() == QEvent::UpdateRequest && watched->isWidgetType() &&
                 static_cast<QWidget*>(watched)->isWindow())
            ++rounds;
        return QObject::eventFilter(watched, event);
    }
};

enum class Scenario {
    Still,            // cursor still, window in the foreground
    Moving,           // cursor one pixel further every tick, every pixel a new colour
    MovingStripes,    // the same over 40-pixel stripes of solid colour: the picture moves, the colour
                      // changes on one tick in 40 (what bench/measure.py's path does)
    MovingRainbow,    // the same with the mixer's Rainbow page shown
    MovingHue,        // the same with the mixer's Hue page shown
    MovingSliders,    // the same with the mixer's Sliders page shown (six slider pickers follow the colour)
    MovingBackground, // cursor moving over new colours, another window active: the status line pulses too
    MovingLocked,     // cursor moving, but the current chip is locked: the displays stay as they are
    StillBackground,  // cursor still, another window active: the status line pulses
};

// The window on a fake desktop whose every pixel differs from its neighbours, so a cursor that moves
// one pixel changes the sampled colour and with it every display.
class Rig {
public:
    explicit Rig(Scenario scenario) : platform_(kScreenWidth, kScreenHeight)
    {
        std::random_device rd;
        dir_ = std::filesystem::temp_directory_path() / ("tintara-bench-" + std::to_string(rd()));
        std::filesystem::create_directories(dir_);

        if (scenario == Scenario::MovingStripes) {
            static constexpr TColor stripes[] = {0x4B19E6, 0x4BB43C, 0x19E1FF, 0xD86343,
                                                 0x3182F5, 0xB41E91, 0xF0F046, 0xE632F0};
            for (int x = 0, i = 0; x < kScreenWidth; x += kStripeWidth, ++i)
                platform_.fillRect({x, 0, x + kStripeWidth, kScreenHeight}, stripes[i % 8]);
        } else {
            for (int y = 0; y < kScreenHeight; ++y)
                for (int x = 0; x < kScreenWidth; ++x)
                    platform_.setScreenPixel(x, y, rgbColor(x * 7, y * 13, (x ^ y) & 0xFF));
        }
        platform_.setCursorPos(kPathLeft, kCursorY);
        platform_.setForeground(scenario != Scenario::StillBackground && scenario != Scenario::MovingBackground);
        platform_.setClockStepMs(10); // the loop's interval: the window title follows at its own cadence
        // As on X: the magnifier puts each new capture straight in the window, past the toolkit.
        platform_.setPresentsPictures(true);

        MainWindowEnvironment env;
        env.platform = &platform_;
        env.settingsPath = dir_ / "Tintara.ini";
        env.palettePath = dir_ / "palettes.xml";
        env.askFourK = [](QWidget*) { return false; };
        env.inputBox = [](QWidget*, const QString&, const QString&) -> std::optional<QString> { return std::nullopt; };
        env.chooseColor = [](QWidget*, TColor) -> std::optional<TColor> { return std::nullopt; };
        env.showError = [](QWidget*, const QString&) {};
        window_ = std::make_unique<TfrmMain>(std::move(env));

        // The benchmark drives the ticks. Each tick restarts the timer; an interval of an hour keeps
        // the restart's cost in the figures without a timer tick ever sneaking into the event processing.
        window_->timTintara->stop();
        window_->timTintara->setInterval(std::chrono::hours(1));
        if (scenario == Scenario::MovingSliders)
            window_->pagesMixer->setCurrentWidget(window_->tabSliders);
        else if (scenario == Scenario::MovingRainbow)
            window_->pagesMixer->setCurrentWidget(window_->tabRainbow);
        else if (scenario == Scenario::MovingHue)
            window_->pagesMixer->setCurrentWidget(window_->tabHue);
        window_->show();
        waitExposed();
        if (scenario == Scenario::MovingLocked) {
            window_->ToggleChipLock();
            window_->RefreshDisplays(true);
        }
        moving_ = scenario != Scenario::Still && scenario != Scenario::StillBackground;

        // Settle: the first ticks after showing lay out and paint everything once.
        for (int i = 0; i < 20; ++i) {
            step();
            window_->timTintaraTimer();
            settle();
        }
        for (QWidget* w : window_->findChildren<QWidget*>())
            w->installEventFilter(&paints_);
        window_->installEventFilter(&paints_);
        platform_.resetCaptureCount();
    }

    ~Rig()
    {
        window_.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    // Moves the cursor one pixel along a line (there and back) in the moving cases.
    void step()
    {
        if (!moving_)
            return;
        x_ += dx_;
        if (x_ == kPathRight || x_ == kPathLeft)
            dx_ = -dx_;
        platform_.setCursorPos(x_, kCursorY);
    }

    void tick() { window_->timTintaraTimer(); }

    // What the event loop does between two ticks: deliver the update requests and repaint.
    static void settle() { QCoreApplication::processEvents(); }

    void report(benchmark::State& state) const
    {
        const auto n = static_cast<double>(state.iterations());
        state.counters["captures"] = static_cast<double>(platform_.captureCount()) / n;
        state.counters["paints"] = static_cast<double>(paints_.paints) / n;
        state.counters["rounds"] = static_cast<double>(paints_.rounds) / n;
    }

private:
    void waitExposed()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            QCoreApplication::processEvents();
            if (window_->windowHandle() && window_->windowHandle()->isExposed())
                break;
        }
        QCoreApplication::processEvents();
    }

    FakePlatform platform_;
    std::filesystem::path dir_;
    std::unique_ptr<TfrmMain> window_;
    PaintCounter paints_;
    bool moving_ = false;
    int x_ = kPathLeft;
    int dx_ = 1;
};

void tickWithPaint(benchmark::State& state, Scenario scenario)
{
    Rig rig(scenario);
    TINTARA_COLLECT(true);
    for (auto _ : state) {
        rig.step();
        rig.tick();
        Rig::settle();
    }
    TINTARA_COLLECT(false);
    rig.report(state);
}

void tickOnly(benchmark::State& state, Scenario scenario)
{
    Rig rig(scenario);
    for (auto _ : state) {
        rig.step();
        rig.tick();
        state.PauseTiming();
        Rig::settle();
        state.ResumeTiming();
    }
    rig.report(state);
}

void registerAll()
{
    const long long iterations = qEnvironmentVariableIntValue("TICK_ITERATIONS");
    struct Case {
        const char* name;
        Scenario scenario;
    };
    static constexpr Case cases[] = {
        {"still", Scenario::Still},
        {"moving", Scenario::Moving},
        {"moving_stripes", Scenario::MovingStripes},
        {"moving_rainbow", Scenario::MovingRainbow},
        {"moving_hue", Scenario::MovingHue},
        {"moving_sliders", Scenario::MovingSliders},
        {"moving_background", Scenario::MovingBackground},
        {"moving_locked", Scenario::MovingLocked},
        {"still_background", Scenario::StillBackground},
    };
    for (const Case& c : cases) {
        const Scenario s = c.scenario;
        for (const bool paint : {true, false}) {
            const std::string name = std::string("BM_Tick/") + c.name + (paint ? "/paint" : "/tick");
            auto* b =
                paint ? benchmark::RegisterBenchmark(name.c_str(), [s](benchmark::State& st) { tickWithPaint(st, s); })
                      : benchmark::RegisterBenchmark(name.c_str(), [s](benchmark::State& st) { tickOnly(st, s); });
            b->Unit(benchmark::kMicrosecond);
            if (iterations > 0)
                b->Iterations(iterations); // a fixed count, for counting instructions
            else
                b->MinTime(0.3)->Repetitions(5)->ReportAggregatesOnly(true);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    return tintara::runQtBenchmarks(argc, argv, registerAll);
}
