#pragma once

#include <QString>

namespace Dayloom {

// The folder where the program keeps its working files (DL.ini, DLRECUR.DAX,
// the object clipboard "Clipbrd.tmp"): the program's own folder when it can
// be written and the program is not installed (see InstalledShareFolder()),
// else the per-user application data folder, which is created on demand.
// Returns the path without a trailing separator; empty only when neither
// folder can be had. The environment variable DAYLOOM_DATA_FOLDER, when set,
// names the folder instead (created on demand): tests run the programs with a
// scratch folder of their own.
QString DataFolder();

} // namespace Dayloom
