#include "commandline.h"

#include "core/app/preferences.h"
#include "core/calendar/calendarpage.h"
#include "core/calendar/languagenames.h"
#include "core/export/monthpages.h"
#include "core/export/pageexport.h"
#include "core/formats/calendarfile.h"
#include "core/formats/stylesheet.h"
#include "core/graphics/picturebudget.h"
#include "core/holidays/holidaycatalogue.h"
#include "core/io/datafolder.h"
#include "core/io/inifile.h"
#include "core/recurring/publicholidaydates.h"
#include "core/recurring/recurringfill.h"
#include "core/recurring/recurringpagefill.h"
#include "core/surface/pagedocument.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace Dayloom {

namespace {

const char HelpText[] =
    "Usage: dayloom [FILE]\n"
    "       dayloom --export OUT.png|OUT.pdf|OUT.svg [options] [FILE]\n"
    "       dayloom --list-dates YYYY-MM [--dates FILE]... [--holidays CODE]...\n"
    "       dayloom --version | --help\n"
    "\n"
    "Dayloom designs and prints calendar pages. Without options it opens the\n"
    "main window (a display is needed). An option's value follows it as the\n"
    "next argument or after '=' (--layout 3 or --layout=3).\n"
    "\n"
    "  --export OUT           draw the page without a window and save it; the\n"
    "                         extension (any case) picks the format:\n"
    "                           .png  an image as the screen shows the page\n"
    "                                 (page size x zoom pixels), or as printed\n"
    "                                 with --dpi\n"
    "                           .pdf  the printed page on the design's paper,\n"
    "                                 vector with searchable text\n"
    "                           .svg  the printed page as a vector picture\n"
    "                         Without FILE the page starts from the default\n"
    "                         style for today.\n"
    "    --zoom Z             PNG only: display scale, 0.1 to 4 (default 1.0 = 100 %)\n"
    "    --dpi N              PNG only: print the page at N dots per inch, 96 to 600\n"
    "    --layout N           page layout 0-21\n"
    "    --paper letter|a4\n"
    "    --month YYYY-MM      month shown (and first month of mini sheets)\n"
    "    --months FROM:TO     one page per month from FROM to TO (YYYY-MM:YYYY-MM,\n"
    "                         or YYYY for a whole year): all pages in one PDF, or\n"
    "                         PNG/SVG files OUT-YYYY-MM.png. Week and day planners\n"
    "                         step 7, 14 or 1 days per page over those months\n"
    "                         (files OUT-YYYY-MM-DD.png). The design's notes stay\n"
    "                         on its own month; other months start empty\n"
    "    --day D              first day of the week and day planners\n"
    "%FRAME%"
    "    --language english|deutsch|francais|espanol|italiano\n"
    "    --border NAME        page border picture from the Borders folder (for\n"
    "                         example \"Holly\"), or none\n"
    "    --fill               write every recurring date of the month into the\n"
    "                         notes of its days (as File > Fill Calendar does);\n"
    "                         with --months, into every month\n"
    "    --dates FILE         with --fill: a recurring-dates list or an iCalendar\n"
    "                         (.ics) file; may be given several times, the lists\n"
    "                         are merged (default: the user's own list)\n"
    "    --holidays CODE      with --fill: a country's or region's public\n"
    "                         holidays, by ISO 3166 code (US, DE, DE-BY, GB-SCT);\n"
    "                         CODE:public,bank,observance (or :all) picks the\n"
    "                         categories, public and bank holidays without it;\n"
    "                         may be given several times. With --holidays and\n"
    "                         no --dates the user's own list is left out\n"
    "    --variants           with --fill and several --dates: one output per dates\n"
    "                         file from the same design, \"{dates}\" in OUT replaced\n"
    "                         by the file's base name (family-{dates}.pdf); the\n"
    "                         files are made on every core\n"
    "    --force              export a design even when some of its objects could\n"
    "                         not be read (they are left out); without it such a\n"
    "                         file is refused\n"
    "  --list-dates YYYY-MM   print the recurring dates falling in that month,\n"
    "                         one line per date: day, a tab, the description\n"
    "    --dates FILE         a recurring-dates list or an iCalendar file; may be\n"
    "                         given several times (default: the user's own list)\n"
    "    --holidays CODE      a holiday set, as with --fill; may be given several\n"
    "                         times\n"
    "  --version              print the version and exit\n"
    "  --help                 print this text and exit\n"
    "\n"
    "Exit status: 0 done, 1 a file could not be read or written (no partial\n"
    "output is left) or a holiday set is unknown, 2 bad arguments.\n";

// The options that take a value, as "--name value" or "--name=value".
const QStringList ValueOptions = {
    QStringLiteral("--export"),        QStringLiteral("--list-dates"), QStringLiteral("--dates"),
    QStringLiteral("--zoom"),          QStringLiteral("--dpi"),        QStringLiteral("--months"),
    QStringLiteral("--layout"),        QStringLiteral("--paper"),      QStringLiteral("--month"),
    QStringLiteral("--day"),           QStringLiteral("--language"),   QStringLiteral("--border"),
    QStringLiteral("--variant-group"), QStringLiteral("--holidays")};

// The longest --months span: a century of pages.
constexpr int MaxMonthSpan = 1200;

std::optional<CommandLine::Format> FormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return CommandLine::Format::Png;
    if (suffix == QLatin1String("pdf"))
        return CommandLine::Format::Pdf;
    if (suffix == QLatin1String("svg"))
        return CommandLine::Format::Svg;
    return std::nullopt;
}

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

