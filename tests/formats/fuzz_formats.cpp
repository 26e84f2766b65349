// libFuzzer entry point: every reader of calendar files, style sheets,
// object records and RTF notes must survive any input, with the test class
// and the program's real object classes, and what was read must paint.
// Run for example
//   build-fuzz/tests/formats/fuzz_formats -max_total_time=120 tests/formats/data/corpus
// (a clang build; new inputs found go into the corpus folder given first).
#include "fuzzbudget.h"
#include "replay.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Dayloom::PictureBudget budget(Dayloom::Testing::FuzzPictureBytes);
    const Dayloom::PictureBudget::Scope scope(budget);
    static int argc = 1;
    static char name[] = "fuzz_formats";
    static char *argv[] = {name, nullptr};
    // Painting text needs a GUI application, never a display.
    static const bool platform = qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    Q_UNUSED(platform);
    Dayloom::Testing::ReplayAllReaders(
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)),
        Dayloom::Testing::Replay::ReadAndPaint);
    return 0;
}
