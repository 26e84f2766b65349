#include "core/print/printengine.h"

#include "core/print/metafile.h"

#include <QImage>
#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPainter>
#include <QPicture>

#include <cmath>

namespace Dayloom {

namespace {

int RoundToPixel(double value)
{
    return static_cast<int>(std::lround(value));
}

} // namespace

PrintEngine::PrintEngine(QPainter &painter) : m_painter(painter)
{
    if (const QPaintDevice *device = painter.device()) {
        if (device->logicalDpiX() > 0)
            m_ppiX = device->logicalDpiX();
        if (device->logicalDpiY() > 0)
            m_ppiY = device->logicalDpiY();
    }
    SetPen(clBlack);
    SetBrush(clWhite);
    m_font = QFont(QStringLiteral("Arial"));
    m_font.setPointSizeF(10);
    FontChanged();
}

TRect PrintEngine::DeviceRect(double left, double top, double right, double bottom) const
{
    return {RoundToPixel(XInchesToDev(left)), RoundToPixel(YInchesToDev(top)),
            RoundToPixel(XInchesToDev(right)), RoundToPixel(YInchesToDev(bottom))};
}

QPointF PrintEngine::DevicePoint(double xInch, double yInch) const
{
    return {static_cast<double>(RoundToPixel(XInchesToDev(xInch))),
            static_cast<double>(RoundToPixel(YInchesToDev(yInch)))};
}

// --- pen and brush ----------------------------------------------------------------------------

void PrintEngine::SetBrush(TColor color, BrushStyle style)
{
    m_brush = style == BrushStyle::Clear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(color));
}

void PrintEngine::SetPen(TColor color, Qt::PenStyle style, int width)
{
    const int pixels = std::abs(width);
    // A cosmetic pen of width 1 is one device pixel whatever the transform.
    m_pen = QPen(ToQColor(color), pixels < 2 ? 1 : pixels, style, Qt::SquareCap, Qt::MiterJoin);
    m_pen.setCosmetic(pixels < 2);
}

void PrintEngine::FillRect(const TRect &deviceRect)
{
    if (m_brush.style() == Qt::NoBrush || deviceRect.IsEmpty())
        return;
    m_painter.fillRect(deviceRect.toQRect(), m_brush);
}

void PrintEngine::MoveTo(double xInch, double yInch)
{
    m_position = DevicePoint(xInch, yInch);
}

void PrintEngine::LineTo(double xInch, double yInch)
{
    const QPointF to = DevicePoint(xInch, yInch);
    if (m_pen.style() != Qt::NoPen) {
        m_painter.setPen(m_pen);
        m_painter.drawLine(m_position, to);
    }
    m_position = to;
}

void PrintEngine::Rectangle(double left, double top, double right, double bottom)
{
    const TRect r = DeviceRect(left, top, right, bottom);
    if (r.IsEmpty())
        return;
    FillRect(r);
    if (m_pen.style() == Qt::NoPen)
        return;
    m_painter.setPen(m_pen);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
}

// --- pictures ---------------------------------------------------------------------------------

void PrintEngine::StretchDraw(const QPicture &picture, const TRect &deviceRect)
{
    if (!deviceRect.IsEmpty())
        Metafile::Stretch(picture, m_painter, deviceRect.toQRectF());
}

void PrintEngine::StretchDraw(const QImage &image, const TRect &deviceRect)
{
    if (image.isNull() || deviceRect.IsEmpty())
        return;
    m_painter.save();
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_painter.drawImage(deviceRect.toQRectF(), image);
    m_painter.restore();
}

// --- text ---------------------------------------------------------------------------------------

void PrintEngine::FontChanged()
{
    m_metrics.reset();
    m_fontAdvances = nullptr;
}

double PrintEngine::AdvancePixels(const QString &text) const
{
    if (!m_fontAdvances) {
        if (m_advances.size() >= 64)
            m_advances.clear();
        m_fontAdvances = &m_advances[m_font.key()];
    }
    const auto found = m_fontAdvances->constFind(text);
    if (found != m_fontAdvances->constEnd())
        return *found;
    if (m_fontAdvances->size() >= 4096)
        m_fontAdvances->clear();
    const double advance = Metrics().horizontalAdvance(text);
    m_fontAdvances->insert(text, advance);
    return advance;
}

const QFontMetricsF &PrintEngine::Metrics() const
{
    if (!m_metrics)
        m_metrics.emplace(m_font, m_painter.device());
    return *m_metrics;
}

void PrintEngine::SetFontName(const QString &face)
{
    if (m_font.family() == face)
        return;
    m_font.setFamily(face);
    FontChanged();
}

void PrintEngine::SetFontSize(double points)
{
    if (!(points > 0) || m_font.pointSizeF() == points)
        return;
    m_font.setPointSizeF(points);
    FontChanged();
}

void PrintEngine::SetFontColor(TColor color)
{
    m_fontColor = ToQColor(color);
}

void PrintEngine::SetFontStyle(bool bold, bool italic, bool underline)
{
    if (m_font.bold() == bold && m_font.italic() == italic && m_font.underline() == underline)
        return;
    m_font.setBold(bold);
    m_font.setItalic(italic);
    m_font.setUnderline(underline);
    FontChanged();
}

void PrintEngine::SelectFont(const FontSpec &font)
{
    SetFontName(font.Name());
    SetFontSize(font.Size());
    SetFontColor(font.Color());
    SetFontStyle(font.Bold(), font.Italic(), font.Underline());
}

double PrintEngine::TextWidth(const QString &text) const
{
    return XDevToInches(AdvancePixels(text));
}

double PrintEngine::LineHeight() const
{
    return YDevToInches(Metrics().height());
}

double PrintEngine::ExtraLineSpacing() const
{
    return YDevToInches(std::max(0.0, Metrics().leading()));
}

void PrintEngine::SetLineTop(double yInch)
{
    m_lineTop = YInchesToDev(yInch);
}

void PrintEngine::SetLineBottom(double yInch)
{
    m_lineTop = YInchesToDev(yInch) - Metrics().height();
}

void PrintEngine::PrintAt(const QString &text, double deviceX, double width)
{
    if (text.isEmpty())
        return;
    const QFontMetricsF &metrics = Metrics();
    if (!m_textTransparent)
        m_painter.fillRect(QRectF(deviceX, m_lineTop, width, metrics.height()),
                           ToQColor(m_textBackground));
    m_painter.setFont(m_font);
    m_painter.setPen(m_fontColor);
    m_painter.drawText(QPointF(deviceX, m_lineTop + metrics.ascent()), text);
}

void PrintEngine::PrintLeft(const QString &text, double xInch)
{
    const double width = AdvancePixels(text);
    PrintAt(text, XInchesToDev(xInch), width);
}

void PrintEngine::PrintCenter(const QString &text, double xInch)
{
    const double width = AdvancePixels(text);
    PrintAt(text, XInchesToDev(xInch) - width / 2, width);
}

void PrintEngine::PrintRight(const QString &text, double xInch)
{
    const double width = AdvancePixels(text);
    PrintAt(text, XInchesToDev(xInch) - width, width);
}

// --- pages
// ----------------------------------------------------------------------------------------

bool PrintEngine::NewPage()
{
    auto *paged = dynamic_cast<QPagedPaintDevice *>(m_painter.device());
    return paged && paged->newPage();
}

} // namespace Dayloom
