#pragma once

#include "core/recurring/formuladialogfields.h"
#include "ui/recurring/recurringdialogservices.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace Dayloom {

// "Recurring Date - Formulas": edits one recurring date's event text and
// formula in one of three styles (day of the month, days of the week, nth
// weekday). Ok closes the dialog only when the controls make a formula;
// otherwise it shows why and stays open. Controls carry their role names as
// object names (rbDayOfMonth, DayOfMonthDay, Monday ... Sunday, Event, ...).
class TEditRecurringDateFormula : public QDialog
{
    Q_OBJECT

public:
    static QString defaultCaption() { return QStringLiteral("Recurring Date - Formulas"); }

    explicit TEditRecurringDateFormula(
        QWidget *parent = nullptr,
        RecurringDialogServices services = RecurringDialogServices::standard());

    // Shows the event text and loads the formula (line positions 121-130)
    // into the controls; see FormulaDialogFields::fromFormula.
    void setEntry(const QString &eventText, const QString &formula);

    QString eventText() const;
    // The formula built by the last successful Ok.
    const QString &formula() const { return m_formula; }
    // The controls' state as fields.
    FormulaDialogFields fields() const;

    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void loadFields(const FormulaDialogFields &fields);
    void applyRadioState();
    void setAllWeekdays(bool checked);

    RecurringDialogServices m_services;
    QRadioButton *m_rbDayOfMonth = nullptr;
    QRadioButton *m_rbDayOfweek = nullptr;
    QRadioButton *m_rbSpecial = nullptr;
    QSpinBox *m_dayOfMonthDay = nullptr;
    QComboBox *m_dayOfMonthMonth = nullptr;
    std::array<QCheckBox *, 7> m_weekdays{}; // Sunday first
    QCheckBox *m_allDaysCheck = nullptr;
    QComboBox *m_specialOccurrance = nullptr;
    QComboBox *m_specialDayOfWeek = nullptr;
    QComboBox *m_specialMonth = nullptr;
    QLineEdit *m_event = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QString m_formula;
};

} // namespace Dayloom
