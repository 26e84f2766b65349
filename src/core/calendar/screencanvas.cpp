#include "core/calendar/screencanvas.h"

#include "core/calendar/calendardates.h"
#include "core/calendar/pagelayout.h"
#include "core/richtext/twprtfstorage.h"

#include <QHash>
#include <QPainter>
#include <QStaticText>

#include <cstdlib>
#include <utility>
#include <vector>

namespace Dayloom {

namespace {

int PointsToDevicePixels(int points, int ppi)
{
    const long long p = static_cast<long long>(points) * ppi;
    return static_cast<int>(p >= 0 ? (p + 36) / 72 : (p - 36) / 72);
}

int Scaled(int value, float zoom)
{
    return static_cast<int>(value * static_cast<double>(zoom));
}

} // namespace

// A ready-to-use font: the QFont, its metrics and its colour. Built once per
// distinct font and reused, since a sheet of 60 minis draws with the same
// three fonts 60 times.
struct ScreenCanvas::Ink
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

namespace {

using Ink = ScreenCanvas::Ink;

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

// Screens and images reuse laid-out text; printers and recorded pictures
// get plain text drawing at their own resolution.
bool IsRasterDevice(const QPainter &painter)
{
    const QPaintDevice *device = painter.device();
    const int type = device ? device->devType() : 0;
    return type == QInternal::Image || type == QInternal::Pixmap || type == QInternal::Widget;
}

// Single-line text placed like the desktop's one-line text output: centred
// or aligned within the rectangle, clipped to it when it does not fit.
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

Qt::Alignment ScreenAlignment(TextRole role)
{
    switch (role) {
    case TextRole::DayNumberCorner:
        return Qt::AlignRight | Qt::AlignTop;
    case TextRole::PlannerLabel:
        return Qt::AlignHCenter | Qt::AlignBottom;
    case TextRole::PlannerDate:
    case TextRole::WeekNumber:
        return Qt::AlignHCenter | Qt::AlignTop;
    case TextRole::DayCounter:
        return Qt::AlignLeft | Qt::AlignTop;
    case TextRole::Title:
    case TextRole::WeekdayName:
    case TextRole::DayNumberCentred:
    case TextRole::PlannerTitle:
        break;
    }
    return Qt::AlignCenter;
}

// One page pixel wide: a single device pixel at 96 per inch, two on a
// double-density screen.
QPen BlackPen()
{
    return QPen(Qt::black, 1);
}

} // namespace

ScreenCanvas::ScreenCanvas(QPainter &painter, float zoom, int fontPpi, NoteDrawer noteDrawer)
    : m_painter(painter), m_zoom(zoom), m_fontPpi(fontPpi), m_noteDrawer(std::move(noteDrawer))
{
}

TRect ScreenCanvas::DeviceRect(const TRect &r) const
{
    return {Scaled(r.Left, m_zoom), Scaled(r.Top, m_zoom), Scaled(r.Right, m_zoom),
            Scaled(r.Bottom, m_zoom)};
}

int ScreenCanvas::MinimumTitleHeight() const
{
    return static_cast<int>(PageLayout::PPI * 1.5 * static_cast<double>(m_zoom));
}

FontSpec ScreenCanvas::Zoomed(const FontSpec &font) const
{
    FontSpec zoomed = font;
    zoomed.SetSize(Scaled(font.Size(), m_zoom));
    return zoomed;
}

GridMetrics ScreenCanvas::MeasureGrid(const FontSpec &headerFont, const FontSpec &cellFont)
{
    GridMetrics metrics;
    const int headerPixels = InkFor(Zoomed(headerFont), m_fontPpi)->heightPixels;
    metrics.headerRowHeight = static_cast<int>(std::abs(headerPixels) * 1.5);
    metrics.numberLineHeight = InkFor(Zoomed(cellFont), m_fontPpi)->metrics.height();
    return metrics;
}

int ScreenCanvas::PlannerTitleHeight(const FontSpec &titleFont)
{
    return InkFor(Zoomed(titleFont), m_fontPpi)->metrics.height();
}

void ScreenCanvas::Fill(const TRect &rect, TColor color)
{
    if (rect.Right > rect.Left && rect.Bottom > rect.Top)
        m_painter.fillRect(
            QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top),
            ToQColor(color));
}

void ScreenCanvas::UseBlackPen()
{
    m_painter.setPen(BlackPen());
    m_inkApplied = false;
}

void ScreenCanvas::Border(const TRect &rect, TCalBorderStyle style)
{
    UseBlackPen();
    DrawBorderLines(m_painter, rect, style);
}

