#include "core/richtext/noteimagehandler.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

namespace Dayloom {

namespace {

QImage ImageOf(const QTextDocument *doc, const QTextImageFormat &format)
{
    return doc ? doc->resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>()
               : QImage();
}

} // namespace

void NoteImageHandler::Install(QTextDocument &doc)
{
    QAbstractTextDocumentLayout *layout = doc.documentLayout();
    if (!layout->findChild<NoteImageHandler *>(QString(), Qt::FindDirectChildrenOnly))
        layout->registerHandler(QTextFormat::ImageObject, new NoteImageHandler(layout));
}

QSizeF NoteImageHandler::intrinsicSize(QTextDocument *doc, int, const QTextFormat &format)
{
    const QTextImageFormat image = format.toImageFormat();
    if (image.hasProperty(QTextFormat::ImageWidth) && image.hasProperty(QTextFormat::ImageHeight))
        return QSizeF(image.width(), image.height());
    return QSizeF(ImageOf(doc, image).size());
}

void NoteImageHandler::drawObject(QPainter *painter, const QRectF &rect, QTextDocument *doc, int,
                                  const QTextFormat &format)
{
    const QImage image = ImageOf(doc, format.toImageFormat());
    if (image.isNull() || !painter)
        return;
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(rect, image);
    painter->restore();
}

} // namespace Dayloom
