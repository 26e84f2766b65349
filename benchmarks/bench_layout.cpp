// Page geometry: CalculateLayout for every layout (runs on each setting
// change, so it must stay far below a frame).
#include "core/calendar/calendarpage.h"

#include <benchmark/benchmark.h>

using namespace Dayloom;

static void CalculateLayoutAllLayouts(benchmark::State &state)
{
    CalendarPage page;
    for (auto _ : state) {
        for (int layout = 0; layout < CalendarLayoutCount; ++layout) {
            page.SetCalendarLayout(TCalendarLayout(layout));
            page.CalculateLayout(true);
        }
        benchmark::DoNotOptimize(page.MiniRect(60));
    }
}
BENCHMARK(CalculateLayoutAllLayouts);

BENCHMARK_MAIN();
