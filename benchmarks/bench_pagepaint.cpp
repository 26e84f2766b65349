// Painting the page: every layout at 100 % and 60 % into an image of the
// page's size. A paint must stay well inside a frame so the window never
// stutters.
#include "core/calendar/calendarpage.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "guibenchmarkmain.h"
#include "samplenotes.h"

using namespace Dayloom;

static void PaintLayout(benchmark::State &state)
{
    const auto layout = TCalendarLayout(state.range(0));
    const float zoom = state.range(1) / 100.0f;
    CalendarPage page;
    page.SetDefaultStyle();
    page.SetCalendarLayout(layout);
    page.CalculateLayout(true);
    QImage image(int(page.PageWidth() * zoom), int(page.PageHeight() * zoom), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        page.Paint(painter, zoom);
    }
    state.SetLabel(CalendarPage::LayoutDisplayName(layout).toStdString());
}
BENCHMARK(PaintLayout)
    ->ArgsProduct({benchmark::CreateDenseRange(0, CalendarLayoutCount - 1, 1), {100, 60}})
    ->Unit(benchmark::kMillisecond);

// A month page whose 42 cells all hold notes of three short paragraphs.
static void PaintMonthWith42Notes(benchmark::State &state)
{
    CalendarPage page;
    page.SetDefaultStyle();
    page.SetCalendarLayout(loFullCalendar);
    FillSampleNotes(page);
    QImage image(page.PageWidth(), page.PageHeight(), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        page.Paint(painter, 1.0f);
    }
}
BENCHMARK(PaintMonthWith42Notes)->Unit(benchmark::kMillisecond);

DAYLOOM_GUI_BENCHMARK_MAIN()
