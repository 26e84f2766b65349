#pragma once

#include "core/calendar/pagecanvas.h"
#include "core/calendar/pagerenderer.h"

namespace Dayloom {

class CalendarPage;
class NoteRenderer;
class PrintEngine;

// The calendar page on paper: drawing through a print engine at the
// device's resolution, the page's origin moved by offsets in inches. Fonts
// print at their own point sizes; lines are drawn in inches.
//
// Where paper differs from the screen: texts that do not fit lose
// characters from their end instead of being clipped; the weekday row is
// 1.5 lines of its font high and the planner title 1.6; a white title band
// is left unfilled; day numbers sit at the top of their cell; notes are
// laid out at the reference note size and stretched as vector pictures
// into their cell's note rectangle; mini calendars are one pixel larger.
class PaperCanvas final : public PageCanvas
{
public:
    // Notes are laid out by the renderer at the reference size (page
    // pixels); an empty size takes the printed first note rectangle's size
    // grown by 5. Without a renderer notes are not printed. The engine and
    // the renderer must outlive the canvas; the renderer's own view is not
    // changed.
    PaperCanvas(PrintEngine &engine, double xInch, double yInch, const NoteRenderer *notes,
                const QSize &referenceNoteSize);

    QPainter &Painter() override;
    void Begin() override;
    TRect DeviceRect(const TRect &pageRect) const override { return ToDevice(pageRect, 0); }
    TRect MiniCalendarRect(const TRect &pageRect) const override { return ToDevice(pageRect, 1); }
    int MinimumTitleHeight() const override;
    GridMetrics MeasureGrid(const FontSpec &headerFont, const FontSpec &cellFont) override;
    int PlannerTitleHeight(const FontSpec &titleFont) override;
    bool FillsWhiteTitleBand() const override { return false; }
    void Fill(const TRect &rect, TColor color) override;
    void Border(const TRect &rect, TCalBorderStyle style) override;
    void Outline(const TRect &rect) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void CellLines(const MonthGridGeometry &grid, TCalBorderStyle style) override;
    void SelectFont(const FontSpec &font) override;
    void Text(const TRect &rect, const QString &text, TextRole role) override;
    void MoonSymbol(const TRect &box, MoonPhase phase) override;
    QSize DrawNotes(const std::array<CellRecord, 42> &cells,
                    const std::array<TWPRtfStorage, 42> &notes, bool weekPlanner,
                    const std::array<TColor, 42> &backgrounds) override;

private:
    TRect ToDevice(const TRect &pageRect, int grow) const;

    PrintEngine &m_engine;
    double m_xInch;
    double m_yInch;
    const NoteRenderer *m_notes;
    QSize m_referenceNoteSize;
};

// The calendar page on one page of a print engine, its printable area's
// origin moved by the offsets (inches), at the device's resolution. Notes
// are laid out at referenceNoteSize (page pixels; empty: see PaperCanvas).
// Returns what was printed, in device pixels.
PageDrawing PrintCalendarPage(const CalendarPage &page, PrintEngine &engine, double xInch,
                              double yInch, const QSize &referenceNoteSize = QSize());

} // namespace Dayloom
