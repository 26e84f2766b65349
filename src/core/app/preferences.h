#pragma once

#include "core/common/fontspec.h"

#include <QString>

namespace Dayloom {

class IniFile;

// The program's own settings kept in "DL.ini": zoom percentages, the note
// editor's default font, the icon tool's library and visibility, hints.
struct Preferences
{
    int mainZoomPercent = 60;
    int propertiesZoomPercent = 30;
    FontSpec defaultFont{QStringLiteral("Arial"), 10};
    QString iconFile; // empty: the program folder's "MISC1.ICL"
    bool iconToolVisible = true;
    bool showHints = true;

    // Reads the "Zooming", "Default Font", "Icons" and "Hints" sections;
    // missing or unreadable values keep the defaults above.
    void Load(const IniFile &ini);
    // Writes those four sections.
    void Save(IniFile &ini) const;
};

} // namespace Dayloom
