#pragma once

#include <QObject>
#include <QTextObjectInterface>

namespace Dayloom {

// Lays out and draws the pictures in notes at the size their format gives
// in page pixels (96 per inch). Qt's own handler scales a picture by the
// layout device's resolution over the screen's, so on a 120 or 144 dots per
// inch desktop note pictures shrank on screen and paper alike while the
// text around them kept its size. Without a size in the format the
// picture's own pixels count. Owned by the document it serves.
class NoteImageHandler : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    explicit NoteImageHandler(QObject *parent) : QObject(parent) {}

    // Registers a handler on the document's layout (again after the layout
    // is replaced).
    static void Install(QTextDocument &doc);

    QSizeF intrinsicSize(QTextDocument *doc, int posInDocument, const QTextFormat &format) override;
    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *doc, int posInDocument,
                    const QTextFormat &format) override;
};

} // namespace Dayloom
