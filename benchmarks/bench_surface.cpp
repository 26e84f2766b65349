// The design surface with 200 floating calendars on a month page: a full
// repaint (page, objects, selection squares) must fit in a 60 Hz frame and
// one drag step of a 20-object selection must stay far below it.
#include "core/objects/flatcalendar/tgflatcalendar.h"
#include "core/surface/handlegeometry.h"
#include "core/surface/pagedocument.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "guibenchmarkmain.h"

using namespace Dayloom;

namespace {

constexpr int ObjectCount = 200;
constexpr int SelectedCount = 20;

void Populate(PageDocument &document)
{
    document.Page().SetDefaultStyle();
    document.Page().SetCalendarLayout(loFullCalendar);
    document.Page().CalculateLayout(true);
    document.UndoStack().setUndoLimit(50);
    for (int i = 0; i < ObjectCount; ++i) {
        const QRect bounds((i % 10) * 70, (i / 10) * 50, 120, 100);
        document.PlaceObject(std::make_unique<TGFlatCalendar>(), bounds);
    }
}

QList<TGGraphicControl *> FirstObjects(const PageDocument &document, int count)
{
    return document.Objects().mid(0, count);
}

} // namespace

static void FullRepaint(benchmark::State &state)
{
    PageDocument document;
    Populate(document);
    document.SetZoom(state.range(0) / 100.0f);
    const QList<TGGraphicControl *> selection = FirstObjects(document, SelectedCount);
    const QSize size = document.SurfaceSize();
    QImage image(size, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        document.Draw(painter);
        for (const TGGraphicControl *object : selection)
            object->DrawHandles(painter, Qt::gray, false);
    }
}
BENCHMARK(FullRepaint)->Arg(100)->Arg(60)->Unit(benchmark::kMillisecond);

// One mouse move while dragging: the new handle rectangle and its outline.
static void DragOutlineStep(benchmark::State &state)
{
    PageDocument document;
    Populate(document);
    QList<QRect> rects;
    for (const TGGraphicControl *object : FirstObjects(document, SelectedCount))
        rects.append(object->ScaledBounds());
    const QRect handle = HandleGeometry::FitAround(rects);
    int step = 0;
    for (auto _ : state) {
        const QPoint delta(step % 37, step % 23);
        benchmark::DoNotOptimize(
            HandleGeometry::OutlineRect(HandleGeometry::DragRect(0, handle, delta, 1, 1)));
        ++step;
    }
}
BENCHMARK(DragOutlineStep);

// The release of a drag: every selected object moves as one undoable step.
static void DragMoveSelection(benchmark::State &state)
{
    PageDocument document;
    Populate(document);
    const QList<TGGraphicControl *> selection = FirstObjects(document, SelectedCount);
    QRect handle(0, 0, 400, 300);
    int direction = 1;
    for (auto _ : state) {
        const QRect moved = handle.translated(5 * direction, 3 * direction);
        document.MoveResizeObjects(selection, handle, moved, QStringLiteral("Move"));
        handle = moved;
        direction = -direction;
    }
}
BENCHMARK(DragMoveSelection)->Unit(benchmark::kMicrosecond);

// The whole release step as the screen sees it: the move, then a repaint of
// the page with all objects.
static void DragStepWithRepaint(benchmark::State &state)
{
    PageDocument document;
    Populate(document);
    const QList<TGGraphicControl *> selection = FirstObjects(document, SelectedCount);
    QImage image(document.SurfaceSize(), QImage::Format_RGB32);
    QRect handle(0, 0, 400, 300);
    int direction = 1;
    for (auto _ : state) {
        const QRect moved = handle.translated(5 * direction, 3 * direction);
        document.MoveResizeObjects(selection, handle, moved, QStringLiteral("Move"));
        handle = moved;
        direction = -direction;
        QPainter painter(&image);
        document.Draw(painter);
    }
}
BENCHMARK(DragStepWithRepaint)->Unit(benchmark::kMillisecond);

// A repaint after every object's picture was dropped (first paint, zoom).
static void ColdRepaint(benchmark::State &state)
{
    PageDocument document;
    Populate(document);
    QImage image(document.SurfaceSize(), QImage::Format_RGB32);
    for (auto _ : state) {
        for (TGGraphicControl *object : document.Objects())
            object->Repaint();
        QPainter painter(&image);
        document.Draw(painter);
    }
}
BENCHMARK(ColdRepaint)->Unit(benchmark::kMillisecond);

DAYLOOM_GUI_BENCHMARK_MAIN()
