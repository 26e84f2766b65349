#include "core/export/pageexport.h"

#include "core/calendar/calendarpage.h"
#include "core/calendar/pagelayout.h"
#include "core/export/clipfreedevice.h"
#include "core/io/saveatomically.h"
#include "core/io/seterror.h"
#include "core/print/printengine.h"
#include "core/surface/pagedocument.h"

#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cmath>

namespace Dayloom {

namespace {

QImage BlankImage(const CalendarPage &page, float zoom, qreal devicePixelRatio)
{
    const int width = static_cast<int>(page.PageWidth() * static_cast<double>(zoom));
    const int height = static_cast<int>(page.PageHeight() * static_cast<double>(zoom));
    QImage image(qRound(width * devicePixelRatio), qRound(height * devicePixelRatio),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::white);
    return image;
}

bool WritePng(const QImage &image, const QString &path, QString *error)
{
    return SaveAtomically(path, error, [&image](QIODevice &device, QString *error) {
        QImageWriter writer(&device, "png");
        if (writer.write(image))
            return true;
        SetError(error, writer.errorString());
        return false;
    });
}

// The paper of the design in inches (the page's own size, landscape when
// wider than high).
QSizeF PaperInches(const CalendarPage &page)
{
    const double ppi = PageLayout::PPI;
    return QSizeF(page.PageWidth() / ppi, page.PageHeight() / ppi);
}

QPageSize PaperPageSize(const CalendarPage &page)
{
    return QPageSize(page.PaperSize() == 0 ? QPageSize::Letter : QPageSize::A4);
}

// The design's name; a design never saved is called after the month it
// shows, as the export dialog names its file.
QString DocumentTitle(const PageDocument &document)
{
    if (!document.DesignName().isEmpty())
        return document.DesignName();
    const CalendarPage &page = document.Page();
    return page.MonthName(page.MainCalMonth()) + QLatin1Char(' ') +
           QString::number(page.MainCalYear());
}

} // namespace

QImage RenderPageImage(const CalendarPage &page, float zoom, qreal devicePixelRatio)
{
    QImage image = BlankImage(page, zoom, devicePixelRatio);
    QPainter painter(&image);
    page.Draw(painter, zoom);
    return image;
}

bool ExportPagePng(const CalendarPage &page, float zoom, const QString &path, QString *error)
{
    return WritePng(RenderPageImage(page, zoom), path, error);
}

QImage RenderDocumentImage(const PageDocument &document, qreal devicePixelRatio)
{
    QImage image = BlankImage(document.Page(), document.Zoom(), devicePixelRatio);
    QPainter painter(&image);
    document.Draw(painter);
    return image;
}

bool ExportDocumentPng(const PageDocument &document, const QString &path, QString *error)
{
    return WritePng(RenderDocumentImage(document), path, error);
}

QImage PrintDocumentImage(const PageDocument &document, int dpi)
{
    const QSizeF inches = PaperInches(document.Page());
    QImage image(qRound(inches.width() * dpi), qRound(inches.height() * dpi), QImage::Format_RGB32);
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    PrintEngine engine(painter);
    document.PrintPage(engine, 0, 0);
    return image;
}

bool ExportDocumentPngAtDpi(const PageDocument &document, int dpi, const QString &path,
                            QString *error)
{
    return WritePng(PrintDocumentImage(document, dpi), path, error);
}

bool WriteDocumentPdf(const PageDocument &document, int pageCount, const PreparePage &prepare,
                      QIODevice &device, QString *error)
{
    if (!device.isWritable()) {
        SetError(error, QStringLiteral("the output is not open for writing"));
        return false;
    }
    if (prepare && pageCount > 0 && !prepare(0, error))
        return false;
    const CalendarPage &page = document.Page();
    QPdfWriter writer(&device);
    writer.setCreator(QStringLiteral("Dayloom"));
    writer.setTitle(DocumentTitle(document));
    writer.setPageSize(PaperPageSize(page));
    writer.setPageOrientation(page.PageWidth() > page.PageHeight() ? QPageLayout::Landscape
                                                                   : QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer)) {
        SetError(error, QStringLiteral("the PDF writer could not start"));
        return false;
    }
    PrintEngine engine(painter);
    for (int index = 0; index < pageCount; ++index) {
        if (index > 0) {
            if (prepare && !prepare(index, error)) {
                painter.end();
                return false;
            }
            if (!engine.NewPage()) {
                painter.end();
                SetError(error, QStringLiteral("the PDF writer refused a new page"));
                return false;
            }
        }
        document.PrintPage(engine, 0, 0);
    }
    if (!painter.end()) {
        SetError(error, QStringLiteral("the PDF could not be completed"));
        return false;
    }
    return true;
}

bool ExportDocumentPdf(const PageDocument &document, int pageCount, const PreparePage &prepare,
                       const QString &path, QString *error)
{
    return SaveAtomically(path, error, [&](QIODevice &device, QString *error) {
        return WriteDocumentPdf(document, pageCount, prepare, device, error);
    });
}

bool ExportDocumentPdf(const PageDocument &document, const QString &path, QString *error)
{
    return ExportDocumentPdf(document, 1, PreparePage(), path, error);
}

bool WriteDocumentSvg(const PageDocument &document, QIODevice &device, QString *error)
{
    if (!device.isWritable()) {
        SetError(error, QStringLiteral("the output is not open for writing"));
        return false;
    }
    const CalendarPage &page = document.Page();
    const QSize size(page.PageWidth(), page.PageHeight());
    QSvgGenerator generator;
    generator.setOutputDevice(&device);
    generator.setResolution(PageLayout::PPI);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setDescription(QStringLiteral("Calendar page made with Dayloom"));
    QPainter svg;
    if (!svg.begin(&generator)) {
        SetError(error, QStringLiteral("the SVG writer could not start"));
        return false;
    }
    // SVG keeps no clipping: the page is drawn through a device that cuts
    // every drawing to its clip itself.
    ClipFreeDevice clipFree(svg, size);
    {
        QPainter painter(&clipFree);
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        PrintEngine engine(painter);
        document.PrintPage(engine, 0, 0);
    }
    if (!svg.end()) {
        SetError(error, QStringLiteral("the SVG could not be completed"));
        return false;
    }
    return true;
}

bool ExportDocumentSvg(const PageDocument &document, const QString &path, QString *error)
{
    return SaveAtomically(path, error, [&document](QIODevice &device, QString *error) {
        return WriteDocumentSvg(document, device, error);
    });
}

} // namespace Dayloom
