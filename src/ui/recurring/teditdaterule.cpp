#include "ui/recurring/teditdaterule.h"

#include "core/recurring/dateruletext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QVBoxLayout>

#include <optional>

namespace Dayloom {

namespace {

constexpr std::array<const char *, 7> WeekdayShortNames{"Mon", "Tue", "Wed", "Thu",
                                                        "Fri", "Sat", "Sun"};
constexpr std::array<const char *, 12> MonthShortNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// The ordinal combo's rows: every such weekday, then first ... fifth, last.
constexpr std::array<int, 7> Ordinals{0, 1, 2, 3, 4, 5, -1};
constexpr int NextDatesShown = 8;

QStringList Tokens(const QString &text)
{
    static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
    return text.split(separators, Qt::SkipEmptyParts);
}

std::optional<int> MonthDayOf(const QString &token)
{
    bool ok = false;
    const int day = token.toInt(&ok);
    return ok && day != 0 && day >= -31 && day <= 31 ? std::optional<int>(day) : std::nullopt;
}

// "1, 15, -1": days of the month, negative from the month's end; other
// tokens are ignored (accept() names them).
QList<int> MonthDaysFromText(const QString &text)
{
    QList<int> days;
    for (const QString &token : Tokens(text)) {
        const auto day = MonthDayOf(token);
        if (day && !days.contains(*day))
            days.append(*day);
    }
    return days;
}

QString MonthDaysText(const QList<int> &days)
{
    QStringList words;
    for (const int day : days)
        words.append(QString::number(day));
    return words.join(QStringLiteral(", "));
}

// The first token of text that reader cannot read; empty when all read.
template <typename Reader> QString UnreadableToken(const QString &text, Reader reader)
{
    for (const QString &token : Tokens(text)) {
        if (!reader(token))
            return token;
    }
    return {};
}

// "2026-12-24, 2027-12-24": ISO dates; other tokens are ignored (accept()
// names them).
QList<QDate> DatesFromText(const QString &text)
{
    QList<QDate> dates;
    for (const QString &token : Tokens(text)) {
        const QDate date = QDate::fromString(token, Qt::ISODate);
        if (date.isValid() && !dates.contains(date))
            dates.append(date);
    }
    return dates;
}

QString DatesText(const QList<QDate> &dates)
{
    QStringList words;
    for (const QDate &date : dates)
        words.append(date.toString(Qt::ISODate));
    return words.join(QStringLiteral(", "));
}

QDateEdit *MakeDateEdit(QWidget *parent, const char *name)
{
    auto *edit = new QDateEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setDisplayFormat(QStringLiteral("d MMM yyyy"));
    edit->setCalendarPopup(true);
    return edit;
}

QSpinBox *MakeSpinBox(QWidget *parent, const char *name, int minimum, int maximum)
{
    auto *spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(minimum, maximum);
    return spin;
}

// "1 day", "5 days".
void ShowDaysSuffix(QSpinBox *spin)
{
    const auto suffix = [spin](int value) {
        spin->setSuffix(value == 1 || value == -1 ? QStringLiteral(" day")
                                                  : QStringLiteral(" days"));
    };
    suffix(spin->value());
    QObject::connect(spin, &QSpinBox::valueChanged, spin, suffix);
}

QComboBox *MakeCombo(QWidget *parent, const char *name, const QStringList &items)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->addItems(items);
    return combo;
}

// A row of weekday check boxes named prefix + "Mon" ... prefix + "Sun".
QHBoxLayout *MakeWeekdayBoxes(QWidget *parent, const QString &prefix,
                              std::array<QCheckBox *, 7> &boxes)
{
    auto *row = new QHBoxLayout;
    for (int d = 0; d < 7; ++d) {
        boxes[d] = new QCheckBox(QLatin1String(WeekdayShortNames[d]), parent);
        boxes[d]->setObjectName(prefix + QLatin1String(WeekdayShortNames[d]));
        row->addWidget(boxes[d]);
    }
    return row;
}

} // namespace

TEditDateRule::TEditDateRule(QWidget *parent, RecurringDialogServices services)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_services(std::move(services)), m_today(QDate::currentDate())
{
    setWindowTitle(QStringLiteral("Recurring Date - Rule"));
    buildControls();
    DatedEntry fresh;
    fresh.rule.first = m_today;
    setEntry(fresh);
    connectControls();
}