// "YYYY-MM:YYYY-MM", "YYYY-MM" or "YYYY".
std::optional<MonthSpan> ParseMonthSpan(const QString &text)
{
    static const QRegularExpression year(QStringLiteral("^(\\d{4})$"));
    static const QRegularExpression span(
        QStringLiteral("^(\\d{4})-(\\d{1,2})(?::(\\d{4})-(\\d{1,2}))?$"));
    if (const auto match = year.match(text); match.hasMatch()) {
        const auto y = ParseInt(match.captured(1), 1, 9999);
        if (!y)
            return std::nullopt;
        return MonthSpan{*y, 1, *y, 12};
    }
    const auto match = span.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const bool single = match.captured(3).isEmpty();
    const auto fromYear = ParseInt(match.captured(1), 1, 9999);
    const auto fromMonth = ParseInt(match.captured(2), 1, 12);
    const auto toYear = ParseInt(match.captured(single ? 1 : 3), 1, 9999);
    const auto toMonth = ParseInt(match.captured(single ? 2 : 4), 1, 12);
    if (!fromYear || !fromMonth || !toYear || !toMonth)
        return std::nullopt;
    const int count = (*toYear * 12 + *toMonth) - (*fromYear * 12 + *fromMonth) + 1;
    if (count < 1 || count > MaxMonthSpan)
        return std::nullopt;
    return MonthSpan{*fromYear, *fromMonth, *toYear, *toMonth};
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
    } else if (option == QLatin1String("--dpi")) {
        options.dpi = ParseInt(value, 96, 600);
        if (!options.dpi)
            return QStringLiteral("--dpi needs a number from 96 to 600, not '%1'").arg(value);
    } else if (option == QLatin1String("--months")) {
        options.months = ParseMonthSpan(value);
        if (!options.months)
            return QStringLiteral("--months needs YYYY-MM:YYYY-MM (first month not after the "
                                  "last, at most %1 months) or YYYY, not '%2'")
                .arg(MaxMonthSpan)
                .arg(value);
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
    } else if (FrameOptions::TakesValue(option)) {
        return options.frame.TakeValue(option, value);
    } else if (option == QLatin1String("--language")) {
        if (!FindLanguage(value))
            return QStringLiteral("--language is english, deutsch, francais, espanol or "
                                  "italiano, not '%1'")
                .arg(value);
        options.language = value;
    } else if (option == QLatin1String("--border")) {
        options.border =
            value.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0 ? QString() : value;
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
    options.frame.ApplyTo(page);
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
    // After the layout, which picks the border's orientation.
    if (options.border)
        page.SetWMFBorderFile(*options.border);
}

