// The calendar properties dialog: opening it, up to the first paint of its
// sample page, must stay well under a glance (150 ms), and one control
// change must repaint the sample within a 60 Hz frame (16 ms).
#include "core/calendar/calendarpage.h"
#include "guibenchmarkmain.h"
#include "ui/properties/tcalendarproperties.h"

#include <QApplication>
#include <QComboBox>

#include <benchmark/benchmark.h>

using namespace Dayloom;

namespace {

CalendarPage &SourcePage()
{
    static CalendarPage page;
    static const bool ready = [] {
        page.SetDefaultStyle();
        page.SetMainCalMonth(12);
        page.SetMainCalYear(2026);
        return true;
    }();
    Q_UNUSED(ready);
    return page;
}

} // namespace

static void OpenDialog(benchmark::State &state)
{
    for (auto _ : state) {
        TCalendarProperties dialog(nullptr);
        dialog.SetPreviewZoom(0.3f);
        dialog.ExampleCalendar().AssignSettings(SourcePage());
        dialog.show();
        dialog.PreviewWidget()->repaint();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(dialog.PreviewWidget()->width());
        dialog.reject();
    }
}
BENCHMARK(OpenDialog)->Unit(benchmark::kMillisecond);

// A new line style chosen: the sample page re-lays out and repaints.
static void ChangeLineStyle(benchmark::State &state)
{
    TCalendarProperties dialog(nullptr);
    dialog.SetPreviewZoom(state.range(0) / 100.0f);
    dialog.ExampleCalendar().AssignSettings(SourcePage());
    dialog.show();
    QCoreApplication::processEvents();
    auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("CalendarLineLayoutCombo"));
    int index = 0;
    for (auto _ : state) {
        index = (index + 1) % combo->count();
        combo->setCurrentIndex(index);
        dialog.PreviewWidget()->repaint();
    }
    dialog.reject();
}
BENCHMARK(ChangeLineStyle)->Arg(30)->Arg(100)->Unit(benchmark::kMillisecond);

DAYLOOM_BENCHMARK_MAIN_WITH(QApplication)
