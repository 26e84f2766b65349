#pragma once

#include <QString>

namespace Dayloom {

// The folder of the program file, where read-only assets (borders, icons,
// textures) are looked up. Tests and the command line may point it elsewhere.
QString ProgramFolder();
// Overrides ProgramFolder(); an empty path restores the default.
void SetProgramFolder(const QString &path);
// The installation's share/dayloom when the program runs installed
// (<prefix>/bin, or <prefix>/libexec/dayloom for the window program), else
// empty: a program run from its build folder keeps everything beside itself.
QString InstalledShareFolder();
// A read-only asset ("Borders/Holly.wpo", "BonusIcons", ...): the path beside
// the program when it exists there, else in InstalledShareFolder(), else in
// the system's data folders ($XDG_DATA_DIRS/dayloom), else the path beside
// the program.
QString AssetPath(const QString &relative);
// The file in `folder` named `fileName` without regard to case (stored
// designs and settings name files as a case-blind file system took them);
// empty when there is none.
QString FindIgnoringCase(const QString &folder, const QString &fileName);

} // namespace Dayloom