void TEditDateRule::buildControls()
{
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("Description"));
    m_description->setPlaceholderText(QStringLiteral("Dentist, Eric turns {years}, ..."));
    m_first = MakeDateEdit(this, "FirstDate");

    m_once = new QRadioButton(QStringLiteral("&Once"), this);
    m_once->setObjectName(QStringLiteral("rbOnce"));
    m_repeat = new QRadioButton(QStringLiteral("&Repeat every"), this);
    m_repeat->setObjectName(QStringLiteral("rbRepeat"));
    m_easter = new QRadioButton(QStringLiteral("&Easter"), this);
    m_easter->setObjectName(QStringLiteral("rbEaster"));

    m_interval = MakeSpinBox(this, "Interval", 1, RecurrenceRule::MaxInterval);
    m_frequency = MakeCombo(this, "Frequency",
                            {QStringLiteral("days"), QStringLiteral("weeks"),
                             QStringLiteral("months"), QStringLiteral("years")});
    m_ordinal =
        MakeCombo(this, "Ordinal",
                  {QStringLiteral("every"), QStringLiteral("first"), QStringLiteral("second"),
                   QStringLiteral("third"), QStringLiteral("fourth"), QStringLiteral("fifth"),
                   QStringLiteral("last")});
    m_monthDays = new QLineEdit(this);
    m_monthDays->setObjectName(QStringLiteral("MonthDays"));
    m_monthDays->setPlaceholderText(QStringLiteral("e.g. 1, 15, -1 (the last)"));
    m_end = MakeCombo(
        this, "EndKind",
        {QStringLiteral("forever"), QStringLiteral("until"), QStringLiteral("this many times")});
    m_until = MakeDateEdit(this, "UntilDate");
    m_count = MakeSpinBox(this, "Count", 1, RecurrenceRule::MaxCount);
    m_exceptions = new QLineEdit(this);
    m_exceptions->setObjectName(QStringLiteral("Exceptions"));
    m_exceptions->setPlaceholderText(QStringLiteral("e.g. 2026-12-24, 2027-12-31"));

    auto *repeatRow = new QHBoxLayout;
    repeatRow->addWidget(m_repeat);
    repeatRow->addWidget(m_interval);
    repeatRow->addWidget(m_frequency);
    repeatRow->addStretch();
    auto *weekdayRow = MakeWeekdayBoxes(this, QStringLiteral("Weekday"), m_weekdays);
    weekdayRow->insertWidget(0, m_ordinal);
    auto *monthGrid = new QGridLayout;
    for (int m = 0; m < 12; ++m) {
        m_months[m] = new QCheckBox(QLatin1String(MonthShortNames[m]), this);
        m_months[m]->setObjectName(QStringLiteral("Month%1").arg(m + 1));
        monthGrid->addWidget(m_months[m], m / 6, m % 6);
    }
    auto *endRow = new QHBoxLayout;
    endRow->addWidget(m_end);
    endRow->addWidget(m_until);
    endRow->addWidget(m_count);
    endRow->addStretch();

    auto *repeatForm = new QFormLayout;
    repeatForm->addRow(QStringLiteral("On weekdays:"), weekdayRow);
    repeatForm->addRow(QStringLiteral("On days of the month:"), m_monthDays);
    repeatForm->addRow(QStringLiteral("In months:"), monthGrid);
    repeatForm->addRow(QStringLiteral("Repeat:"), endRow);
    repeatForm->addRow(QStringLiteral("Except on:"), m_exceptions);

    m_reckoning =
        MakeCombo(this, "Reckoning", {QStringLiteral("Western"), QStringLiteral("Orthodox")});
    m_easterOffset =
        MakeSpinBox(this, "EasterOffset", -DateRule::MaxEasterOffset, DateRule::MaxEasterOffset);
    ShowDaysSuffix(m_easterOffset);
    auto *easterRow = new QHBoxLayout;
    easterRow->addWidget(m_easter);
    easterRow->addWidget(m_reckoning);
    easterRow->addWidget(new QLabel(QStringLiteral("Sunday plus"), this));
    easterRow->addWidget(m_easterOffset);
    easterRow->addStretch();

    auto *ruleBox = new QGroupBox(QStringLiteral("Dates"), this);
    auto *ruleLayout = new QVBoxLayout(ruleBox);
    auto *firstRow = new QFormLayout;
    firstRow->addRow(QStringLiteral("&First date:"), m_first);
    ruleLayout->addLayout(firstRow);
    ruleLayout->addWidget(m_once);
    ruleLayout->addLayout(repeatRow);
    ruleLayout->addLayout(repeatForm);
    ruleLayout->addLayout(easterRow);

    m_shift = MakeCombo(this, "Shift",
                        {QStringLiteral("not moved"), QStringLiteral("to the next workday"),
                         QStringLiteral("to the previous workday"),
                         QStringLiteral("to the nearest workday")});
    m_span = MakeSpinBox(this, "SpanDays", 1, DateRule::MaxSpanDays);
    ShowDaysSuffix(m_span);
    auto *moveForm = new QFormLayout;
    moveForm->addRow(QStringLiteral("On these days:"),
                     MakeWeekdayBoxes(this, QStringLiteral("ShiftOff"), m_shiftOff));
    moveForm->addRow(QStringLiteral("A date is:"), m_shift);
    m_shiftAvoids = new QListWidget(this);
    m_shiftAvoids->setObjectName(QStringLiteral("ShiftAvoids"));
    m_shiftAvoids->setAccessibleName(QStringLiteral("Also off the dates of"));
    m_shiftAvoids->setMaximumHeight(5 * 18);
    moveForm->addRow(QStringLiteral("Also off the dates of:"), m_shiftAvoids);
    moveForm->addRow(QStringLiteral("&Shown for:"), m_span);
    auto *moveBox = new QGroupBox(QStringLiteral("Workdays and span"), this);
    moveBox->setLayout(moveForm);

    m_words = new QLabel(this);
    m_words->setObjectName(QStringLiteral("RuleInWords"));
    m_words->setWordWrap(true);
    m_words->setMinimumWidth(360);
    m_nextDates = new QListWidget(this);
    m_nextDates->setObjectName(QStringLiteral("NextDates"));
    m_nextDates->setAccessibleName(QStringLiteral("Next dates"));
    m_nextDates->setFocusPolicy(Qt::NoFocus);
    m_nextDates->setSelectionMode(QAbstractItemView::NoSelection);
    auto *previewBox = new QGroupBox(QStringLiteral("Next dates"), this);
    auto *previewLayout = new QVBoxLayout(previewBox);
    previewLayout->addWidget(m_words);
    previewLayout->addWidget(m_nextDates);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("Okbutton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TEditDateRule::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TEditDateRule::reject);

    auto *top = new QFormLayout;
    top->addRow(QStringLiteral("&Description:"), m_description);
    auto *left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(ruleBox);
    left->addWidget(moveBox);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(previewBox);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
}

