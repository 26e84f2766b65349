#pragma once

#include <QByteArray>

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

    friend bool operator==(const TWPRtfStorage &, const TWPRtfStorage &) = default;

private:
    QByteArray m_rtf;
};

} // namespace Dayloom
