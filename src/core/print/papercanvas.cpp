#include "core/print/papercanvas.h"

#include "core/calendar/calendardates.h"
#include "core/calendar/calendarpage.h"
#include "core/calendar/pagelayout.h"
#include "core/print/metafile.h"
#include "core/print/printengine.h"
#include "core/richtext/noterenderer.h"
#include "core/richtext/twprtfstorage.h"

#include <QPainter>

namespace Dayloom {

namespace {

// Right-aligned day numbers end this far left of their rectangle's edge.
constexpr double NumberInsetInch = 0.05;

enum class Across
{
    Centre,     // centred on the rectangle
    RightInset, // ending NumberInsetInch inside the right edge
    LeftInset   // starting NumberInsetInch inside the left edge
};

enum class Down
{
    Middle, // titles and weekday names
    Top,    // day numbers, dates under planner labels, planner titles
    Bottom  // planner labels
};

// The longest start of the text, cut between characters, that fits the
// rectangle's width.
QString FitText(const PrintEngine &engine, const QString &text, const TRect &rect)
{
    const double available = engine.XDevToInches(rect.Right - rect.Left + 1);
    return CalendarDates::FittingStart(
        text, [&](const QString &start) { return engine.TextWidth(start) <= available; });
}

void PrintFitted(PrintEngine &engine, const TRect &rect, const QString &text, Across across,
                 Down down)
{
    const QString fitted = FitText(engine, text, rect);
    if (fitted.isEmpty())
        return;
    const double top = engine.YDevToInches(rect.Top);
    switch (down) {
    case Down::Middle: {
        const double height = engine.YDevToInches(rect.Bottom) - top;
        engine.SetLineTop(top + (height - 1.4 * engine.LineHeight()) / 2);
        break;
    }
    case Down::Top:
        engine.SetLineTop(top);
        break;
    case Down::Bottom:
        engine.SetLineBottom(engine.YDevToInches(rect.Bottom));
        break;
    }
    switch (across) {
    case Across::Centre:
        engine.PrintCenter(fitted, engine.XDevToInches(rect.Left + (rect.Right - rect.Left) / 2));
        break;
    case Across::RightInset:
        engine.PrintRight(fitted, engine.XDevToInches(rect.Right) - NumberInsetInch);
        break;
    case Across::LeftInset:
        engine.PrintLeft(fitted, engine.XDevToInches(rect.Left) + NumberInsetInch);
        break;
    }
}

std::pair<Across, Down> PaperPlace(TextRole role)
{
    switch (role) {
    case TextRole::Title:
    case TextRole::WeekdayName:
        return {Across::Centre, Down::Middle};
    case TextRole::DayNumberCorner:
        return {Across::RightInset, Down::Top};
    case TextRole::PlannerLabel:
        return {Across::Centre, Down::Bottom};
    case TextRole::DayCounter:
        return {Across::LeftInset, Down::Top};
    case TextRole::WeekNumber:
    case TextRole::DayNumberCentred:
    case TextRole::PlannerTitle:
    case TextRole::PlannerDate:
        break;
    }
    return {Across::Centre, Down::Top};
}

} // namespace

PaperCanvas::PaperCanvas(PrintEngine &engine, double xInch, double yInch, const NoteRenderer *notes,
                         const QSize &referenceNoteSize)
    : m_engine(engine), m_xInch(xInch), m_yInch(yInch), m_notes(notes),
      m_referenceNoteSize(referenceNoteSize)
{
}

void PaperCanvas::Begin()
{
    m_engine.SetTextTransparent(true);
    m_engine.SetPen(clBlack);
    m_engine.SetBrush(clWhite);
}

QPainter &PaperCanvas::Painter()
{
    return m_engine.Painter();
}

TRect PaperCanvas::ToDevice(const TRect &pageRect, int grow) const
{
    constexpr double ppi = PageLayout::PPI;
    return m_engine.DeviceRect(pageRect.Left / ppi + m_xInch, pageRect.Top / ppi + m_yInch,
                               (pageRect.Right + grow) / ppi + m_xInch,
                               (pageRect.Bottom + grow) / ppi + m_yInch);
}

int PaperCanvas::MinimumTitleHeight() const
{
    return static_cast<int>(m_engine.XPixelsPerInch() * 1.5);
}

GridMetrics PaperCanvas::MeasureGrid(const FontSpec &headerFont, const FontSpec &cellFont)
{
    GridMetrics metrics;
    m_engine.SelectFont(headerFont);
    metrics.headerRowHeight =
        static_cast<int>(m_engine.LineHeight() * 1.5 * m_engine.YPixelsPerInch());
    m_engine.SelectFont(cellFont);
    metrics.numberLineHeight = static_cast<int>(
        (m_engine.LineHeight() + m_engine.ExtraLineSpacing()) * m_engine.YPixelsPerInch());
    return metrics;
}

int PaperCanvas::PlannerTitleHeight(const FontSpec &titleFont)
{
    m_engine.SelectFont(titleFont);
    return static_cast<int>(m_engine.LineHeight() * m_engine.YPixelsPerInch() * 1.6);
}

void PaperCanvas::Fill(const TRect &rect, TColor color)
{
    m_engine.SetBrush(color);
    m_engine.FillRect(rect);
}

void PaperCanvas::Border(const TRect &rect, TCalBorderStyle style)
{
    if (style == cbNone)
        return;
    m_engine.SetPen(clBlack);
    const double l = m_engine.XDevToInches(rect.Left);
    const double t = m_engine.YDevToInches(rect.Top);
    const double r = m_engine.XDevToInches(rect.Right);
    const double b = m_engine.YDevToInches(rect.Bottom);
    switch (style) {
    case cbNone:
        break;
    case cbAll:
        m_engine.MoveTo(l, t);
        m_engine.LineTo(r, t);
        m_engine.LineTo(r, b);
        m_engine.LineTo(l, b);
        m_engine.LineTo(l, t);
        break;
    case cbTop:
        m_engine.MoveTo(l, t);
        m_engine.LineTo(r, t);
        break;
    case cbBottom:
        m_engine.MoveTo(l, b);
        m_engine.LineTo(r, b);
        break;
    case cbTopBottom:
        m_engine.MoveTo(l, t);
        m_engine.LineTo(r, t);
        m_engine.MoveTo(l, b);
        m_engine.LineTo(r, b);
        break;
    }
}

void PaperCanvas::Outline(const TRect &rect)
{
    m_engine.SetBrush(clWhite, PrintEngine::BrushStyle::Clear);
    Border(rect, cbAll);
}

void PaperCanvas::Line(int x1, int y1, int x2, int y2)
{
    m_engine.SetPen(clBlack);
    m_engine.MoveTo(m_engine.XDevToInches(x1), m_engine.YDevToInches(y1));
    m_engine.LineTo(m_engine.XDevToInches(x2), m_engine.YDevToInches(y2));
}

void PaperCanvas::CellLines(const MonthGridGeometry &grid, TCalBorderStyle style)
{
    // Cell boxes, each drawn whole; together they give the screen's lines.
    if (style == cbNone)
        return;
    for (int r = 0; r < 6; ++r) {
        if (grid.HasWeekColumn())
            Border(grid.WeekBox(r), style);
        for (int c = 0; c < 7; ++c)
            Border(grid.CellBox(r, c), style);
    }
}

void PaperCanvas::SelectFont(const FontSpec &font)
{
    m_engine.SelectFont(font);
}

void PaperCanvas::Text(const TRect &rect, const QString &text, TextRole role)
{
    const auto [across, down] = PaperPlace(role);
    PrintFitted(m_engine, rect, text, across, down);
}

void PaperCanvas::MoonSymbol(const TRect &box, MoonPhase phase)
{
    DrawMoonSymbol(m_engine.Painter(), box, phase);
}

QSize PaperCanvas::DrawNotes(const std::array<CellRecord, 42> &cells,
                             const std::array<TWPRtfStorage, 42> &notes, bool,
                             const std::array<TColor, 42> &)
{
    QSize size = m_referenceNoteSize;
    if (size.isEmpty()) {
        const TRect &first = cells[0].rFree;
        constexpr double ppi = PageLayout::PPI;
        size = QSize(static_cast<int>(first.Width() * ppi / m_engine.XPixelsPerInch()) + 5,
                     static_cast<int>(first.Height() * ppi / m_engine.YPixelsPerInch()) + 5);
    }
    if (!m_notes || size.isEmpty())
        return size;
    NoteRenderer::View view;
    view.mode = NoteRenderer::Mode::Print;
    view.background = Qt::transparent;
    view.pageSize = QSizeF(size);
    const int widthHmm = Metafile::ToHundredthsMm(size.width());
    const int heightHmm = Metafile::ToHundredthsMm(size.height());
    for (size_t i = 0; i < notes.size(); ++i) {
        const TRect &free = cells[i].rFree;
        if (free.IsEmpty() || notes[i].IsEmpty())
            continue;
        Metafile metafile(widthHmm, heightHmm);
        {
            QPainter canvas(metafile.Canvas());
            m_notes->Paint(canvas, QRectF(QPointF(0, 0), QSizeF(size)), notes[i], view);
        }
        m_engine.StretchDraw(metafile.Picture(), free);
    }
    return size;
}

PageDrawing PrintCalendarPage(const CalendarPage &page, PrintEngine &engine, double xInch,
                              double yInch, const QSize &referenceNoteSize)
{
    PaperCanvas canvas(engine, xInch, yInch, &page.Notes(), referenceNoteSize);
    return page.Draw(canvas);
}

} // namespace Dayloom
