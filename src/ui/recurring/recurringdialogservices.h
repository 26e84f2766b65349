#pragma once

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
    // The selection dialog over the offered entries: the chosen ones in list
    // order, nothing when cancelled.
    std::function<std::optional<QStringList>(QWidget *parent, const QStringList &entries)>
        selectDates;

    static RecurringDialogServices standard();
};

} // namespace Dayloom
