#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace Dayloom {

// One note's formatted text, held as RTF bytes. The page owns one per day
// cell; files store it as a component record whose only property is
// "RtfText.Data". An empty store holds no bytes at all.
class TWPRtfStorage
{
public:
    const QByteArray &RtfText() const { return m_rtf; }
    void SetRtfText(const QByteArray &rtf) { m_rtf = rtf; }
    bool IsEmpty() const { return m_rtf.isEmpty(); }
    void Assign(const TWPRtfStorage &source) { m_rtf = source.m_rtf; }
    void Clear() { m_rtf.clear(); }

    // Replaces the document's content with the note. An empty store gives an
    // empty document. Returns false (document left empty, error set when
    // given) when the bytes are not readable RTF.
    bool LoadInto(QTextDocument &doc, QString *error = nullptr) const;
    // Replaces the note with the document as RTF; a document without any
    // text or picture stores no bytes, so the note becomes empty.
    void StoreFrom(const QTextDocument &doc);

    friend bool operator==(const TWPRtfStorage &, const TWPRtfStorage &) = default;

private:
    QByteArray m_rtf;
};

} // namespace Dayloom
