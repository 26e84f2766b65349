#pragma once

#include "core/calendar/calendarextras.h"
#include "core/common/tcolor.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;

namespace Dayloom {

class ColorSwatchButton;

// The "Extras" page of the calendar properties: the first weekday (any of
// the seven), week numbers, the weekend and the red days with their
// colours, moon phases and day counters. It holds no page: Show() sets the
// controls without a signal, every change the user makes emits edited(),
// after which FirstWeekday() and Extras() give the values shown.
class ExtrasPage : public QWidget
{
    Q_OBJECT

public:
    // Asks for a colour, starting from the one given; nullopt on cancel.
    using PickColor = std::function<std::optional<TColor>(QWidget *parent, TColor current)>;

    explicit ExtrasPage(PickColor pickColor, QWidget *parent = nullptr);

    // firstWeekday: 1 = Sunday ... 7 = Saturday.
    void Show(int firstWeekday, const CalendarExtras &extras);
    int FirstWeekday() const;
    // The extras shown; firstWeekday of the result is the one the page
    // shows when it is Tuesday to Saturday, else 0.
    CalendarExtras Extras() const;

Q_SIGNALS:
    void edited();

private:
    ColorSwatchButton *ColorButton(const QString &text, const char *name);
    void Report();

    PickColor m_pickColor;
    bool m_showing = false;
    QComboBox *m_firstWeekday = nullptr;
    QCheckBox *m_weekPlanners = nullptr;
    QComboBox *m_weekNumbers = nullptr;
    QGroupBox *m_weekend = nullptr;
    std::array<QCheckBox *, 7> m_weekendDays{};
    ColorSwatchButton *m_weekendCell = nullptr;
    ColorSwatchButton *m_weekendNumber = nullptr;
    QGroupBox *m_redDays = nullptr;
    ColorSwatchButton *m_redDayCell = nullptr;
    ColorSwatchButton *m_redDayNumber = nullptr;
    QCheckBox *m_moonPhases = nullptr;
    QCheckBox *m_dayCounters = nullptr;
};

} // namespace Dayloom
