// A linked holiday set at work: adding a set (its file read into a
// catalogue, the link made) and filling a year of month pages with it, each
// holiday written into its day's note. Target: under 20 ms (median).
//
// The set is the shipped German one when the build has it, else a generated
// set of its size: 16 regions, 40 holidays of every rule kind, some of them
// regions' own, observed days off.

#include "core/calendar/calendarpage.h"
#include "core/holidays/holidaycatalogue.h"
#include "core/holidays/holidaylinksource.h"
#include "core/recurring/recurringdates.h"
#include "core/recurring/recurringpagefill.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "guibenchmarkmain.h"

using namespace Dayloom;

namespace {

// The generated set's regions: BY (the one linked) and R0, R2 ... R15.
QByteArray regionCode(int r)
{
    return r == 1 ? QByteArray("BY") : "R" + QByteArray::number(r);
}

QByteArray generatedSet()
{
    QByteArray text = "country DE\n  name de Deutschland\n  name en Germany\n  languages de\n";
    for (int r = 0; r < 16; ++r)
        text += "region " + regionCode(r) + "\n  name en Region " + QByteArray::number(r) + "\n";
    for (int h = 0; h < 40; ++h) {
        const int month = h % 12 + 1;
        QByteArray rule;
        switch (h % 4) {
        case 0:
            rule = QStringLiteral("date %1-%2")
                       .arg(month, 2, 10, QLatin1Char('0'))
                       .arg(h % 28 + 1, 2, 10, QLatin1Char('0'))
                       .toLatin1();
            break;
        case 1:
            rule = "easter " + QByteArray(h < 20 ? "-" : "+") + QByteArray::number(h % 20);
            break;
        case 2:
            rule = "rrule FREQ=YEARLY;BYMONTH=" + QByteArray::number(month) + ";BYDAY=2MO";
            break;
        default:
            rule = "orthodox-easter +" + QByteArray::number(h % 7);
            break;
        }
        text += "holiday h" + QByteArray::number(h) + "\n  name de Feiertag " +
                QByteArray::number(h) + "\n  name en Holiday " + QByteArray::number(h) +
                "\n  category " + (h % 5 == 4 ? "observance" : "public") + "\n  rule " + rule +
                "\n";
        if (h % 3 == 1)
            text += "  regions " + regionCode(h % 16) + ' ' + regionCode((h + 5) % 16) + '\n';
        if (h % 4 == 0)
            text += "  observed next off sat,sun\n";
    }
    return text;
}

// A folder holding the one set the benchmark adds.
const QString &setFolder()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString shipped = QStringLiteral(DAYLOOM_ASSETS "/Holidays/DE.holidays");
        QFile out(folder.filePath(QStringLiteral("DE.holidays")));
        if (!QFile::copy(shipped, out.fileName()) && out.open(QIODevice::WriteOnly))
            out.write(generatedSet());
        return folder.path();
    }();
    return path;
}

void BM_AddSetAndFillAYear(benchmark::State &state)
{
    const FontSpec font(QStringLiteral("Arial"), 10);
    CalendarPage page;
    page.SetMainCalYear(2027);
    int notes = 0;
    for (auto _ : state) {
        const HolidayCatalogue catalogue = HolidayCatalogue::fromFolder(setFolder());
        const CatalogueHolidaySource source(
            [&]() -> const HolidayCatalogue & { return catalogue; });
        SetHolidayLinkSource(&source);
        RecurringDates dates;
        dates.linkHolidays(HolidayLink{QStringLiteral("DE-BY"), HolidayLink::AllCategories});
        notes = 0;
        for (int month = 1; month <= 12; ++month) {
            state.PauseTiming();
            page.ClearCellNotes();
            page.SetMainCalMonth(month);
            state.ResumeTiming();
            FillPageMonth(page, dates, font);
            state.PauseTiming();
            for (int cell = 1; cell <= CalendarPage::CellCount; ++cell)
                notes += page.CellNote(cell).IsEmpty() ? 0 : 1;
            state.ResumeTiming();
        }
        SetHolidayLinkSource(nullptr);
    }
    state.counters["notes"] = notes;
}

} // namespace

BENCHMARK(BM_AddSetAndFillAYear)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();

DAYLOOM_GUI_BENCHMARK_MAIN()
