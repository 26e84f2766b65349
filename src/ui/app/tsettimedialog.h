#pragma once

#include <QDialog>
#include <QTime>

#include <array>

class QAbstractButton;

namespace Dayloom {

// Picks a time of day with two clicks: one of 24 hour cells (AM and PM rows
// labelled 12, 1 ... 11) and one of 60 minute cells. The caption shows the
// choice as "Set Time As: hh:mm am/pm"; the chosen cells are yellow.
class TSetTimeDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TSetTimeDialog(QWidget *parent = nullptr);

    // Set before showing; after Ok it holds the chosen hour and minute.
    QTime Time() const { return QTime(m_hour, m_minute); }
    void SetTime(const QTime &time);

    QAbstractButton *HourCell(int hour) const { return m_hourCells.at(hour); }
    QAbstractButton *MinuteCell(int minute) const { return m_minuteCells.at(minute); }
    // "hh:mm am" — two-digit 12-hour clock.
    static QString FormatTime(const QTime &time);

private:
    void ChooseHour(int hour);
    void ChooseMinute(int minute);
    void Refresh();

    int m_hour = 0;
    int m_minute = 0;
    std::array<QAbstractButton *, 24> m_hourCells{};
    std::array<QAbstractButton *, 60> m_minuteCells{};
};

} // namespace Dayloom
