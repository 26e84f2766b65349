#include "ui/app/printcommands.h"

#include "core/export/monthpages.h"
#include "core/export/pageexport.h"
#include "core/objects/objectkindregistry.h"
#include "core/print/printengine.h"
#include "core/surface/pagedocument.h"
#include "ui/app/tcalendarmain.h"
#include "ui/app/uihelpers.h"
#include "ui/print/printjob.h"
#include "ui/surface/tcalendarpanel32.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QStatusBar>

#include <algorithm>

namespace Dayloom {

PrintCommands::PrintCommands(TCalendarMain &window)
    : QObject(&window), m_window(window), m_page(window.CalendarPanel())
{
}

PrintCommands::~PrintCommands() = default;

void PrintCommands::DoSaveRichtext()
{
    m_window.DoSaveRichtext();
}

void PrintCommands::SetModified(bool modified)
{
    m_window.SetModified(modified);
}

QString PrintCommands::DialogFolder() const
{
    return m_window.DialogFolder();
}

QPrinter &PrintCommands::Printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setDocName(QStringLiteral("ReportPrinter Report"));
        // Positions on the page are measured from the paper's edge.
        m_printer->setFullPage(true);
        m_printer->setPageOrientation(QPageLayout::Portrait);
    }
    return *m_printer;
}

QString PrintCommands::PrinterProblem() const
{
    if (m_printServices.installedPrinters().isEmpty())
        return QStringLiteral("There are no installed printers");
    if (m_printServices.defaultPrinter().isEmpty())
        return QStringLiteral("There is no default printer selected");
    return QString();
}

void PrintCommands::FindPrinter()
{
    const QString problem = PrinterProblem();
    if (problem.isEmpty())
        return;
    // A permanent widget: passing hints must not wipe it out.
    auto *label =
        new QLabel(problem + QStringLiteral(". Print can still print the page to a PDF file."),
                   m_window.statusBar());
    label->setObjectName(QStringLiteral("PrinterStatus"));
    m_window.statusBar()->addPermanentWidget(label, 1);
}

bool PrintCommands::CheckPrinterPaper()
{
    QPrinter &printer = Printer();
    if (m_printServices.offersPaper(printer))
        return true;
    return AskYesNo(&m_window,
                    MissingPaperQuestion(printer.printerName(), printer.pageLayout().pageSize()),
                    QStringLiteral("Paper Warning"));
}

bool PrintCommands::CheckPrinterMargins()
{
    const CalendarPage &page = m_page->Page();
    const QString lines =
        MarginWarningLines(m_printServices.unprintableMargins(Printer()),
                           QMarginsF(page.LeftMarginInch(), page.TopMarginInch(),
                                     page.RightMarginInch(), page.BottomMarginInch()));
    if (lines.isEmpty())
        return true;
    return AskYesNo(&m_window, MarginWarningQuestion(lines), QStringLiteral("Margin Warning"));
}

bool PrintCommands::HasSlowlyPrintedObjects() const
{
    const PageDocument &document = m_page->Document();
    for (const TGGraphicControl *object : document.Objects()) {
        const ObjectKind *kind = document.Kinds().FindClass(object->ClassName());
        if (kind && kind->printsSlowly)
            return true;
    }
    return false;
}

void PrintCommands::PrintSetup()
{
    if (!m_window.m_pageShown)
        return;
    DoSaveRichtext();
    QPrinter &printer = Printer();
    UseDesignPaper(printer, m_page->Page());
    m_printServices.printerDialog(printer, &m_window, QStringLiteral("Print Setup"),
                                  QStringLiteral("OK"));
}

std::optional<PrintRange> PrintCommands::AskRange(const QString &caption)
{
    const CalendarPage &page = m_page->Page();
    const std::optional<PrintRange> range = m_printServices.rangeDialog(
        &m_window, caption, m_range, QDate(page.MainCalYear(), page.MainCalMonth(), 1));
    if (range)
        m_range = *range;
    return range;
}

