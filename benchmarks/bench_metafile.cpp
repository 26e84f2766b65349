// Playing a metafile of 5,000 records (lines, polygons, rectangles and text,
// with pen and brush changes) onto a page-sized image of 1056 x 816 pixels.
// Target: under 10 ms a playback. The mix is heavy on text (a fifth of the
// records); the shipped clip art below is what pictures usually hold.
#include "../tests/graphics/metafilebuilder.h"
#include "core/graphics/emfwriter.h"
#include "core/graphics/metafileplayer.h"

#include <QFile>

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "guibenchmarkmain.h"

using namespace Dayloom;
using namespace Dayloom::Testing;

namespace {

constexpr int Records = 5000;
const QSize Page(1056, 816);

QByteArray MixedEmf()
{
    EmfBuilder emf;
    int count = 0;
    const QColor colors[] = {Qt::darkBlue, Qt::darkRed, Qt::darkGreen, Qt::darkGray};
    for (int i = 0; i < 4; ++i) {
        emf.Record(38, {1 + i, 0, i, 0, Rgb(colors[i])});
        emf.Record(39, {5 + i, 0, Rgb(colors[3 - i].lighter(180)), 0});
    }
    emf.Record(18, {1}).Font(-13);
    count += 10;
    for (int i = 0; count < Records; ++i) {
        const int x = (i * 37) % 1000;
        const int y = (i * 53) % 780;
        switch (i % 5) {
        case 0:
            emf.Select(1 + i % 4).Select(5 + (i / 5) % 4);
            emf.Record(27, {x, y}).Record(54, {x + 40, y + 25});
            count += 4;
            break;
        case 1:
            emf.Polygon16(
                {{x, y}, {x + 30, y + 5}, {x + 35, y + 30}, {x + 10, y + 40}, {x, y + 20}});
            ++count;
            break;
        case 2:
        case 3:
            emf.Rectangle(QRect(x, y, 50, 20));
            ++count;
            break;
        default:
            emf.Text(QPoint(x, y), QStringLiteral("Dentist %1:30").arg(i % 12));
            ++count;
            break;
        }
    }
    return emf.Bytes(QRect(0, 0, 27940, 21590), Page, QSize(279, 216));
}

void Play(benchmark::State &state, bool antialiased)
{
    MetafilePlayer player;
    if (!player.Load(MixedEmf(), nullptr)) {
        state.SkipWithError("the metafile did not load");
        return;
    }
    QImage image(Page, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
    painter.setRenderHint(QPainter::TextAntialiasing, antialiased);
    for (auto _ : state)
        player.Play(painter, QRectF(QPointF(0, 0), Page));
    state.counters["records"] = player.RecordCount();
}

void BM_PlayMetafile(benchmark::State &state)
{
    Play(state, false);
}
BENCHMARK(BM_PlayMetafile)->Unit(benchmark::kMillisecond);

// A real picture of about the same number of records: the shipped daffodil
// clip art, made a metafile as the image browser makes it.
void BM_PlayShippedClipArt(benchmark::State &state)
{
    QFile file(QStringLiteral(DAYLOOM_ASSETS "/Clipart/Seasons/Daffodil.svg"));
    QByteArray emf;
    MetafilePlayer player;
    if (!file.open(QIODevice::ReadOnly) || !ConvertSvgToEmf(file.readAll(), emf, nullptr) ||
        !player.Load(emf, nullptr)) {
        state.SkipWithError("the shipped clip art did not load");
        return;
    }
    QImage image(Page, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (auto _ : state)
        player.Play(painter, QRectF(QPointF(0, 0), Page));
    state.counters["records"] = player.RecordCount();
}
BENCHMARK(BM_PlayShippedClipArt)->Unit(benchmark::kMillisecond);

void BM_PlayMetafileAntialiased(benchmark::State &state)
{
    Play(state, true);
}
BENCHMARK(BM_PlayMetafileAntialiased)->Unit(benchmark::kMillisecond);

} // namespace

DAYLOOM_GUI_BENCHMARK_MAIN()
