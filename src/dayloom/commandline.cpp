#include "commandline.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>

namespace Dayloom {

namespace {

const char HelpText[] =
    "Usage: dayloom [FILE]\n"
    "       dayloom --version | --help\n"
    "\n"
    "Dayloom designs and prints calendar pages. Without options it opens the\n"
    "main window (a display is needed).\n"
    "\n"
    "Options:\n"
    "  --version   print the version and exit\n"
    "  --help      print this text and exit\n";

} // namespace

CommandLine CommandLine::Parse(int argc, char *argv[])
{
    CommandLine result;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--version") || arg == QLatin1String("-v")) {
            result.kind = Kind::Version;
            return result;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            result.kind = Kind::Help;
            return result;
        }
        if (arg.startsWith(QLatin1Char('-'))) {
            result.kind = Kind::Error;
            result.error = QStringLiteral("unknown option %1 (see 'dayloom --help')").arg(arg);
            return result;
        }
        result.files.append(arg);
    }
    return result;
}

bool HasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int RunHeadless(const CommandLine &command, int, char *[])
{
    switch (command.kind) {
    case CommandLine::Kind::Version:
        std::printf("Dayloom %s\n", DAYLOOM_VERSION);
        return 0;
    case CommandLine::Kind::Help:
        std::fputs(HelpText, stdout);
        return 0;
    case CommandLine::Kind::Error:
        std::fprintf(stderr, "dayloom: %s\n", qPrintable(command.error));
        return 2;
    case CommandLine::Kind::Window:
        break;
    }
    return 0;
}

} // namespace Dayloom
