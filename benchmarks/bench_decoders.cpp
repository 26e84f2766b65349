// Decoding a 2000 x 1500 picture of flat areas and a gradient, as run-length
// Targa (24 bits) and as run-length PCX (24 bits in three planes). Target:
// under 30 ms each.
#include "../tests/graphics/rastersamples.h"
#include "core/graphics/imagedecoder.h"

#include <QBuffer>

#include <benchmark/benchmark.h>

using namespace Dayloom;
using namespace Dayloom::Testing;

namespace {

QImage ClipArt()
{
    static const QRgb colours[] = {0xff2060a0, 0xffe0c040, 0xff40a060, 0xffffffff,
                                   0xffa02030, 0xff303030, 0xff80c0e0};
    QImage image(2000, 1500, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = x > 1300 ? qRgb(x & 0xff, y & 0xff, (x + y) & 0xff)
                               : colours[(x / 50 + y / 40) % 7];
    }
    return image;
}

void Decode(benchmark::State &state, const QByteArray &bytes, RasterFormat format)
{
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImage image;
        QString error;
        if (!DecodeRasterImage(buffer, format, image, &error))
            state.SkipWithError(qPrintable(error));
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["KiB"] = double(bytes.size()) / 1024;
}

void BM_DecodeTargaRle(benchmark::State &state)
{
    static const QByteArray bytes = MakeTarga(ClipArt(), 10, 24, 0);
    Decode(state, bytes, RasterFormat::Targa);
}
BENCHMARK(BM_DecodeTargaRle)->Unit(benchmark::kMillisecond);

void BM_DecodePcxRle(benchmark::State &state)
{
    static const QByteArray bytes = MakePcx(ClipArt(), 8, 3, true);
    Decode(state, bytes, RasterFormat::Pcx);
}
BENCHMARK(BM_DecodePcxRle)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
