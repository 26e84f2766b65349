#include "core/calendar/pagecanvas.h"

#include <QPainter>

#include <algorithm>

namespace Dayloom {

void PageCanvas::DrawMoonSymbol(QPainter &painter, const TRect &box, MoonPhase phase)
{
    const int side = std::min(box.Width(), box.Height());
    if (side < 3)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const qreal pen = std::max(1.0, side / 12.0);
    painter.setPen(QPen(Qt::black, pen));
    const QRectF disc(box.Left + pen / 2, box.Top + pen / 2, side - pen, side - pen);
    painter.setBrush(phase == MoonPhase::New ? Qt::black : Qt::white);
    painter.drawEllipse(disc);
    if (phase == MoonPhase::FirstQuarter || phase == MoonPhase::LastQuarter) {
        // The dark half: the left one before full moon, the right one after
        // (as seen from the northern hemisphere).
        painter.setBrush(Qt::black);
        const int start = phase == MoonPhase::FirstQuarter ? 90 * 16 : -90 * 16;
        painter.drawPie(disc, start, 180 * 16);
    }
    painter.restore();
}

} // namespace Dayloom
