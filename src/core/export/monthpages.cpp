#include "core/export/monthpages.h"

#include "core/calendar/calendarpage.h"
#include "core/export/pageexport.h"
#include "core/io/seterror.h"
#include "core/recurring/recurringpagefill.h"
#include "core/surface/pagedocument.h"

#include <QFile>
#include <QFileInfo>

namespace Dayloom {

namespace {

QList<QDate> PageStarts(const MonthSpan &span, const CalendarPage &page, const QDate &own)
{
    const QDate first(span.fromYear, span.fromMonth, 1);
    const QDate end = QDate(span.toYear, span.toMonth, 1).addMonths(1);
    QList<QDate> starts;
    if (!page.IsPlanner()) {
        for (QDate date = first; date < end; date = date.addMonths(1))
            starts.append(date);
        return starts;
    }
    const TCalendarLayout layout = page.CalendarLayout();
    const int step = layout == loDay10 || layout == loDay15 ? 1 : layout == lo2Week ? 14 : 7;
    QDate date = first;
    if (own >= first && own < end) {
        const qint64 behind = first.daysTo(own) % step;
        if (behind != 0)
            date = first.addDays(behind - step);
    } else if (step > 1 && page.Extras().weekPlannersFromFirstWeekday) {
        // Week planners that start on the first weekday start there.
        date = CalendarDates::LatestOnOrBefore(first, page.FirstWeekday());
    }
    for (; date < end; date = date.addDays(step))
        starts.append(date);
    return starts;
}

QString CannotWrite(const QString &path, const QString &reason)
{
    return QStringLiteral("cannot write %1: %2").arg(path, reason);
}

} // namespace

MonthPages::MonthPages(PageDocument &document, const MonthSpan &span, std::optional<Fill> fill)
    : m_document(document), m_fill(std::move(fill))
{
    const CalendarPage &page = document.Page();
    m_planner = page.IsPlanner();
    m_ownStart =
        m_planner ? page.PlannerFirstDate() : QDate(page.MainCalYear(), page.MainCalMonth(), 1);
    m_ownDay = page.MainCalDay();
    m_ownMonth = page.MainCalMonth();
    m_ownYear = page.MainCalYear();
    for (int cell = 1; cell <= CalendarCellCount; ++cell)
        m_ownNotes[cell - 1] = page.CellNote(cell);
    m_starts = PageStarts(span, page, m_ownStart);
}

bool MonthPages::Prepare(int index, QString *error)
{
    CalendarPage &page = m_document.Page();
    const QDate date = m_starts[index];
    if (m_planner)
        page.SetMainCalDay(1); // a day every month has, while the month changes
    page.SetMainCalYear(date.year());
    page.SetMainCalMonth(date.month());
    if (m_planner)
        page.SetMainCalDay(date.day());
    page.ClearCellNotes();
    if (date == m_ownStart) {
        for (int cell = 1; cell <= CalendarCellCount; ++cell)
            page.SetCellNote(cell, m_ownNotes[cell - 1]);
    }
    bool filled = false;
    return !m_fill || FillPageFromFiles(page, m_fill->datesFiles, m_fill->noteFont, filled, error,
                                        m_fill->holidays);
}

void MonthPages::Restore()
{
    CalendarPage &page = m_document.Page();
    page.SetMainCalDay(1); // a day every month has, while the month changes
    page.SetMainCalYear(m_ownYear);
    page.SetMainCalMonth(m_ownMonth);
    page.SetMainCalDay(m_ownDay);
    for (int cell = 1; cell <= CalendarCellCount; ++cell)
        page.SetCellNote(cell, m_ownNotes[cell - 1]);
}

bool MonthPages::ExportPdf(const QString &path, QString *error)
{
    bool prepared = true;
    const PreparePage prepare = [this, &prepared](int index, QString *why) {
        prepared = Prepare(index, why);
        return prepared;
    };
    QString reason;
    if (ExportDocumentPdf(m_document, static_cast<int>(m_starts.size()), prepare, path, &reason))
        return true;
    SetError(error, prepared ? CannotWrite(path, reason) : reason);
    return false;
}

QString MonthPages::PagePath(const QString &path, int index) const
{
    const QString suffix = QFileInfo(path).suffix();
    const QString stem = path.left(path.size() - suffix.size() - 1);
    const QString date = m_starts[index].toString(m_planner ? u"yyyy-MM-dd" : u"yyyy-MM");
    return QStringLiteral("%1-%2.%3").arg(stem, date, suffix);
}

bool MonthPages::ExportFiles(const QString &path, const WritePage &writePage, QString *error)
{
    QStringList written;
    for (int index = 0; index < m_starts.size(); ++index) {
        const QString pagePath = PagePath(path, index);
        QString reason;
        bool ok = Prepare(index, &reason);
        if (ok && !writePage(pagePath, &reason)) {
            ok = false;
            reason = CannotWrite(pagePath, reason);
        }
        if (!ok) {
            for (const QString &done : std::as_const(written))
                QFile::remove(done);
            SetError(error, reason);
            return false;
        }
        written.append(pagePath);
    }
    return true;
}

} // namespace Dayloom