void TEditDateRule::connectControls()
{
    const auto changed = [this] {
        if (!m_loading)
            showRule();
    };
    for (QRadioButton *radio : {m_once, m_repeat, m_easter})
        connect(radio, &QRadioButton::toggled, this, changed);
    for (QDateEdit *edit : {m_first, m_until})
        connect(edit, &QDateEdit::dateChanged, this, changed);
    for (QSpinBox *spin : {m_interval, m_count, m_easterOffset, m_span})
        connect(spin, &QSpinBox::valueChanged, this, changed);
    for (QComboBox *combo : {m_frequency, m_end, m_reckoning, m_shift})
        connect(combo, &QComboBox::currentIndexChanged, this, changed);
    for (QLineEdit *edit : {m_monthDays, m_exceptions})
        connect(edit, &QLineEdit::textChanged, this, changed);
    for (QCheckBox *box : m_months)
        connect(box, &QCheckBox::toggled, this, changed);
    for (QCheckBox *box : m_shiftOff)
        connect(box, &QCheckBox::toggled, this, changed);
    connect(m_shiftAvoids, &QListWidget::itemChanged, this, changed);
    for (QCheckBox *box : m_weekdays)
        connect(box, &QCheckBox::toggled, this, &TEditDateRule::weekdaysTouched);
    connect(m_ordinal, &QComboBox::currentIndexChanged, this, &TEditDateRule::weekdaysTouched);
}

void TEditDateRule::weekdaysTouched()
{
    if (m_loading)
        return;
    m_keepWeekdays = false;
    showRule();
}

void TEditDateRule::setToday(QDate today)
{
    m_today = today;
    showRule();
}

void TEditDateRule::setAvoidable(const QList<RecurringDialogServices::AvoidableEntry> &others)
{
    m_shiftAvoids->clear();
    for (const auto &other : others) {
        auto *item = new QListWidgetItem(other.text, m_shiftAvoids);
        item->setData(Qt::UserRole, other.key);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(m_original.shiftAvoids.contains(other.key) ? Qt::Checked
                                                                       : Qt::Unchecked);
    }
}

