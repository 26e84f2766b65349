#pragma once

#include "core/calendar/calendarpainter.h"
#include "core/calendar/calendarsettings.h"
#include "core/calendar/pagelayout.h"
#include "core/graphics/picture.h"
#include "core/richtext/twprtfstorage.h"

#include <QByteArray>
#include <QRect>
#include <QSize>

#include <array>
#include <functional>

class QPainter;

namespace Dayloom {

// What one drawing of the page drew, in device pixels of that drawing: the
// 42 cell records (rTotal reacts to clicks, rFree holds the note), the
// title and weekday-header rectangles, and the size notes are laid out at
// when printed (the first note rectangle grown by 5 right and down).
struct PageDrawing
{
    std::array<CellRecord, 42> cells{};
    TRect titleRect;
    TRect headerRect;
    QSize referenceNoteSize;

    // Takes the cell records and the title rectangle a drawn grid or planner
    // left in its block.
    void TakeRecords(const DrawingBlock &block)
    {
        cells = block.cells;
        titleRect = block.titleRect;
    }
};

// Where a drawing goes: the zoom is device pixels per page pixel (page
// pixels are 1/96 inch), fontPpi converts the zoomed point sizes to device
// pixels (96 on screens and images).
struct RenderTarget
{
    float zoom = 1.0f;
    int fontPpi = PageLayout::PPI;
};

// Stretches the page's border picture into target (device pixels), smoothly,
// leaving the painter as it was. A picture that fails while drawing is left
// out: the page is drawn without it.
void DrawBorderPicture(QPainter &painter, const Picture &picture, const QRectF &target);

// Draws one calendar page — border picture, month grid or planner with its
// notes, mini calendars — onto any painter. Drawing is a const function of
// the inputs it is given: it changes none of them, and returns what it drew.
// The inputs are referenced, not copied: they must outlive the renderer.
class PageRenderer
{
public:
    // Draws one note into its cell's note rectangle (device pixels).
    using NoteDrawer =
        std::function<void(QPainter &, const TWPRtfStorage &note, const TRect &rFree, float zoom)>;
    PageRenderer(const CalendarSettings &settings, const PageLayout &layout,
                 const std::array<TWPRtfStorage, 42> &notes, const Picture &borderPicture);

    // Without a note drawer notes are not drawn.
    void SetNoteDrawer(NoteDrawer drawer) { m_noteDrawer = std::move(drawer); }

    PageDrawing Draw(QPainter &painter, const RenderTarget &target) const;

private:
    DrawingBlock MainBlock(const RenderTarget &target) const;
    void DrawNotes(QPainter &painter, const PageDrawing &drawing, float zoom,
                   bool skipEmptyNotes) const;
    void DrawPlannerPage(QPainter &painter, const RenderTarget &target, PageDrawing &out) const;
    void DrawMiniCalendars(QPainter &painter, const RenderTarget &target) const;

    const CalendarSettings &m_settings;
    const PageLayout &m_layout;
    const std::array<TWPRtfStorage, 42> &m_notes;
    const Picture &m_borderPicture;
    NoteDrawer m_noteDrawer;
};

} // namespace Dayloom
