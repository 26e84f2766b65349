#pragma once

#include "core/common/tcolor.h"

#include <QFont>
#include <QString>

namespace Dayloom {

// The font description shared by the page and every placed object: face
// name, size in whole points, style, colour, plus the character set and pitch
// that placed objects store. Sizes and heights relate at 96 pixels per inch:
// Height = -round(Size * 96 / 72) (negative = character height in pixels).
class FontSpec
{
public:
    enum Pitch
    {
        fpDefault = 0,
        fpVariable = 1,
        fpFixed = 2
    };

    FontSpec() = default;
    FontSpec(const QString &name, int size, bool bold = false, TColor color = clBlack);

    const QString &Name() const { return m_name; }
    int Size() const { return m_size; }
    int Height() const;
    bool Bold() const { return m_bold; }
    bool Italic() const { return m_italic; }
    bool Underline() const { return m_underline; }
    bool StrikeOut() const { return m_strikeOut; }
    TColor Color() const { return m_color; }
    int Charset() const { return m_charset; }
    Pitch FontPitch() const { return m_pitch; }

    void SetName(const QString &name) { m_name = name; }
    void SetSize(int points) { m_size = points; }
    // A negative height is the character height in pixels; a positive one
    // the cell height, which is treated the same way.
    void SetHeight(int pixels);
    void SetBold(bool on) { m_bold = on; }
    void SetItalic(bool on) { m_italic = on; }
    void SetUnderline(bool on) { m_underline = on; }
    void SetStrikeOut(bool on) { m_strikeOut = on; }
    void SetColor(TColor color) { m_color = color; }
    void SetCharset(int charset) { m_charset = charset; }
    void SetPitch(Pitch pitch) { m_pitch = pitch; }

    // Equal in face name (exact), style and colour; the size is ignored.
    bool SameLook(const FontSpec &other) const;

    // A QFont whose character height is the given number of pixels.
    QFont ToQFontPixels(int pixels) const;
    // A QFont of the given size in points on a 96-pixels-per-inch device
    // (the size the page draws with once it has scaled by the zoom).
    QFont ToQFontPoints(int points) const;
    // Character height in pixels at 96 per inch for a size in points.
    static int PointsToPixels(int points);

    friend bool operator==(const FontSpec &, const FontSpec &) = default;

private:
    QString m_name = QStringLiteral("Arial");
    int m_size = 10;
    bool m_bold = false;
    bool m_italic = false;
    bool m_underline = false;
    bool m_strikeOut = false;
    TColor m_color = clBlack;
    int m_charset = 1; // the toolkit's "default" character set
    Pitch m_pitch = fpDefault;
};

} // namespace Dayloom
