// Month-level work of the recurring dates over a large list: the fill's
// pre-filter and DatesInMonth for every entry. Target: under 5 ms (median)
// for 10,000 entries and one month.
//
// The fill into a page: 300 chosen entries written into the day notes of a
// month page, each touched note loaded, extended and stored once. Target:
// under 300 ms (median).

#include "core/calendar/calendarpage.h"
#include "core/recurring/datesinmonth.h"
#include "core/recurring/holidays.h"
#include "core/recurring/recurringentry.h"
#include "core/recurring/recurringfill.h"
#include "core/recurring/recurringpagefill.h"
#include "core/richtext/notedocument.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QStringList>

#include "guibenchmarkmain.h"

using namespace Dayloom;

namespace {

constexpr int EntryCount = 10'000;

// A deterministic mix of every formula kind, including unreadable ones.
QStringList makeEntries()
{
    const QStringList &holidays = builtInHolidays();
    QStringList entries;
    entries.reserve(EntryCount);
    for (int i = 0; i < EntryCount; ++i) {
        const QString name = QStringLiteral("Event number %1").arg(i);
        switch (i % 6) {
        case 0:
            entries.append(
                RecurringEntry::makeLine(name, QStringLiteral("@%1%2")
                                                   .arg(i % 13, 2, 10, QLatin1Char('0'))
                                                   .arg(i % 31 + 1, 2, 10, QLatin1Char('0'))));
            break;
        case 1:
            entries.append(RecurringEntry::makeLine(
                name, QStringLiteral("$%1 %2 %3").arg(i % 6).arg(i % 8).arg(i % 13)));
            break;
        case 2:
            entries.append(RecurringEntry::makeLine(
                name, QStringLiteral("%%1%2").arg(i % 7 + 1).arg((i / 7) % 7 + 1)));
            break;
        case 3:
            entries.append(holidays.at(i % holidays.size()));
            break;
        case 4:
            entries.append(RecurringEntry::makeLine(name, QStringLiteral("@x%1").arg(i % 10)));
            break;
        default:
            entries.append(RecurringEntry::makeLine(name, QStringLiteral("%23456")));
            break;
        }
    }
    return entries;
}

const QStringList &entries()
{
    static const QStringList list = makeEntries();
    return list;
}

void BM_PreFilter(benchmark::State &state)
{
    const QStringList &list = entries();
    for (auto _ : state)
        benchmark::DoNotOptimize(offeredEntries(list, 3, 2024));
    state.SetItemsProcessed(state.iterations() * list.size());
}

void BM_DatesInMonth(benchmark::State &state)
{
    const QStringList &list = entries();
    for (auto _ : state) {
        qsizetype days = 0;
        for (const QString &line : list)
            days += DatesInMonth(RecurringEntry(line).formula(), 2024, 3).size();
        benchmark::DoNotOptimize(days);
    }
    state.SetItemsProcessed(state.iterations() * list.size());
}

void BM_FillTexts(benchmark::State &state)
{
    const QStringList offered = offeredEntries(entries(), 3, 2024);
    for (auto _ : state)
        benchmark::DoNotOptimize(fillTexts(offered, 3, 2024));
    state.SetItemsProcessed(state.iterations() * offered.size());
}

constexpr int ChosenCount = 300;

// 300 entries as a user might choose them for March 2024: mostly single
// days, some weekly ones that touch four or five days, a few every-weekday
// ones that touch most of the month.
QStringList chosenEntries()
{
    QStringList chosen;
    for (int i = 0; i < ChosenCount; ++i) {
        const QString name = QStringLiteral("Birthday of a good friend %1").arg(i);
        QString formula;
        switch (i % 10) {
        case 0:
            formula = QStringLiteral("%%1").arg(i % 7 + 1);
            break;
        case 1:
            formula = QStringLiteral("$%1 %2 0").arg(i % 6).arg(i % 8);
            break;
        case 2:
            formula = i % 30 == 2 ? QStringLiteral("%23456") : QStringLiteral("$0 1 3");
            break;
        default:
            formula = QStringLiteral("@03%1").arg(i % 31 + 1, 2, 10, QLatin1Char('0'));
            break;
        }
        chosen.append(RecurringEntry::makeLine(name, formula));
    }
    return chosen;
}

TWPRtfStorage formattedNote()
{
    NoteDocument note;
    note.InsertText(QStringLiteral("Dentist at 10"),
                    FontSpec(QStringLiteral("Times New Roman"), 12, true, clRed));
    note.NewParagraph();
    note.InsertText(QStringLiteral("Call the garage"), FontSpec());
    TWPRtfStorage storage;
    note.StoreTo(storage);
    return storage;
}

void fillPage(benchmark::State &state, bool notesPresent)
{
    const QStringList chosen = chosenEntries();
    const TWPRtfStorage existing = formattedNote();
    const FontSpec font(QStringLiteral("Arial"), 10);
    CalendarPage page;
    page.SetMainCalYear(2024);
    page.SetMainCalMonth(3);
    for (auto _ : state) {
        state.PauseTiming();
        page.ClearCellNotes();
        if (notesPresent) {
            for (int cell = 1; cell <= CalendarPage::CellCount; ++cell)
                page.SetCellNote(cell, existing);
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(FillPageWithEntries(page, chosen, font));
    }
    state.SetItemsProcessed(state.iterations() * chosen.size());
    qsizetype paragraphs = 0;
    for (const QStringList &texts : fillTexts(chosen, 3, 2024))
        paragraphs += texts.size();
    state.counters["paragraphs"] = double(paragraphs);
}

void BM_FillPage300(benchmark::State &state)
{
    fillPage(state, false);
}

void BM_FillPage300OverNotes(benchmark::State &state)
{
    fillPage(state, true);
}

} // namespace

BENCHMARK(BM_PreFilter)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly();
BENCHMARK(BM_DatesInMonth)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly();
BENCHMARK(BM_FillTexts)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly();
BENCHMARK(BM_FillPage300)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly();
BENCHMARK(BM_FillPage300OverNotes)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();

DAYLOOM_GUI_BENCHMARK_MAIN()
