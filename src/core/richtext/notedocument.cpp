#include "core/richtext/notedocument.h"

#include "core/richtext/twprtfstorage.h"

#include <QCryptographicHash>
#include <QImage>
#include <QTextBlock>
#include <QUrl>

#include <cmath>

namespace Dayloom {

NoteDocument::NoteDocument() : m_cursor(&m_doc) {}

bool NoteDocument::Load(const TWPRtfStorage &note, QString *error)
{
    const bool ok = note.LoadInto(m_doc, error);
    m_cursor = QTextCursor(&m_doc);
    MoveToEnd();
    return ok;
}

void NoteDocument::StoreTo(TWPRtfStorage &note) const
{
    note.StoreFrom(m_doc);
}

void NoteDocument::MoveToEnd()
{
    m_cursor.movePosition(QTextCursor::End);
}

FontSpec NoteDocument::InsertionAttributes() const
{
    return FontFromFormat(m_cursor.charFormat(), m_doc.defaultFont());
}

void NoteDocument::SetInsertionAttributes(const FontSpec &font)
{
    const QTextCharFormat format = FormatFromFont(font);
    m_cursor.setCharFormat(format);
    // In an empty paragraph the block's own format gives the line its
    // height, so it follows the insertion attributes too.
    if (m_cursor.block().length() <= 1)
        m_cursor.setBlockCharFormat(format);
}

void NoteDocument::InsertText(const QString &text)
{
    m_cursor.insertText(text);
}

void NoteDocument::InsertText(const QString &text, const FontSpec &font)
{
    m_cursor.insertText(text, FormatFromFont(font));
}

void NoteDocument::NewParagraph()
{
    m_cursor.insertBlock();
}

void NoteDocument::InsertImage(const QImage &image)
{
    InsertImage(m_cursor, image);
}

void NoteDocument::InsertImage(QTextCursor &cursor, const QImage &image)
{
    if (image.isNull() || cursor.document() == nullptr)
        return;
    const QByteArray key = QCryptographicHash::hash(
        QByteArrayView(image.constBits(), image.sizeInBytes()), QCryptographicHash::Md5);
    const QString name = QStringLiteral("note-image-") + QString::fromLatin1(key.toHex());
    cursor.document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    // A picture made for a high-density screen keeps its size in page pixels.
    const QSizeF size = image.deviceIndependentSize();
    format.setWidth(size.width());
    format.setHeight(size.height());
    cursor.insertImage(format);
}

QTextCharFormat NoteDocument::FormatFromFont(const FontSpec &font)
{
    QTextCharFormat format;
    format.setFontFamilies(QStringList{font.Name()});
    format.setFontPointSize(font.Size() > 0 ? font.Size() : 10);
    format.setFontWeight(font.Bold() ? QFont::Bold : QFont::Normal);
    format.setFontItalic(font.Italic());
    format.setFontUnderline(font.Underline());
    format.setFontStrikeOut(font.StrikeOut());
    format.setForeground(ToQColor(font.Color()));
    return format;
}

FontSpec NoteDocument::FontFromFormat(const QTextCharFormat &format, const QFont &fallback)
{
    FontSpec font;
    const QString family = format.fontFamilies().toStringList().value(0);
    font.SetName(family.isEmpty() ? fallback.family() : family);
    const double points =
        format.fontPointSize() > 0 ? format.fontPointSize() : fallback.pointSizeF();
    font.SetSize(points > 0 ? int(std::lround(points)) : 12);
    font.SetBold(format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() > QFont::Medium
                                                             : fallback.bold());
    font.SetItalic(format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic()
                                                               : fallback.italic());
    font.SetUnderline(format.fontUnderline());
    font.SetStrikeOut(format.fontStrikeOut());
    font.SetColor(format.hasProperty(QTextFormat::ForegroundBrush)
                      ? FromQColor(format.foreground().color())
                      : clBlack);
    return font;
}

} // namespace Dayloom