void ScreenCanvas::Outline(const TRect &rect)
{
    UseBlackPen();
    if (!rect.IsEmpty())
        m_painter.drawRect(QRect(rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1));
}

void ScreenCanvas::Line(int x1, int y1, int x2, int y2)
{
    UseBlackPen();
    DrawLineTo(m_painter, x1, y1, x2, y2);
}

void ScreenCanvas::CellLines(const MonthGridGeometry &g, TCalBorderStyle style)
{
    if (style == cbNone)
        return;
    UseBlackPen();
    // Whole lines across the grid; the row height, not the last line,
    // decides where rows lie, so the last row absorbs the remainder.
    const int first = style == cbBottom ? 1 : 0;
    const int last = style == cbTop ? 5 : 6;
    for (int i = first; i <= last; ++i) {
        const int y = i == 6 ? g.bottom : g.gridTop + i * g.rowHeight;
        DrawLineTo(m_painter, g.left, y, g.right, y);
    }
    if (style == cbAll) {
        if (g.HasWeekColumn())
            DrawLineTo(m_painter, g.left, g.gridTop, g.left, g.bottom);
        for (int c = 0; c <= 6; ++c)
            DrawLineTo(m_painter, g.daysLeft + c * g.columnWidth, g.gridTop,
                       g.daysLeft + c * g.columnWidth, g.bottom);
        DrawLineTo(m_painter, g.right, g.gridTop, g.right, g.bottom);
    }
}

void ScreenCanvas::SelectFont(const FontSpec &font)
{
    m_ink = InkFor(Zoomed(font), m_fontPpi);
    m_ink->Apply(m_painter);
    m_inkApplied = true;
}

void ScreenCanvas::Text(const TRect &rect, const QString &text, TextRole role)
{
    if (!m_ink)
        return;
    if (!m_inkApplied) { // a line took the painter's pen since
        m_ink->Apply(m_painter);
        m_inkApplied = true;
    }
    // A weekday name too wide for its column loses characters from its end,
    // as on paper, rather than running to the column's edge cut mid-letter.
    const QString shown =
        role == TextRole::WeekdayName
            ? CalendarDates::FittingStart(text,
                                          [&](const QString &start) {
                                              return m_ink->metrics.horizontalAdvance(start) <=
                                                     rect.Right - rect.Left;
                                          })
            : text;
    DrawLine(m_painter, m_ink->font, m_ink->metrics, m_ink->key, rect, shown,
             ScreenAlignment(role));
}

void ScreenCanvas::MoonSymbol(const TRect &box, MoonPhase phase)
{
    m_inkApplied = false; // the symbol takes the painter's pen
    DrawMoonSymbol(m_painter, box, phase);
}

QSize ScreenCanvas::DrawNotes(const std::array<CellRecord, 42> &cells,
                              const std::array<TWPRtfStorage, 42> &notes, bool weekPlanner,
                              const std::array<TColor, 42> &backgrounds)
{
    if (m_noteDrawer) {
        for (size_t i = 0; i < notes.size(); ++i) {
            const TRect &free = cells[i].rFree;
            if (free.IsEmpty() || (weekPlanner && notes[i].IsEmpty()))
                continue;
            m_noteDrawer(m_painter, notes[i], free, m_zoom, backgrounds[i]);
        }
    }
    const TRect &first = cells[0].rFree;
    return QSize(first.Width() + 5, first.Height() + 5);
}

void ScreenCanvas::DrawTextInRect(QPainter &painter, const TRect &rect, const QString &text,
                                  Qt::Alignment align)
{
    const QFont font = painter.font();
    DrawLine(painter, font, QFontMetrics(font), font.key(), rect, text, align);
}

void ScreenCanvas::DrawLineTo(QPainter &painter, int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2)
        return;
    const int dx = x2 > x1 ? -1 : (x2 < x1 ? 1 : 0);
    const int dy = y2 > y1 ? -1 : (y2 < y1 ? 1 : 0);
    painter.drawLine(x1, y1, x2 + dx, y2 + dy);
}

void ScreenCanvas::DrawBorderLines(QPainter &painter, const TRect &rect, TCalBorderStyle style)
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
        DrawLineTo(painter, l, t, r, t);
        break;
    case cbBottom:
        DrawLineTo(painter, l, b, r, b);
        break;
    case cbTopBottom:
        DrawLineTo(painter, l, t, r, t);
        DrawLineTo(painter, l, b, r, b);
        break;
    }
}

} // namespace Dayloom
