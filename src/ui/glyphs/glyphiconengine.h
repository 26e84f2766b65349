#pragma once

#include <QColor>
#include <QIconEngine>
#include <QString>

namespace Dayloom {

// Draws one of the program's bundled button glyphs, the monochrome vector
// pictures in the ":/glyphs/<design size>/<name>.svg" resources.
//
// A glyph is drawn in the colours of the application's palette at the moment
// it is drawn: its text colour (#232629 in the files) becomes the palette's
// button text and its accent (#3daee9) the palette's highlight, so one file
// reads on light and dark palettes alike, and a disabled button greys its
// glyph the way it greys its caption. Pictures are rendered from the vectors
// at the device pixels asked for, so they are sharp at any pixel ratio; the
// design size (16 or 22 pixels) nearest above the size asked for is used,
// because each is aligned to its own pixel grid.
class GlyphIconEngine final : public QIconEngine
{
public:
    // `name` without folder or extension, e.g. "zoom-in". An unknown name
    // gives a null icon.
    explicit GlyphIconEngine(const QString &name);

    // Whether a glyph of that name is bundled, in any design size.
    static bool Exists(const QString &name);
    // The colour the glyph's text parts take in `mode`.
    static QColor TextColor(QIcon::Mode mode);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;
    QString iconName() override;
    bool isNull() override;

private:
    // The resource path of the design size that best fits `pixels`.
    QString SourceFor(int pixels) const;
    // The glyph rendered into a square of `pixels` device pixels.
    QPixmap Render(int pixels, QIcon::Mode mode) const;

    QString m_name;
};

} // namespace Dayloom
