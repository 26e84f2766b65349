#include "core/print/pageprinter.h"

#include "core/calendar/calendardates.h"
#include "core/calendar/plannertexts.h"
#include "core/print/metafile.h"
#include "core/print/printengine.h"
#include "core/richtext/noterenderer.h"

#include <QPainter>

namespace Dayloom {

namespace {

// Right-aligned day numbers end this far left of their rectangle's edge.
constexpr double NumberInsetInch = 0.05;

enum class Across
{
    Centre,    // centred on the rectangle
    RightInset // ending NumberInsetInch inside the right edge
};

enum class Down
{
    Middle, // titles and weekday names
    Top,    // day numbers, dates under planner labels
    Bottom  // planner labels
};

bool IsWhite(TColor color)
{
    return ColorToRGB(color) == clWhite;
}

// True when the text may be cut before position `at`: not between the two
// halves of a surrogate pair.
bool IsCharacterBoundary(const QString &text, qsizetype at)
{
    return at <= 0 || at >= text.size() || !text.at(at).isLowSurrogate() ||
           !text.at(at - 1).isHighSurrogate();
}

// The longest start of the text, cut between characters, that fits the
// rectangle's width. The width grows with the length, so the cut is found by
// halving: a name from a file may be thousands of characters long, and
// measuring it once per dropped character took minutes.
QString FitText(const PrintEngine &engine, const QString &text, const TRect &rect)
{
    const double available = engine.XDevToInches(rect.Right - rect.Left + 1);
    if (engine.TextWidth(text) <= available)
        return text;
    qsizetype fits = 0;              // a start this long fits (the empty one does)
    qsizetype tooLong = text.size(); // a start this long does not
    while (tooLong - fits > 1) {
        qsizetype middle = fits + (tooLong - fits) / 2;
        if (!IsCharacterBoundary(text, middle)) {
            if (middle - 1 > fits)
                --middle;
            else if (middle + 1 < tooLong)
                ++middle;
            else
                break;
        }
        if (engine.TextWidth(text.left(middle)) <= available)
            fits = middle;
        else
            tooLong = middle;
    }
    return text.left(fits);
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
    if (across == Across::Centre)
        engine.PrintCenter(fitted, engine.XDevToInches(rect.Left + (rect.Right - rect.Left) / 2));
    else
        engine.PrintRight(fitted, engine.XDevToInches(rect.Right) - NumberInsetInch);
}

void Fill(PrintEngine &engine, const TRect &rect, TColor color)
{
    engine.SetBrush(color);
    engine.FillRect(rect);
}

} // namespace

PagePrinter::PagePrinter(const CalendarSettings &settings, const PageLayout &layout,
                         const std::array<TWPRtfStorage, 42> &notes, const Picture &borderPicture)
    : m_settings(settings), m_layout(layout), m_notes(notes), m_borderPicture(borderPicture)
{
}

TRect PagePrinter::ToDevice(const PrintEngine &engine, const TRect &pageRect, int grow,
                            double xInch, double yInch) const
{
    constexpr double ppi = PageLayout::PPI;
    return engine.DeviceRect(pageRect.Left / ppi + xInch, pageRect.Top / ppi + yInch,
                             (pageRect.Right + grow) / ppi + xInch,
                             (pageRect.Bottom + grow) / ppi + yInch);
}

PageDrawing PagePrinter::Print(PrintEngine &engine, double xInch, double yInch) const
{
    PageDrawing out;
    QPainter &painter = engine.Painter();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    engine.SetTextTransparent(true);

    const TRect mainRect = ToDevice(engine, m_layout.mainRect, 0, xInch, yInch);
    const TRect printable = ToDevice(engine, m_layout.printableRect, 0, xInch, yInch);
    if (!m_settings.wmfBorderFile.isEmpty())
        DrawBorderPicture(painter, m_borderPicture, printable.toQRectF());

    engine.SetPen(clBlack);
    engine.SetBrush(clWhite);

    if (m_layout.isPlanner) {
        DrawingBlock block = MainBlock(engine, mainRect);
        block.plannerDays = PlannerTexts::DayCount(m_settings);
        block.plannerHours = PlannerTexts::HourCount(m_settings);
        PrintPlanner(engine, block, PlannerTexts::RowLabels(m_settings),
                     PlannerTexts::DateTexts(m_settings), PlannerTexts::Title(m_settings));
        out.TakeRecords(block);
        PrintNotes(engine, out);
    } else if (m_layout.hasMainCalendar) {
        DrawingBlock block = MainBlock(engine, mainRect);
        PrintMonthGrid(engine, block, m_settings.userTitle);
        out.TakeRecords(block);
        out.headerRect = block.headerRect;
        PrintNotes(engine, out);
    }

    if (m_layout.hasMiniCalendars)
        PrintMiniCalendars(engine, xInch, yInch);
    painter.restore();
    return out;
}

DrawingBlock PagePrinter::MainBlock(const PrintEngine &engine, const TRect &deviceRect) const
{
    DrawingBlock b = CalendarPainter::MainCalendarBlock(m_settings);
    b.minimumTitleHeight = static_cast<int>(engine.XPixelsPerInch() * 1.5);
    b.rect = deviceRect;
    return b;
}

void PagePrinter::PrintMiniCalendars(PrintEngine &engine, double xInch, double yInch) const
{
    DrawingBlock b = CalendarPainter::MiniCalendarBlock(m_settings);
    for (int i = 0; i < m_layout.miniCount && i < PageLayout::MaxMinis; ++i) {
        b.month = m_layout.miniMonths[i].month;
        b.year = m_layout.miniMonths[i].year;
        b.rect = ToDevice(engine, m_layout.miniRects[i], 1, xInch, yInch);
        PrintMonthGrid(engine, b, QString());
    }
}

void PagePrinter::PrintNotes(PrintEngine &engine, PageDrawing &drawing) const
{
    QSize size = m_referenceNoteSize;
    if (size.isEmpty()) {
        const TRect &first = drawing.cells[0].rFree;
        constexpr double ppi = PageLayout::PPI;
        size = QSize(static_cast<int>(first.Width() * ppi / engine.XPixelsPerInch()) + 5,
                     static_cast<int>(first.Height() * ppi / engine.YPixelsPerInch()) + 5);
    }
    drawing.referenceNoteSize = size;
    if (!m_noteRenderer || size.isEmpty())
        return;
    m_noteRenderer->SetMode(NoteRenderer::Mode::Print);
    m_noteRenderer->SetBackground(Qt::transparent);
    m_noteRenderer->SetPageSize(QSizeF(size));
    const int widthHmm = Metafile::ToHundredthsMm(size.width());
    const int heightHmm = Metafile::ToHundredthsMm(size.height());
    for (size_t i = 0; i < m_notes.size(); ++i) {
        const TRect &free = drawing.cells[i].rFree;
        if (free.IsEmpty() || m_notes[i].IsEmpty())
            continue;
        Metafile metafile(widthHmm, heightHmm);
        {
            QPainter canvas(metafile.Canvas());
            m_noteRenderer->Paint(canvas, QRectF(QPointF(0, 0), QSizeF(size)), m_notes[i]);
        }
        engine.StretchDraw(metafile.Picture(), free);
    }
}

void PagePrinter::DrawBorder(PrintEngine &engine, const TRect &rect, TCalBorderStyle style)
{
    if (style == cbNone)
        return;
    engine.SetPen(clBlack);
    const double l = engine.XDevToInches(rect.Left);
    const double t = engine.YDevToInches(rect.Top);
    const double r = engine.XDevToInches(rect.Right);
    const double b = engine.YDevToInches(rect.Bottom);
    switch (style) {
    case cbNone:
        break;
    case cbAll:
        engine.MoveTo(l, t);
        engine.LineTo(r, t);
        engine.LineTo(r, b);
        engine.LineTo(l, b);
        engine.LineTo(l, t);
        break;
    case cbTop:
        engine.MoveTo(l, t);
        engine.LineTo(r, t);
        break;
    case cbBottom:
        engine.MoveTo(l, b);
        engine.LineTo(r, b);
        break;
    case cbTopBottom:
        engine.MoveTo(l, t);
        engine.LineTo(r, t);
        engine.MoveTo(l, b);
        engine.LineTo(r, b);
        break;
    }
}

void PagePrinter::PrintMonthGrid(PrintEngine &engine, DrawingBlock &block, const QString &titleText)
{
    const int L = block.rect.Left;
    const int T = block.rect.Top;
    const int R = block.rect.Right - 1;
    const int B = block.rect.Bottom - 1;

    Fill(engine, {L, T, R, B}, block.backgroundColor);

    // Title band: as on screen, but a white band is left unfilled so that
    // the border picture shows through.
    const int bandHeight = static_cast<int>((B - T) * 0.17);
    block.titleRect = {L, T + 1, R, T + 1 + bandHeight};
    int bandBottom = T + 1 + bandHeight;
    if (bandHeight < block.minimumTitleHeight)
        bandBottom = T + 1 + block.minimumTitleHeight;
    if (!IsWhite(block.titleBackground))
        Fill(engine, {L, T + 1, R, bandBottom + 1}, block.titleBackground);

    QString title = titleText;
    if (title.isEmpty()) {
        const QString month =
            (block.month >= 1 && block.month <= 12) ? block.monthNames[block.month - 1] : QString();
        title = block.showYear ? month + QLatin1Char(' ') + QString::number(block.year) : month;
    }
    engine.SelectFont(block.titleFont);
    PrintFitted(engine, {L, T + 1, R, bandBottom}, title, Across::Centre, Down::Middle);

    // Weekday header row, one and a half lines of its font high.
    engine.SelectFont(block.headerFont);
    const int headerTop = bandBottom + 1;
    const int headerBottom =
        headerTop + static_cast<int>(engine.LineHeight() * 1.5 * engine.YPixelsPerInch());
    block.headerRect = {L, headerTop, R, headerBottom};
    Fill(engine, {L, headerTop, R, headerBottom + 1}, block.headerBackground);
    DrawBorder(engine, block.headerRect, block.headerBorder);
    const int cw = (R - L) / 7;
    for (int c = 0; c < 7; ++c) {
        const int dayIndex = CalendarDates::HeaderDayIndex(c, block.weekStart);
        const QString name =
            CalendarPainter::CutDayName(block.dayNames[dayIndex - 1], block.headerStyle);
        PrintFitted(engine, {L + c * cw + 1, headerTop, L + (c + 1) * cw - 1, headerBottom}, name,
                    Across::Centre, Down::Middle);
    }

    // Cell boxes, each drawn whole; together they give the screen's lines.
    const int G = headerBottom;
    const int rh = (B - G) / 6;
    if (block.cellBorder != cbNone) {
        for (int r = 0; r < 6; ++r) {
            for (int c = 0; c < 7; ++c) {
                const TRect box{L + c * cw, G + r * rh, c == 6 ? R : L + (c + 1) * cw,
                                r == 5 ? B : G + (r + 1) * rh};
                DrawBorder(engine, box, block.cellBorder);
            }
        }
    }

    // Day numbers at the top of the same inner rectangles as on screen.
    engine.SelectFont(block.cellFont);
    const int daysInMonth = CalendarDates::DaysInMonth(block.month, block.year);
    const int firstColumn = CalendarDates::FirstColumn(block.month, block.year, block.weekStart);
    const bool upperRight = block.numberPosition == cnpUpperRight;
    const int numberLine = static_cast<int>((engine.LineHeight() + engine.ExtraLineSpacing()) *
                                            engine.YPixelsPerInch());
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 7; ++c) {
            const TRect inner = CalendarPainter::DayCellRect(L, G, cw, rh, r, c, upperRight);
            const int n = CalendarPainter::DayInCell(r, c, firstColumn, daysInMonth);
            const bool hasDay = n != 0;
            if (hasDay)
                PrintFitted(engine, inner, QString::number(n),
                            upperRight ? Across::RightInset : Across::Centre, Down::Top);
            block.cells[r * 7 + c] =
                CalendarPainter::DayCellRecord(inner, n, upperRight, numberLine);
        }
    }

    DrawBorder(engine, {L, T, R, B}, block.calendarBorder);
}

