#include "commandline.h"

#include "core/app/preferences.h"
#include "core/calendar/calendarpage.h"
#include "core/calendar/languagenames.h"
#include "core/formats/calendarfile.h"
#include "core/formats/stylesheet.h"
#include "core/io/datafolder.h"
#include "core/io/inifile.h"
#include "core/export/pageexport.h"
#include "core/recurring/recurringfill.h"
#include "core/recurring/recurringpagefill.h"
#include "core/surface/pagedocument.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>

#include <cstdio>

#include <unistd.h>

namespace Dayloom {

namespace {

const char HelpText[] =
    "Usage: dayloom [FILE]\n"
    "       dayloom --export OUT.png [options] [FILE]\n"
    "       dayloom --list-dates YYYY-MM [--dates FILE]\n"
    "       dayloom --version | --help\n"
    "\n"
    "Dayloom designs and prints calendar pages. Without options it opens the\n"
    "main window (a display is needed).\n"
    "\n"
    "  --export OUT.png       draw the page without a window and save it as PNG\n"
    "                         (page size x zoom pixels). Without FILE the page\n"
    "                         starts from the default style for today.\n"
    "    --zoom Z             display scale, 0.1 to 4 (default 1.0 = 100 %)\n"
    "    --layout N           page layout 0-21\n"
    "    --paper letter|a4\n"
    "    --month YYYY-MM      month shown (and first month of mini sheets)\n"
    "    --day D              first day of the week and day planners\n"
    "    --week-start sunday|monday\n"
    "    --language english|deutsch|francais|espanol|italiano\n"
    "    --fill               write every recurring date of the month into the\n"
    "                         notes of its days (as File > Fill Calendar does)\n"
    "    --dates FILE         with --fill: recurring-dates file (default: DLRECUR.DAX)\n"
    "  --list-dates YYYY-MM   print the recurring dates falling in that month,\n"
    "                         one line per date: day, a tab, the description\n"
    "    --dates FILE         recurring-dates file (default: DLRECUR.DAX)\n"
    "  --version              print the version and exit\n"
    "  --help                 print this text and exit\n";

CommandLine Failure(const QString &message)
{
    CommandLine result;
    result.kind = CommandLine::Kind::Error;
    result.error = message;
    return result;
}

std::optional<int> ParseInt(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

// Applies one export option with its value; returns an error text or empty.
QString ApplyExportOption(const QString &option, const QString &value,
                          CommandLine::ExportOptions &options)
{
    if (option == QLatin1String("--zoom")) {
        bool ok = false;
        const float zoom = value.toFloat(&ok);
        if (!ok || !(zoom >= 0.1f && zoom <= 4.0f))
            return QStringLiteral("--zoom needs a number from 0.1 to 4, not '%1'").arg(value);
        options.zoom = zoom;
    } else if (option == QLatin1String("--layout")) {
        options.layout = ParseInt(value, 0, CalendarLayoutCount - 1);
        if (!options.layout)
            return QStringLiteral("--layout needs a number from 0 to 21, not '%1'").arg(value);
    } else if (option == QLatin1String("--paper")) {
        if (value.compare(QLatin1String("letter"), Qt::CaseInsensitive) == 0)
            options.paper = 0;
        else if (value.compare(QLatin1String("a4"), Qt::CaseInsensitive) == 0)
            options.paper = 1;
        else
            return QStringLiteral("--paper is letter or a4, not '%1'").arg(value);
    } else if (option == QLatin1String("--month")) {
        static const QRegularExpression pattern(QStringLiteral("^(\\d{4})-(\\d{1,2})$"));
        const auto match = pattern.match(value);
        const auto year = match.hasMatch() ? ParseInt(match.captured(1), 1, 9999) : std::nullopt;
        const auto month = match.hasMatch() ? ParseInt(match.captured(2), 1, 12) : std::nullopt;
        if (!year || !month)
            return QStringLiteral("--month needs YYYY-MM, not '%1'").arg(value);
        options.year = year;
        options.month = month;
    } else if (option == QLatin1String("--day")) {
        options.day = ParseInt(value, 1, 31);
        if (!options.day)
            return QStringLiteral("--day needs a number from 1 to 31, not '%1'").arg(value);
    } else if (option == QLatin1String("--week-start")) {
        if (value.compare(QLatin1String("sunday"), Qt::CaseInsensitive) == 0)
            options.weekStart = 1;
        else if (value.compare(QLatin1String("monday"), Qt::CaseInsensitive) == 0)
            options.weekStart = 2;
        else
            return QStringLiteral("--week-start is sunday or monday, not '%1'").arg(value);
    } else if (option == QLatin1String("--language")) {
        if (!FindLanguage(value))
            return QStringLiteral("--language is english, deutsch, francais, espanol or "
                                  "italiano, not '%1'")
                .arg(value);
        options.language = value;
    } else {
        return QStringLiteral("unknown option %1 (see 'dayloom --help')").arg(option);
    }
    return QString();
}

void ApplyToPage(const CommandLine::ExportOptions &options, CalendarPage &page)
{
    if (options.paper)
        page.SetPaperSize(*options.paper);
    if (options.year)
        page.SetMainCalYear(*options.year);
    if (options.month)
        page.SetMainCalMonth(*options.month);
    if (options.day)
        page.SetMainCalDay(*options.day);
    if (options.weekStart)
        page.SetStartOfWeek(*options.weekStart);
    if (const LanguageNames *names = FindLanguage(options.language)) {
        for (int i = 1; i <= 12; ++i)
            page.SetMonthName(i, names->months[i - 1]);
        for (int i = 1; i <= 7; ++i)
            page.SetDayName(i, names->days[i - 1]);
    }
    if (options.layout) {
        // As choosing a layout in the properties dialog: mini fonts follow.
        page.SetCalendarLayout(TCalendarLayout(*options.layout));
        page.CalculateLayout(true);
    }
}

// A style sheet (".DLS") is applied to the default page; anything else is
// read as a calendar file.
bool LoadDesign(const QString &path, PageDocument &document, QString *error)
{
    if (!QFileInfo::exists(path)) {
        *error = QStringLiteral("File %1 no longer exists").arg(path);
        return false;
    }
    if (path.endsWith(QLatin1String(".DLS"), Qt::CaseInsensitive)) {
        QString reason;
        if (LoadStyleSheet(document.Page(), path, &reason)) {
            document.Page().CalculateLayout(false);
            return true;
        }
        *error = QStringLiteral("Unable to open %1. Possibly corrupted, possibly not a Calendar "
                                "Style file (%2)")
                     .arg(path, reason);
        return false;
    }
    return document.Open(path, error);
}

// The note font the user chose in the window, when the settings say so. The
// settings are read where the window writes them.
FontSpec DefaultEditorFont()
{
    IniFile settings(QDir(DataFolder()).filePath(QStringLiteral("DL.ini")));
    Preferences preferences;
    if (settings.Load())
        preferences.Load(settings);
    return preferences.defaultFont;
}

// --day names a day of the month shown; a day that month lacks is refused
// rather than drawn from another day.
QString CheckDayInMonth(int day, int year, int month)
{
    const int days = QDate(year, month, 1).daysInMonth();
    if (day <= days)
        return QString();
    return QStringLiteral("--day %1 is not a day of %2-%3 (it has %4 days)")
        .arg(day)
        .arg(year, 4, 10, QLatin1Char('0'))
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(days);
}

int RunExport(const CommandLine::ExportOptions &options)
{
    // No clipboard file is set: the object clipboard belongs to the window,
    // and a headless run must neither use nor remove it.
    PageDocument document;
    CalendarPage &page = document.Page();
    page.SetDefaultStyle();
    if (!options.file.isEmpty()) {
        QString error;
        if (!LoadDesign(options.file, document, &error)) {
            std::fprintf(stderr, "dayloom: %s\n", qPrintable(error.simplified()));
            return 1;
        }
    }
    if (options.day) {
        // Without --month the month is the file's or today's.
        const QString error =
            CheckDayInMonth(*options.day, options.year.value_or(page.MainCalYear()),
                            options.month.value_or(page.MainCalMonth()));
        if (!error.isEmpty()) {
            std::fprintf(stderr, "dayloom: %s\n", qPrintable(error));
            return 2;
        }
    }
    ApplyToPage(options, page);
    if (options.fill) {
        bool filled = false;
        QString error;
        if (!FillPageFromFile(page, options.datesFile, DefaultEditorFont(), filled, &error)) {
            std::fprintf(stderr, "dayloom: %s\n", qPrintable(error));
            return 1;
        }
    }
    QString error;
    document.SetZoom(options.zoom);
    if (!ExportDocumentPng(document, options.output, &error)) {
        std::fprintf(stderr, "dayloom: cannot write %s: %s\n", qPrintable(options.output),
                     qPrintable(error));
        return 1;
    }
    return 0;
}

// The offscreen platform wants a private runtime folder; give it one rather
// than a warning on every headless run.
void EnsureRuntimeDirectory()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QString path = QDir::temp().filePath(QStringLiteral("dayloom-runtime-%1").arg(getuid()));
    if (QDir().mkpath(path)) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(path));
    }
}

} // namespace

