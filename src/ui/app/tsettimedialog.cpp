#include "ui/app/tsettimedialog.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace Dayloom {

namespace {

// One hour or minute cell: a flat face in its own colour with the number in
// the middle. Painted here rather than by the style, which leaves the face
// of a flat button unpainted.
class TimeCell : public QAbstractButton
{
public:
    TimeCell(const QString &caption, QWidget *parent) : QAbstractButton(parent)
    {
        setText(caption);
    }

    void SetChosen(bool chosen)
    {
        if (chosen == m_chosen)
            return;
        m_chosen = chosen;
        update();
    }
    bool Chosen() const { return m_chosen; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QColor face = m_chosen ? QColor(Qt::yellow) : palette().color(QPalette::Button);
        painter.fillRect(rect(), face);
        if (isDown()) {
            painter.setPen(palette().color(QPalette::Dark));
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
        painter.setPen(m_chosen ? QColor(Qt::black) : palette().color(QPalette::ButtonText));
        painter.drawText(rect(), Qt::AlignCenter, text());
    }

private:
    bool m_chosen = false;
};

QAbstractButton *MakeCell(const QString &caption, const QString &hint, QWidget *parent)
{
    auto *cell = new TimeCell(caption, parent);
    cell->setFixedSize(24, 19);
    cell->setToolTip(hint);
    cell->setFocusPolicy(Qt::NoFocus);
    return cell;
}

QLabel *MakeHeader(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::Highlight);
    label->setForegroundRole(QPalette::HighlightedText);
    return label;
}

void Paint(QAbstractButton *cell, bool chosen)
{
    static_cast<TimeCell *>(cell)->SetChosen(chosen);
}

} // namespace

TSetTimeDialog::TSetTimeDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SetTimeDialog"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    setFont(arial);

    auto *hourPanel = new QWidget(this);
    hourPanel->setObjectName(QStringLiteral("HourPanel"));
    auto *hourGrid = new QGridLayout(hourPanel);
    hourGrid->setSpacing(1);
    hourGrid->addWidget(MakeHeader(QStringLiteral("  Hour"), hourPanel), 0, 0, 1, 7);
    const QString hourHint = QStringLiteral("Click to set the hours portion of the time");
    for (int hour = 0; hour < 24; ++hour) {
        const int row = hour / 6;
        const int column = hour % 6;
        const int shown = hour % 12 == 0 ? 12 : hour % 12;
        QAbstractButton *cell = MakeCell(QString::number(shown), hourHint, hourPanel);
        cell->setProperty("tag", hour);
        connect(cell, &QAbstractButton::clicked, this, [this, hour] { ChooseHour(hour); });
        m_hourCells[hour] = cell;
        hourGrid->addWidget(cell, row + 1, column + 1);
    }
    hourGrid->addWidget(new QLabel(QStringLiteral("AM"), hourPanel), 1, 0, 2, 1);
    hourGrid->addWidget(new QLabel(QStringLiteral("PM"), hourPanel), 3, 0, 2, 1);
    // The minute panel is taller: the spare room goes below the hours.
    hourGrid->setRowStretch(5, 1);

    auto *minutePanel = new QWidget(this);
    minutePanel->setObjectName(QStringLiteral("MinutePanel"));
    auto *minuteGrid = new QGridLayout(minutePanel);
    minuteGrid->setSpacing(1);
    minuteGrid->addWidget(MakeHeader(QStringLiteral("  Minute"), minutePanel), 0, 0, 1, 10);
    const QString minuteHint = QStringLiteral("Click to set the minutes portion of the time");
    for (int minute = 0; minute < 60; ++minute) {
        QAbstractButton *cell = MakeCell(QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0')),
                                         minuteHint, minutePanel);
        cell->setProperty("tag", minute);
        connect(cell, &QAbstractButton::clicked, this, [this, minute] { ChooseMinute(minute); });
        m_minuteCells[minute] = cell;
        minuteGrid->addWidget(cell, minute / 10 + 1, minute % 10);
    }

    auto *ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setObjectName(QStringLiteral("okbutton"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    auto *panels = new QHBoxLayout;
    panels->addWidget(hourPanel);
    panels->addWidget(minutePanel);
    layout->addLayout(panels);
    layout->addLayout(buttons);
    // A fixed border: the dialog keeps the size its cells need.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Refresh();
}

void TSetTimeDialog::SetTime(const QTime &time)
{
    const QTime valid = time.isValid() ? time : QTime(0, 0);
    m_hour = valid.hour();
    m_minute = valid.minute();
    Refresh();
}

void TSetTimeDialog::ChooseHour(int hour)
{
    m_hour = hour;
    Refresh();
}

void TSetTimeDialog::ChooseMinute(int minute)
{
    m_minute = minute;
    Refresh();
}

QString TSetTimeDialog::FormatTime(const QTime &time)
{
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QStringLiteral("%1:%2 %3")
        .arg(hour12, 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.hour() < 12 ? QStringLiteral("am") : QStringLiteral("pm"));
}

void TSetTimeDialog::Refresh()
{
    setWindowTitle(QStringLiteral("Set Time As: ") + FormatTime(Time()));
    for (int hour = 0; hour < 24; ++hour)
        Paint(m_hourCells[hour], hour == m_hour);
    for (int minute = 0; minute < 60; ++minute)
        Paint(m_minuteCells[minute], minute == m_minute);
}

} // namespace Dayloom
