#pragma once

#include "core/common/fontspec.h"
#include "core/common/tcolor.h"
#include "core/common/trect.h"

#include <QBrush>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPen>
#include <QPointF>
#include <QString>

#include <optional>

class QImage;
class QPainter;
class QPicture;

namespace Dayloom {

// One page of printed output over a painter on any device: a printer, a
// PDF writer, an SVG generator or an image. Positions are given in inches
// from the painter's origin (the printable area's top left on a printer);
// the engine turns them into the device's own pixels, with separate
// horizontal and vertical resolutions.
//
// Text is always drawn in device pixels with fonts sized for the device:
// the painter is never scaled to inches, since text drawn under such a
// scale vanishes or turns into bars on some devices.
//
// The painter's state (pen, brush, font) is the engine's while it prints;
// the caller's transform is kept and taken as device pixels.
class PrintEngine
{
public:
    enum class BrushStyle
    {
        Solid,
        Clear
    };

    explicit PrintEngine(QPainter &painter);

    QPainter &Painter() const { return m_painter; }

    // --- resolution and units -----------------------------------------------------
    double XPixelsPerInch() const { return m_ppiX; }
    double YPixelsPerInch() const { return m_ppiY; }
    double XDevToInches(double x) const { return x / m_ppiX; }
    double YDevToInches(double y) const { return y / m_ppiY; }
    double XInchesToDev(double x) const { return x * m_ppiX; }
    double YInchesToDev(double y) const { return y * m_ppiY; }
    // The rectangle in device pixels whose edges lie at the four inch values
    // (each rounded to the nearest pixel).
    TRect DeviceRect(double left, double top, double right, double bottom) const;

    // --- pen and brush ---------------------------------------------------------------
    // Fills use the brush; a clear brush fills nothing.
    void SetBrush(TColor color, BrushStyle style = BrushStyle::Solid);
    // Lines use the pen, drawn opaquely over what is there. A width below 2
    // (or negative) is the device's thinnest line, one device pixel; larger
    // widths are device pixels.
    void SetPen(TColor color, Qt::PenStyle style = Qt::SolidLine, int width = 1);
    // Fills a rectangle in device pixels (right and bottom excluded).
    void FillRect(const TRect &deviceRect);
    // Lines between positions in inches, in the pen.
    void MoveTo(double xInch, double yInch);
    void LineTo(double xInch, double yInch);
    // Frames and fills a rectangle in inches with the pen and the brush.
    void Rectangle(double left, double top, double right, double bottom);

    // --- pictures ----------------------------------------------------------------------
    // Stretches a recorded picture (its bounding rectangle) or an image into
    // a rectangle in device pixels. A recorded picture stays vector output.
    void StretchDraw(const QPicture &picture, const TRect &deviceRect);
    void StretchDraw(const QImage &image, const TRect &deviceRect);

    // --- text --------------------------------------------------------------------------
    // The current font: face, size in points (at the device's resolution),
    // colour and three style flags.
    void SetFontName(const QString &face);
    void SetFontSize(double points);
    void SetFontColor(TColor color);
    void SetFontStyle(bool bold, bool italic, bool underline);
    // All of the above from a font description. Strike-out is not part of
    // printed text and is not taken over.
    void SelectFont(const FontSpec &font);
    const QFont &Font() const { return m_font; }

    // Text drawn over a filled box of the background colour, or transparent
    // (the default).
    void SetTextTransparent(bool transparent) { m_textTransparent = transparent; }
    void SetTextBackground(TColor color) { m_textBackground = color; }

    // Metrics of the current font, in inches.
    double TextWidth(const QString &text) const;
    double LineHeight() const;
    double ExtraLineSpacing() const;

    // The current text line, placed by its top or by its bottom (inches).
    void SetLineTop(double yInch);
    void SetLineBottom(double yInch);
    // Prints one line of text on the current line, left-aligned at x,
    // centred on x or ending at x (inches).
    void PrintLeft(const QString &text, double xInch);
    void PrintCenter(const QString &text, double xInch);
    void PrintRight(const QString &text, double xInch);

    // --- pages ---------------------------------------------------------------------------
    // Ends the current page and starts a new one. False on a device without
    // pages (an image) or when the device refuses.
    bool NewPage();

private:
    const QFontMetricsF &Metrics() const;
    double AdvancePixels(const QString &text) const;
    void FontChanged();
    void PrintAt(const QString &text, double deviceX, double width);
    QPointF DevicePoint(double xInch, double yInch) const;

    QPainter &m_painter;
    double m_ppiX = 96;
    double m_ppiY = 96;
    QPen m_pen;
    QBrush m_brush;
    QPointF m_position; // device pixels
    QFont m_font;
    QColor m_fontColor = Qt::black;
    mutable std::optional<QFontMetricsF> m_metrics;
    // Text widths in device pixels by font, kept while printing: a page
    // measures the same day numbers and names for every calendar on it.
    mutable QHash<QString, QHash<QString, double>> m_advances;
    mutable QHash<QString, double> *m_fontAdvances = nullptr;
    bool m_textTransparent = true;
    TColor m_textBackground = clWhite;
    double m_lineTop = 0; // device pixels
};

} // namespace Dayloom
