#pragma once

#include "core/holidays/holidaycountry.h"
#include "core/recurring/holidaylink.h"

#include <QDialog>

class QListWidget;

namespace Dayloom {

// A linked holiday set's holidays as a check list (HolidaysList): ticked ones
// are written into the calendar, the user unticks those to hide. Lists the
// holidays of the set's region and categories; Ok ("Okbutton") keeps the
// choice, Cancel drops it.
class TLinkedHolidays : public QDialog
{
    Q_OBJECT

public:
    TLinkedHolidays(const HolidayCountry &country, const HolidayLink &link, const QString &title,
                    QWidget *parent = nullptr);

    // The ids now hidden: the unticked rows, and what the link hid that the
    // list does not show (another category's holidays stay hidden).
    QStringList hidden() const;

private:
    QStringList m_hiddenElsewhere;
    QListWidget *m_list = nullptr;
};

} // namespace Dayloom
