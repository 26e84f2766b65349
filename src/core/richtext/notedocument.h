#pragma once

#include "core/common/fontspec.h"

#include <QString>
#include <QTextCursor>
#include <QTextDocument>

class QImage;

namespace Dayloom {

class TWPRtfStorage;

// A note opened for editing without any window: the document, an insertion
// point and the insertion attributes. The recurring-date fill and icon drops
// use it to append to a cell's note and store it back.
//
// Insertion attributes are a FontSpec: face name, size in whole points,
// bold/italic/underline/strike-out and colour. The FontSpec's character set
// and pitch are not part of a note's text and are ignored.
class NoteDocument
{
public:
    NoteDocument();
    NoteDocument(const NoteDocument &) = delete;
    NoteDocument &operator=(const NoteDocument &) = delete;

    // Replaces the document with the note and puts the insertion point at
    // its end. Returns false (document empty, error set when given) when the
    // note is not readable RTF.
    bool Load(const TWPRtfStorage &note, QString *error = nullptr);
    // Writes the document back; an empty document empties the note.
    void StoreTo(TWPRtfStorage &note) const;

    bool IsEmpty() const { return m_doc.isEmpty(); }
    void MoveToEnd();

    FontSpec InsertionAttributes() const;
    void SetInsertionAttributes(const FontSpec &font);

    // Inserts text at the insertion point in the insertion attributes; a
    // line feed in the text starts a new paragraph.
    void InsertText(const QString &text);
    void InsertText(const QString &text, const FontSpec &font);
    // Ends the current paragraph; the new one keeps its formats.
    void NewParagraph();
    // Inserts a picture shown at its own size in pixels (96 per inch).
    void InsertImage(const QImage &image);
    // The same at any cursor (an editor's): the picture becomes an image
    // resource of the cursor's document. A null image inserts nothing.
    static void InsertImage(QTextCursor &cursor, const QImage &image);

    QTextDocument &Document() { return m_doc; }
    const QTextDocument &Document() const { return m_doc; }
    QTextCursor &Cursor() { return m_cursor; }

    static QTextCharFormat FormatFromFont(const FontSpec &font);
    // Unset properties of the format come from the fallback font.
    static FontSpec FontFromFormat(const QTextCharFormat &format, const QFont &fallback);

private:
    QTextDocument m_doc;
    QTextCursor m_cursor;
};

} // namespace Dayloom
