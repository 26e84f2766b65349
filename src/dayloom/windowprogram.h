#pragma once

#include <QString>

namespace Dayloom {

// The window lives in its own program, "dayloom-window", so that headless
// commands never load the widget libraries. It is looked for beside this
// program (a build tree, or an install that keeps both in bin/) and then in
// ../libexec/dayloom/ (an install that hides it).
QString WindowProgramPath();

// Replaces this process with the window program, passing the arguments on
// unchanged (argv[0] included, so the process keeps the name it was started
// with). Returns only on failure, with the exit code 1 after printing why.
int RunWindowProgram(char *argv[]);

} // namespace Dayloom
