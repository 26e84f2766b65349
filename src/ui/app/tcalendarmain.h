#pragma once

#include <QMainWindow>

namespace Dayloom {

// The main window: menus, tool panel, the calendar page in a scroll area and
// the note editor laid over the chosen day cell.
class TCalendarMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TCalendarMain(QWidget *parent = nullptr);
};

} // namespace Dayloom
