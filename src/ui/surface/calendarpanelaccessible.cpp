#include "ui/surface/calendarpanelaccessible.h"

#include "core/calendar/calendarpage.h"
#include "core/richtext/twprtfstorage.h"
#include "ui/surface/tcalendarpanel32.h"

#include <QDate>
#include <QLocale>
#include <QTextDocument>

namespace Dayloom {

namespace {

QString LongDate(const QDate &date)
{
    return QLocale().toString(date, QStringLiteral("dddd d MMMM yyyy"));
}

QAccessibleInterface *PanelFactory(const QString &className, QObject *object)
{
    Q_UNUSED(className);
    if (auto *panel = qobject_cast<TCalendarPanel32 *>(object))
        return new CalendarPanelAccessible(panel);
    return nullptr;
}

} // namespace

CalendarPanelAccessible::CalendarPanelAccessible(TCalendarPanel32 *panel)
    : QAccessibleWidget(panel, QAccessible::Client)
{
}

TCalendarPanel32 *CalendarPanelAccessible::Panel() const
{
    return static_cast<TCalendarPanel32 *>(widget());
}

void CalendarPanelAccessible::Install()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(PanelFactory);
        installed = true;
    }
}

QString CalendarPanelAccessible::CellDateText(const CalendarPage &page, int cell)
{
    if (cell < 1 || cell > CalendarPage::CellCount)
        return {};
    const int row = cell - 1;
    switch (page.LayoutKind()) {
    case 0: {
        const QDate date(page.MainCalYear(), page.MainCalMonth(), page.MonthDayOfCell(cell));
        return date.isValid() ? LongDate(date) : QString();
    }
    case 2:
    case 3: {
        if (row < page.PlannerDayCount())
            return LongDate(page.PlannerFirstDate().addDays(row));
        const QStringList labels = page.PlannerRowLabels();
        return row < labels.size() ? labels[row] : QString();
    }
    case 4:
    case 5: {
        const QStringList labels = page.PlannerRowLabels();
        if (row >= labels.size())
            return {};
        return LongDate(page.PlannerFirstDate()) + QStringLiteral(" ") + labels[row];
    }
    default:
        return {};
    }
}

QString CalendarPanelAccessible::CellText(const CalendarPage &page, int cell)
{
    QString text = CellDateText(page, cell);
    if (text.isEmpty())
        return text;
    QTextDocument document;
    if (page.CellNote(cell).LoadInto(document)) {
        const QString note = document.toPlainText().simplified();
        if (!note.isEmpty())
            text += QStringLiteral(", note: ") + note;
    }
    return text;
}

QString CalendarPanelAccessible::text(QAccessible::Text kind) const
{
    const TCalendarPanel32 *panel = Panel();
    const QString cell = CellText(panel->Page(), panel->CurrentCell());
    switch (kind) {
    case QAccessible::Name:
        return cell.isEmpty() ? QStringLiteral("Calendar page")
                              : QStringLiteral("Calendar page, ") + cell;
    case QAccessible::Value:
        return cell;
    case QAccessible::Description:
        return QStringLiteral("Click a day cell to type its note; Tab and Shift+Tab move "
                              "to the next and previous cell");
    default:
        return QAccessibleWidget::text(kind);
    }
}

} // namespace Dayloom
