// Painting the page: every layout at 100 % and 60 % into an image of the
// page's size. A paint must stay well inside a frame so the window never
// stutters.
#include "core/calendar/calendarpage.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace Dayloom;

static void PaintLayout(benchmark::State &state)
{
    const auto layout = TCalendarLayout(state.range(0));
    const float zoom = state.range(1) / 100.0f;
    CalendarPage page;
    page.SetDefaultStyle();
    page.SetCalendarLayout(layout);
    page.CalculateLayout(true);
    QImage image(int(page.PageWidth() * zoom), int(page.PageHeight() * zoom),
                 QImage::Format_RGB32);
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

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
