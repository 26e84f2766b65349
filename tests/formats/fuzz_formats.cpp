// libFuzzer entry point: every reader of calendar files, style sheets and
// object records must survive any input. Run for example
//   build/tests/formats/fuzz_formats tests/formats/data/corpus
#include "testshape.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_formats";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    Dayloom::Testing::ReplayAllReaders(
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    return 0;
}