void TEditDateRule::setEntry(const DatedEntry &entry)
{
    m_loading = true;
    m_original = entry;
    const DateRule &rule = entry.rule;
    const RecurrenceRule recurrence = rule.recurrence.value_or(RecurrenceRule{});
    m_description->setText(entry.description);
    m_first->setDate(rule.first.isValid() ? rule.first : m_today);
    m_once->setChecked(rule.kind == DateRule::Kind::Recurrence && !rule.recurrence);
    m_repeat->setChecked(rule.kind == DateRule::Kind::Recurrence && rule.recurrence);
    m_easter->setChecked(rule.kind == DateRule::Kind::Easter);

    m_interval->setValue(recurrence.interval);
    m_frequency->setCurrentIndex(int(recurrence.frequency));
    const int ordinal = recurrence.byDay.isEmpty() ? 0 : recurrence.byDay.first().ordinal;
    const auto ordinalRow = std::find(Ordinals.begin(), Ordinals.end(), ordinal);
    m_ordinal->setCurrentIndex(ordinalRow == Ordinals.end() ? 0
                                                            : int(ordinalRow - Ordinals.begin()));
    for (int d = 0; d < 7; ++d) {
        m_weekdays[d]->setChecked(std::any_of(recurrence.byDay.begin(), recurrence.byDay.end(),
                                              [d](const auto &w) { return w.weekday == d + 1; }));
    }
    // Weekdays the controls cannot show stay as they are until touched.
    m_keepWeekdays = weekdaysFromControls() != recurrence.byDay;
    m_monthDays->setText(MonthDaysText(recurrence.byMonthDay));
    for (int m = 0; m < 12; ++m)
        m_months[m]->setChecked(recurrence.byMonth.contains(m + 1));
    m_end->setCurrentIndex(recurrence.until.isValid() ? 1 : recurrence.count > 0 ? 2 : 0);
    m_until->setDate(recurrence.until.isValid() ? recurrence.until : m_first->date().addYears(1));
    m_count->setValue(recurrence.count > 0 ? recurrence.count : 10);
    m_exceptions->setText(DatesText(rule.exceptions));

    m_reckoning->setCurrentIndex(int(rule.reckoning));
    m_easterOffset->setValue(rule.easterOffset);
    m_shift->setCurrentIndex(int(rule.shift));
    for (int d = 0; d < 7; ++d)
        m_shiftOff[d]->setChecked(rule.shiftOffWeekdays & (1 << (d + 1)));
    m_span->setValue(rule.spanDays);
    for (int row = 0; row < m_shiftAvoids->count(); ++row) {
        QListWidgetItem *item = m_shiftAvoids->item(row);
        item->setCheckState(entry.shiftAvoids.contains(item->data(Qt::UserRole).toString())
                                ? Qt::Checked
                                : Qt::Unchecked);
    }
    m_loading = false;
    showRule();
}

QList<RecurrenceRule::WeekdayNumber> TEditDateRule::weekdaysFromControls() const
{
    using F = RecurrenceRule::Frequency;
    const auto frequency = F(m_frequency->currentIndex());
    // Ordinals count within a month or year only.
    const int ordinal = frequency == F::Monthly || frequency == F::Yearly
                            ? Ordinals[std::max(0, m_ordinal->currentIndex())]
                            : 0;
    QList<RecurrenceRule::WeekdayNumber> days;
    for (int d = 0; d < 7; ++d) {
        if (m_weekdays[d]->isChecked())
            days.append({ordinal, d + 1});
    }
    return days;
}

DateRule TEditDateRule::rule() const
{
    DateRule rule = m_original.rule;
    rule.first = m_first->date();
    rule.exceptions = DatesFromText(m_exceptions->text());
    rule.reckoning = DateRule::Reckoning(m_reckoning->currentIndex());
    rule.easterOffset = m_easterOffset->value();
    rule.shift = DateRule::Shift(m_shift->currentIndex());
    rule.shiftOffWeekdays = 0;
    for (int d = 0; d < 7; ++d) {
        if (m_shiftOff[d]->isChecked())
            rule.shiftOffWeekdays |= 1 << (d + 1);
    }
    rule.spanDays = m_span->value();
    if (m_easter->isChecked()) {
        rule.kind = DateRule::Kind::Easter;
        return rule;
    }
    rule.kind = DateRule::Kind::Recurrence;
    if (m_once->isChecked()) {
        rule.recurrence.reset();
        return rule;
    }
    RecurrenceRule recurrence = m_original.rule.recurrence.value_or(RecurrenceRule{});
    recurrence.frequency = RecurrenceRule::Frequency(m_frequency->currentIndex());
    recurrence.interval = m_interval->value();
    if (!m_keepWeekdays)
        recurrence.byDay = weekdaysFromControls();
    recurrence.byMonthDay = MonthDaysFromText(m_monthDays->text());
    recurrence.byMonth.clear();
    for (int m = 0; m < 12; ++m) {
        if (m_months[m]->isChecked())
            recurrence.byMonth.append(m + 1);
    }
    recurrence.until = m_end->currentIndex() == 1 ? m_until->date() : QDate();
    recurrence.count = m_end->currentIndex() == 2 ? m_count->value() : 0;
    rule.recurrence = recurrence;
    return rule;
}

