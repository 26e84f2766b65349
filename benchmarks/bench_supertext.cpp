// Special-effect text: one gradient headline drawn from scratch, a page with
// twenty textured texts as the window repaints it, and one text printed
// into a PDF page.
#include "core/calendar/calendarpage.h"
#include "core/objects/supertext/tgsupertext.h"
#include "core/print/printengine.h"
#include "core/surface/pagedocument.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

#include "guibenchmarkmain.h"

using namespace Dayloom;

namespace {

std::unique_ptr<TGSuperText> Headline(const QRect &bounds)
{
    auto text = std::make_unique<TGSuperText>();
    text->SetCaption(QStringLiteral("December 2027"));
    text->SetShadowDepth(4);
    text->SetBounds(bounds);
    return text;
}

QImage Wood()
{
    QImage wood(QStringLiteral(DAYLOOM_ASSETS "/Textures/Wood.jpg"));
    if (wood.isNull()) {
        wood = QImage(64, 64, QImage::Format_RGB32);
        wood.fill(QColor(180, 120, 60));
    }
    return wood;
}

} // namespace

// The drawing itself, with nothing kept from the last paint but the gradient.
static void PaintGradientHeadline(benchmark::State &state)
{
    const std::unique_ptr<TGSuperText> text = Headline(QRect(0, 0, 480, 80));
    QImage image(480, 80, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        text->PaintContent(painter, text->ScaledBounds(), 1.0f);
    }
}
BENCHMARK(PaintGradientHeadline)->Unit(benchmark::kMillisecond);

// A month page with twenty textured texts, repainted as the window does.
static void PaintPageWithTwentyTextures(benchmark::State &state)
{
    PageDocument document;
    CalendarPage &page = document.Page();
    page.SetDefaultStyle();
    page.SetCalendarLayout(loFullCalendar);
    const QImage wood = Wood();
    PersistentObjectList objects;
    for (int i = 0; i < 20; ++i) {
        auto text = Headline(QRect(40 + (i % 4) * 250, 200 + (i / 4) * 120, 240, 80));
        text->SetSurfaceType(TGSuperText::stBrushImage);
        text->SetImage(wood);
        objects.push_back(std::move(text));
    }
    document.AdoptObjects(std::move(objects));
    QImage image(page.PageWidth(), page.PageHeight(), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        document.Draw(painter);
    }
}
BENCHMARK(PaintPageWithTwentyTextures)->Unit(benchmark::kMillisecond);

// One gradient text printed as vector paths into a PDF page at 600 dpi.
static void PrintHeadlineToPdf(benchmark::State &state)
{
    const std::unique_ptr<TGSuperText> text = Headline(QRect(96, 96, 480, 80));
    for (auto _ : state) {
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(600);
        QPainter painter(&writer);
        PrintEngine engine(painter);
        text->PrintTo(engine, 0, 0);
        painter.end();
        benchmark::DoNotOptimize(pdf.size());
    }
}
BENCHMARK(PrintHeadlineToPdf)->Unit(benchmark::kMillisecond);

DAYLOOM_GUI_BENCHMARK_MAIN()
