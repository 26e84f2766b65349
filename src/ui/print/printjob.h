#pragma once

#include <QMarginsF>
#include <QString>

#include <functional>

class QPageSize;
class QPrinter;

namespace Dayloom {

class CalendarPage;
class PrintEngine;

// Gives the printer the design's paper (Letter or A4) and orientation, so
// that the page fills the sheet whatever paper the printer had before.
void UseDesignPaper(QPrinter &printer, const CalendarPage &page);
// The question asked before printing on a printer that does not offer the
// design's paper.
QString MissingPaperQuestion(const QString &printerName, const QPageSize &paper);

// The margin warning's lines for the sides where the printer's unprintable
// margin (truncated to hundredths of an inch) exceeds the page's margin, in
// the order left, top, right, bottom, each line starting with a line break;
// empty when every side fits.
QString MarginWarningLines(const QMarginsF &unprintableInches, const QMarginsF &pageMarginInches);
// The whole question asked for those lines.
QString MarginWarningQuestion(const QString &lines);

// Runs one print job on the printer: opens it, lets `pages` draw through a
// print engine (false from `pages` means drawing failed), and closes it.
// False with a reason when the printer or its output file cannot be opened,
// when drawing failed, or when the printer reports an error for the job.
bool RunPrintJob(QPrinter &printer, const std::function<bool(PrintEngine &)> &pages,
                 QString *error);

} // namespace Dayloom
