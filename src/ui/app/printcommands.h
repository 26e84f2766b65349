#pragma once

#include "ui/print/printservices.h"
#include "ui/print/tprintrangedialog.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QPrinter;

namespace Dayloom {

class PrintEngine;
class TCalendarMain;
class TCalendarPanel32;

// The main window's print and export commands and the printer they share:
// Print Setup, Print Calendar, Print Preview and Export. The design's
// modified state is the same after each of them as before.
class PrintCommands : public QObject
{
    Q_OBJECT

public:
    explicit PrintCommands(TCalendarMain &window);
    ~PrintCommands() override;

    // Print Setup: the printer dialog; its choices stay with the printer.
    void PrintSetup();
    // Print Calendar: this page or a span of months, printer dialog, margin
    // check, copies, the job, and the message that it was sent (or why it
    // failed).
    void PrintCalendar();
    // The pages of this page or a span of months as they would print, in a
    // preview window.
    void PrintPreview();
    // File > Export...: this page or a span of months as a PDF, SVG or PNG
    // file (a file per page for the pictures, named as --months names them).
    void ExportPage();
    // Writes the page, or a page per month of range.months, to `path` as
    // "pdf", "svg" or "png" (at `dotsPerInch`).
    bool ExportPageFile(const QString &path, const QString &format, int dotsPerInch, QString *error,
                        const PrintRange &range = PrintRange());
    // Why no printer can be used (none installed, or none is the default);
    // empty when a printer is installed and one is the default.
    QString PrinterProblem() const;
    bool PrinterReady() const { return PrinterProblem().isEmpty(); }
    // At start-up: shows a printer problem in the status bar, without
    // stopping the start.
    void FindPrinter();
    // Asks whether to print anyway when a page margin lies in the printer's
    // unprintable area; true when printing may go on.
    bool CheckPrinterMargins();
    // Asks whether to print anyway when the printer does not offer the
    // design's paper; true when printing may go on.
    bool CheckPrinterPaper();
    // Print Calendar is always offered: the print dialog can print to a PDF
    // file even with no printer installed.
    bool PrinterAvailable() const { return true; }
    bool PrintDone() const { return m_printDone; }
    int CopiesToPrint() const { return m_copiesToPrint; }
    // The printer every print command uses, with the choices made so far.
    QPrinter &Printer();
    // How the print commands reach the system and the user (replaced by tests
    // before Start()).
    PrintServices &Hooks() { return m_printServices; }

private:
    // Asks for this page or a span of months; nullopt when cancelled.
    std::optional<PrintRange> AskRange(const QString &caption);
    void PrintRangeOfPages(const PrintRange &range);
    // The print job's page handler: every copy of the range's pages, a new
    // sheet between pages; false when drawing failed.
    bool ReportPrinter1Print(PrintEngine &engine, const PrintRange &range);
    // Prints the range's pages (each a new sheet after the first) with the
    // page ready to print; false when a sheet could not be started.
    bool PrintPages(PrintEngine &engine, const PrintRange &range, int copies);
    // Runs `draw` with the note committed, painting suspended and the page at
    // zoom 1; puts the zoom back afterwards.
    void WithPageReadyToPrint(const std::function<void()> &draw);
    // True when an object of the design is of a kind that keeps printers
    // busy (ObjectKind::printsSlowly).
    bool HasSlowlyPrintedObjects() const;
    // The window's state the commands use.
    void DoSaveRichtext();
    void SetModified(bool modified);
    QString DialogFolder() const;

    TCalendarMain &m_window;
    TCalendarPanel32 *m_page;
    PrintServices m_printServices = PrintServices::System();
    std::unique_ptr<QPrinter> m_printer;
    bool m_printDone = false;
    int m_copiesToPrint = 1;
    int m_exportDotsPerInch = 150;
    PrintRange m_range; // the last one chosen
};

} // namespace Dayloom
