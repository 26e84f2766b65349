#pragma once

#include <QString>
#include <QStringList>

namespace Dayloom {

// What the command line asks for. Everything but Window runs headless.
struct CommandLine
{
    enum class Kind { Window, Version, Help, Error };

    Kind kind = Kind::Window;
    QString error;      // for Kind::Error: the one-line message
    QStringList files;  // files to open in the window

    static CommandLine Parse(int argc, char *argv[]);
};

// True when a windowing system can be reached (or one was chosen explicitly).
bool HasDisplay();
// Runs a headless command; returns the process exit code.
int RunHeadless(const CommandLine &command, int argc, char *argv[]);

} // namespace Dayloom