void PagePrinter::PrintPlanner(PrintEngine &engine, DrawingBlock &block, const QStringList &labels,
                               const QStringList &dateTexts, const QString &title)
{
    const int rows = static_cast<int>(labels.size());
    if (rows <= 0)
        return;
    const int L = block.rect.Left;
    const int T = block.rect.Top;
    const int R = block.rect.Right - 1;
    const int B = block.rect.Bottom - 1;

    Fill(engine, {L, T, R, B}, clWhite);

    engine.SelectFont(block.titleFont);
    const int titleBottom =
        T + 1 + static_cast<int>(engine.LineHeight() * engine.YPixelsPerInch() * 1.6);
    block.titleRect = {L + 5, T + 1, R - 5, titleBottom};
    PrintFitted(engine, block.titleRect, title, Across::Centre, Down::Top);

    const TRect grid{L, titleBottom + 1, R, B};
    engine.SetBrush(clWhite, PrintEngine::BrushStyle::Clear);
    DrawBorder(engine, grid, cbAll);

    const int rh = grid.Height() / rows;
    const TRect labelColumn{grid.Left + 1, grid.Top + 1,
                            grid.Left + static_cast<int>(grid.Width() * 0.15), grid.Bottom - 1};
    Fill(engine, labelColumn, block.headerBackground);

    engine.SelectFont(block.headerFont);
    for (int k = 0; k < rows; ++k) {
        const int top = grid.Top + k * rh + 1;
        const int half = rh / 2;
        PrintFitted(engine, {labelColumn.Left, top, labelColumn.Right, top + half}, labels[k],
                    Across::Centre, Down::Bottom);
        const QString date = k < dateTexts.size() ? dateTexts[k] : QString();
        PrintFitted(engine, {labelColumn.Left, top + half, labelColumn.Right, top + 2 * half}, date,
                    Across::Centre, Down::Top);
    }

    // The label column's edge and the row separators, in inches; then the
    // outline again over their ends.
    engine.SetPen(clBlack);
    const double gridTop = engine.YDevToInches(grid.Top);
    const double columnX = engine.XDevToInches(labelColumn.Right);
    engine.MoveTo(columnX, gridTop);
    engine.LineTo(columnX, engine.YDevToInches(grid.Bottom));
    const double rowHeight = rh / engine.YPixelsPerInch();
    for (int k = 1; k < rows; ++k) {
        engine.MoveTo(engine.XDevToInches(grid.Left), gridTop + k * rowHeight);
        engine.LineTo(engine.XDevToInches(grid.Right), gridTop + k * rowHeight);
    }
    DrawBorder(engine, grid, cbAll);

    for (int k = 0; k < rows && k < static_cast<int>(block.cells.size()); ++k) {
        const int bottom = k == rows - 1 ? grid.Bottom : grid.Top + (k + 1) * rh;
        const QString date = k < dateTexts.size() ? dateTexts[k] : QString();
        bool ok = false;
        const int day = date.left(2).trimmed().toInt(&ok);
        CellRecord &cell = block.cells[k];
        cell.day = ok ? day : 0;
        cell.rTotal = {labelColumn.Right + 4, grid.Top + k * rh + 4, grid.Right - 4, bottom - 4};
        cell.rFree = cell.rTotal;
    }
}

} // namespace Dayloom