// A style sheet (".DLS") is applied to the default page; anything else is
// read as a calendar file.
bool LoadDesign(const QString &path, PageDocument &document, QString *error)
{
    if (!QFileInfo::exists(path)) {
        *error = QStringLiteral("File %1 no longer exists").arg(path);
        return false;
    }
    document.SetDesignName(QFileInfo(path).completeBaseName());
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

// Writes the one page in the format asked for.
bool WriteOne(const CommandLine::ExportOptions &options, PageDocument &document,
              const QString &path, QString *error)
{
    switch (options.format) {
    case CommandLine::Format::Pdf:
        return ExportDocumentPdf(document, path, error);
    case CommandLine::Format::Svg:
        return ExportDocumentSvg(document, path, error);
    case CommandLine::Format::Png:
        break;
    }
    if (options.dpi)
        return ExportDocumentPngAtDpi(document, *options.dpi, path, error);
    document.SetZoom(options.zoom);
    return ExportDocumentPng(document, path, error);
}

// One page per month (or planner page) of the span: all in one PDF, or
// numbered files.
int RunMonths(const CommandLine::ExportOptions &options, PageDocument &document)
{
    std::optional<MonthPages::Fill> fill;
    if (options.fill)
        fill = MonthPages::Fill{options.datesFiles, DefaultEditorFont(), options.holidays};
    MonthPages pages(document, *options.months, fill);
    QString error;
    bool written = false;
    if (options.format == CommandLine::Format::Pdf) {
        written = pages.ExportPdf(options.output, &error);
    } else {
        const auto write = [&](const QString &path, QString *why) {
            return WriteOne(options, document, path, why);
        };
        written = pages.ExportFiles(options.output, write, &error);
    }
    if (written)
        return 0;
    std::fprintf(stderr, "dayloom: %s\n", qPrintable(error));
    return 1;
}

int RunExport(const CommandLine::ExportOptions &options)
{
    // No clipboard file is set: the object clipboard belongs to the window,
    // and a headless run must neither use nor remove it.
    // Notes down why a picture given on the command line was refused.
    PictureBudget refusals(PictureBudget::Unbounded);
    const PictureBudget::Scope scope(refusals);
    PageDocument document;
    CalendarPage &page = document.Page();
    page.SetDefaultStyle();
    if (!options.file.isEmpty()) {
        QString error;
        if (!LoadDesign(options.file, document, &error)) {
            std::fprintf(stderr, "dayloom: %s\n", qPrintable(error.simplified()));
            return 1;
        }
        // A page without the objects that could not be read is no copy of
        // the design: only on request.
        if (const int unread = document.UnreadObjects(); unread > 0) {
            std::fprintf(stderr, "dayloom: %s\n", qPrintable(UnreadObjectsMessage(unread)));
            if (!options.force)
                return 1;
        }
        // The rest of the design is worth exporting: a warning only.
        if (!document.PicturesLeftOut().isEmpty())
            std::fprintf(stderr, "dayloom: %s\n",
                         qPrintable(PicturesLeftOutMessage(document.PicturesLeftOut())));
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
    // Red days follow the sets named here rather than the user's own list.
    SetRedDayHolidayLinks(options.holidays);
    if (options.border && page.WMFBorderFile() != *options.border) {
        const QString path = QDir::toNativeSeparators(
            CalendarPage::BorderFilePath(*options.border, page.CalendarOrientation()));
        const QString reason = refusals.FirstRefusal();
        std::fprintf(
            stderr, "dayloom: no readable border picture %s%s\n", qPrintable(path),
            qPrintable(reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason)));
        return 1;
    }
    if (options.months)
        return RunMonths(options, document);
    if (options.fill) {
        bool filled = false;
        QString error;
        if (!FillPageFromFiles(page, options.datesFiles, DefaultEditorFont(), filled, &error,
                               options.holidays)) {
            std::fprintf(stderr, "dayloom: %s\n", qPrintable(error));
            return 1;
        }
    }
    QString error;
    if (!WriteOne(options, document, options.output, &error)) {
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

// Flushes what was printed; a full disk or a closed pipe is a failed write,
// not a success.
int FinishOutput()
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return 0;
    std::fprintf(stderr, "dayloom: cannot write the output: %s\n", std::strerror(errno));
    return 1;
}

QString VariantOutput(const CommandLine::ExportOptions &options, const QString &datesFile)
{
    QString output = options.output;
    return output.replace(QStringLiteral("{dates}"), QFileInfo(datesFile).completeBaseName());
}

QString CheckVariants(const CommandLine::ExportOptions &options)
{
    if (!options.fill || options.datesFiles.isEmpty())
        return QStringLiteral("--variants needs --fill and --dates FILE for each variant");
    if (!options.output.contains(QStringLiteral("{dates}")))
        return QStringLiteral("--variants needs {dates} in the output name");
    QStringList outputs;
    for (const QString &file : options.datesFiles) {
        const QString output = VariantOutput(options, file);
        if (outputs.contains(output))
            return QStringLiteral("two dates files would both write %1").arg(output);
        outputs.append(output);
    }
    return {};
}

// Each process makes every variantGroups-th variant; the first one starts the
// others, so a run of many dates files uses every core and pays for starting
// once per core rather than once per file.
int RunVariants(const CommandLine::ExportOptions &options, const QStringList &arguments)
{
    const qsizetype count = options.datesFiles.size();
    int groups = options.variantGroups;
    QList<QProcess *> helpers;
    if (groups == 0) {
        groups = int(std::clamp<qsizetype>(QThread::idealThreadCount(), 1, count));
        for (int group = 1; group < groups; ++group) {
            auto *helper = new QProcess;
            helper->setProcessChannelMode(QProcess::ForwardedChannels);
            helper->start(
                QCoreApplication::applicationFilePath(),
                arguments.mid(1) +
                    QStringList{QStringLiteral("--variant-group=%1/%2").arg(group).arg(groups)});
            helpers.append(helper);
        }
    }
    int code = 0;
    for (qsizetype i = options.variantGroup; i < count; i += groups) {
        CommandLine::ExportOptions one = options;
        one.variants = false;
        one.datesFiles = {options.datesFiles[i]};
        one.output = VariantOutput(options, options.datesFiles[i]);
        code = std::max(code, RunExport(one));
    }
    for (QProcess *helper : std::as_const(helpers)) {
        if (!helper->waitForFinished(-1) || helper->exitStatus() != QProcess::NormalExit)
            code = std::max(code, 1);
        else
            code = std::max(code, helper->exitCode());
        delete helper;
    }
    return code;
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
        // "--name value" or "--name=value".
        const qsizetype equals = arg.indexOf(u'=');
        const QString name = equals < 0 ? arg : arg.left(equals);
        if (name == QLatin1String("--fill")) {
            if (equals >= 0)
                return Failure(QStringLiteral("--fill takes no value"));
            result.exportOptions.fill = true;
            continue;
        }
        if (name == QLatin1String("--variants")) {
            if (equals >= 0)
                return Failure(QStringLiteral("--variants takes no value"));
            result.exportOptions.variants = true;
            continue;
        }
        if (name == QLatin1String("--force")) {
            if (equals >= 0)
                return Failure(QStringLiteral("--force takes no value"));
            result.exportOptions.force = true;
            continue;
        }
        if (FrameOptions::IsFlag(name)) {
            if (equals >= 0)
                return Failure(QStringLiteral("%1 takes no value").arg(name));
            result.exportOptions.frame.TakeFlag(name);
            continue;
        }
        if (!ValueOptions.contains(name) && !FrameOptions::TakesValue(name))
            return Failure(QStringLiteral("unknown option %1 (see 'dayloom --help')").arg(name));
        if (equals < 0 && i + 1 >= arguments.size())
            return Failure(QStringLiteral("%1 needs a value").arg(name));
        const QString value = equals < 0 ? arguments[++i] : arg.mid(equals + 1);
        if (name == QLatin1String("--export")) {
            exporting = true;
            result.exportOptions.output = value;
            continue;
        }
        if (name == QLatin1String("--list-dates")) {
            if (!parseYearMonth(value))
                return Failure(QStringLiteral("--list-dates needs YYYY-MM, not '%1'").arg(value));
            listing = true;
            result.listDatesOptions.yearMonth = value;
            continue;
        }
        if (name == QLatin1String("--variant-group")) {
            // Internal: "K/N", which share of the variants this process makes.
            const QStringList parts = value.split(u'/');
            bool okGroup = false, okGroups = false;
            const int group = parts.value(0).toInt(&okGroup),
                      groups = parts.value(1).toInt(&okGroups);
            if (parts.size() != 2 || !okGroup || !okGroups || groups < 1 || groups > 64 ||
                group < 0 || group >= groups)
                return Failure(QStringLiteral("--variant-group needs K/N"));
            result.exportOptions.variantGroup = group;
            result.exportOptions.variantGroups = groups;
            continue;
        }
        if (name == QLatin1String("--holidays")) {
            // The code itself is checked against the holiday data when the
            // command runs: an unknown one is a missing file, not bad usage.
            const auto link = HolidayLink::parse(
                value.section(u':', 0, 0) + QStringLiteral(";CATEGORIES=") +
                (value.contains(u':') ? value.section(u':', 1) : QStringLiteral("public,bank")));
            if (!link)
                return Failure(QStringLiteral("--holidays needs CODE or CODE:CATEGORIES (DE-BY, "
                                              "US:public,observance), not '%1'")
                                   .arg(value));
            result.listDatesOptions.holidays.append(*link);
            continue;
        }
        if (name == QLatin1String("--dates")) {
            if (value.isEmpty())
                return Failure(QStringLiteral("--dates needs a file name"));
            result.listDatesOptions.datesFiles.append(value);
            continue;
        }
        const QString error = ApplyExportOption(name, value, result.exportOptions);
        if (!error.isEmpty())
            return Failure(error);
    }
    const bool hasPageOptions = result.exportOptions.layout || result.exportOptions.paper ||
                                result.exportOptions.month || result.exportOptions.day ||
                                result.exportOptions.frame.Any() ||
                                !result.exportOptions.language.isEmpty() ||
                                result.exportOptions.border || result.exportOptions.zoom != 1.0f ||
                                result.exportOptions.dpi || result.exportOptions.months;
    if (listing) {
        if (exporting || hasPageOptions || result.exportOptions.fill ||
            result.exportOptions.force || !result.files.isEmpty())
            return Failure(
                QStringLiteral("--list-dates takes only --dates FILE and --holidays CODE"));
        result.kind = Kind::ListDates;
        return result;
    }
    if (!result.listDatesOptions.datesFiles.isEmpty() && !result.exportOptions.fill)
        return Failure(QStringLiteral("--dates goes with --list-dates or --fill"));
    if (!result.listDatesOptions.holidays.isEmpty() && !result.exportOptions.fill)
        return Failure(QStringLiteral("--holidays goes with --list-dates or --fill"));
    result.exportOptions.datesFiles = result.listDatesOptions.datesFiles;
    result.exportOptions.holidays = result.listDatesOptions.holidays;
    if (result.exportOptions.fill && !exporting)
        return Failure(QStringLiteral("--fill needs --export OUT"));
    if (result.exportOptions.variants) {
        const QString error = CheckVariants(result.exportOptions);
        if (!error.isEmpty())
            return Failure(error);
    }
    if (result.exportOptions.force && !exporting)
        return Failure(QStringLiteral("--force needs --export OUT"));
    if (!exporting) {
        if (hasPageOptions)
            return Failure(QStringLiteral("page options need --export OUT"));
        return result;
    }
    if (result.files.size() > 1)
        return Failure(QStringLiteral("--export takes at most one FILE"));
    CommandLine::ExportOptions &options = result.exportOptions;
    if (options.output.isEmpty())
        return Failure(QStringLiteral("--export needs an output file name"));
    const auto format = FormatOf(options.output);
    if (!format)
        return Failure(QStringLiteral("--export writes .png, .pdf or .svg files, not '%1'")
                           .arg(options.output));
    options.format = *format;
    if (options.format != Format::Png && (options.dpi || options.zoom != 1.0f))
        return Failure(QStringLiteral("--zoom and --dpi apply to PNG files only"));
    if (options.dpi && options.zoom != 1.0f)
        return Failure(QStringLiteral("--zoom and --dpi do not go together"));
    if (options.months && (options.month || options.day))
        return Failure(QStringLiteral("--months does not go with --month or --day"));
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

namespace {

// Names the first holiday set the data does not know on standard error.
bool HolidaySetsKnown(const QList<HolidayLink> &holidays)
{
    const QStringList unknown = UnknownHolidayLinks(holidays);
    if (unknown.isEmpty())
        return true;
    const HolidayCatalogue &catalogue = HolidayCatalogue::shipped();
    for (const HolidayLink &link : holidays) {
        if (!unknown.contains(link.code))
            continue;
        QString region;
        const HolidayCountry *country = catalogue.find(link.code.section(u'-', 0, 0), &region);
        const QString hint =
            country ? QStringLiteral("%1 has no region %2").arg(country->code, link.code)
                    : QStringLiteral("no country %1 among the %2 holiday sets")
                          .arg(link.code.section(u'-', 0, 0))
                          .arg(catalogue.countries().size());
        std::fprintf(stderr, "dayloom: unknown holiday set %s: %s\n", qPrintable(link.code),
                     qPrintable(hint));
        return false;
    }
    return true;
}

} // namespace

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
        return FinishOutput();
    case CommandLine::Kind::Help:
        std::fputs(QByteArray(HelpText)
                       .replace(QByteArrayLiteral("%FRAME%"), QByteArray(FrameOptions::HelpLines))
                       .constData(),
                   stdout);
        return FinishOutput();
    case CommandLine::Kind::Error:
        std::fprintf(stderr, "dayloom: %s\n", qPrintable(command.error));
        return 2;
    case CommandLine::Kind::Export: {
        // Text needs a GUI application, but never a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        EnsureRuntimeDirectory();
        QGuiApplication app(argc, argv);
        // Only now does the program know its folder, where the sets lie.
        if (!HolidaySetsKnown(command.exportOptions.holidays))
            return 1;
        const int code = command.exportOptions.variants
                             ? RunVariants(command.exportOptions, app.arguments())
                             : RunExport(command.exportOptions);
        // Everything is written and closed: tearing down the font caches
        // and the platform would only cost time.
        std::fflush(stdout);
        std::fflush(stderr);
        ::_exit(code);
    }
    case CommandLine::Kind::ListDates: {
        QCoreApplication app(argc, argv);
        if (!HolidaySetsKnown(command.listDatesOptions.holidays))
            return 1;
        QStringList lines;
        QString error;
        if (!listDatesFromFiles(command.listDatesOptions.yearMonth,
                                command.listDatesOptions.datesFiles, lines, &error,
                                command.listDatesOptions.holidays)) {
            std::fprintf(stderr, "dayloom: %s\n", qPrintable(error));
            return 1;
        }
        for (const QString &line : lines)
            std::printf("%s\n", line.toUtf8().constData());
        return FinishOutput();
    }
    case CommandLine::Kind::Window:
        break;
    }
    return 0;
}

} // namespace Dayloom
