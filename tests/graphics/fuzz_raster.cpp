// libFuzzer entry point for one raster decoder, chosen when compiling by
// DAYLOOM_FUZZ_DECODER: "pcx", "targa", "bitmap" (files and packed bitmaps)
// or "raster" (any format, known by its content). Run for example
//   build-fuzz/tests/graphics/fuzz_pcx -max_total_time=60 tests/graphics/data/corpus/pcx
#include "fuzzbudget.h"
#include "rastersamples.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Dayloom::PictureBudget budget(Dayloom::Testing::FuzzPictureBytes);
    const Dayloom::PictureBudget::Scope scope(budget);
    static int argc = 1;
    static char name[] = "fuzz_raster";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv); // finds the image plugins
    QImage image;
    QString error;
    const bool ok = Dayloom::Testing::DecodeAs(
        QStringLiteral(DAYLOOM_FUZZ_DECODER),
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)), image,
        &error);
    if (ok && image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        __builtin_trap();
    if (!ok && error.isEmpty())
        __builtin_trap();
    return 0;
}
