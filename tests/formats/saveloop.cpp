// Saves two different designs of about 2 MB in turn into one file through
// SaveCalendarFile, in a child process that tst_formats kills at random
// moments to check that the file is always one of the two, whole.
//   save_loop --write FIRST SECOND   writes each design once
//   save_loop --serve TARGET         prints "ready <microseconds a save takes>";
//                                    then for every line read from standard
//                                    input forks a child that saves into
//                                    TARGET until it is killed, prints the
//                                    child's process id and, once the child
//                                    is gone, "reaped"
// Forking the prepared designs keeps a thousand kills within seconds.
#include "core/calendar/calendarpage.h"
#include "core/formats/calendarfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

#include <sys/wait.h>
#include <unistd.h>

using namespace Dayloom;

namespace {

constexpr int NoteBytes = 50 * 1024; // 42 notes: about 2 MB
constexpr int TimedSaves = 10;

// A page whose 42 notes are long runs of `letter`.
void FillNotes(CalendarPage &page, char letter)
{
    for (int cell = 1; cell <= CalendarPage::CellCount; ++cell) {
        TWPRtfStorage note;
        note.SetRtfText("{\\rtf1 " + QByteArray(NoteBytes, letter) + QByteArray::number(cell) +
                        "}");
        page.SetCellNote(cell, note);
    }
}

bool Save(const CalendarPage &page, const QString &path)
{
    QString error;
    if (SaveCalendarFile(page, {}, path, &error))
        return true;
    std::fprintf(stderr, "save_loop: %s\n", qPrintable(error));
    return false;
}

void Say(const QByteArray &line)
{
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Saves in turn until killed, the second design first.
[[noreturn]] void SaveForEver(const CalendarPage &first, const CalendarPage &second,
                              const QString &target)
{
    for (;;) {
        if (!Save(second, target) || !Save(first, target))
            _exit(1);
    }
}

int Serve(const CalendarPage &first, const CalendarPage &second, const QString &target)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < TimedSaves / 2; ++i) {
        if (!Save(second, target) || !Save(first, target))
            return 1;
    }
    Say("ready " + QByteArray::number(timer.nsecsElapsed() / 1000 / TimedSaves));
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
        const pid_t child = ::fork();
        if (child < 0)
            return 1;
        if (child == 0)
            SaveForEver(first, second, target);
        Say(QByteArray::number(child));
        int status = 0;
        ::waitpid(child, &status, 0);
        Say("reaped");
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    CalendarPage first;
    CalendarPage second;
    FillNotes(first, 'a');
    FillNotes(second, 'b');
    second.SetUserTitle(QStringLiteral("second"));
    if (arguments.size() == 3 && arguments.first() == QLatin1String("--write"))
        return Save(first, arguments.at(1)) && Save(second, arguments.at(2)) ? 0 : 1;
    if (arguments.size() == 2 && arguments.first() == QLatin1String("--serve"))
        return Serve(first, second, arguments.at(1));
    std::fprintf(stderr, "usage: save_loop --write FIRST SECOND | save_loop --serve TARGET\n");
    return 2;
}
