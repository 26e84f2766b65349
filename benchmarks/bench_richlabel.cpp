// Rich text labels: a page with 30 labels of three paragraphs each must
// repaint within a 60 Hz frame (16 ms) once the renderer is warm, also when
// every label draws its text again (after an edit or a zoom step); the
// "Rich Text Editor" must open in well under 100 ms.
#include "core/objects/richlabel/tgprichbaselabel.h"
#include "core/richtext/notedocument.h"
#include "core/richtext/twprtfstorage.h"
#include "core/surface/pagedocument.h"
#include "guibenchmarkmain.h"
#include "ui/richlabel/trichtextlabeleditor.h"
#include "ui/richtext/noteeditor.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace Dayloom;

namespace {

QByteArray ThreeParagraphs(int n)
{
    NoteDocument note;
    FontSpec font = note.InsertionAttributes();
    font.SetSize(10);
    note.InsertText(QStringLiteral("Label %1: birthdays and anniversaries this month").arg(n),
                    font);
    note.NewParagraph();
    font.SetBold(true);
    note.InsertText(QStringLiteral("Anna on the 3rd, Ben on the 17th"), font);
    note.NewParagraph();
    font.SetBold(false);
    font.SetItalic(true);
    note.InsertText(QStringLiteral("Bring the cake to the office on Friday"), font);
    TWPRtfStorage storage;
    note.StoreTo(storage);
    return storage.RtfText();
}

// 30 opaque framed labels in a 5 x 6 grid over a Letter landscape page.
void FillLabels(PageDocument &document)
{
    for (int i = 0; i < 30; ++i) {
        auto label = std::make_unique<TGPRichBaseLabel>();
        label->SetRTFText(ThreeParagraphs(i));
        label->SetTransparent(i % 2 == 0);
        const QRect bounds(10 + (i % 5) * 205, 10 + (i / 5) * 130, 190, 120);
        document.PlaceObject(std::move(label), bounds)->SetBounds(bounds);
    }
}

void Repaint(benchmark::State &state, bool redraw)
{
    PageDocument document;
    FillLabels(document);
    document.SetZoom(state.range(0) / 100.0f);
    QImage surface(document.SurfaceSize(), QImage::Format_ARGB32_Premultiplied);
    const auto paint = [&] {
        QPainter painter(&surface);
        document.PaintObjects(painter);
    };
    paint(); // warm: texts read and laid out once
    for (auto _ : state) {
        if (redraw) {
            for (TGGraphicControl *object : document.Objects())
                object->Repaint();
        }
        paint();
        benchmark::DoNotOptimize(surface.constBits());
    }
}

} // namespace

// Every label draws its text again through the master renderer.
static void RepaintThirtyLabels(benchmark::State &state)
{
    Repaint(state, true);
}
BENCHMARK(RepaintThirtyLabels)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

// The labels' kept pictures are reused (a move of the selection, a scroll).
static void RepaintThirtyLabelsKept(benchmark::State &state)
{
    Repaint(state, false);
}
BENCHMARK(RepaintThirtyLabelsKept)->Arg(100)->Unit(benchmark::kMillisecond);

// Double-click to the editor shown with its text laid out.
static void OpenEditor(benchmark::State &state)
{
    PageDocument document;
    FillLabels(document);
    auto *label = static_cast<TGPRichBaseLabel *>(document.Object(0));
    for (auto _ : state) {
        TRichTextLabelEditor editor;
        editor.LoadFrom(*label);
        editor.show();
        QCoreApplication::processEvents();
        editor.Editor()->repaint();
        benchmark::DoNotOptimize(editor.Editor()->document()->pageCount());
        editor.reject();
    }
}
BENCHMARK(OpenEditor)->Unit(benchmark::kMillisecond);

DAYLOOM_BENCHMARK_MAIN_WITH(QApplication)
