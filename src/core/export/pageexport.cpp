#include "core/export/pageexport.h"

#include "core/calendar/calendarpage.h"
#include "core/surface/pagedocument.h"

#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(image)) {
        if (error)
            *error = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
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

} // namespace Dayloom
