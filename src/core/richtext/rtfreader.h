#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;
class QTextDocument;

namespace Dayloom {

// Reads RTF into a QTextDocument: fonts (with \fcharset and \ansicpg code
// pages), colours, bold/italic/underline/strike, sizes, foreground and
// background colours, paragraph alignment, indents and spacing, line
// breaks, tabs, Unicode text and PNG, JPEG and bitmap pictures (added to the
// document as image resources). Metafile pictures and destinations the
// reader does not know are skipped.
//
// Lengths in the document are pixels at 96 per inch (15 twips each); font
// sizes are points. Input is treated as hostile: it is limited to
// MaxInputSize bytes, MaxGroupDepth nested groups, MaxParagraphs and
// MaxCharacters of text, \bin lengths are
// checked against the bytes left, picture data is bounded (see RtfPicture),
// and unknown control words are ignored. Input cut short (missing closing
// braces, truncated hex or \bin data) is read as far as it goes.
class RtfReader
{
public:
    static constexpr qsizetype MaxInputSize = 64 * 1024 * 1024;
    static constexpr int MaxGroupDepth = 1000;
    // Text beyond these makes the read fail rather than exhaust memory.
    static constexpr qsizetype MaxCharacters = 8 * 1024 * 1024;
    static constexpr int MaxParagraphs = 200000;
    // All pictures of one document together, in pixels (decoded at 4 bytes
    // a pixel, metafiles with the bitmaps they hold).
    static constexpr qint64 MaxTotalPixels = 64 * 1024 * 1024;

    // Replaces the document's content. On failure the document is left
    // empty and errorString() says why.
    bool Read(const QByteArray &rtf, QTextDocument &doc);
    bool Read(QIODevice &device, QTextDocument &doc);

    const QString &errorString() const { return m_error; }
    // Why the first picture left out of the document was left out (damaged,
    // or over the bounds of pictures); empty when every picture was read.
    const QString &pictureError() const { return m_pictureError; }

private:
    QString m_error;
    QString m_pictureError;
};

} // namespace Dayloom
