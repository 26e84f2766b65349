#include "core/calendar/calendarpainter.h"

#include "core/calendar/calendardates.h"
#include "core/calendar/pagecanvas.h"
#include "core/calendar/weeknumbers.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace Dayloom::CalendarPainter {

namespace {

bool IsWhite(TColor color)
{
    return ColorToRGB(color) == clWhite;
}

QString TitleOf(const DrawingBlock &block, const QString &titleText)
{
    if (!titleText.isEmpty())
        return titleText;
    const QString month =
        (block.month >= 1 && block.month <= 12) ? block.monthNames[block.month - 1] : QString();
    return block.showYear ? month + QLatin1Char(' ') + QString::number(block.year) : month;
}

// Week numbers and day counters stand back in grey.
constexpr TColor SecondaryTextColor = 0x00808080;

int WeekdayOf(const QDate &date)
{
    return date.dayOfWeek() % 7 + 1; // Qt: 1 = Monday ... 7 = Sunday
}

// The colours a day is marked with: red days before weekends; nullopt when
// the day is drawn as any other.
struct DayColors
{
    TColor cell;
    TColor number;
};

std::optional<DayColors> ColorsOf(const DayMarking &m, const QDate &date)
{
    if (!date.isValid())
        return std::nullopt;
    if (m.redDays && m.redDays->contains(date))
        return DayColors{m.redDayCellColor, m.redDayNumberColor};
    if ((m.weekendDays & WeekdayBit(WeekdayOf(date))) != 0)
        return DayColors{m.weekendCellColor, m.weekendNumberColor};
    return std::nullopt;
}

FontSpec InColor(FontSpec font, TColor color)
{
    font.SetColor(color);
    return font;
}

// A regular font `percent` of the size of `font` (at least one point).
FontSpec Secondary(const FontSpec &font, int percent)
{
    FontSpec smaller = font;
    smaller.SetSize(std::max(1, font.Size() * percent / 100));
    smaller.SetBold(false);
    smaller.SetColor(SecondaryTextColor);
    return smaller;
}

// "45 · 320": the day of the year and the days left in it.
QString DayCounterText(const QDate &date)
{
    return QStringLiteral("%1 \u00B7 %2")
        .arg(date.dayOfYear())
        .arg(date.daysInYear() - date.dayOfYear());
}

QDate DateInGrid(const DrawingBlock &block, int day)
{
    return day > 0 ? QDate(block.year, block.month, day) : QDate();
}

// The week number beside each row that shows a day of the month.
void DrawWeekNumbers(PageCanvas &canvas, const DrawingBlock &block, const MonthGridGeometry &g,
                     bool upperRight)
{
    // Beside a mini's small days a slightly smaller number leaves room.
    canvas.SelectFont(Secondary(block.cellFont, upperRight ? 60 : 80));
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 7; ++c) {
            const QDate date = DateInGrid(block, g.cells[r * 7 + c].day);
            if (!date.isValid())
                continue;
            const int week = WeekNumbers::OfRow(date.addDays(-c), block.marking.weekNumbers);
            canvas.Text(g.WeekCell(r), QString::number(week),
                        upperRight ? TextRole::WeekNumber : TextRole::DayNumberCentred);
            break;
        }
    }
}

// Moon symbols and day counters at the top left of the day cells.
void DrawDayCorners(PageCanvas &canvas, const DrawingBlock &block, const MonthGridGeometry &g,
                    const GridMetrics &metrics, bool upperRight)
{
    const DayMarking &m = block.marking;
    const int band = upperRight ? metrics.numberLineHeight : g.rowHeight / 4;
    const int moonSide = std::min(band * 7 / 10, g.columnWidth / 4);
    if (m.moonDays) {
        for (const CellRecord &cell : g.cells) {
            const auto phase = m.moonDays->constFind(DateInGrid(block, cell.day));
            if (phase == m.moonDays->constEnd())
                continue;
            const int top = cell.rTotal.Top + std::max(0, (band - moonSide) / 2);
            canvas.MoonSymbol(
                {cell.rTotal.Left + 1, top, cell.rTotal.Left + 1 + moonSide, top + moonSide},
                *phase);
        }
    }
    if (!m.dayCounters)
        return;
    canvas.SelectFont(Secondary(block.cellFont, 45));
    const int indent = m.moonDays ? moonSide + 4 : 0;
    for (const CellRecord &cell : g.cells) {
        const QDate date = DateInGrid(block, cell.day);
        if (!date.isValid())
            continue;
        const TRect &r = cell.rTotal;
        canvas.Text({r.Left + indent, r.Top, r.Left + r.Width() * 3 / 5, r.Top + band},
                    DayCounterText(date), TextRole::DayCounter);
    }
}

} // namespace

