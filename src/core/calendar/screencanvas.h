#pragma once

#include "core/calendar/pagecanvas.h"

#include <QFont>
#include <QFontMetrics>

#include <functional>
#include <memory>

namespace Dayloom {

class NoteRenderer;

// The calendar page on screens and images: a painter in device pixels,
// the page scaled by the zoom, fonts at their point sizes times the zoom
// converted at fontPpi. Texts that do not fit are clipped to their
// rectangle; laid-out texts are kept between paints.
class ScreenCanvas final : public PageCanvas
{
public:
    // Draws one note into its cell's note rectangle (device pixels) over
    // the cell's colour.
    using NoteDrawer = std::function<void(QPainter &, const TWPRtfStorage &note, const TRect &rFree,
                                          float zoom, TColor background)>;

    // Zoom: device pixels per page pixel. Without a note drawer notes are
    // not drawn. The painter must outlive the canvas.
    ScreenCanvas(QPainter &painter, float zoom, int fontPpi, NoteDrawer noteDrawer);

    QPainter &Painter() override { return m_painter; }
    TRect DeviceRect(const TRect &pageRect) const override;
    TRect MiniCalendarRect(const TRect &pageRect) const override { return DeviceRect(pageRect); }
    int MinimumTitleHeight() const override;
    GridMetrics MeasureGrid(const FontSpec &headerFont, const FontSpec &cellFont) override;
    int PlannerTitleHeight(const FontSpec &titleFont) override;
    bool FillsWhiteTitleBand() const override { return true; }
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

    // A ready-to-use font (see the .cpp); shared by the canvases of a thread.
    struct Ink;

    // One line of text in the painter's font and pen, aligned in a rectangle
    // and clipped to it, without prefix handling. On screens and images the
    // laid-out text is kept for the next paint.
    static void DrawTextInRect(QPainter &painter, const TRect &rect, const QString &text,
                               Qt::Alignment align);
    // A horizontal or vertical line up to but excluding its end point, in
    // the painter's pen, as the desktop's line drawing leaves it out.
    static void DrawLineTo(QPainter &painter, int x1, int y1, int x2, int y2);
    // Border lines in the painter's pen: cbAll the four sides, cbTop /
    // cbBottom one side, cbTopBottom both, cbNone nothing. Right and bottom
    // are inclusive.
    static void DrawBorderLines(QPainter &painter, const TRect &rect, TCalBorderStyle style);

private:
    FontSpec Zoomed(const FontSpec &font) const;
    // Lines are black; the next text sets its ink again.
    void UseBlackPen();

    QPainter &m_painter;
    float m_zoom;
    int m_fontPpi;
    NoteDrawer m_noteDrawer;
    std::shared_ptr<const Ink> m_ink;
    bool m_inkApplied = false; // the painter holds m_ink's font and colour
};

} // namespace Dayloom
