#pragma once

#include "core/calendar/calendarpainter.h"
#include "core/calendar/calendarsettings.h"
#include "core/calendar/pagelayout.h"
#include "core/graphics/picture.h"
#include "core/richtext/twprtfstorage.h"

#include <QDate>
#include <QRect>
#include <QSet>
#include <QSize>

#include <utility>

#include <array>

class QPainter;

namespace Dayloom {

class PageCanvas;

// What one drawing of the page drew, in device pixels of that drawing: the
// 42 cell records (rTotal reacts to clicks, rFree holds the note), the
// title and weekday-header rectangles, and the size notes are laid out at
// when printed (see PageCanvas::DrawNotes). The screen's widget keeps the
// one of its last paint and tests clicks against it.
struct PageDrawing
{
    std::array<CellRecord, 42> cells{};
    TRect titleRect;
    TRect headerRect;
    QSize referenceNoteSize;

    // Cell 1-42's record (a blank record outside).
    CellRecord CellRecordOf(int cell) const;
    // The first cell whose rTotal contains the point, else 0.
    int CellAt(const QPoint &point) const;
    int DayOfCell(int cell) const { return CellRecordOf(cell).day; }
    // The first cell showing the day (0 finds the first empty cell), else -1.
    int CellOfDay(int day) const;
    // Whether cell 1-42 has a note area.
    bool HasNoteArea(int cell) const { return !CellRecordOf(cell).rFree.IsZero(); }
};

// Where a screen drawing goes: the zoom is device pixels per page pixel
// (page pixels are 1/96 inch), fontPpi converts the zoomed point sizes to
// device pixels (96 on screens and images).
struct RenderTarget
{
    float zoom = 1.0f;
    int fontPpi = PageLayout::PPI;
};

// Stretches the page's border picture into target (device pixels), smoothly,
// leaving the painter as it was. A picture that fails while drawing is left
// out: the page is drawn without it.
void DrawBorderPicture(QPainter &painter, const Picture &picture, const QRectF &target);

// The first and the last date a page shows: its month grid's month, its
// mini calendars' months, or its planner's days.
std::pair<QDate, QDate> PageDateRange(const CalendarSettings &settings, const PageLayout &layout);

// Draws one calendar page — border picture, month grid or planner with its
// notes, mini calendars — on any canvas: the screen, images, printers, PDF
// and SVG. Drawing is a const function of the inputs it is given: it
// changes none of them, and returns what it drew. The inputs are
// referenced, not copied: they must outlive the renderer. redDays holds the
// public holidays among the page's dates (PageDateRange), drawn as red days
// when the settings' extras ask for them.
class PageRenderer
{
public:
    PageRenderer(const CalendarSettings &settings, const PageLayout &layout,
                 const std::array<TWPRtfStorage, 42> &notes, const Picture &borderPicture,
                 const QSet<QDate> &redDays);

    PageDrawing Draw(PageCanvas &canvas) const;

private:
    DrawingBlock MainBlock(PageCanvas &canvas, const QMap<QDate, MoonPhase> &moonDays) const;
    void DrawMiniCalendars(PageCanvas &canvas) const;

    const CalendarSettings &m_settings;
    const PageLayout &m_layout;
    const std::array<TWPRtfStorage, 42> &m_notes;
    const Picture &m_borderPicture;
    const QSet<QDate> &m_redDays;
};

} // namespace Dayloom
