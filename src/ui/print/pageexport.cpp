#include "ui/print/pageexport.h"

#include "core/calendar/pagelayout.h"
#include "core/print/printengine.h"
#include "core/surface/pagedocument.h"

#include <QIODevice>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#ifdef DAYLOOM_HAVE_SVG
#include <QSvgGenerator>
#endif

#include <cmath>

namespace Dayloom {

namespace {

QSizeF PageInches(const PageDocument &document)
{
    const QSize pixels = document.PageSize();
    return QSizeF(pixels.width() / double(PageLayout::PPI),
                  pixels.height() / double(PageLayout::PPI));
}

bool Fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

bool ExportPagePdf(const PageDocument &document, QIODevice &device, QString *error)
{
    if (!device.isWritable())
        return Fail(error, QStringLiteral("The file is not open for writing."));
    QPdfWriter writer(&device);
    writer.setCreator(QStringLiteral("Dayloom"));
    writer.setTitle(document.Page().MonthName(document.Page().MainCalMonth()));
    writer.setPageSize(QPageSize(PageInches(document), QPageSize::Inch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer))
        return Fail(error, QStringLiteral("The PDF could not be started."));
    {
        PrintEngine engine(painter);
        document.PrintPage(engine, 0, 0);
    }
    if (!painter.end())
        return Fail(error, QStringLiteral("The PDF could not be finished."));
    return true;
}

bool ExportPagePng(const PageDocument &document, QIODevice &device, int dotsPerInch, QString *error)
{
    if (dotsPerInch < 96 || dotsPerInch > 600)
        return Fail(error, QStringLiteral("The resolution must lie between 96 and 600 dpi."));
    const QSizeF inches = PageInches(document);
    QImage image(qRound(inches.width() * dotsPerInch), qRound(inches.height() * dotsPerInch),
                 QImage::Format_RGB32);
    if (image.isNull())
        return Fail(error, QStringLiteral("Not enough memory for an image of that size."));
    const int dotsPerMeter = qRound(dotsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PrintEngine engine(painter);
        document.PrintPage(engine, 0, 0);
    }
    if (!image.save(&device, "PNG"))
        return Fail(error, QStringLiteral("The image could not be written."));
    return true;
}

bool CanExportSvg()
{
#ifdef DAYLOOM_HAVE_SVG
    return true;
#else
    return false;
#endif
}

bool ExportPageSvg(const PageDocument &document, QIODevice &device, QString *error)
{
#ifdef DAYLOOM_HAVE_SVG
    const QSize pixels = document.PageSize();
    QSvgGenerator generator;
    generator.setOutputDevice(&device);
    generator.setResolution(PageLayout::PPI);
    generator.setSize(pixels);
    generator.setViewBox(QRect(QPoint(0, 0), pixels));
    generator.setTitle(document.Page().MonthName(document.Page().MainCalMonth()));
    QPainter painter;
    if (!painter.begin(&generator))
        return Fail(error, QStringLiteral("The SVG could not be started."));
    {
        PrintEngine engine(painter);
        document.PrintPage(engine, 0, 0);
    }
    painter.end();
    return true;
#else
    Q_UNUSED(document);
    Q_UNUSED(device);
    return Fail(error, QStringLiteral("This build cannot write SVG."));
#endif
}

} // namespace Dayloom
