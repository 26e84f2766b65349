// Drawing the icon tool's grid: one row of three icons, with the icons
// already read (cached) and read out of the library file while drawing.

#include "ui/icons/ticonlistbox.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Dayloom;

namespace {

// An icon file of `count` 32 x 32 PNG icons.
QByteArray IconFile(int count)
{
    QList<QByteArray> images;
    for (int i = 0; i < count; ++i) {
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor::fromHsv((i * 37) % 360, 200, 220));
        painter.drawEllipse(2, 2, 28, 28);
        painter.end();
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        images << png;
    }
    QByteArray file;
    auto put16 = [&file](quint16 v) { file.append(char(v & 0xff)).append(char(v >> 8)); };
    auto put32 = [&](quint32 v) {
        put16(quint16(v & 0xffff));
        put16(quint16(v >> 16));
    };
    put16(0);
    put16(1);
    put16(quint16(count));
    quint32 offset = 6 + 16 * quint32(count);
    for (const QByteArray &png : std::as_const(images)) {
        file.append(char(32)).append(char(32)).append(char(0)).append(char(0));
        put16(1);
        put16(32);
        put32(quint32(png.size()));
        put32(offset);
        offset += quint32(png.size());
    }
    for (const QByteArray &png : std::as_const(images))
        file.append(png);
    return file;
}

struct Grid
{
    QTemporaryDir folder;
    QString library;
    QString other;
    TIconListBox list;

    Grid()
    {
        library = folder.filePath(QStringLiteral("bench.ico"));
        other = folder.filePath(QStringLiteral("other.ico"));
        for (const QString &path : {library, other}) {
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write(IconFile(120));
        }
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

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
