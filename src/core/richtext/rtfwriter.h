#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;
class QTextDocument;

namespace Dayloom {

// Writes a QTextDocument as a compact RTF 1.x document
// ({\rtf1\ansi\ansicpg1252\deff0 ...}) with a font and a colour table, the
// character formats (font, size, bold, italic, underline, strike, text and
// highlight colour), the paragraph formats (alignment, indents, spacing),
// tabs and line breaks. Text outside Windows-1252 is written as \uN?.
// Pictures are written as PNG (\pngblip) in hex. RtfReader reads the result
// back to the same content and formats.
class RtfWriter
{
public:
    static QByteArray ToRtf(const QTextDocument &doc);

    // Returns false, with errorString() set, when the device refuses the bytes.
    bool Write(const QTextDocument &doc, QIODevice &device);
    const QString &errorString() const { return m_error; }

private:
    QString m_error;
};

} // namespace Dayloom
