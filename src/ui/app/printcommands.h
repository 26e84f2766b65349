#pragma once

#include "ui/print/printservices.h"

#include <QObject>

#include <functional>
#include <memory>

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
    // Print Calendar: printer dialog, margin check, copies, the job, and the
    // message that it was sent (or why it failed).
    void PrintCalendar();
    // The page as it would print, in a preview window.
    void PrintPreview();
    // File > Export...: the page as a PDF, SVG or PNG file.
    void ExportPage();
    // Writes the page to `path` as "pdf", "svg" or "png" (at `dotsPerInch`).
    bool ExportPageFile(const QString &path, const QString &format, int dotsPerInch,
                        QString *error);
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
    // The print job's page handler: every copy of the page, a new sheet
    // between copies; false when drawing failed.
    bool ReportPrinter1Print(PrintEngine &engine);
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
};

} // namespace Dayloom
