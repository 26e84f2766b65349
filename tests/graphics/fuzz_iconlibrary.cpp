// libFuzzer entry point for the icon library reader: reads the bytes as a
// library, a program or an icon file and extracts the first icons. Run e.g.
//   build-fuzz/tests/graphics/fuzz_iconlibrary -max_total_time=60
//   tests/graphics/data/corpus/iconlibrary
#include "core/graphics/iconlibrary.h"
#include "fuzzbudget.h"

#include <QBuffer>
#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Dayloom::PictureBudget budget(Dayloom::Testing::FuzzPictureBytes);
    const Dayloom::PictureBudget::Scope scope(budget);
    static int argc = 1;
    static char name[] = "fuzz_iconlibrary";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    buffer.open(QIODevice::ReadOnly);
    Dayloom::IconLibrary library;
    if (!library.Read(buffer))
        __builtin_trap(); // only oversize files fail, and the fuzzer's are small
    for (int i = 0; i < library.Count() && i < 16; ++i)
        for (int side : {16, 32}) {
            const QImage icon = library.Icon(i, side);
            if (!icon.isNull() && (icon.size() != QSize(side, side) ||
                                   icon.format() != QImage::Format_ARGB32_Premultiplied))
                __builtin_trap();
        }
    return 0;
}
