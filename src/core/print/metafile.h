#pragma once

#include <QPicture>
#include <QRect>
#include <QRectF>

class QPainter;

namespace Dayloom {

// A recorded vector picture of a given physical size, the form in which
// notes and placed objects reach the printer: whatever is drawn into it
// stays lines, fills and text, so it scales without loss when the print
// engine stretches it into a rectangle.
//
// The size is kept in hundredths of a millimetre; drawing coordinates are
// page pixels (96 per inch) from the top left, so a drawing made for the
// screen at zoom 1 fits it as it is.
class Metafile
{
public:
    Metafile(int widthHmm, int heightHmm);

    // Hundredths of a millimetre of a length in page pixels, truncated.
    static int ToHundredthsMm(double pagePixels);

    int WidthHmm() const { return m_widthHmm; }
    int HeightHmm() const { return m_heightHmm; }
    // The drawing area in page pixels (at least one pixel each way).
    QRect Frame() const { return m_frame; }

    // The device to open a painter on. End the painter before Picture().
    QPaintDevice *Canvas() { return &m_picture; }
    // The recording, framed by Frame() whatever was drawn.
    const QPicture &Picture();

    // Plays a recorded picture so that its bounding rectangle fills a
    // rectangle of the painter, as vector output. Text keeps its size
    // relative to the drawing: played straight onto a device of another
    // resolution, a recording would print its text at the device's
    // resolution on top of the stretch.
    static void Stretch(const QPicture &picture, QPainter &painter, const QRectF &target);

private:
    int m_widthHmm;
    int m_heightHmm;
    QRect m_frame;
    QPicture m_picture;
};

} // namespace Dayloom