void PrintCommands::PrintCalendar()
{
    if (!m_window.m_pageShown)
        return;
    DoSaveRichtext();
    if (const std::optional<PrintRange> range = AskRange(QStringLiteral("Print")))
        PrintRangeOfPages(*range);
}

void PrintCommands::PrintRangeOfPages(const PrintRange &range)
{
    m_printDone = false;
    const bool wasModified = m_window.Modified();
    QPrinter &printer = Printer();
    // The dialog shows the design's paper; the job gets it whatever the
    // dialog was set to.
    UseDesignPaper(printer, m_page->Page());
    if (m_printServices.printerDialog(printer, &m_window, QStringLiteral("Print"),
                                      QStringLiteral("&Print"))) {
        UseDesignPaper(printer, m_page->Page());
        if (!CheckPrinterPaper() || !CheckPrinterMargins())
            return;
        const int copies = std::max(1, printer.copyCount());
        if (m_printServices.maximumCopies(printer) >= copies) {
            printer.setCopyCount(copies);
            m_copiesToPrint = 1;
        } else {
            printer.setCopyCount(1);
            m_copiesToPrint = copies;
        }
        QString error;
        if (!RunPrintJob(
                printer,
                [this, &range](PrintEngine &engine) { return ReportPrinter1Print(engine, range); },
                &error)) {
            // A job that failed was not sent, whatever the page handler did.
            m_printDone = false;
            SetModified(wasModified);
            ShowInformation(&m_window,
                            QStringLiteral("The calendar was not printed.\n%1").arg(error));
            return;
        }
    }
    if (m_printDone) {
        if (HasSlowlyPrintedObjects())
            ShowInformation(&m_window,
                            QStringLiteral("Print job completed and sent to printer!\n\n"
                                           "Note: this design contains complex shapes or text.\n"
                                           "Please be patient while the printer produces its\n"
                                           "output..."));
        else
            ShowInformation(&m_window, QStringLiteral("Print job completed and sent to printer!"));
    }
    SetModified(wasModified);
}

bool PrintCommands::ReportPrinter1Print(PrintEngine &engine, const PrintRange &range)
{
    m_printDone = true;
    bool drawn = true;
    WithPageReadyToPrint([&] { drawn = PrintPages(engine, range, m_copiesToPrint); });
    return drawn;
}

bool PrintCommands::PrintPages(PrintEngine &engine, const PrintRange &range, int copies)
{
    PageDocument &document = m_page->Document();
    const QSize noteSize = m_page->PrintReferenceNoteSize();
    if (!range.months) {
        for (int copy = 1; copy <= copies; ++copy) {
            document.PrintPage(engine, 0, 0, noteSize);
            if (copy < copies && !engine.NewPage())
                return false;
        }
        return true;
    }
    MonthPages pages(document, *range.months, std::nullopt);
    bool drawn = true;
    for (int copy = 1; copy <= copies && drawn; ++copy) {
        for (int index = 0; index < pages.PageCount() && drawn; ++index) {
            if (copy > 1 || index > 0)
                drawn = engine.NewPage();
            if (drawn && pages.SetUpPage(index, nullptr))
                document.PrintPage(engine, 0, 0, noteSize);
        }
    }
    pages.Restore();
    return drawn;
}

