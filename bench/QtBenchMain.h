#pragma once
// The main of a benchmark program that needs a QApplication: offscreen Qt, then Google Benchmark.
#include <QApplication>
#include <benchmark/benchmark.h>

namespace tintara {

// registerAll adds the benchmarks registered at run time (after the toolkit is up), if any.
inline int runQtBenchmarks(int argc, char** argv, void (*registerAll)() = nullptr)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (registerAll)
        registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace tintara
