// 200 labels with a shadow and a highlight, a quarter of them in each of
// the four turns, on a month page: a warm repaint (every label's drawing
// kept) must fit in a 60 Hz frame, and one with nothing kept (every layout
// and drawing redone) must stay under 40 ms.
#include "core/objects/label/tgplabel.h"
#include "core/surface/pagedocument.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "guibenchmarkmain.h"

using namespace Dayloom;

namespace {

constexpr int LabelCount = 200;

QList<TGPLabel *> Populate(PageDocument &document)
{
    document.Page().SetDefaultStyle();
    document.Page().SetCalendarLayout(loFullCalendar);
    document.Page().CalculateLayout(true);
    QList<TGPLabel *> labels;
    for (int i = 0; i < LabelCount; ++i) {
        auto label = std::make_unique<TGPLabel>();
        label->SetCaption(QStringLiteral("Label %1").arg(i));
        label->SetFont(FontSpec(QStringLiteral("DejaVu Sans"), 12 + i % 8));
        label->SetDepthShadow(2 + i % 3);
        label->SetDepthHighlight(1 + i % 2);
        label->SetcolorShadow(clGray);
        label->SetcolorHighlight(clAqua);
        label->SetTransparent(i % 2 == 0);
        label->SetBorderStyle(i % 3 == 0 ? bsSingle : bsNone);
        label->SetAngle((i % 4) * 90);
        labels.append(label.get());
        document.PlaceObject(std::move(label), QRect((i % 10) * 100, (i / 10) * 38, 142, 33));
    }
    for (TGPLabel *label : labels)
        label->Layout();
    return labels;
}

} // namespace

static void RepaintWarm(benchmark::State &state)
{
    PageDocument document;
    Populate(document);
    QImage image(document.SurfaceSize(), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        document.Draw(painter);
    }
    for (auto _ : state) {
        QPainter painter(&image);
        document.Draw(painter);
    }
}
BENCHMARK(RepaintWarm)->Unit(benchmark::kMillisecond);

static void RepaintUncached(benchmark::State &state)
{
    PageDocument document;
    const QList<TGPLabel *> labels = Populate(document);
    QImage image(document.SurfaceSize(), QImage::Format_RGB32);
    int round = 0;
    for (auto _ : state) {
        // A new depth drops both the layout and the kept drawing.
        for (int i = 0; i < labels.size(); ++i)
            labels[i]->SetDepthShadow(2 + (round + i) % 3);
        ++round;
        QPainter painter(&image);
        document.Draw(painter);
    }
}
BENCHMARK(RepaintUncached)->Unit(benchmark::kMillisecond);

// The labels alone, drawn afresh each time (no page, no kept drawing).
static void DrawLabelsOnly(benchmark::State &state)
{
    PageDocument document;
    const QList<TGPLabel *> labels = Populate(document);
    QImage image(document.SurfaceSize(), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        for (const TGPLabel *label : labels)
            label->PaintContent(painter, label->ScaledBounds(), 1.0f);
    }
}
BENCHMARK(DrawLabelsOnly)->Unit(benchmark::kMillisecond);

DAYLOOM_GUI_BENCHMARK_MAIN();
