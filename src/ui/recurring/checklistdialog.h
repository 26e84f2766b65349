#pragma once

#include "ui/recurring/recurringdialogservices.h"

#include <QDialog>
#include <QStringList>

#include <array>

class QListWidget;
class QPushButton;

namespace Dayloom {

// The shape shared by the Holidays and the selection dialogs: a
// multiple-selection list of entries drawn with check marks, and the buttons
// "&Ok" (default), "&All", "&None", "&Cancel" (cancel). Ok with no row
// selected beeps and keeps the dialog open.
class CheckListDialog : public QDialog
{
    Q_OBJECT

public:
    // The lines of the selected rows that have one, in list order.
    QStringList chosenLines() const;
    QListWidget *list() const { return m_list; }

    void selectAll();
    void selectNone();
    void accept() override;

protected:
    // buttonNames: object names of the Ok, All, None and Cancel buttons.
    CheckListDialog(const QString &caption, const QString &listName, const QStringList &lines,
                    const std::array<const char *, 4> &buttonNames, QWidget *parent,
                    RecurringDialogServices services);

private:
    RecurringDialogServices m_services;
    QListWidget *m_list = nullptr;
};

} // namespace Dayloom
