#include "ui/recurring/recurringcommands.h"

#include "core/calendar/calendarpage.h"
#include "core/recurring/recurringdatesfile.h"
#include "core/recurring/recurringfill.h"
#include "core/recurring/recurringpagefill.h"
#include "ui/recurring/teditrecurringdates.h"

#include <QFile>

namespace Dayloom {

namespace {

void inform(const RecurringDialogServices &services, QWidget *parent, const QString &message)
{
    if (services.showInformation)
        services.showInformation(parent, message);
}

} // namespace

bool EditRecurringDates(QWidget *parent, const QString &filePath,
                        const RecurringDialogServices &services)
{
    TEditRecurringDates dialog(filePath, parent, services);
    if (!dialog.loadError().isEmpty()) {
        inform(services, parent,
               QStringLiteral("The recurring dates file could not be read:\r%1")
                   .arg(dialog.loadError()));
        return false;
    }
    return dialog.exec() == QDialog::Accepted;
}

bool FillCalendarWithRecurringDates(QWidget *parent, CalendarPage &page, const QString &filePath,
                                    const FontSpec &defaultFont,
                                    const RecurringDialogServices &services)
{
    if (!page.HasDayCells() || !QFile::exists(filePath))
        return false;
    QStringList entries;
    QString error;
    if (!RecurringDatesFile::load(filePath, entries, &error)) {
        inform(services, parent,
               QStringLiteral("The recurring dates file could not be read:\r%1").arg(error));
        return false;
    }
    const QStringList offered = offeredEntries(entries, page.MainCalMonth(), page.MainCalYear());
    if (offered.isEmpty()) {
        inform(services, parent, NoDatesMatchMessage);
        return false;
    }
    const auto chosen =
        services.selectDates ? services.selectDates(parent, offered) : std::optional<QStringList>();
    if (!chosen)
        return false;
    return FillPageWithEntries(page, *chosen, defaultFont);
}

bool ConvertEarlierRecurringDates(QWidget *parent, const QString &folder,
                                  const RecurringDialogServices &services)
{
    QString error;
    if (RecurringDatesFile::convertEarlierFile(folder, &error))
        return true;
    inform(
        services, parent,
        QStringLiteral("The earlier recurring dates file could not be converted:\r%1").arg(error));
    return false;
}

} // namespace Dayloom
