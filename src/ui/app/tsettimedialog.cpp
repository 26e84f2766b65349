#include "ui/app/tsettimedialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Dayloom {

namespace {

QPushButton *MakeCell(const QString &caption, const QString &hint, QWidget *parent)
{
    auto *cell = new QPushButton(caption, parent);
    cell->setFixedSize(24, 19);
    cell->setToolTip(hint);
    cell->setFocusPolicy(Qt::NoFocus);
    cell->setFlat(true);
    cell->setAutoFillBackground(true);
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

void Paint(QPushButton *cell, bool chosen)
{
    QPalette palette = cell->palette();
    palette.setColor(QPalette::Button, chosen ? QColor(Qt::yellow) : QColor(0xF0, 0xF0, 0xF0));
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    cell->setPalette(palette);
    cell->setStyleSheet(chosen ? QStringLiteral("background: yellow") : QString());
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
        QPushButton *cell = MakeCell(QString::number(shown), hourHint, hourPanel);
        cell->setProperty("tag", hour);
        connect(cell, &QPushButton::clicked, this, [this, hour] { ChooseHour(hour); });
        m_hourCells[hour] = cell;
        hourGrid->addWidget(cell, row + 1, column + 1);
    }
    hourGrid->addWidget(new QLabel(QStringLiteral("AM"), hourPanel), 1, 0, 2, 1);
    hourGrid->addWidget(new QLabel(QStringLiteral("PM"), hourPanel), 3, 0, 2, 1);

    auto *minutePanel = new QWidget(this);
    minutePanel->setObjectName(QStringLiteral("MinutePanel"));
    auto *minuteGrid = new QGridLayout(minutePanel);
    minuteGrid->setSpacing(1);
    minuteGrid->addWidget(MakeHeader(QStringLiteral("  Minute"), minutePanel), 0, 0, 1, 10);
    const QString minuteHint = QStringLiteral("Click to set the minutes portion of the time");
    for (int minute = 0; minute < 60; ++minute) {
        QPushButton *cell = MakeCell(QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0')),
                                     minuteHint, minutePanel);
        cell->setProperty("tag", minute);
        connect(cell, &QPushButton::clicked, this, [this, minute] { ChooseMinute(minute); });
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
