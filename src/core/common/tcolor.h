#pragma once

#include <QColor>
#include <QtGlobal>

namespace Dayloom {

// A stored colour: 0x00BBGGRR, or a system colour when the top bit is set
// (0x80000000 | index). Files hold it as a signed 32-bit integer.
using TColor = quint32;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

inline constexpr TColor SystemColorFlag = 0x80000000u;
inline constexpr TColor clBtnFace = SystemColorFlag | 15;
inline constexpr TColor clWindow = SystemColorFlag | 5;
inline constexpr TColor clWindowText = SystemColorFlag | 8;

inline constexpr bool IsSystemColor(TColor c)
{
    return (c & SystemColorFlag) != 0;
}

// Resolves system colours to a fixed classic palette so that drawing is the
// same on every machine, then converts 0x00BBGGRR to a QColor.
TColor ColorToRGB(TColor c);
QColor ToQColor(TColor c);
TColor FromQColor(const QColor &c);

} // namespace Dayloom
