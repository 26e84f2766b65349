#pragma once

#include "ui/print/tprintrangedialog.h"

#include <QDate>
#include <QMarginsF>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace Dayloom {

// What the print commands ask of the system and of the user, one function
// each. System() answers through the installed printers (CUPS on Linux) and
// the real dialogs; tests replace single answers so that no dialog blocks.
struct PrintServices
{
    // Names of the installed printers, and the default one (empty: none).
    std::function<QStringList()> installedPrinters;
    std::function<QString()> defaultPrinter;
    // The printer dialog with the given caption and confirm button text: true
    // when confirmed. The choices (printer, paper, copies, output file) stay
    // in the printer.
    std::function<bool(QPrinter &printer, QWidget *parent, const QString &caption,
                       const QString &confirm)>
        printerDialog;
    // Whether the chosen printer offers the paper the printer is set to
    // (always true when printing to a file).
    std::function<bool(const QPrinter &printer)> offersPaper;
    // How many copies the printer's driver makes by itself.
    std::function<int(const QPrinter &printer)> maximumCopies;
    // The printer's unprintable margins in inches, for its current paper
    // and orientation.
    std::function<QMarginsF(const QPrinter &printer)> unprintableMargins;
    // Shows the print preview; `paint` draws the pages onto the printer it is
    // given. True when the user chose the preview's Print button, which
    // closes the preview and leaves the printing to the caller.
    std::function<bool(QPrinter &printer, QWidget *parent,
                       const std::function<void(QPrinter *)> &paint)>
        previewDialog;
    // The file to export to (empty: cancelled), starting at `proposed`;
    // `filter` is one of `filters` on entry and the chosen one on return.
    std::function<QString(QWidget *parent, const QString &proposed, const QStringList &filters,
                          QString &filter)>
        exportFileDialog;
    // The resolution of an exported image in dots per inch; 0 when cancelled.
    std::function<int(QWidget *parent, int proposed)> imageResolutionDialog;
    // This page or a span of months (TPrintRangeDialog) for the command
    // named by `caption`, starting from `proposed` and the page's month;
    // nullopt when cancelled.
    std::function<std::optional<PrintRange>(QWidget *parent, const QString &caption,
                                            const PrintRange &proposed, const QDate &pageMonth)>
        rangeDialog;

    static PrintServices System();
};

} // namespace Dayloom
