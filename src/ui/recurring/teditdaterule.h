#pragma once

#include "core/recurring/datedentry.h"
#include "ui/recurring/recurringdialogservices.h"

#include <QDate>
#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;

namespace Dayloom {

// "Recurring Date - Rule": the editor of a dated entry, for what the four
// formulas cannot say. A description, then the rule: once on a date, a
// repetition every N days, weeks, months or years (on weekdays with an
// ordinal, on days of the month, in months; until a date, N times or
// forever; with exceptions), or Easter of either reckoning plus or minus
// days; a shift to a workday and a span of days. Every change of a control
// shows the rule in words and its next eight dates from today.
//
// Parts of an imported rule the controls do not show (BYSETPOS, week
// numbers, extra dates, the start time, ...) are kept as they were; weekdays
// of mixed ordinals are kept until the weekday controls are touched.
class TEditDateRule : public QDialog
{
    Q_OBJECT

public:
    explicit TEditDateRule(QWidget *parent = nullptr,
                           RecurringDialogServices services = RecurringDialogServices::standard());

    // The other entries of the list, which the shift may also move off
    // ("Also off the dates of"); set before setEntry.
    void setAvoidable(const QList<RecurringDialogServices::AvoidableEntry> &others);
    void setEntry(const DatedEntry &entry);
    // The entry as the controls say.
    DatedEntry entry() const;
    DateRule rule() const;
    // The day the next dates are counted from (today unless set, for tests).
    void setToday(QDate today);

    void accept() override;

private:
    void buildControls();
    void connectControls();
    void showRule();
    void enableControls();
    QList<RecurrenceRule::WeekdayNumber> weekdaysFromControls() const;
    void weekdaysTouched();

    RecurringDialogServices m_services;
    DatedEntry m_original;
    QDate m_today;
    bool m_keepWeekdays = false;
    bool m_loading = false;

    QLineEdit *m_description = nullptr;
    QRadioButton *m_once = nullptr;
    QRadioButton *m_repeat = nullptr;
    QRadioButton *m_easter = nullptr;
    QDateEdit *m_first = nullptr;
    QSpinBox *m_interval = nullptr;
    QComboBox *m_frequency = nullptr;
    QComboBox *m_ordinal = nullptr;
    std::array<QCheckBox *, 7> m_weekdays{};
    QLineEdit *m_monthDays = nullptr;
    std::array<QCheckBox *, 12> m_months{};
    QComboBox *m_end = nullptr;
    QDateEdit *m_until = nullptr;
    QSpinBox *m_count = nullptr;
    QLineEdit *m_exceptions = nullptr;
    QComboBox *m_reckoning = nullptr;
    QSpinBox *m_easterOffset = nullptr;
    QComboBox *m_shift = nullptr;
    std::array<QCheckBox *, 7> m_shiftOff{};
    QListWidget *m_shiftAvoids = nullptr;
    QSpinBox *m_span = nullptr;
    QLabel *m_words = nullptr;
    QListWidget *m_nextDates = nullptr;
};

} // namespace Dayloom
