#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace Dayloom {

// What the icon tool asks of the user: the open dialog of "Other..." and
// information boxes. System() gives the real dialogs; tests hand in their
// own so that nothing blocks.
struct IconToolServices
{
    // The open dialog over `folder` with Qt filters ";;"-separated, starting
    // on `selectedFilter`; the chosen file, or empty on Cancel.
    std::function<QString(QWidget *parent, const QString &caption, const QString &folder,
                          const QString &filters, const QString &selectedFilter)>
        chooseIconFile;
    // An "Information" box with an OK button.
    std::function<void(QWidget *parent, const QString &text)> showInformation;

    static IconToolServices System();
};

} // namespace Dayloom
