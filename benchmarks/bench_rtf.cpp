// RTF reading and writing of a 10 KB note, and painting the 42 notes of a
// month page into cell-sized rectangles (targets: under 1 ms median for the
// read and write, under 20 ms for all 42 notes with the layout cache warm).
#include "core/richtext/notedocument.h"
#include "core/richtext/noterenderer.h"
#include "core/richtext/rtfreader.h"
#include "core/richtext/rtfwriter.h"
#include "core/richtext/twprtfstorage.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <vector>

#include "guibenchmarkmain.h"

using namespace Dayloom;

namespace {

// A note of mixed formatting that grows until its RTF reaches the size.
QByteArray MakeNoteRtf(int minimumBytes)
{
    NoteDocument editor;
    FontSpec plain(QStringLiteral("Arial"), 10);
    FontSpec bold(QStringLiteral("Times New Roman"), 12, true, clRed);
    FontSpec italic(QStringLiteral("Arial"), 9, false, clBlue);
    italic.SetItalic(true);
    TWPRtfStorage note;
    for (int i = 0; note.RtfText().size() < minimumBytes; ++i) {
        editor.InsertText(QStringLiteral("Meeting %1 at 10:00 ").arg(i), bold);
        editor.InsertText(QStringLiteral("with the team about the spring fair, café and "), plain);
        editor.InsertText(QStringLiteral("bring the notes"), italic);
        editor.NewParagraph();
        if (i % 8 == 7)
            editor.StoreTo(note);
    }
    return note.RtfText();
}

TWPRtfStorage MakeCellNote(int day)
{
    NoteDocument editor;
    editor.InsertText(QStringLiteral("Day %1").arg(day),
                      FontSpec(QStringLiteral("Arial"), 10, true));
    editor.NewParagraph();
    editor.InsertText(QStringLiteral("Dentist 9:30"), FontSpec(QStringLiteral("Arial"), 9));
    editor.NewParagraph();
    editor.InsertText(QStringLiteral("Call Anna"),
                      FontSpec(QStringLiteral("Arial"), 9, false, clBlue));
    TWPRtfStorage note;
    editor.StoreTo(note);
    return note;
}

void BM_RtfReadWrite10KB(benchmark::State &state)
{
    const QByteArray rtf = MakeNoteRtf(10 * 1024);
    QTextDocument doc;
    RtfReader reader;
    for (auto _ : state) {
        reader.Read(rtf, doc);
        benchmark::DoNotOptimize(RtfWriter::ToRtf(doc));
    }
    state.counters["rtf_bytes"] = double(rtf.size());
}
BENCHMARK(BM_RtfReadWrite10KB)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_RtfRead10KB(benchmark::State &state)
{
    const QByteArray rtf = MakeNoteRtf(10 * 1024);
    QTextDocument doc;
    RtfReader reader;
    for (auto _ : state)
        reader.Read(rtf, doc);
}
BENCHMARK(BM_RtfRead10KB)->Unit(benchmark::kMicrosecond);

void BM_RtfWrite10KB(benchmark::State &state)
{
    QTextDocument doc;
    RtfReader().Read(MakeNoteRtf(10 * 1024), doc);
    for (auto _ : state)
        benchmark::DoNotOptimize(RtfWriter::ToRtf(doc));
}
BENCHMARK(BM_RtfWrite10KB)->Unit(benchmark::kMicrosecond);

// Paints the 42 notes of a Letter landscape month grid (cells of about
// 150 x 95 page pixels) at zoom 1. With warm = true the layout cache holds
// every note, as it does from the second paint of a page on.
void PaintMonth(benchmark::State &state, bool warm)
{
    std::vector<TWPRtfStorage> notes;
    for (int day = 1; day <= 42; ++day)
        notes.push_back(MakeCellNote(day));
    QImage page(1056, 816, QImage::Format_ARGB32_Premultiplied);
    page.fill(Qt::white);
    NoteRenderer renderer;
    const QSizeF cell(150, 95);
    renderer.SetPageSize(cell);
    const auto paintAll = [&] {
        QPainter painter(&page);
        for (int i = 0; i < 42; ++i) {
            const QRectF rect(3 + (i % 7) * cell.width(), 150 + (i / 7) * cell.height(),
                              cell.width() - 4, cell.height() - 20);
            renderer.Paint(painter, rect, notes[size_t(i)]);
        }
    };
    if (warm)
        paintAll();
    for (auto _ : state) {
        if (!warm)
            renderer.ClearCache();
        paintAll();
    }
}

void BM_Paint42NotesCached(benchmark::State &state)
{
    PaintMonth(state, true);
}
BENCHMARK(BM_Paint42NotesCached)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_Paint42NotesUncached(benchmark::State &state)
{
    PaintMonth(state, false);
}
BENCHMARK(BM_Paint42NotesUncached)->Unit(benchmark::kMillisecond);

} // namespace

DAYLOOM_GUI_BENCHMARK_MAIN()