DatedEntry TEditDateRule::entry() const
{
    DatedEntry entry = m_original;
    entry.description = m_description->text().trimmed();
    entry.rule = rule();
    // Entries the list does not show (from another list) stay avoided, and
    // the avoided ones keep their order.
    QStringList listed, checked;
    for (int row = 0; row < m_shiftAvoids->count(); ++row) {
        const QListWidgetItem *item = m_shiftAvoids->item(row);
        listed.append(item->data(Qt::UserRole).toString());
        if (item->checkState() == Qt::Checked)
            checked.append(listed.last());
    }
    entry.shiftAvoids.removeIf(
        [&](const QString &key) { return listed.contains(key) && !checked.contains(key); });
    for (const QString &key : std::as_const(checked)) {
        if (!entry.shiftAvoids.contains(key))
            entry.shiftAvoids.append(key);
    }
    return entry;
}

void TEditDateRule::enableControls()
{
    using F = RecurrenceRule::Frequency;
    const bool repeat = m_repeat->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{m_interval, m_frequency, m_monthDays, m_end,
                                                       m_exceptions})
        w->setEnabled(repeat);
    for (QCheckBox *box : m_weekdays)
        box->setEnabled(repeat);
    for (QCheckBox *box : m_months)
        box->setEnabled(repeat);
    const auto frequency = F(m_frequency->currentIndex());
    m_ordinal->setEnabled(repeat && (frequency == F::Monthly || frequency == F::Yearly));
    m_until->setEnabled(repeat && m_end->currentIndex() == 1);
    m_count->setEnabled(repeat && m_end->currentIndex() == 2);
    m_reckoning->setEnabled(m_easter->isChecked());
    m_easterOffset->setEnabled(m_easter->isChecked());
    const bool shifted = m_shift->currentIndex() != 0;
    for (QCheckBox *box : m_shiftOff)
        box->setEnabled(shifted);
    m_shiftAvoids->setEnabled(shifted);
}

void TEditDateRule::showRule()
{
    if (m_loading)
        return;
    enableControls();
    const DateRule current = rule();
    m_words->setText(DescribeDateRule(current));
    // Two years hold the next dates of most rules; sparser ones look further.
    QList<QDate> starts = current.startsBetween(m_today, m_today.addYears(2));
    if (starts.size() < NextDatesShown)
        starts = current.startsBetween(m_today, m_today.addYears(60));
    m_nextDates->clear();
    const QLocale english = QLocale::c();
    // A counting description shows what each date will say.
    const DatedEntry shown = entry();
    const bool counts = shown.description.contains(u"{years}");
    for (const QDate &start : starts.mid(0, NextDatesShown)) {
        const QString day = english.toString(start, QStringLiteral("ddd d MMM yyyy"));
        m_nextDates->addItem(counts ? day + QStringLiteral(": ") + shown.textFor(start) : day);
    }
    if (starts.isEmpty())
        m_nextDates->addItem(QStringLiteral("(no more dates)"));
}

void TEditDateRule::accept()
{
    const auto refuse = [this](QWidget *field, const QString &message) {
        if (m_services.showInformation)
            m_services.showInformation(this, message);
        field->setFocus();
    };
    if (m_description->text().trimmed().isEmpty())
        return refuse(m_description, QStringLiteral("Enter a description for the date."));
    // What the fields cannot read would otherwise be dropped unseen.
    if (m_repeat->isChecked()) {
        const QString day = UnreadableToken(m_monthDays->text(), MonthDayOf);
        if (!day.isEmpty())
            return refuse(m_monthDays,
                          QStringLiteral("\"%1\" is not a day of the month.\rWrite days as 1 to "
                                         "31, or -1 for the last day, -2 for the one before.")
                              .arg(day));
        const QString date = UnreadableToken(m_exceptions->text(), [](const QString &token) {
            return QDate::fromString(token, Qt::ISODate).isValid();
        });
        if (!date.isEmpty())
            return refuse(m_exceptions,
                          QStringLiteral("\"%1\" is not a date.\rWrite the dates to leave out "
                                         "as 2026-12-24, separated by commas.")
                              .arg(date));
    }
    QDialog::accept();
}

} // namespace Dayloom
