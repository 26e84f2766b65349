#pragma once

// main() for benchmarks that draw text or lay out notes: fonts need the
// application object, and no display is wanted. The program's kinds of
// placed objects are registered as the programs register them.

#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

// Widget benchmarks pass QApplication (and include it).
#define DAYLOOM_BENCHMARK_MAIN_WITH(ApplicationClass)                                              \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))                                         \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        benchmark::Initialize(&argc, argv);                                                        \
        ApplicationClass app(argc, argv);                                                          \
        Dayloom::RegisterObjectKinds(Dayloom::ObjectKindRegistry::Application());                  \
        if (benchmark::ReportUnrecognizedArguments(argc, argv))                                    \
            return 1;                                                                              \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }

#define DAYLOOM_GUI_BENCHMARK_MAIN() DAYLOOM_BENCHMARK_MAIN_WITH(QGuiApplication)