void PrintCommands::WithPageReadyToPrint(const std::function<void()> &draw)
{
    DoSaveRichtext();
    m_page->SetPaintSuspended(true);
    SetModified(false);
    const float zoom = m_page->Document().Zoom();
    m_page->SetPrinting(true);
    ShowBusyCursor();
    m_page->SetZoom(1.0f);
    const auto restore = [this, zoom] {
        RestoreCursor();
        if (zoom != 1.0f)
            m_page->SetZoom(zoom);
        m_page->SetPaintSuspended(false);
        if (zoom != 1.0f)
            m_page->update();
        m_page->SetPrinting(false);
        SetModified(false);
    };
    try {
        draw();
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void PrintCommands::PrintPreview()
{
    if (!m_window.m_pageShown)
        return;
    DoSaveRichtext();
    const bool wasModified = m_window.Modified();
    QPrinter &printer = Printer();
    UseDesignPaper(printer, m_page->Page());
    const std::optional<PrintRange> range = AskRange(QStringLiteral("Print Preview"));
    if (!range)
        return;
    const bool printChosen =
        m_printServices.previewDialog(printer, &m_window, [this, &range](QPrinter *target) {
            QPainter painter;
            if (!painter.begin(target))
                return;
            PrintEngine engine(painter);
            WithPageReadyToPrint([&] { PrintPages(engine, *range, 1); });
        });
    SetModified(wasModified);
    if (printChosen)
        PrintRangeOfPages(*range);
}

void PrintCommands::ExportPage()
{
    if (!m_window.m_pageShown)
        return;
    DoSaveRichtext();
    const std::optional<PrintRange> range = AskRange(QStringLiteral("Export"));
    if (!range)
        return;
    const QString pdf = QStringLiteral("PDF document (*.pdf)");
    const QString svg = QStringLiteral("SVG drawing (*.svg)");
    const QString png = QStringLiteral("PNG image (*.png)");
    const QStringList filters{pdf, svg, png};
    const CalendarPage &page = m_page->Page();
    const QString base =
        m_window.CurrentFileName().isEmpty()
            ? page.MonthName(page.MainCalMonth()).left(3) + QString::number(page.MainCalYear())
            : QFileInfo(m_window.CurrentFileName()).completeBaseName();
    QString filter = pdf;
    QString path = m_printServices.exportFileDialog(
        &m_window, QDir(DialogFolder()).filePath(base + QStringLiteral(".pdf")), filters, filter);
    if (path.isEmpty())
        return;
    QString format = QFileInfo(path).suffix().toLower();
    if (format != QLatin1String("pdf") && format != QLatin1String("png") &&
        format != QLatin1String("svg")) {
        format = filter == png   ? QStringLiteral("png")
                 : filter == svg ? QStringLiteral("svg")
                                 : QStringLiteral("pdf");
        path += QLatin1Char('.') + format;
    }
    int dotsPerInch = 0;
    if (format == QLatin1String("png")) {
        dotsPerInch = m_printServices.imageResolutionDialog(&m_window, m_exportDotsPerInch);
        if (dotsPerInch <= 0)
            return;
        m_exportDotsPerInch = dotsPerInch;
    }
    QString error;
    if (!ExportPageFile(path, format, dotsPerInch, &error, *range))
        ShowInformation(&m_window, QStringLiteral("Unable to export %1\n%2").arg(path, error));
}

bool PrintCommands::ExportPageFile(const QString &path, const QString &format, int dotsPerInch,
                                   QString *error, const PrintRange &range)
{
    const bool wasModified = m_window.Modified();
    bool written = false;
    WithPageReadyToPrint([&] {
        PageDocument &document = m_page->Document();
        const auto writeOne = [&document, &format, dotsPerInch](const QString &file, QString *why) {
            if (format == QLatin1String("png"))
                return ExportDocumentPngAtDpi(document, dotsPerInch, file, why);
            if (format == QLatin1String("svg"))
                return ExportDocumentSvg(document, file, why);
            return ExportDocumentPdf(document, file, why);
        };
        if (!range.months) {
            written = writeOne(path, error);
            return;
        }
        // As --months: all pages in one PDF, or a file per page.
        MonthPages pages(document, *range.months, std::nullopt);
        written = format == QLatin1String("pdf") ? pages.ExportPdf(path, error)
                                                 : pages.ExportFiles(path, writeOne, error);
        pages.Restore();
    });
    SetModified(wasModified);
    return written;
}

} // namespace Dayloom