CommandLine CommandLine::Parse(const QStringList &arguments)
{
    CommandLine result;
    bool exporting = false;
    bool listing = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg == QLatin1String("--version") || arg == QLatin1String("-v")) {
            result.kind = Kind::Version;
            return result;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            result.kind = Kind::Help;
            return result;
        }
        if (!arg.startsWith(QLatin1String("--"))) {
            result.files.append(arg);
            continue;
        }
        if (arg == QLatin1String("--fill")) {
            result.exportOptions.fill = true;
            continue;
        }
        if (i + 1 >= arguments.size())
            return Failure(QStringLiteral("%1 needs a value").arg(arg));
        const QString value = arguments[++i];
        if (arg == QLatin1String("--export")) {
            exporting = true;
            result.exportOptions.output = value;
            continue;
        }
        if (arg == QLatin1String("--list-dates")) {
            if (!parseYearMonth(value))
                return Failure(QStringLiteral("--list-dates needs YYYY-MM, not '%1'").arg(value));
            listing = true;
            result.listDatesOptions.yearMonth = value;
            continue;
        }
        if (arg == QLatin1String("--dates")) {
            result.listDatesOptions.datesFile = value;
            continue;
        }
        const QString error = ApplyExportOption(arg, value, result.exportOptions);
        if (!error.isEmpty())
            return Failure(error);
    }
    const bool hasPageOptions =
        result.exportOptions.layout || result.exportOptions.paper || result.exportOptions.month ||
        result.exportOptions.day || result.exportOptions.weekStart ||
        !result.exportOptions.language.isEmpty() || result.exportOptions.zoom != 1.0f;
    if (listing) {
        if (exporting || hasPageOptions || result.exportOptions.fill || !result.files.isEmpty())
            return Failure(QStringLiteral("--list-dates takes only --dates FILE"));
        result.kind = Kind::ListDates;
        return result;
    }
    if (!result.listDatesOptions.datesFile.isEmpty() && !result.exportOptions.fill)
        return Failure(QStringLiteral("--dates goes with --list-dates or --fill"));
    result.exportOptions.datesFile = result.listDatesOptions.datesFile;
    if (result.exportOptions.fill && !exporting)
        return Failure(QStringLiteral("--fill needs --export OUT.png"));
    if (!exporting) {
        if (hasPageOptions)
            return Failure(QStringLiteral("page options need --export OUT.png"));
        return result;
    }
    if (result.files.size() > 1)
        return Failure(QStringLiteral("--export takes at most one FILE"));
    if (result.exportOptions.output.isEmpty())
        return Failure(QStringLiteral("--export needs an output file name"));
    if (result.exportOptions.day && result.exportOptions.month) {
        const QString error = CheckDayInMonth(*result.exportOptions.day, *result.exportOptions.year,
                                              *result.exportOptions.month);
        if (!error.isEmpty())
            return Failure(error);
    }
    result.exportOptions.file = result.files.value(0);
    result.files.clear();
    result.kind = Kind::Export;
    return result;
}

bool HasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int RunHeadless(const CommandLine &command, int argc, char *argv[])
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
    case CommandLine::Kind::Export: {
        // Text needs a GUI application, but never a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        EnsureRuntimeDirectory();
        QGuiApplication app(argc, argv);
        return RunExport(command.exportOptions);
    }
    case CommandLine::Kind::ListDates: {
        QCoreApplication app(argc, argv);
        QStringList lines;
        QString error;
        if (!listDatesFromFile(command.listDatesOptions.yearMonth,
                               command.listDatesOptions.datesFile, lines, &error)) {
            std::fprintf(stderr, "dayloom: %s\n", qPrintable(error));
            return 1;
        }
        for (const QString &line : lines)
            std::printf("%s\n", line.toUtf8().constData());
        return 0;
    }
    case CommandLine::Kind::Window:
        break;
    }
    return 0;
}

} // namespace Dayloom
