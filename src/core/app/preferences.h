#pragma once

#include "core/common/fontspec.h"

#include <QString>

namespace Dayloom {

class IniFile;

// The program's own settings kept in "DL.ini": zoom percentages, the note
// editor's default font, the icon tool's library and visibility, hints, the
// image browser's folder.
struct Preferences
{
    int mainZoomPercent = 60;
    int propertiesZoomPercent = 30;
    FontSpec defaultFont{QStringLiteral("Arial"), 10};
    QString iconFile; // empty: the program folder's "MISC1.ICL"
    bool iconToolVisible = true;
    bool showHints = true;
    QString imageFolder; // the image browser's last folder; empty: the shipped clip art

    // Reads the "Zooming", "Default Font", "Icons", "Hints" and "Clip Art"
    // sections; missing or unreadable values keep the defaults above.
    void Load(const IniFile &ini);
    // Writes those sections.
    void Save(IniFile &ini) const;
};

} // namespace Dayloom
