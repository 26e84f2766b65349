// Printing the page: the busiest layout (a month grid with twelve minis)
// with a note in each of its 42 cells, into a PDF at the writer's 1200
// pixels per inch. A page must print well within 20 ms so that a job of
// many copies never keeps the user waiting.
#include "core/calendar/calendarpage.h"
#include "core/print/papercanvas.h"
#include "core/print/printengine.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

#include "everyextra.h"
#include "guibenchmarkmain.h"
#include "samplenotes.h"

using namespace Dayloom;

// One page of a running job: the page is printed, then a new page starts.
static void PrintPageWith42Notes(benchmark::State &state)
{
    CalendarPage page;
    page.SetDefaultStyle();
    page.SetCalendarLayout(TCalendarLayout(state.range(0)));
    FillSampleNotes(page);
    if (state.range(1) != 0)
        UseEveryExtra(page);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    QPainter painter(&writer);
    PrintEngine engine(painter);
    for (auto _ : state) {
        PrintCalendarPage(page, engine, 0, 0);
        engine.NewPage();
    }
    painter.end();
    state.SetLabel(CalendarPage::LayoutDisplayName(page.CalendarLayout()).toStdString() +
                   (state.range(1) != 0 ? ", every extra" : ""));
}
// The second argument 1: with every option of the calendar frame on.
BENCHMARK(PrintPageWith42Notes)
    ->ArgsProduct({{loFC6Before6After, loFullCalendar, loMC60Month}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// A whole one-page job: writer, page, and the finished file with its fonts.
static void PrintOnePageDocument(benchmark::State &state)
{
    CalendarPage page;
    page.SetDefaultStyle();
    page.SetCalendarLayout(loFC6Before6After);
    FillSampleNotes(page);
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        QPainter painter(&writer);
        PrintEngine engine(painter);
        PrintCalendarPage(page, engine, 0, 0);
        painter.end();
        benchmark::DoNotOptimize(buffer.size());
    }
}
BENCHMARK(PrintOnePageDocument)->Unit(benchmark::kMillisecond);

DAYLOOM_GUI_BENCHMARK_MAIN()
