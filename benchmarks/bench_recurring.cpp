// Month-level work of the recurring dates over a large list: the fill's
// pre-filter and DatesInMonth for every entry. Target: under 5 ms (median)
// for 10,000 entries and one month.
//
// 500 dated rules (iCalendar recurrences of every frequency, Easter offsets,
// shifts, spans) expanded over a year, texts included. Target: under 5 ms.
//
// Reading a 5 MB iCalendar file of 10,000 events. Target: under 1 s.
//
// The fill into a page: 300 chosen entries written into the day notes of a
// month page, each touched note loaded, extended and stored once. Target:
// under 300 ms (median).

#include "core/calendar/calendarpage.h"
#include "core/recurring/datesinmonth.h"
#include "core/recurring/holidays.h"
#include "core/recurring/icalendarfile.h"
#include "core/recurring/recurringdates.h"
#include "core/recurring/recurringentry.h"
#include "core/recurring/recurringfill.h"
#include "core/recurring/recurringpagefill.h"
#include "core/richtext/notedocument.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
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

// A deterministic mix of the rules people keep beside the formulas.
RecurringDates datedRules()
{
    static const char *const rules[] = {"FREQ=WEEKLY;INTERVAL=2;BYDAY=TU",
                                        "FREQ=MONTHLY;BYDAY=-1FR",
                                        "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1",
                                        "FREQ=YEARLY;BYMONTH=11;BYDAY=TU;BYMONTHDAY=2,3,4,5,6,7,8",
                                        "FREQ=MONTHLY;BYMONTHDAY=13;BYDAY=FR",
                                        "FREQ=DAILY;INTERVAL=10",
                                        "FREQ=YEARLY",
                                        "FREQ=WEEKLY;INTERVAL=3;COUNT=40",
                                        "FREQ=YEARLY;BYWEEKNO=20;BYDAY=MO",
                                        "FREQ=MONTHLY;BYMONTHDAY=15"};
    RecurringDates dates;
    for (int i = 0; i < 500; ++i) {
        DatedEntry entry;
        entry.uid = QStringLiteral("rule-%1").arg(i);
        entry.description = QStringLiteral("Rule %1 turns {years}").arg(i);
        entry.rule.first = QDate(2000 + i % 26, 1 + i % 12, 1 + i % 28);
        if (i % 10 == 9) {
            entry.rule.kind = DateRule::Kind::Easter;
            entry.rule.easterOffset = i % 60 - 10;
            entry.rule.reckoning =
                i % 20 == 9 ? DateRule::Reckoning::Orthodox : DateRule::Reckoning::Western;
        } else {
            entry.rule.recurrence = RecurrenceRule::parse(QString::fromLatin1(rules[i % 10]));
        }
        if (i % 7 == 0)
            entry.rule.shift = DateRule::Shift::NearestWorkday;
        if (i % 11 == 0)
            entry.rule.spanDays = 3;
        dates.datedEntries.append(entry);
    }
    return dates;
}

void BM_Expand500RulesOverAYear(benchmark::State &state)
{
    const RecurringDates dates = datedRules();
    for (auto _ : state)
        benchmark::DoNotOptimize(dates.textsByDay(QDate(2026, 1, 1), QDate(2026, 12, 31)));
    state.SetItemsProcessed(state.iterations() * dates.datedEntries.size());
}

// 10,000 events of about 500 bytes, as calendar programs write them.
QByteArray largeCalendar()
{
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//EN\r\n";
    const QByteArray notes(300, 'x');
    for (int i = 0; i < 10'000; ++i) {
        text += "BEGIN:VEVENT\r\nUID:event-" + QByteArray::number(i) + "@example.com\r\n";
        text += "DTSTAMP:20260101T120000Z\r\n";
        text += "DTSTART:2026" + QByteArray::number(100 + i % 12 + 1).right(2) + "10T0930" +
                QByteArray::number(10 + i % 50) + "\r\n";
        text += "DTEND:2026" + QByteArray::number(100 + i % 12 + 1).right(2) + "10T1030" +
                QByteArray::number(10 + i % 50) + "\r\n";
        text += "SUMMARY:Meeting number " + QByteArray::number(i) + "\r\n";
        if (i % 3 == 0)
            text += "RRULE:FREQ=WEEKLY;BYDAY=MO,WE;UNTIL=20271231\r\n";
        text +=
            "DESCRIPTION:" + notes + "\r\n LOCATION:Room " + QByteArray::number(i % 40) + "\r\n";
        text += "END:VEVENT\r\n";
    }
    return text + "END:VCALENDAR\r\n";
}

void BM_Import10000Events(benchmark::State &state)
{
    const QByteArray bytes = largeCalendar();
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        ICalendarFile::Contents contents;
        if (!ICalendarFile::read(buffer, contents) || contents.entries.size() != 10'000)
            state.SkipWithError("the calendar did not read");
    }
    state.counters["MB"] = double(bytes.size()) / (1024 * 1024);
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
BENCHMARK(BM_Expand500RulesOverAYear)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();
BENCHMARK(BM_Import10000Events)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();
BENCHMARK(BM_FillPage300)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly();
BENCHMARK(BM_FillPage300OverNotes)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();

DAYLOOM_GUI_BENCHMARK_MAIN()
