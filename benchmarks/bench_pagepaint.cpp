// Painting the page: every layout at 100 % and 60 % into an image of the
// page's size. A paint must stay well inside a frame so the window never
// stutters.
#include "core/calendar/calendarpage.h"
#include "core/graphics/picture.h"
#include "core/io/appfolders.h"
#include "core/objects/image/tgimage.h"
#include "core/surface/pagedocument.h"

#include <QDir>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "everyextra.h"
#include "guibenchmarkmain.h"
#include "samplenotes.h"

using namespace Dayloom;

static void PaintLayout(benchmark::State &state)
{
    const auto layout = TCalendarLayout(state.range(0));
    const float zoom = state.range(1) / 100.0f;
    CalendarPage page;
    page.SetDefaultStyle();
    page.SetCalendarLayout(layout);
    page.CalculateLayout(true);
    if (state.range(2) != 0)
        UseEveryExtra(page);
    QImage image(int(page.PageWidth() * zoom), int(page.PageHeight() * zoom), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        page.Draw(painter, zoom);
    }
    state.SetLabel(CalendarPage::LayoutDisplayName(layout).toStdString() +
                   (state.range(2) != 0 ? ", every extra" : ""));
}
// The third argument 1: with every option of the calendar frame on.
BENCHMARK(PaintLayout)
    ->ArgsProduct({benchmark::CreateDenseRange(0, CalendarLayoutCount - 1, 1), {100, 60}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// A month page whose 42 cells all hold notes of three short paragraphs
// (argument 1: with every option of the calendar frame on).
static void PaintMonthWith42Notes(benchmark::State &state)
{
    CalendarPage page;
    page.SetDefaultStyle();
    page.SetCalendarLayout(loFullCalendar);
    FillSampleNotes(page);
    if (state.range(0) != 0)
        UseEveryExtra(page);
    QImage image(page.PageWidth(), page.PageHeight(), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        page.Draw(painter, 1.0f);
    }
}
BENCHMARK(PaintMonthWith42Notes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A month page with a border and ten clip-art objects (the shipped
// pictures, metafiles played as vectors), as the window repaints it.
static void PaintMonthWithBorderAndClipArt(benchmark::State &state)
{
    const QDir assets(QStringLiteral(DAYLOOM_ASSETS));
    SetProgramFolder(assets.path());
    PageDocument document;
    CalendarPage &page = document.Page();
    page.SetDefaultStyle();
    page.SetCalendarLayout(loFullCalendar);
    page.SetWMFBorderFile(QStringLiteral("Holly"));
    const QStringList pictures = QDir(assets.filePath(QStringLiteral("Clipart/Holidays")))
                                     .entryList({QStringLiteral("*.svg")}, QDir::Files);
    PersistentObjectList objects;
    for (int i = 0; i < 10 && i < pictures.size(); ++i) {
        const auto picture = Picture::FromFile(
            assets.filePath(QStringLiteral("Clipart/Holidays/") + pictures[i]), nullptr);
        auto image = std::make_unique<TGImage>();
        if (picture)
            image->SetPicture(*picture);
        image->SetBounds(QRect(120 + (i % 5) * 170, 250 + (i / 5) * 200, 105, 105));
        objects.push_back(std::move(image));
    }
    document.AdoptObjects(std::move(objects));
    if (page.WMFBorderFile().isEmpty() || document.ObjectCount() != 10)
        state.SkipWithError("the shipped border or clip art is missing");
    QImage image(page.PageWidth(), page.PageHeight(), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        document.Draw(painter);
    }
    SetProgramFolder(QString());
}
BENCHMARK(PaintMonthWithBorderAndClipArt)->Unit(benchmark::kMillisecond);

DAYLOOM_GUI_BENCHMARK_MAIN()
