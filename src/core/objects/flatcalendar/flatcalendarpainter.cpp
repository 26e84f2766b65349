#include "core/objects/flatcalendar/flatcalendarpainter.h"

#include "core/calendar/calendardates.h"
#include "core/calendar/screencanvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <cstdlib>

namespace Dayloom::FlatCalendarPainter {

namespace {

QFont FontOf(const FontSpec &spec)
{
    return spec.ToQFontPixels(FontSpec::PointsToPixels(spec.Size()));
}

QPen BlackPen()
{
    QPen pen(Qt::black);
    pen.setWidth(0); // one device pixel whatever the transformation
    pen.setCosmetic(true);
    return pen;
}

void Fill(QPainter &painter, int left, int top, int right, int bottom, TColor color)
{
    if (right > left && bottom > top)
        painter.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(color));
}

void UseFont(QPainter &painter, const QFont &font, const FontSpec &spec)
{
    painter.setFont(font);
    painter.setPen(ToQColor(spec.Color()));
}

} // namespace

// The floating calendar's day-name styles are the page's, value for value.
static_assert(int(fdsFirstChar) == int(dsFirstChar) && int(fdsThreeChars) == int(dsThreeChars) &&
              int(fdsWhole) == int(dsWhole));

QString CutDayName(const QString &name, TFlatCalHeadersStyle style)
{
    return CalendarDates::CutDayName(name, static_cast<TCalHeadersStyle>(style));
}

QString TitleText(const TGFlatCalendarAttributes &attributes)
{
    if (attributes.month < 1 || attributes.month > 12)
        return QString();
    const QString &name = attributes.monthNames[attributes.month - 1];
    return attributes.showYear ? name + QLatin1Char(' ') + QString::number(attributes.year) : name;
}

void Layout(TGFlatCalendarAttributes &a)
{
    const int L = a.rect.Left;
    const int T = a.rect.Top;
    const int R = a.rect.Right - 1;
    const int B = a.rect.Bottom - 1;

    // The title band is 17 % of the height, but never lower than its text.
    a.titleTextHeight = QFontMetrics(FontOf(a.titleFont)).height();
    int titleBottom = T + static_cast<int>((B - T) * 0.17);
    if (titleBottom - T < a.titleTextHeight)
        titleBottom = T + a.titleTextHeight;
    a.titleRect = {L, T, R, titleBottom};

    const int rowTop = titleBottom;
    const int dayNamePixels = std::abs(FontSpec::PointsToPixels(a.dayNameFont.Size()));
    const int rowBottom = rowTop + static_cast<int>(dayNamePixels * 1.5);
    a.dayNameRect = {L, rowTop, R, rowBottom};

    const int cw = (R - L) / 7;
    a.columnWidth = cw;
    for (int c = 0; c < 7; ++c) {
        const int left = L + c * cw + 1;
        a.dayNameCells[c] = {left, rowTop, left + cw - 2, rowBottom};
    }

    const int y0 = rowBottom;
    const int rh = (B - y0) / 6;
    a.gridTop = y0;
    a.rowHeight = rh;
    const int first = CalendarDates::FirstColumnOn(a.month, a.year, a.startOfWeek);
    const int daysInMonth = CalendarDates::DaysInMonth(a.month, a.year);
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 7; ++c) {
            FlatCalendarCell &cell = a.cells[r * 7 + c];
            const int left = L + c * cw + 1;
            const int top = y0 + r * rh;
            cell.rect = {left, top + 1, left + cw - 2, top + rh};
            cell.day = CalendarDates::DayInCell(r, c, first, daysInMonth);
        }
    }
}

// The floating calendar's border styles are the page's, value for value.
static_assert(int(fcbNone) == int(cbNone) && int(fcbAll) == int(cbAll) &&
              int(fcbTop) == int(cbTop) && int(fcbBottom) == int(cbBottom) &&
              int(fcbTopBottom) == int(cbTopBottom));

void DrawBorder(QPainter &painter, const TRect &rect, TFlatCalBorderStyle style)
{
    ScreenCanvas::DrawBorderLines(painter, rect, static_cast<TCalBorderStyle>(style));
}

void DrawCalendar(QPainter &painter, TGFlatCalendarAttributes &a)
{
    Layout(a);
    const int L = a.rect.Left;
    const int T = a.rect.Top;
    const int R = a.rect.Right - 1;
    const int B = a.rect.Bottom - 1;
    const bool opaque = !a.transparent;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);

    if (opaque) {
        Fill(painter, L, T, R + 1, B + 1, clWhite);
        Fill(painter, L, T, R + 1, a.titleRect.Bottom, a.titleBackgroundColor);
    }
    const QFont titleFont = FontOf(a.titleFont);
    UseFont(painter, titleFont, a.titleFont);
    ScreenCanvas::DrawTextInRect(painter, a.titleRect, TitleText(a), Qt::AlignCenter);

    const TRect &row = a.dayNameRect;
    if (opaque) {
        Fill(painter, L, row.Top, R, row.Bottom + 1, a.dayNameBackgroundColor);
        Fill(painter, L, row.Bottom, a.rect.Right, a.rect.Bottom, a.backgroundColor);
    }
    painter.setPen(BlackPen());
    DrawBorder(painter, row, a.dayNameBorderStyle);

    const QFont dayNameFont = FontOf(a.dayNameFont);
    const QFontMetrics dayNameMetrics(dayNameFont);
    UseFont(painter, dayNameFont, a.dayNameFont);
    for (int c = 0; c < 7; ++c) {
        const QString &name = a.dayNames[CalendarDates::HeaderWeekday(c, a.startOfWeek) - 1];
        ScreenCanvas::DrawTextInRect(painter, a.dayNameCells[c], CutDayName(name, a.dayNameStyle),
                                     Qt::AlignCenter);
    }

    painter.setPen(BlackPen());
    const int y0 = a.gridTop;
    const int rh = a.rowHeight;
    const int cw = a.columnWidth;
    if (a.cellBorderStyle != fcbNone) {
        const int firstLine = a.cellBorderStyle == fcbBottom ? 1 : 0;
        const int lastLine = a.cellBorderStyle == fcbTop ? 5 : 6;
        for (int j = firstLine; j <= lastLine; ++j) {
            const int y = j == 6 ? B : y0 + j * rh;
            ScreenCanvas::DrawLineTo(painter, L, y, R, y);
        }
        if (a.cellBorderStyle == fcbAll) {
            for (int i = 0; i <= 7; ++i) {
                const int x = i == 7 ? R : L + i * cw;
                ScreenCanvas::DrawLineTo(painter, x, y0, x, B);
            }
        }
    }

    const QFont cellFont = FontOf(a.cellFont);
    const QFontMetrics cellMetrics(cellFont);
    UseFont(painter, cellFont, a.cellFont);
    for (const FlatCalendarCell &cell : a.cells) {
        if (cell.day != 0)
            ScreenCanvas::DrawTextInRect(painter, cell.rect, QString::number(cell.day),
                                         Qt::AlignCenter);
    }

    painter.setPen(BlackPen());
    DrawBorder(painter, {L, T, R, B}, a.calendarBorderStyle);
    painter.restore();
}

} // namespace Dayloom::FlatCalendarPainter