void DrawMonthGrid(PageCanvas &canvas, DrawingBlock &block, const QString &titleText)
{
    GridMetrics metrics = canvas.MeasureGrid(block.headerFont, block.cellFont);
    metrics.minimumTitleHeight = block.minimumTitleHeight;
    const bool upperRight = block.numberPosition == cnpUpperRight;
    const MonthGridGeometry g =
        LayOutMonthGrid(block.rect, metrics, block.month, block.year, block.firstWeekday,
                        upperRight, block.marking.weekColumnWidth);
    const int L = g.left, T = g.top, R = g.right, B = g.bottom;

    canvas.Fill({L, T, R, B}, block.backgroundColor);
    if (canvas.FillsWhiteTitleBand() || !IsWhite(block.titleBackground))
        canvas.Fill({L, T + 1, R, g.titleBand.Bottom + 1}, block.titleBackground);
    canvas.SelectFont(block.titleFont);
    canvas.Text(g.titleBand, TitleOf(block, titleText), TextRole::Title);

    const TRect &header = g.headerRect;
    canvas.Fill({L, header.Top, R, header.Bottom + 1}, block.headerBackground);
    canvas.Border(header, block.headerBorder);
    canvas.SelectFont(block.headerFont);
    for (int c = 0; c < 7; ++c) {
        const int dayIndex = CalendarDates::HeaderWeekday(c, block.firstWeekday);
        canvas.Text(g.headerCells[c],
                    CalendarDates::HeaderDayName(block.dayNames, dayIndex, block.headerStyle),
                    TextRole::WeekdayName);
    }

    // Marked days: their cells filled before the lines, their numbers in
    // their own colour.
    std::array<std::optional<DayColors>, 42> marked;
    block.cellColors = DrawingBlock::WhiteCells();
    for (int i = 0; i < 42; ++i) {
        marked[i] = ColorsOf(block.marking, DateInGrid(block, g.cells[i].day));
        if (!marked[i])
            continue;
        canvas.Fill(g.CellBox(i / 7, i % 7), marked[i]->cell);
        block.cellColors[i] = marked[i]->cell;
    }

    canvas.CellLines(g, block.cellBorder);

    canvas.SelectFont(block.cellFont);
    const TextRole numberRole = upperRight ? TextRole::DayNumberCorner : TextRole::DayNumberCentred;
    for (int i = 0; i < 42; ++i)
        if (g.cells[i].day != 0 && !marked[i])
            canvas.Text(g.cells[i].rTotal, QString::number(g.cells[i].day), numberRole);
    // The marked numbers colour by colour: a font change costs more than a
    // number.
    std::vector<TColor> numberColors;
    for (const auto &colors : marked)
        if (colors && std::find(numberColors.begin(), numberColors.end(), colors->number) ==
                          numberColors.end())
            numberColors.push_back(colors->number);
    for (const TColor color : numberColors) {
        canvas.SelectFont(InColor(block.cellFont, color));
        for (int i = 0; i < 42; ++i)
            if (g.cells[i].day != 0 && marked[i] && marked[i]->number == color)
                canvas.Text(g.cells[i].rTotal, QString::number(g.cells[i].day), numberRole);
    }

    if (g.HasWeekColumn() && block.marking.weekNumbers != WeekNumbering::None)
        DrawWeekNumbers(canvas, block, g, upperRight);
    if (block.marking.moonDays || block.marking.dayCounters)
        DrawDayCorners(canvas, block, g, metrics, upperRight);

    canvas.Border({L, T, R, B}, block.calendarBorder);

    block.cells = g.cells;
    block.titleRect = g.titleRect;
    block.headerRect = g.headerRect;
}

namespace {

// Moon symbols and day counters at the top left of a planner's label cells.
template <class RowDate>
void DrawPlannerCorners(PageCanvas &canvas, const DrawingBlock &block, const PlannerGeometry &p,
                        const RowDate &rowDate)
{
    const DayMarking &m = block.marking;
    if (!m.moonDays && !m.dayCounters)
        return;
    const int labelWidth = p.labelColumn.Right - p.labelColumn.Left;
    const int moonSide = std::min(p.rowHeight / 4, labelWidth / 6);
    const int rows = static_cast<int>(p.labelRects.size());
    const int counterBand = p.rowHeight / 4;
    if (m.dayCounters)
        canvas.SelectFont(Secondary(block.headerFont, 45));
    for (int k = 0; k < rows; ++k) {
        const QDate date = rowDate(k);
        if (!date.isValid())
            continue;
        const int left = p.labelColumn.Left + 2;
        const int top = p.labelRects[k].Top + 2;
        int indent = 0;
        if (m.moonDays) {
            const auto phase = m.moonDays->constFind(date);
            if (phase != m.moonDays->constEnd())
                canvas.MoonSymbol({left, top, left + moonSide, top + moonSide}, *phase);
            indent = moonSide + 3;
        }
        if (m.dayCounters)
            canvas.Text({left + indent, top, p.labelColumn.Right - 2, top + counterBand},
                        DayCounterText(date), TextRole::DayCounter);
    }
}

} // namespace

void DrawPlanner(PageCanvas &canvas, DrawingBlock &block, const QStringList &labels,
                 const QStringList &dateTexts, const QString &title)
{
    const int rows = static_cast<int>(labels.size());
    if (rows <= 0)
        return;
    const PlannerGeometry p =
        LayOutPlanner(block.rect, rows, canvas.PlannerTitleHeight(block.titleFont), dateTexts);

    canvas.Fill({p.left, p.top, p.right, p.bottom}, clWhite);
    canvas.SelectFont(block.titleFont);
    canvas.Text(p.titleRect, title, TextRole::PlannerTitle);

    canvas.Outline(p.grid);
    canvas.Fill(p.labelColumn, block.headerBackground);
    // Dated rows (all but the last, "Notes") are marked in their label cell.
    const auto rowDate = [&block, rows](int k) {
        return block.plannerFirstDate.isValid() && k < rows - 1 ? block.plannerFirstDate.addDays(k)
                                                                : QDate();
    };
    std::vector<std::optional<DayColors>> marked(rows);
    for (int k = 0; k < rows; ++k) {
        marked[k] = ColorsOf(block.marking, rowDate(k));
        if (marked[k])
            canvas.Fill({p.labelColumn.Left, p.labelRects[k].Top, p.labelColumn.Right,
                         p.dateRects[k].Bottom},
                        marked[k]->cell);
    }
    canvas.SelectFont(block.headerFont);
    for (int k = 0; k < rows; ++k) {
        if (marked[k])
            canvas.SelectFont(InColor(block.headerFont, marked[k]->number));
        canvas.Text(p.labelRects[k], labels[k], TextRole::PlannerLabel);
        canvas.Text(p.dateRects[k], k < dateTexts.size() ? dateTexts[k] : QString(),
                    TextRole::PlannerDate);
        if (marked[k])
            canvas.SelectFont(block.headerFont);
    }
    DrawPlannerCorners(canvas, block, p, rowDate);

    // The label column's edge and the row separators, then the outline
    // again over their ends.
    canvas.Line(p.labelColumn.Right, p.grid.Top, p.labelColumn.Right, p.grid.Bottom);
    for (int k = 1; k < rows; ++k) {
        const int y = p.grid.Top + k * p.rowHeight;
        canvas.Line(p.grid.Left, y, p.grid.Right, y);
    }
    canvas.Outline(p.grid);

    block.cells = p.cells;
    block.titleRect = p.titleRect;
}

DrawingBlock MainCalendarBlock(const CalendarSettings &s)
{
    DrawingBlock b;
    b.backgroundColor = clWhite;
    b.titleBackground = s.titleBGColor;
    b.month = s.mainCalMonth;
    b.year = s.mainCalYear;
    b.numberPosition = s.numberPosition;
    b.firstWeekday = s.FirstWeekday();
    b.marking = MarkingOf(s.extras);
    b.calendarBorder = s.calendarBorder;
    b.titleFont = s.titleFont;
    b.showYear = s.titleShowYear;
    b.headerFont = s.headersFont;
    b.headerBorder = s.headersBorder;
    b.headerStyle = s.headersStyle;
    b.headerBackground = s.headersBGColor;
    b.cellFont = s.cellFont;
    b.cellBorder = s.cellBorder;
    b.monthNames = s.monthNames;
    b.dayNames = s.dayNames;
    return b;
}

DrawingBlock MiniCalendarBlock(const CalendarSettings &s)
{
    DrawingBlock b;
    b.backgroundColor = s.miniCalBGColor;
    b.titleBackground = s.miniCalBGColor;
    b.numberPosition = cnpCenter;
    b.firstWeekday = s.FirstWeekday();
    b.marking = MarkingOf(s.extras);
    b.calendarBorder = s.miniCalBorder;
    b.titleFont = s.miniTitleFont;
    b.showYear = s.miniShowYear;
    b.headerFont = s.miniHeadersFont;
    b.headerBorder = s.miniHeadersBorder;
    b.headerStyle = s.miniHeadersStyle;
    b.headerBackground = s.miniHeadersBGColor;
    b.cellFont = s.miniCellFont;
    b.cellBorder = s.miniCellBorder;
    b.monthNames = s.monthNames;
    b.dayNames = s.dayNames;
    return b;
}

DayMarking MarkingOf(const CalendarExtras &extras)
{
    DayMarking m;
    m.weekNumbers = extras.weekNumbers;
    if (extras.markWeekends)
        m.weekendDays = extras.weekendDays & AllWeekdays;
    m.weekendCellColor = extras.weekendCellColor;
    m.weekendNumberColor = extras.weekendNumberColor;
    m.redDayCellColor = extras.redDayCellColor;
    m.redDayNumberColor = extras.redDayNumberColor;
    m.dayCounters = extras.dayCounters;
    return m;
}

} // namespace Dayloom::CalendarPainter
