// libFuzzer entry point: the metafile player must survive any input, both
// loading and playing what it loaded.
// Run for example
//   build-fuzz/tests/graphics/fuzz_metafile -max_total_time=60 tests/graphics/data/corpus/metafile
// (a clang build; new inputs found go into the corpus folder given first).
#include "core/graphics/metafileplayer.h"
#include "fuzzbudget.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Dayloom::PictureBudget budget(Dayloom::Testing::FuzzPictureBytes);
    const Dayloom::PictureBudget::Scope scope(budget);
    static int argc = 1;
    static char name[] = "fuzz_metafile";
    static char *argv[] = {name, nullptr};
    // Text needs a GUI application, never a display.
    static const bool platform = qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    Q_UNUSED(platform);
    Dayloom::MetafilePlayer player;
    if (!player.Load(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), nullptr))
        return 0;
    QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    player.Play(painter, QRectF(2, 2, 44, 44));
    return 0;
}
