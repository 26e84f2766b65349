#pragma once

#include "core/calendar/calendartypes.h"
#include "core/common/fontspec.h"
#include "core/recurring/holidaylink.h"
#include "core/richtext/twprtfstorage.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace Dayloom {

class PageDocument;

// A span of whole months, first and last included.
struct MonthSpan
{
    int fromYear = 0;
    int fromMonth = 0;
    int toYear = 0;
    int toMonth = 0;
};

// One design exported as a page per month of a span; week and day planners
// step 7, 14 or 1 days per page over the span's days. The design's own
// notes stay on its own month (or planner page), the other pages start
// empty, and every page may first be filled with the recurring dates. The
// document (not owned; it outlives this) is set up page by page and left
// at the last page the run reached.
class MonthPages
{
public:
    // What every page is filled from: the dates files (each a recurring-dates
    // list or an iCalendar file; none: the user's own list), notes written
    // in noteFont, with the holiday sets linked in.
    struct Fill
    {
        QStringList datesFiles;
        FontSpec noteFont;
        QList<HolidayLink> holidays;
    };
    // Writes the page the document shows into path; false with the reason.
    using WritePage = std::function<bool(const QString &path, QString *error)>;

    // Takes the document's own date and notes as they are now.
    MonthPages(PageDocument &document, const MonthSpan &span, std::optional<Fill> fill);

    // The first day each page shows: the 1st of every month; for planners
    // every 7th, 14th or day of the span, in step with the design's own first
    // day when that lies in the span (so its notes keep their rows), else from
    // the 1st of the first month.
    const QList<QDate> &Starts() const { return m_starts; }
    int PageCount() const { return static_cast<int>(m_starts.size()); }

    // Sets the document up for page index (0-based) as the exports do, for
    // callers that print the pages themselves.
    bool SetUpPage(int index, QString *error) { return Prepare(index, error); }
    // Puts the design's own date and notes back, as they were when this was
    // made (the exports leave the document at the last page).
    void Restore();

    // All pages in one PDF file that appears only when complete. On failure
    // `error` holds the whole message: the recurring dates' reason, or
    // "cannot write <path>: <reason>".
    bool ExportPdf(const QString &path, QString *error);

    // One file per page, named after `path` with the page's month
    // ("out.png": "out-2027-01.png") or, for planners, its first day
    // ("out-2027-01-04.png"). A failure removes the files this run wrote;
    // `error` as with ExportPdf.
    bool ExportFiles(const QString &path, const WritePage &writePage, QString *error);

private:
    // Sets the document up for page index: its date, the notes, the fill.
    bool Prepare(int index, QString *error);
    QString PagePath(const QString &path, int index) const;

    PageDocument &m_document;
    std::optional<Fill> m_fill;
    bool m_planner = false;
    QDate m_ownStart;
    int m_ownDay = 0, m_ownMonth = 1, m_ownYear = 1997;
    std::array<TWPRtfStorage, CalendarCellCount> m_ownNotes;
    QList<QDate> m_starts;
};

} // namespace Dayloom
