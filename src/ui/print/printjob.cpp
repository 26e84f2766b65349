#include "ui/print/printjob.h"

#include "core/calendar/calendarpage.h"
#include "core/print/printengine.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <cmath>

namespace Dayloom {

namespace {

double Hundredths(double inches)
{
    // A tiny allowance keeps 0.3 from becoming 0.29 through rounding.
    return std::floor(inches * 100.0 + 1e-6) / 100.0;
}

QString MarginLine(const char *side)
{
    return QStringLiteral("\n%1 Margin is possibly outside of Printer printable area")
        .arg(QLatin1String(side));
}

} // namespace

QString MarginWarningLines(const QMarginsF &unprintable, const QMarginsF &page)
{
    QString text;
    if (Hundredths(unprintable.left()) > page.left())
        text += MarginLine("Left");
    if (Hundredths(unprintable.top()) > page.top())
        text += MarginLine("Top");
    if (Hundredths(unprintable.right()) > page.right())
        text += MarginLine("Right");
    if (Hundredths(unprintable.bottom()) > page.bottom())
        text += MarginLine("Bottom");
    return text;
}

void UseDesignPaper(QPrinter &printer, const CalendarPage &page)
{
    printer.setPageSize(QPageSize(page.IsA4() ? QPageSize::A4 : QPageSize::Letter));
    // The layout decides the orientation the page is drawn in.
    printer.setPageOrientation(page.PageWidth() > page.PageHeight() ? QPageLayout::Landscape
                                                                    : QPageLayout::Portrait);
}

QString MissingPaperQuestion(const QString &printerName, const QPageSize &paper)
{
    return QStringLiteral("The printer \"%1\" does not offer %2 paper, the paper of this "
                          "design.\nThe page may come out cut off or on other paper.\n\n"
                          "Print anyway?")
        .arg(printerName,
             paper.id() == QPageSize::Letter ? QStringLiteral("Letter") : paper.name());
}

QString MarginWarningQuestion(const QString &lines)
{
    return QStringLiteral("Margin Warning:\n") + lines + QStringLiteral("\n\nPrint anyways?");
}

bool RunPrintJob(QPrinter &printer, const std::function<bool(PrintEngine &)> &pages, QString *error)
{
    const auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QString file = printer.outputFileName();
    const bool toFile = !file.isEmpty();
    // A printer that has gone since it was chosen leaves Qt without a device
    // (or falls back to PDF output with no file).
    if (!toFile && (printer.outputFormat() != QPrinter::NativeFormat || !printer.isValid())) {
        const QString name = printer.printerName();
        return fail(name.isEmpty()
                        ? QStringLiteral("The chosen printer is not available.")
                        : QStringLiteral("The printer \"%1\" is not available.").arg(name));
    }
    if (toFile) {
        // A file left from an earlier job would hide a job that wrote nothing.
        QFile::remove(file);
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (toFile)
            return fail(QStringLiteral("The file %1 could not be written.").arg(file));
        return fail(
            QStringLiteral("The printer \"%1\" could not be opened.").arg(printer.printerName()));
    }
    bool drawn = false;
    {
        PrintEngine engine(painter);
        drawn = pages(engine);
    }
    const bool ended = painter.end();
    if (!drawn) {
        printer.abort();
        return fail(QStringLiteral("The page could not be drawn."));
    }
    if (!ended || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted) {
        if (toFile)
            return fail(QStringLiteral("The file %1 could not be written.").arg(file));
        return fail(QStringLiteral("The printer \"%1\" reported an error for the job.")
                        .arg(printer.printerName()));
    }
    if (toFile) {
        const QFileInfo written(file);
        if (!written.exists() || written.size() == 0)
            return fail(QStringLiteral("The file %1 could not be written.").arg(file));
    }
    return true;
}

} // namespace Dayloom
