#pragma once

#include <QRect>
#include <QSize>
#include <QString>

namespace Dayloom {

class IniFile;

// Where a window was left: its normal (restored) rectangle in screen pixels
// and whether it was maximised. Stored per window class in the section
// "<class>_Placement", with the screen's logical resolution appended when it
// is above 96 pixels per inch.
struct WindowPlacement
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool maximized = false;

    // Never saved: Bottom is 0, and the window is centred instead.
    bool IsSaved() const { return bottom != 0; }
    QRect Rect() const { return QRect(left, top, right - left, bottom - top); }

    static QString SectionName(const QString &windowClass, int logicalDpi);
    static WindowPlacement Load(const IniFile &ini, const QString &section, bool maximizedNow);
    void Save(IniFile &ini, const QString &section) const;
    // Moves the rectangle left and up so that its right and bottom edges lie
    // on a screen of the given size.
    WindowPlacement ShiftedOnto(const QSize &screen) const;
};

} // namespace Dayloom
