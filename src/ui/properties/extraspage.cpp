#include "ui/properties/extraspage.h"

#include "ui/common/colorswatchbutton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace Dayloom {

namespace {

QLabel *Heading(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    label->setFont(font);
    return label;
}

} // namespace

ExtrasPage::ExtrasPage(PickColor pickColor, QWidget *parent)
    : QWidget(parent), m_pickColor(std::move(pickColor))
{
    setObjectName(QStringLiteral("ExtrasPage"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Heading(QStringLiteral("Calendar Extras"), this));

    auto *weeks = new QFormLayout;
    m_firstWeekday = new QComboBox(this);
    m_firstWeekday->setObjectName(QStringLiteral("FirstWeekdayCombo"));
    for (int day = 1; day <= 7; ++day)
        m_firstWeekday->addItem(FrameText::WeekdayName(day));
    weeks->addRow(QStringLiteral("&First day of the week:"), m_firstWeekday);
    m_weekPlanners = new QCheckBox(QStringLiteral("Week &planners start on this day"), this);
    m_weekPlanners->setObjectName(QStringLiteral("WeekPlannersCheck"));
    weeks->addRow(QString(), m_weekPlanners);
    m_weekNumbers = new QComboBox(this);
    m_weekNumbers->setObjectName(QStringLiteral("WeekNumbersCombo"));
    m_weekNumbers->addItems({QStringLiteral("None"), QStringLiteral("ISO 8601 (weeks from Monday)"),
                             QStringLiteral("US (weeks from Sunday)")});
    weeks->addRow(QStringLiteral("&Week numbers:"), m_weekNumbers);
    layout->addLayout(weeks);

    m_weekend = new QGroupBox(QStringLiteral("Mark the &weekend"), this);
    m_weekend->setObjectName(QStringLiteral("WeekendGroup"));
    m_weekend->setCheckable(true);
    auto *weekend = new QVBoxLayout(m_weekend);
    auto *days = new QHBoxLayout;
    for (int day = 1; day <= 7; ++day) {
        auto *check = new QCheckBox(FrameText::WeekdayName(day).left(3), m_weekend);
        check->setObjectName(QStringLiteral("WeekendDay%1").arg(day));
        check->setAccessibleName(FrameText::WeekdayName(day));
        m_weekendDays[day - 1] = check;
        days->addWidget(check);
    }
    days->addStretch();
    weekend->addLayout(days);
    auto *weekendColors = new QHBoxLayout;
    m_weekendCell = ColorButton(QStringLiteral("Cell Color"), "WeekendCellColor");
    m_weekendNumber = ColorButton(QStringLiteral("Number Color"), "WeekendNumberColor");
    weekendColors->addWidget(m_weekendCell);
    weekendColors->addWidget(m_weekendNumber);
    weekendColors->addStretch();
    weekend->addLayout(weekendColors);
    layout->addWidget(m_weekend);

    m_redDays = new QGroupBox(QStringLiteral("Mark public &holidays (red days)"), this);
    m_redDays->setObjectName(QStringLiteral("RedDaysGroup"));
    m_redDays->setCheckable(true);
    auto *redColors = new QHBoxLayout(m_redDays);
    m_redDayCell = ColorButton(QStringLiteral("Cell Color"), "RedDayCellColor");
    m_redDayNumber = ColorButton(QStringLiteral("Number Color"), "RedDayNumberColor");
    redColors->addWidget(m_redDayCell);
    redColors->addWidget(m_redDayNumber);
    redColors->addStretch();
    layout->addWidget(m_redDays);

    m_moonPhases = new QCheckBox(QStringLiteral("&Moon phases"), this);
    m_moonPhases->setObjectName(QStringLiteral("MoonPhasesCheck"));
    m_dayCounters =
        new QCheckBox(QStringLiteral("&Day counters (day of the year \u00B7 days left)"), this);
    m_dayCounters->setObjectName(QStringLiteral("DayCountersCheck"));
    layout->addWidget(m_moonPhases);
    layout->addWidget(m_dayCounters);
    layout->addStretch();

    connect(m_firstWeekday, &QComboBox::currentIndexChanged, this, &ExtrasPage::Report);
    connect(m_weekNumbers, &QComboBox::currentIndexChanged, this, &ExtrasPage::Report);
    for (QCheckBox *check : {m_weekPlanners, m_moonPhases, m_dayCounters})
        connect(check, &QCheckBox::toggled, this, &ExtrasPage::Report);
    for (QCheckBox *check : m_weekendDays)
        connect(check, &QCheckBox::toggled, this, &ExtrasPage::Report);
    for (QGroupBox *group : {m_weekend, m_redDays})
        connect(group, &QGroupBox::toggled, this, &ExtrasPage::Report);
}

ColorSwatchButton *ExtrasPage::ColorButton(const QString &text, const char *name)
{
    auto *button = new ColorSwatchButton(text, this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, button] {
        if (!m_pickColor)
            return;
        if (const std::optional<TColor> color = m_pickColor(this, button->Color()))
            button->SetColor(*color);
    });
    connect(button, &ColorSwatchButton::colorChanged, this, &ExtrasPage::Report);
    return button;
}

void ExtrasPage::Report()
{
    if (!m_showing)
        Q_EMIT edited();
}

void ExtrasPage::Show(int firstWeekday, const CalendarExtras &extras)
{
    m_showing = true;
    m_firstWeekday->setCurrentIndex(std::clamp(firstWeekday, 1, 7) - 1);
    m_weekPlanners->setChecked(extras.weekPlannersFromFirstWeekday);
    m_weekNumbers->setCurrentIndex(static_cast<int>(extras.weekNumbers));
    m_weekend->setChecked(extras.markWeekends);
    for (int day = 1; day <= 7; ++day)
        m_weekendDays[day - 1]->setChecked((extras.weekendDays & WeekdayBit(day)) != 0);
    m_weekendCell->SetColor(extras.weekendCellColor);
    m_weekendNumber->SetColor(extras.weekendNumberColor);
    m_redDays->setChecked(extras.redDays);
    m_redDayCell->SetColor(extras.redDayCellColor);
    m_redDayNumber->SetColor(extras.redDayNumberColor);
    m_moonPhases->setChecked(extras.moonPhases);
    m_dayCounters->setChecked(extras.dayCounters);
    m_showing = false;
}

int ExtrasPage::FirstWeekday() const
{
    return m_firstWeekday->currentIndex() + 1;
}

CalendarExtras ExtrasPage::Extras() const
{
    CalendarExtras extras;
    extras.firstWeekday = FirstWeekday() >= 3 ? FirstWeekday() : 0;
    extras.weekPlannersFromFirstWeekday = m_weekPlanners->isChecked();
    extras.weekNumbers =
        static_cast<WeekNumbering>(std::clamp(m_weekNumbers->currentIndex(), 0, 2));
    extras.markWeekends = m_weekend->isChecked();
    extras.weekendDays = 0;
    for (int day = 1; day <= 7; ++day)
        if (m_weekendDays[day - 1]->isChecked())
            extras.weekendDays |= WeekdayBit(day);
    extras.weekendCellColor = m_weekendCell->Color();
    extras.weekendNumberColor = m_weekendNumber->Color();
    extras.redDays = m_redDays->isChecked();
    extras.redDayCellColor = m_redDayCell->Color();
    extras.redDayNumberColor = m_redDayNumber->Color();
    extras.moonPhases = m_moonPhases->isChecked();
    extras.dayCounters = m_dayCounters->isChecked();
    return extras;
}

} // namespace Dayloom
