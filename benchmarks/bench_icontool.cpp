// Drawing the icon tool's grid: one row of three icons, with the icons
// already read (cached) and read out of the library file while drawing.

#include "core/graphics/iconlibrarywriter.h"
#include "guibenchmarkmain.h"
#include "ui/icons/ticonlistbox.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Dayloom;

namespace {

// An icon library of `count` 32 x 32 icons.
void WriteLibrary(const QString &path, int count)
{
    IconLibraryWriter writer;
    for (int i = 0; i < count; ++i) {
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor::fromHsv((i * 37) % 360, 200, 220));
        painter.drawEllipse(2, 2, 28, 28);
        painter.end();
        writer.AddIcon({image});
    }
    writer.Save(path);
}

struct Grid
{
    QTemporaryDir folder;
    QString library;
    QString other;
    TIconListBox list;

    Grid()
    {
        library = folder.filePath(QStringLiteral("bench.icl"));
        other = folder.filePath(QStringLiteral("other.icl"));
        WriteLibrary(library, 120);
        WriteLibrary(other, 120);
        // As in the icon tool: three columns, three rows.
        list.SetXIcons(3);
        list.SetYIcons(3);
        list.resize(132, 132);
        list.SetFileName(library);
        list.show();
    }

    void DrawRow(QImage &target)
    {
        const QRect row(0, 0, list.viewport()->width(), list.RowHeight());
        list.viewport()->render(&target, QPoint(), QRegion(row));
    }
};

void BM_GridRowCached(benchmark::State &state)
{
    Grid grid;
    QImage target(grid.list.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    grid.DrawRow(target);
    for (auto _ : state) {
        grid.DrawRow(target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_GridRowCached)->Unit(benchmark::kMicrosecond);

void BM_GridRowUncached(benchmark::State &state)
{
    Grid grid;
    QImage target(grid.list.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        state.PauseTiming();
        // A fresh load: nothing has been read yet.
        grid.list.SetFileName(grid.other);
        grid.list.SetFileName(grid.library);
        state.ResumeTiming();
        grid.DrawRow(target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["icons read"] = double(grid.list.ExtractedCount());
}
BENCHMARK(BM_GridRowUncached)->Unit(benchmark::kMicrosecond);

} // namespace

DAYLOOM_BENCHMARK_MAIN_WITH(QApplication)
