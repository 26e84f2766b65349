#include "ui/app/tcalendarmain.h"

namespace Dayloom {

TCalendarMain::TCalendarMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("CalendarMain"));
    setWindowTitle(QStringLiteral("Dayloom"));
    resize(1000, 720);
}

} // namespace Dayloom
