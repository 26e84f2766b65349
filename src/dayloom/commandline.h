#pragma once

#include "core/calendar/frameoptions.h"
#include "core/export/monthpages.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace Dayloom {

// What the command line asks for. Everything but Window runs headless.
struct CommandLine
{
    enum class Kind
    {
        Window,
        Version,
        Help,
        Export,
        ListDates,
        Error
    };

    // The output format, from the extension of the output file name.
    enum class Format
    {
        Png,
        Pdf,
        Svg
    };

    struct ExportOptions
    {
        QString output;
        Format format = Format::Png;
        float zoom = 1.0f;
        std::optional<int> dpi;          // PNG printed at this resolution
        std::optional<MonthSpan> months; // one page per month (or planner page)
        std::optional<int> layout;
        std::optional<int> paper;
        std::optional<int> month;
        std::optional<int> year;
        std::optional<int> day;
        FrameOptions frame; // --week-start, --week-numbers, --weekend, --red-days ...
        QString language;
        std::optional<QString> border; // border name; empty: none
        QString file;
        bool fill = false; // fill the cells from the recurring dates first
        // With fill: the dates files (recurring-dates lists or iCalendar
        // files), merged, and the holiday sets; neither: the user's own list.
        QStringList datesFiles;
        QList<HolidayLink> holidays;
        // One output per dates file, "{dates}" in the output name replaced by
        // the file's base name; the files are shared among variantGroups
        // processes, this one making those of variantGroup.
        bool variants = false;
        int variantGroup = 0;
        int variantGroups = 0; // 0: this process shares them out
        bool force = false;    // export a design some of whose objects could not be read
    };

    struct ListDatesOptions
    {
        QString yearMonth; // "YYYY-MM"
        QStringList datesFiles;
        QList<HolidayLink> holidays; // by --holidays CODE[:CATEGORIES]
        // One output per dates file, "{dates}" in the output name replaced by
        // the file's base name; the files are shared among variantGroups
        // processes, this one making those of variantGroup.
        bool variants = false;
        int variantGroup = 0;
        int variantGroups = 0; // 0: this process shares them out // none: the user's own list
    };

    Kind kind = Kind::Window;
    QString error;     // Kind::Error: the one-line message
    QStringList files; // Kind::Window: files to open
    ExportOptions exportOptions;
    ListDatesOptions listDatesOptions;

    static CommandLine Parse(const QStringList &arguments);
};

// True when a windowing system can be reached (or one was chosen explicitly).
bool HasDisplay();
// Runs a headless command; returns the process exit code (0 success,
// 1 a file could not be read or written, 2 bad arguments).
int RunHeadless(const CommandLine &command, int argc, char *argv[]);

} // namespace Dayloom
