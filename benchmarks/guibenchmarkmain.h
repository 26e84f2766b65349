#pragma once

// main() for benchmarks that draw text or lay out notes: fonts need the
// application object, and no display is wanted.

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#define DAYLOOM_GUI_BENCHMARK_MAIN()                                                               \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))                                         \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        benchmark::Initialize(&argc, argv);                                                        \
        QGuiApplication app(argc, argv);                                                           \
        if (benchmark::ReportUnrecognizedArguments(argc, argv))                                    \
            return 1;                                                                              \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }
