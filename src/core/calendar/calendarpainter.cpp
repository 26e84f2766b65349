#include "core/calendar/calendarpainter.h"

#include "core/calendar/calendardates.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QStaticText>

#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace Dayloom::CalendarPainter {

namespace {

int PointsToDevicePixels(int points, int ppi)
{
    const long long p = static_cast<long long>(points) * ppi;
    return static_cast<int>(p >= 0 ? (p + 36) / 72 : (p - 36) / 72);
}

// A ready-to-use font: the QFont, its metrics and its colour. Built once per
// distinct font and reused, since a sheet of 60 minis draws with the same
// three fonts 60 times.
struct Ink
{
    QFont font;
    QFontMetrics metrics;
    QColor color;
    int heightPixels;
    QString key;

    Ink(const FontSpec &spec, int ppi)
        : font(spec.ToQFontPixels(PointsToDevicePixels(spec.Size(), ppi))), metrics(font),
          color(ToQColor(spec.Color())), heightPixels(PointsToDevicePixels(spec.Size(), ppi)),
          key(font.key())
    {
    }

    void Apply(QPainter &painter) const
    {
        painter.setFont(font);
        painter.setPen(color);
    }
};

// Shared, so an ink a caller holds outlives its eviction from the cache:
// one paint uses up to three fonts and any of them may push out another.
std::shared_ptr<const Ink> InkFor(const FontSpec &spec, int ppi)
{
    struct Entry
    {
        FontSpec spec;
        int ppi;
        std::shared_ptr<const Ink> ink;
    };
    thread_local std::vector<Entry> cache;
    for (const Entry &entry : cache)
        if (entry.ppi == ppi && entry.spec == spec)
            return entry.ink;
    if (cache.size() >= 32)
        cache.erase(cache.begin());
    cache.push_back({spec, ppi, std::make_shared<const Ink>(spec, ppi)});
    return cache.back().ink;
}

// Laid-out text, kept between paints: the same day numbers, weekday names
// and titles are drawn again and again.
struct ShapedText
{
    QStaticText text;
    int advance = 0;
};

const ShapedText &Shape(const QFont &font, const QFontMetrics &metrics, const QString &fontKey,
                        const QString &text)
{
    thread_local QHash<QString, ShapedText> cache;
    const QString key = fontKey + QChar(0x1f) + text;
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    if (cache.size() >= 8192)
        cache.clear();
    ShapedText shaped;
    shaped.text.setText(text);
    shaped.text.setTextFormat(Qt::PlainText);
    shaped.text.prepare(QTransform(), font);
    shaped.advance = metrics.horizontalAdvance(text);
    return *cache.insert(key, shaped);
}

// Top-left corner of a text box of the given size aligned in a rectangle.
std::pair<int, int> AlignedTopLeft(const TRect &rect, int width, int height, Qt::Alignment align)
{
    int x = rect.Left;
    if (align & Qt::AlignHCenter)
        x = rect.Left + (rect.Width() - width) / 2;
    else if (align & Qt::AlignRight)
        x = rect.Right - width;
    int y = rect.Top;
    if (align & Qt::AlignVCenter)
        y = rect.Top + (rect.Height() - height) / 2;
    else if (align & Qt::AlignBottom)
        y = rect.Bottom - height;
    return {x, y};
}

// Single-line text placed like the desktop's one-line text output: centred
// or aligned within the rectangle, clipped to it when it does not fit.
// Screens and images reuse laid-out text; printers and recorded pictures
// get plain text drawing at their own resolution.
bool IsRasterDevice(const QPainter &painter)
{
    const QPaintDevice *device = painter.device();
    const int type = device ? device->devType() : 0;
    return type == QInternal::Image || type == QInternal::Pixmap || type == QInternal::Widget;
}

void DrawLine(QPainter &painter, const QFont &font, const QFontMetrics &metrics,
              const QString &fontKey, const TRect &rect, const QString &text, Qt::Alignment align)
{
    if (text.isEmpty() || rect.IsEmpty())
        return;
    const bool raster = IsRasterDevice(painter);
    const ShapedText *shaped = raster ? &Shape(font, metrics, fontKey, text) : nullptr;
    const int width = shaped ? shaped->advance : metrics.horizontalAdvance(text);
    const int height = metrics.height();
    const auto [x, y] = AlignedTopLeft(rect, width, height, align);
    const bool fits =
        x >= rect.Left && x + width <= rect.Right && y >= rect.Top && y + height <= rect.Bottom;
    if (!fits) {
        painter.save();
        painter.setClipRect(rect.toQRect(), Qt::IntersectClip);
    }
    if (shaped)
        painter.drawStaticText(QPoint(x, y), shaped->text);
    else
        painter.drawText(QPoint(x, y + metrics.ascent()), text);
    if (!fits)
        painter.restore();
}

void DrawLine(QPainter &painter, const Ink &ink, const TRect &rect, const QString &text,
              Qt::Alignment align)
{
    DrawLine(painter, ink.font, ink.metrics, ink.key, rect, text, align);
}

// A horizontal or vertical line from (x1, y1) up to but excluding (x2, y2),
// as the desktop's line drawing leaves out the end point.
void LineTo(QPainter &painter, int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2)
        return;
    const int dx = x2 > x1 ? -1 : (x2 < x1 ? 1 : 0);
    const int dy = y2 > y1 ? -1 : (y2 < y1 ? 1 : 0);
    painter.drawLine(x1, y1, x2 + dx, y2 + dy);
}

void FillRect(QPainter &painter, int left, int top, int right, int bottom, TColor color)
{
    if (right > left && bottom > top)
        painter.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(color));
}

// One page pixel wide: a single device pixel at 96 per inch, two on a
// double-density screen.
QPen BlackPen()
{
    return QPen(Qt::black, 1);
}

} // namespace

void DrawTextInRect(QPainter &painter, const TRect &rect, const QString &text, Qt::Alignment align)
{
    const QFont font = painter.font();
    DrawLine(painter, font, QFontMetrics(font), font.key(), rect, text, align);
}

void DrawLineTo(QPainter &painter, int x1, int y1, int x2, int y2)
{
    LineTo(painter, x1, y1, x2, y2);
}

QString CutDayName(const QString &name, TCalHeadersStyle style)
{
    switch (style) {
    case dsFirstChar:
        return name.left(1);
    case dsThreeChars:
        return name.left(3);
    case dsWhole:
        break;
    }
    return name;
}

void DrawBorderLines(QPainter &painter, const TRect &rect, TCalBorderStyle style)
{
    const int l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
    switch (style) {
    case cbNone:
        break;
    case cbAll: {
        const QPoint corners[5] = {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}};
        painter.drawPolyline(corners, 5);
        break;
    }
    case cbTop:
        LineTo(painter, l, t, r, t);
        break;
    case cbBottom:
        LineTo(painter, l, b, r, b);
        break;
    case cbTopBottom:
        LineTo(painter, l, t, r, t);
        LineTo(painter, l, b, r, b);
        break;
    }
}

void DrawBorder(QPainter &painter, const TRect &rect, TCalBorderStyle style)
{
    painter.setPen(BlackPen());
    DrawBorderLines(painter, rect, style);
}

void DrawMonthGrid(QPainter &painter, DrawingBlock &block, const QString &titleText)
{
    const int L = block.rect.Left;
    const int T = block.rect.Top;
    const int R = block.rect.Right - 1;
    const int B = block.rect.Bottom - 1;
    const std::shared_ptr<const Ink> titleInkPtr = InkFor(block.titleFont, block.fontPpi);
    const Ink &titleInk = *titleInkPtr;
    const std::shared_ptr<const Ink> headerInkPtr = InkFor(block.headerFont, block.fontPpi);
    const Ink &headerInk = *headerInkPtr;
    const std::shared_ptr<const Ink> cellInkPtr = InkFor(block.cellFont, block.fontPpi);
    const Ink &cellInk = *cellInkPtr;

    FillRect(painter, L, T, R, B, block.backgroundColor);

    // Title band; the clickable title keeps the 17 % height even when the
    // band is drawn taller.
    const int bandHeight = static_cast<int>((B - T) * 0.17);
    block.titleRect = {L, T + 1, R, T + 1 + bandHeight};
    int bandBottom = T + 1 + bandHeight;
    if (bandHeight < block.minimumTitleHeight)
        bandBottom = T + 1 + block.minimumTitleHeight;
    FillRect(painter, L, T + 1, R, bandBottom + 1, block.titleBackground);

    QString title = titleText;
    if (title.isEmpty()) {
        const QString month =
            (block.month >= 1 && block.month <= 12) ? block.monthNames[block.month - 1] : QString();
        title = block.showYear ? month + QLatin1Char(' ') + QString::number(block.year) : month;
    }
    titleInk.Apply(painter);
    DrawLine(painter, titleInk, {L, T + 1, R, bandBottom}, title, Qt::AlignCenter);

    // Weekday header row.
    const int headerTop = bandBottom + 1;
    const int headerBottom = headerTop + static_cast<int>(std::abs(headerInk.heightPixels) * 1.5);
    block.headerRect = {L, headerTop, R, headerBottom};
    FillRect(painter, L, headerTop, R, headerBottom + 1, block.headerBackground);
    DrawBorder(painter, block.headerRect, block.headerBorder);
    const int cw = (R - L) / 7;
    headerInk.Apply(painter);
    for (int c = 0; c < 7; ++c) {
        const int left = L + c * cw + 1;
        const int dayIndex = CalendarDates::HeaderDayIndex(c, block.weekStart);
        const QString name = CutDayName(block.dayNames[dayIndex - 1], block.headerStyle);
        DrawLine(painter, headerInk, {left, headerTop, left + cw - 2, headerBottom}, name,
                 Qt::AlignCenter);
    }

    // Day grid lines; the row height, not the last line, decides where rows
    // lie, so the last row absorbs the remainder.
    const int G = headerBottom;
    const int rh = (B - G) / 6;
    painter.setPen(BlackPen());
    if (block.cellBorder != cbNone) {
        const int first = block.cellBorder == cbBottom ? 1 : 0;
        const int last = block.cellBorder == cbTop ? 5 : 6;
        for (int i = first; i <= last; ++i) {
            const int y = i == 6 ? B : G + i * rh;
            LineTo(painter, L, y, R, y);
        }
        if (block.cellBorder == cbAll) {
            for (int c = 0; c <= 6; ++c)
                LineTo(painter, L + c * cw, G, L + c * cw, B);
            LineTo(painter, R, G, R, B);
        }
    }

    // Day numbers and cell records.
    const int daysInMonth = CalendarDates::DaysInMonth(block.month, block.year);
    const int firstColumn = CalendarDates::FirstColumn(block.month, block.year, block.weekStart);
    const bool upperRight = block.numberPosition == cnpUpperRight;
    const int nineHeight = cellInk.metrics.height();
    cellInk.Apply(painter);
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 7; ++c) {
            const TRect inner = DayCellRect(L, G, cw, rh, r, c, upperRight);
            const int n = DayInCell(r, c, firstColumn, daysInMonth);
            const bool hasDay = n != 0;
            if (hasDay)
                DrawLine(painter, cellInk, inner, QString::number(n),
                         upperRight ? (Qt::AlignRight | Qt::AlignTop) : Qt::AlignCenter);
            block.cells[r * 7 + c] = DayCellRecord(inner, n, upperRight, nineHeight);
        }
    }

    DrawBorder(painter, {L, T, R, B}, block.calendarBorder);
}

void DrawPlanner(QPainter &painter, DrawingBlock &block, const QStringList &labels,
                 const QStringList &dateTexts, const QString &title)
{
    const int rows = static_cast<int>(labels.size());
    if (rows <= 0)
        return;
    const int L = block.rect.Left;
    const int T = block.rect.Top;
    const int R = block.rect.Right - 1;
    const int B = block.rect.Bottom - 1;
    const std::shared_ptr<const Ink> titleInkPtr = InkFor(block.titleFont, block.fontPpi);
    const Ink &titleInk = *titleInkPtr;
    const std::shared_ptr<const Ink> headerInkPtr = InkFor(block.headerFont, block.fontPpi);
    const Ink &headerInk = *headerInkPtr;

    FillRect(painter, L, T, R, B, clWhite);

    const int titleBottom = T + 1 + titleInk.metrics.height();
    block.titleRect = {L + 5, T + 1, R - 5, titleBottom};
    titleInk.Apply(painter);
    DrawLine(painter, titleInk, block.titleRect, title, Qt::AlignCenter);

    const TRect grid{L, titleBottom + 1, R, B};
    FillRect(painter, grid.Left, grid.Top, grid.Right, grid.Bottom, clWhite);
    painter.setPen(BlackPen());
    if (!grid.IsEmpty())
        painter.drawRect(QRect(grid.Left, grid.Top, grid.Width() - 1, grid.Height() - 1));

    const int rh = grid.Height() / rows;
    const TRect labelColumn{grid.Left + 1, grid.Top + 1,
                            grid.Left + static_cast<int>(grid.Width() * 0.15), grid.Bottom - 1};
    FillRect(painter, labelColumn.Left, labelColumn.Top, labelColumn.Right, labelColumn.Bottom,
             block.headerBackground);

    headerInk.Apply(painter);
    for (int k = 0; k < rows; ++k) {
        const int top = grid.Top + k * rh + 1;
        const int half = rh / 2;
        DrawLine(painter, headerInk, {labelColumn.Left, top, labelColumn.Right, top + half},
                 labels[k], Qt::AlignHCenter | Qt::AlignBottom);
        const QString date = k < dateTexts.size() ? dateTexts[k] : QString();
        DrawLine(painter, headerInk,
                 {labelColumn.Left, top + half, labelColumn.Right, top + 2 * half}, date,
                 Qt::AlignHCenter | Qt::AlignTop);
    }

    painter.setPen(BlackPen());
    LineTo(painter, labelColumn.Right, grid.Top, labelColumn.Right, grid.Bottom);
    for (int k = 1; k < rows; ++k)
        LineTo(painter, grid.Left, grid.Top + k * rh, grid.Right, grid.Top + k * rh);

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

TRect DayCellRect(int left, int gridTop, int columnWidth, int rowHeight, int row, int column,
                  bool upperRight)
{
    TRect inner{left + column * columnWidth + 1, gridTop + row * rowHeight + 1, 0, 0};
    inner.Right = inner.Left + columnWidth - 2;
    inner.Bottom = inner.Top + rowHeight - 2;
    if (upperRight) {
        inner.Left += 4;
        inner.Right -= 5;
    }
    return inner;
}

int DayInCell(int row, int column, int firstColumn, int daysInMonth)
{
    const int n = row * 7 + column - firstColumn + 2;
    return n >= 1 && n <= daysInMonth ? n : 0;
}

CellRecord DayCellRecord(const TRect &inner, int day, bool upperRight, int numberHeight)
{
    CellRecord cell;
    cell.rTotal = inner;
    cell.day = day;
    if (upperRight)
        cell.rFree = TRect{inner.Left, inner.Top + numberHeight, inner.Right, inner.Bottom};
    return cell;
}

DrawingBlock MainCalendarBlock(const CalendarSettings &s)
{
    DrawingBlock b;
    b.backgroundColor = clWhite;
    b.titleBackground = s.titleBGColor;
    b.month = s.mainCalMonth;
    b.year = s.mainCalYear;
    b.day = s.mainCalDay;
    b.numberPosition = s.numberPosition;
    b.weekStart = s.startOfWeek;
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
    b.plannerStartTime = s.plannerStartTime;
    return b;
}

DrawingBlock MiniCalendarBlock(const CalendarSettings &s)
{
    DrawingBlock b;
    b.backgroundColor = s.miniCalBGColor;
    b.titleBackground = s.miniCalBGColor;
    b.numberPosition = cnpCenter;
    b.weekStart = s.startOfWeek;
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

} // namespace Dayloom::CalendarPainter
