#pragma once

#include <QString>

namespace Dayloom {

// The folder of the program file, where read-only assets (borders, icons,
// textures) are looked up. Tests and the command line may point it elsewhere.
QString ProgramFolder();
// Overrides ProgramFolder(); an empty path restores the default.
void SetProgramFolder(const QString &path);

} // namespace Dayloom
