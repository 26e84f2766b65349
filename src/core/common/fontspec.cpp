#include "core/common/fontspec.h"

#include <algorithm>

namespace Dayloom {

namespace {
constexpr int ScreenPpi = 96;

// MulDiv: a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c)
{
    const long long p = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(p >= 0 ? (p + half) / c : (p - half) / c);
}
} // namespace

FontSpec::FontSpec(const QString &name, int size, bool bold, TColor color)
    : m_name(name), m_size(size), m_bold(bold), m_color(color)
{
}

int FontSpec::Height() const
{
    return -MulDiv(m_size, ScreenPpi, 72);
}

void FontSpec::SetHeight(int pixels)
{
    m_size = MulDiv(pixels < 0 ? -pixels : pixels, 72, ScreenPpi);
}

bool FontSpec::SameLook(const FontSpec &other) const
{
    return m_name == other.m_name && m_bold == other.m_bold && m_italic == other.m_italic &&
           m_underline == other.m_underline && m_strikeOut == other.m_strikeOut &&
           m_color == other.m_color;
}

int FontSpec::PointsToPixels(int points)
{
    return MulDiv(points, ScreenPpi, 72);
}

QFont FontSpec::ToQFontPixels(int pixels) const
{
    QFont font(m_name);
    font.setPixelSize(std::max(1, pixels));
    font.setBold(m_bold);
    font.setItalic(m_italic);
    font.setUnderline(m_underline);
    font.setStrikeOut(m_strikeOut);
    if (m_pitch == fpFixed)
        font.setFixedPitch(true);
    return font;
}

QFont FontSpec::ToQFontPoints(int points) const
{
    return ToQFontPixels(PointsToPixels(points));
}

} // namespace Dayloom
