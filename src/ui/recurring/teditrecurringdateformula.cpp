#include "ui/recurring/teditrecurringdateformula.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace Dayloom {

namespace {

// Hints are written with "\r" where the line breaks.
QString hintText(const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

template <typename Widget> Widget *named(Widget *widget, const char *name, const QString &hint)
{
    widget->setObjectName(QLatin1String(name));
    if (!hint.isEmpty())
        widget->setToolTip(hintText(hint));
    return widget;
}

QStringList monthItems()
{
    return {QStringLiteral("Each Month"), QStringLiteral("January"), QStringLiteral("February"),
            QStringLiteral("March"),      QStringLiteral("April"),   QStringLiteral("May"),
            QStringLiteral("June"),       QStringLiteral("July"),    QStringLiteral("August"),
            QStringLiteral("September"),  QStringLiteral("October"), QStringLiteral("November"),
            QStringLiteral("December")};
}

const QString MonthHint =
    QStringLiteral("Select the month, or choose \"of Each Month\"\rfor all months");
const QString WeekdayHint = QStringLiteral("Check to use this reminder on this day of \reach week");

QComboBox *monthCombo(QWidget *parent, const char *name)
{
    auto *combo = named(new QComboBox(parent), name, MonthHint);
    combo->addItems(monthItems());
    combo->setMaxVisibleItems(14);
    return combo;
}

void setBold(QWidget *widget, bool bold)
{
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

} // namespace

TEditRecurringDateFormula::TEditRecurringDateFormula(QWidget *parent,
                                                     RecurringDialogServices services)
    : QDialog(parent), m_services(std::move(services))
{
    setWindowTitle(defaultCaption());
    setFont(QFont(QStringLiteral("Arial"), 8));
    buildControls();
    m_formula = QStringLiteral("@");
    loadFields(FormulaDialogFields());
}

void TEditRecurringDateFormula::buildControls()
{
    auto *grid = new QGridLayout;

    m_rbDayOfMonth =
        named(new QRadioButton(QStringLiteral("Day of the &Month"), this), "rbDayOfMonth",
              QStringLiteral("Check here to choose a 'Day of the Month' \rstyle "
                             "Repeating Reminder"));
    m_dayOfMonthDay = named(new QSpinBox(this), "DayOfMonthDay",
                            QStringLiteral("Select the day of the month (1-31)"));
    m_dayOfMonthDay->setRange(1, 31);
    m_dayOfMonthMonth = monthCombo(this, "DayOfMonthMonth");
    m_dayOfMonthDay->setAccessibleName(QStringLiteral("Day of the month: day"));
    m_dayOfMonthMonth->setAccessibleName(QStringLiteral("Day of the month: month"));
    auto *dayOfMonthRow = new QHBoxLayout;
    dayOfMonthRow->addWidget(m_dayOfMonthDay);
    dayOfMonthRow->addWidget(m_dayOfMonthMonth);
    dayOfMonthRow->addStretch();
    grid->addWidget(m_rbDayOfMonth, 0, 0);
    grid->addLayout(dayOfMonthRow, 0, 1);

    m_rbDayOfweek = named(new QRadioButton(QStringLiteral("Day of the &Week"), this), "rbDayOfweek",
                          QStringLiteral("Check here to choose a 'Days of the Week' \rstyle "
                                         "Repeating Reminder"));
    // Shown Monday first; kept Sunday first like the formula digits.
    struct Box
    {
        const char *name;
        const char *caption;
        int weekday; // 0 = Sunday
    };
    static constexpr Box boxes[] = {{"Monday", "Mon", 1},    {"Tuesday", "Tues", 2},
                                    {"Wednesday", "Wed", 3}, {"Thursday", "Thu", 4},
                                    {"Friday", "Fri", 5},    {"Saturday", "Sat", 6},
                                    {"Sunday", "Sun", 0}};
    auto *weekdayRow = new QHBoxLayout;
    for (const Box &box : boxes) {
        auto *check = named(new QCheckBox(QLatin1String(box.caption), this), box.name, WeekdayHint);
        m_weekdays[box.weekday] = check;
        weekdayRow->addWidget(check);
    }
    m_allDaysCheck = named(new QCheckBox(QStringLiteral("All Days"), this), "AllDaysCheck",
                           QStringLiteral("Check to include all days"));
    weekdayRow->addWidget(m_allDaysCheck);
    weekdayRow->addStretch();
    grid->addWidget(m_rbDayOfweek, 1, 0);
    grid->addLayout(weekdayRow, 1, 1);

    m_rbSpecial = named(new QRadioButton(QStringLiteral("&Special"), this), "rbSpecial",
                        QStringLiteral("Check here to choose a 'nth Day of Month' \rstyle "
                                       "Repeating Reminder"));
    m_specialOccurrance =
        named(new QComboBox(this), "SpecialOccurrance",
              QStringLiteral("Select the occurrance: First, 2nd, 3rd, 4th, 5th\ror Last"));
    m_specialOccurrance->addItems({QStringLiteral("1st"), QStringLiteral("2nd"),
                                   QStringLiteral("3rd"), QStringLiteral("4th"),
                                   QStringLiteral("5th"), QStringLiteral("Last")});
    m_specialDayOfWeek =
        named(new QComboBox(this), "SpecialDayOfWeek",
              QStringLiteral("Select the weekday (Sun-Sat), or select  \"Day\" \rfor any day."));
    m_specialDayOfWeek->addItems({QStringLiteral("Sunday"), QStringLiteral("Monday"),
                                  QStringLiteral("Tuesday"), QStringLiteral("Wednesday"),
                                  QStringLiteral("Thursday"), QStringLiteral("Friday"),
                                  QStringLiteral("Saturday"), QStringLiteral("Day (any day)")});
    m_specialMonth = monthCombo(this, "SpecialMonth");
    m_specialOccurrance->setAccessibleName(QStringLiteral("Special: occurrence"));
    m_specialDayOfWeek->setAccessibleName(QStringLiteral("Special: day of the week"));
    m_specialMonth->setAccessibleName(QStringLiteral("Special: month"));
    auto *specialRow = new QHBoxLayout;
    specialRow->addWidget(m_specialOccurrance);
    specialRow->addWidget(m_specialDayOfWeek);
    specialRow->addWidget(m_specialMonth);
    specialRow->addStretch();
    grid->addWidget(m_rbSpecial, 2, 0);
    grid->addLayout(specialRow, 2, 1);

    auto *eventLabel =
        new QLabel(QStringLiteral("Recurring event (birthday, anniversary, etc)"), this);
    m_event = named(new QLineEdit(this), "Event", QString());
    eventLabel->setBuddy(m_event);

    m_okButton = named(new QPushButton(QStringLiteral("&Ok"), this), "Okbutton", QString());
    m_okButton->setDefault(true);
    m_cancelButton =
        named(new QPushButton(QStringLiteral("&Cancel"), this), "CancelButton", QString());
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(eventLabel);
    layout->addWidget(m_event);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (QRadioButton *radio : {m_rbDayOfMonth, m_rbDayOfweek, m_rbSpecial})
        connect(radio, &QRadioButton::toggled, this, [this] { applyRadioState(); });
    connect(m_allDaysCheck, &QCheckBox::clicked, this,
            [this](bool checked) { setAllWeekdays(checked); });
    connect(m_okButton, &QPushButton::clicked, this, &TEditRecurringDateFormula::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &TEditRecurringDateFormula::reject);
}

void TEditRecurringDateFormula::setEntry(const QString &eventText, const QString &formula)
{
    m_event->setText(eventText);
    m_formula = formula;
    loadFields(FormulaDialogFields::fromFormula(formula));
}

QString TEditRecurringDateFormula::eventText() const
{
    return m_event->text();
}

void TEditRecurringDateFormula::loadFields(const FormulaDialogFields &fields)
{
    using Style = FormulaDialogFields::Style;
    // The radio buttons are exclusive: checking one clears the others.
    QRadioButton *chosen = fields.style == Style::Special     ? m_rbSpecial
                           : fields.style == Style::DayOfWeek ? m_rbDayOfweek
                                                              : m_rbDayOfMonth;
    chosen->setChecked(true);
    m_dayOfMonthDay->setValue(fields.dayOfMonthDay);
    m_dayOfMonthMonth->setCurrentIndex(fields.dayOfMonthMonth);
    for (int day = 0; day < 7; ++day)
        m_weekdays[day]->setChecked(fields.weekdays[day]);
    m_specialOccurrance->setCurrentIndex(fields.specialOccurrence);
    m_specialDayOfWeek->setCurrentIndex(fields.specialDayOfWeek);
    m_specialMonth->setCurrentIndex(fields.specialMonth);
    applyRadioState();
}

FormulaDialogFields TEditRecurringDateFormula::fields() const
{
    using Style = FormulaDialogFields::Style;
    FormulaDialogFields fields;
    fields.style = m_rbSpecial->isChecked()     ? Style::Special
                   : m_rbDayOfweek->isChecked() ? Style::DayOfWeek
                                                : Style::DayOfMonth;
    fields.dayOfMonthDay = m_dayOfMonthDay->value();
    fields.dayOfMonthMonth = m_dayOfMonthMonth->currentIndex();
    for (int day = 0; day < 7; ++day)
        fields.weekdays[day] = m_weekdays[day]->isChecked();
    fields.specialOccurrence = m_specialOccurrance->currentIndex();
    fields.specialDayOfWeek = m_specialDayOfWeek->currentIndex();
    fields.specialMonth = m_specialMonth->currentIndex();
    return fields;
}

void TEditRecurringDateFormula::applyRadioState()
{
    const bool dayOfMonth = m_rbDayOfMonth->isChecked();
    const bool dayOfWeek = m_rbDayOfweek->isChecked();
    const bool special = m_rbSpecial->isChecked();
    for (QCheckBox *check : m_weekdays)
        check->setEnabled(dayOfWeek);
    m_allDaysCheck->setEnabled(dayOfWeek);
    m_dayOfMonthDay->setEnabled(dayOfMonth);
    m_dayOfMonthMonth->setEnabled(dayOfMonth);
    m_specialOccurrance->setEnabled(special);
    m_specialDayOfWeek->setEnabled(special);
    m_specialMonth->setEnabled(special);
    setBold(m_rbDayOfMonth, dayOfMonth);
    setBold(m_rbDayOfweek, dayOfWeek);
    setBold(m_rbSpecial, special);
}

void TEditRecurringDateFormula::setAllWeekdays(bool checked)
{
    for (QCheckBox *check : m_weekdays)
        check->setChecked(checked);
}

void TEditRecurringDateFormula::accept()
{
    const FormulaBuildResult built = fields().buildFormula();
    if (!built.ok) {
        if (m_services.showInformation)
            m_services.showInformation(this, built.error);
        return;
    }
    m_formula = built.formula;
    QDialog::accept();
}

void TEditRecurringDateFormula::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_event->setFocus();
}

} // namespace Dayloom
