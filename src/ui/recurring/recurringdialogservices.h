#pragma once

#include "core/holidays/holidaycatalogue.h"
#include "core/recurring/datedentry.h"
#include "core/recurring/holidaylink.h"
#include "core/recurring/icalendarimport.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace Dayloom {

// What the recurring-date dialogs ask of the world around them: message
// boxes, the beep, and the dialogs they open from their buttons. standard()
// gives the real ones; tests hand in their own so that nothing blocks.
struct RecurringDialogServices
{
    // The outcome of the formula dialog ended with Ok.
    struct EditedEntry
    {
        QString eventText;
        QString formula;
    };

    // An "Information" box with an OK button; "\r" in the text breaks lines.
    std::function<void(QWidget *parent, const QString &message)> showInformation;
    std::function<void()> beep;
    // The formula dialog with a caption, an event text and a formula;
    // nothing when cancelled.
    std::function<std::optional<EditedEntry>(QWidget *parent, const QString &caption,
                                             const QString &eventText, const QString &formula)>
        editFormula;
    // The Holidays dialog: the chosen holiday lines, nothing when cancelled.
    std::function<std::optional<QStringList>(QWidget *parent)> pickHolidays;
    // The holiday sets "Add Holidays…" offers (standard: those shipped).
    std::function<const HolidayCatalogue &()> holidayCatalogue;
    // "Add Holidays": the set chosen from the catalogue, nothing when
    // cancelled.
    std::function<std::optional<HolidayLink>(QWidget *parent, const HolidayCatalogue &catalogue)>
        addHolidays;
    // The check list of a linked set's holidays: the ids hidden after Ok,
    // nothing when cancelled.
    std::function<std::optional<QStringList>(QWidget *parent, const HolidayCountry &country,
                                             const HolidayLink &link, const QString &title)>
        chooseShownHolidays;
    // An entry of the list whose dates a rule's shift may also move off:
    // the key a DatedEntry's shiftAvoids holds (a UID, or a formula entry's
    // name) and the text the editor shows.
    struct AvoidableEntry
    {
        QString key;
        QString text;
        friend bool operator==(const AvoidableEntry &, const AvoidableEntry &) = default;
    };
    // The rule editor with a caption, the entry to edit and the other
    // entries of the list; nothing when cancelled.
    std::function<std::optional<DatedEntry>(QWidget *parent, const QString &caption,
                                            const DatedEntry &entry,
                                            const QList<AvoidableEntry> &others)>
        editDateRule;

    // What the selection dialog returns: the chosen formula entries and the
    // indices (into the offered dated entries) of the chosen dated ones,
    // both in list order.
    struct ChosenDates
    {
        QStringList lines;
        QList<int> dated;
    };
    // The selection dialog over the offered formula entries and, after them,
    // the offered dated entries by their texts; nothing when cancelled.
    std::function<std::optional<ChosenDates>(QWidget *parent, const QStringList &entries,
                                             const QStringList &datedTexts)>
        selectDates;

    // The file dialog for "Import iCalendar…": a path, nothing when cancelled.
    std::function<std::optional<QString>(QWidget *parent)> chooseImportFile;
    // The dialog showing what an import would change; true for OK.
    std::function<bool(QWidget *parent, const ICalendarImport::Plan &plan)> confirmImport;

    // What "Export…" writes: iCalendar (every entry) or CSV (every
    // entry's dates over the months from..to, both first days of months).
    struct ExportChoice
    {
        QString path;
        bool csv = false;
        QDate from;
        QDate to;
    };
    std::function<std::optional<ExportChoice>(QWidget *parent)> chooseExport;

    static RecurringDialogServices standard();
};

} // namespace Dayloom
