// libFuzzer entry point for the iCalendar reader: reads the bytes as a
// calendar; what reads is expanded over a year, written and must read back.
// Run e.g.
//   build-fuzz/tests/recurring/fuzz_icalendar -max_total_time=60
//   tests/recurring/data/corpus-ics
#include "core/recurring/icalendarfile.h"

#include <QBuffer>
#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_icalendar";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    buffer.open(QIODevice::ReadOnly);
    Dayloom::ICalendarFile::Contents contents;
    if (!Dayloom::ICalendarFile::read(buffer, contents))
        return 0;
    for (const Dayloom::DatedEntry &entry : std::as_const(contents.entries)) {
        for (const auto &day : entry.rule.daysBetween(QDate(2026, 1, 1), QDate(2026, 12, 31)))
            entry.textFor(day.start);
    }
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    Dayloom::ICalendarFile::write(written, contents.entries);
    written.close();
    written.open(QIODevice::ReadOnly);
    Dayloom::ICalendarFile::Contents back;
    if (!Dayloom::ICalendarFile::read(written, back))
        __builtin_trap(); // what was written must read back
    return 0;
}
