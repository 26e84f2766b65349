#pragma once

#include <QString>

namespace Dayloom {

// The folder of the program file, where read-only assets (borders, icons,
// textures) are looked up. Tests and the command line may point it elsewhere.
QString ProgramFolder();
// Overrides ProgramFolder(); an empty path restores the default.
void SetProgramFolder(const QString &path);
// A read-only asset ("Borders/Holly.wpo", "BonusIcons", ...): the path beside
// the program when it exists there, else in an installed data folder
// (share/dayloom/...), else the path beside the program.
QString AssetPath(const QString &relative);

} // namespace Dayloom
