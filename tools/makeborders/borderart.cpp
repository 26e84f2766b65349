#include "borderart.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>
#include <map>
#include <vector>

namespace Dayloom {

namespace {

// Everything stays inside this band along the edges (page pixels; the
// calendar starts about 45 pixels in).
constexpr double Band = 40;
constexpr double Pi = 3.14159265358979323846;

// A place for one motif on the centre line of the band.
struct Spot
{
    QPointF at;
    int index = 0;
};

// Motifs at even steps round the band's centre line, one on each corner.
std::vector<Spot> Spots(const QSizeF &page, double inset, double spacing)
{
    const QPointF corners[4] = {{inset, inset},
                                {page.width() - inset, inset},
                                {page.width() - inset, page.height() - inset},
                                {inset, page.height() - inset}};
    std::vector<Spot> spots;
    for (int side = 0; side < 4; ++side) {
        const QPointF a = corners[side];
        const QPointF b = corners[(side + 1) % 4];
        const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
        const int steps = std::max(1, int(std::lround(length / spacing)));
        for (int k = 0; k < steps; ++k)
            spots.push_back({a + (b - a) * (double(k) / steps), int(spots.size())});
    }
    return spots;
}

// A stable pseudo-random number in [0, 1) for a motif.
double Jitter(int index, int salt = 0)
{
    quint32 x = quint32(index) * 2654435761u + quint32(salt) * 40503u + 12345u;
    x ^= x >> 13;
    x *= 0x5bd1e995u;
    x ^= x >> 15;
    return (x % 10000) / 10000.0;
}

void Each(QPainter &p, const QSizeF &page, double spacing,
          const std::function<void(QPainter &, const Spot &)> &motif)
{
    for (const Spot &spot : Spots(page, Band / 2, spacing)) {
        p.save();
        p.translate(spot.at);
        motif(p, spot);
        p.restore();
    }
}

QPainterPath LeafShape(double length, double width)
{
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(length * 0.25, -width * 0.65, length * 0.75, -width * 0.55, length, 0);
    leaf.cubicTo(length * 0.75, width * 0.55, length * 0.25, width * 0.65, 0, 0);
    leaf.closeSubpath();
    return leaf;
}

QPainterPath HeartShape(double s)
{
    QPainterPath heart;
    heart.moveTo(0, s * 0.42);
    heart.cubicTo(-s * 0.62, s * 0.02, -s * 0.48, -s * 0.5, 0, -s * 0.22);
    heart.cubicTo(s * 0.48, -s * 0.5, s * 0.62, s * 0.02, 0, s * 0.42);
    heart.closeSubpath();
    return heart;
}

QPainterPath StarShape(double outer, double inner, int points = 5)
{
    QPolygonF star;
    for (int i = 0; i < points * 2; ++i) {
        const double r = i % 2 ? inner : outer;
        const double a = -Pi / 2 + i * Pi / points;
        star << QPointF(r * std::cos(a), r * std::sin(a));
    }
    QPainterPath path;
    path.addPolygon(star);
    path.closeSubpath();
    return path;
}

QPainterPath EggShape(double width, double height)
{
    QPainterPath egg;
    egg.moveTo(0, -height / 2);
    egg.cubicTo(width * 0.62, -height / 2, width * 0.58, height / 2, 0, height / 2);
    egg.cubicTo(-width * 0.58, height / 2, -width * 0.62, -height / 2, 0, -height / 2);
    egg.closeSubpath();
    return egg;
}

// A holly leaf along the x axis: scalloped edges between spikes.
QPainterPath HollyLeaf(double length, double width)
{
    constexpr int Spikes = 4;
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    const auto edge = [&](double t) { return width / 2 * std::sin(Pi * t); };
    for (int side : {-1, 1}) {
        for (int k = 1; k <= Spikes; ++k) {
            const double t0 = double(side < 0 ? k - 1 : Spikes - k + 1) / Spikes;
            const double t1 = double(side < 0 ? k : Spikes - k) / Spikes;
            const double tm = (t0 + t1) / 2;
            const QPointF tip(length * t1, side * edge(t1) * 1.15);
            const QPointF dent(length * tm, side * edge(tm) * 0.55);
            leaf.quadTo(dent, tip);
        }
    }
    leaf.closeSubpath();
    return leaf;
}

// A ring of pointed petals round the origin, drawn as one outline.
QPainterPath PetalRing(int petals, double inner, double outer, double bulge, double turn = 0)
{
    const double step = 2 * Pi / petals;
    const auto polar = [](double r, double a) { return QPointF(r * std::cos(a), r * std::sin(a)); };
    const double middle = (inner + outer) / 2;
    QPainterPath ring;
    ring.moveTo(polar(inner, turn - step / 2));
    for (int i = 0; i < petals; ++i) {
        const double a = turn + i * step;
        ring.cubicTo(polar(middle, a - step / 2 * bulge), polar(outer, a - step * 0.2),
                     polar(outer, a));
        ring.cubicTo(polar(outer, a + step * 0.2), polar(middle, a + step / 2 * bulge),
                     polar(inner, a + step / 2));
    }
    ring.closeSubpath();
    return ring;
}

QPainterPath WaveLine(double from, double to, double y, double amplitude, double wavelength,
                      bool across)
{
    QPainterPath wave;
    const auto point = [across](double u, double v) {
        return across ? QPointF(v, u) : QPointF(u, v);
    };
    wave.moveTo(point(from, y));
    const double half = wavelength / 2;
    int sign = 1;
    for (double u = from; u < to - 0.01; u += half, sign = -sign) {
        const double end = std::min(u + half, to);
        const double h = amplitude * 1.33 * sign * (end - u) / half;
        wave.cubicTo(point(u + (end - u) / 3, y - h), point(u + 2 * (end - u) / 3, y - h),
                     point(end, y));
    }
    return wave;
}

// --- the borders ----------------------------------------------------------------------

void Holly(QPainter &p, const QSizeF &page)
{
    p.setPen(QPen(QColor(46, 110, 52), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(Band / 2, Band / 2, page.width() - Band, page.height() - Band), 16,
                      16);
    Each(p, page, 52, [](QPainter &p, const Spot &s) {
        p.rotate(s.index * 47.0);
        for (int side : {0, 1}) {
            p.save();
            p.rotate(side ? 200 : -20);
            p.setPen(QPen(QColor(20, 70, 30), 1.2));
            p.setBrush(side ? QColor(34, 120, 50) : QColor(22, 96, 40));
            p.drawPath(HollyLeaf(22, 12));
            p.drawLine(QPointF(1, 0), QPointF(19, 0));
            p.restore();
        }
        p.setPen(QPen(QColor(120, 10, 20), 1));
        p.setBrush(QColor(210, 24, 36));
        for (const QPointF &b : {QPointF(-3, -3), QPointF(4, -2), QPointF(0, 4)})
            p.drawEllipse(b, 4.2, 4.2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 170, 170));
        p.drawEllipse(QPointF(-4, -4.3), 1.2, 1.2);
    });
}

void Snowflakes(QPainter &p, const QSizeF &page)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(225, 238, 252));
    QPainterPath band;
    band.addRect(QRectF(QPointF(0, 0), page));
    band.addRect(QRectF(Band, Band, page.width() - 2 * Band, page.height() - 2 * Band));
    p.drawPath(band);
    Each(p, page, 44, [](QPainter &p, const Spot &s) {
        const bool big = s.index % 2 == 0;
        const double r = big ? 15 : 9;
        p.rotate(s.index * 13.0);
        p.setPen(QPen(big ? QColor(40, 100, 190) : QColor(90, 150, 220), big ? 2.2 : 1.6,
                      Qt::SolidLine, Qt::RoundCap));
        QPainterPath arm;
        arm.moveTo(0, 0);
        arm.lineTo(0, -r);
        for (double at : big ? std::vector<double>{0.3, 0.55} : std::vector<double>{0.55}) {
            const double reach = at < 0.5 ? 0.2 : 0.3;
            arm.moveTo(reach * r, -(at + reach * 0.8) * r);
            arm.lineTo(0, -at * r);
            arm.lineTo(-reach * r, -(at + reach * 0.8) * r);
        }
        QPainterPath flake;
        for (int k = 0; k < 6; ++k)
            flake.addPath(QTransform().rotate(k * 60).map(arm));
        p.setBrush(Qt::NoBrush);
        p.drawPath(flake);
    });
}

void Hearts(QPainter &p, const QSizeF &page)
{
    p.setPen(QPen(QColor(240, 150, 180), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(Band / 2, Band / 2, page.width() - Band, page.height() - Band));
    const QColor colours[] = {QColor(214, 30, 70), QColor(245, 110, 150), QColor(180, 20, 60)};
    Each(p, page, 40, [&](QPainter &p, const Spot &s) {
        const double size = s.index % 2 ? 24 : 32;
        p.rotate((Jitter(s.index) - 0.5) * 30);
        p.setPen(QPen(QColor(120, 10, 40), 1.2));
        p.setBrush(colours[s.index % 3]);
        p.drawPath(HeartShape(size));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 215, 225));
        p.drawEllipse(QPointF(-size * 0.2, -size * 0.2), size * 0.06, size * 0.09);
    });
}

void Shamrocks(QPainter &p, const QSizeF &page)
{
    p.setPen(QPen(QColor(230, 180, 60), 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(6, 6, page.width() - 12, page.height() - 12));
    Each(p, page, 48, [](QPainter &p, const Spot &s) {
        p.rotate((Jitter(s.index) - 0.5) * 60);
        p.setPen(QPen(QColor(30, 100, 40), 2.5, Qt::SolidLine, Qt::RoundCap));
        QPainterPath stem;
        stem.moveTo(0, 0);
        stem.quadTo(3, 9, 8, 15);
        p.setBrush(Qt::NoBrush);
        p.drawPath(stem);
        const QColor leaf = s.index % 2 ? QColor(40, 160, 70) : QColor(20, 130, 55);
        for (int k = 0; k < 3; ++k) {
            p.save();
            p.rotate(k * 120);
            p.translate(0, -6.5);
            p.setPen(QPen(QColor(10, 80, 30), 1));
            p.setBrush(leaf);
            p.drawPath(HeartShape(15).translated(0, -0.5));
            p.restore();
        }
    });
}

void EasterEggs(QPainter &p, const QSizeF &page)
{
    const QColor shells[] = {QColor(250, 200, 215), QColor(190, 225, 250), QColor(255, 235, 150),
                             QColor(200, 240, 195), QColor(220, 200, 245)};
    const QColor stripes[] = {QColor(210, 60, 120), QColor(40, 110, 200), QColor(230, 140, 20),
                              QColor(40, 150, 70), QColor(130, 70, 190)};
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 225, 160));
    for (const QRectF &grass :
         {QRectF(0, page.height() - 8, page.width(), 8), QRectF(0, 0, page.width(), 8)})
        p.drawRect(grass);
    Each(p, page, 40, [&](QPainter &p, const Spot &s) {
        const int c = s.index % 5;
        p.rotate((Jitter(s.index) - 0.5) * 40);
        p.setPen(QPen(stripes[c].darker(130), 1.2));
        p.setBrush(shells[c]);
        p.drawPath(EggShape(22, 30));
        p.setPen(QPen(stripes[c], 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPolygonF zigzag;
        for (int i = 0; i <= 6; ++i)
            zigzag << QPointF(-8.4 + i * 2.8, i % 2 ? 3 : -1);
        p.drawPolyline(zigzag);
        p.setPen(Qt::NoPen);
        p.setBrush(stripes[(c + 2) % 5]);
        for (const QPointF &dot : {QPointF(-4, -7), QPointF(4, -7), QPointF(0, 9)})
            p.drawEllipse(dot, 1.8, 1.8);
    });
}

void Flowers(QPainter &p, const QSizeF &page)
{
    p.setPen(QPen(QColor(90, 160, 80), 2));
    p.setBrush(Qt::NoBrush);
    const double inset = Band / 2;
    for (const QPainterPath &wave :
         {WaveLine(inset, page.width() - inset, inset, 4, 52, false),
          WaveLine(inset, page.width() - inset, page.height() - inset, 4, 52, false),
          WaveLine(inset, page.height() - inset, inset, 4, 52, true),
          WaveLine(inset, page.height() - inset, page.width() - inset, 4, 52, true)})
        p.drawPath(wave);
    const QColor petals[] = {QColor(240, 120, 170), QColor(170, 120, 230), QColor(250, 150, 80),
                             QColor(120, 170, 240)};
    Each(p, page, 52, [&](QPainter &p, const Spot &s) {
        p.save();
        p.rotate(s.index * 40.0 + 25);
        p.setPen(QPen(QColor(40, 110, 50), 0.8));
        p.setBrush(QColor(110, 180, 90));
        p.drawPath(LeafShape(20, 9).translated(6, 0));
        p.restore();
        p.rotate(s.index * 17.0);
        const QColor petal = petals[s.index % 4];
        p.setPen(QPen(petal.darker(140), 1));
        p.setBrush(petal);
        QPainterPath flower;
        flower.setFillRule(Qt::WindingFill);
        for (int k = 0; k < 5; ++k) {
            QPainterPath petalShape;
            petalShape.addEllipse(QRectF(-5, -15, 10, 13));
            flower.addPath(QTransform().rotate(k * 72).map(petalShape));
        }
        p.drawPath(flower);
        p.setPen(QPen(QColor(200, 130, 0), 1));
        p.setBrush(QColor(255, 215, 40));
        p.drawEllipse(QPointF(0, 0), 4.5, 4.5);
    });
}

void Sunflowers(QPainter &p, const QSizeF &page)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 200, 240));
    p.drawRect(QRectF(0, 0, page.width(), 4));
    p.drawRect(QRectF(0, page.height() - 4, page.width(), 4));
    p.drawRect(QRectF(0, 0, 4, page.height()));
    p.drawRect(QRectF(page.width() - 4, 0, 4, page.height()));
    Each(p, page, 46, [](QPainter &p, const Spot &s) {
        p.rotate(s.index * 11.0);
        p.setPen(QPen(QColor(200, 120, 0), 0.8));
        p.setBrush(QColor(240, 160, 10));
        p.drawPath(PetalRing(12, 6, 16.5, 1.1, Pi / 12));
        p.setBrush(QColor(255, 205, 25));
        p.drawPath(PetalRing(12, 6, 15, 1.1));
        p.setPen(QPen(QColor(70, 35, 10), 1));
        p.setBrush(QColor(110, 60, 20));
        p.drawEllipse(QPointF(0, 0), 7.5, 7.5);
        p.setPen(QPen(QColor(170, 110, 50), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(0, 0), 4, 4);
    });
}

QPainterPath MapleLeaf(double r)
{
    // Five lobes with toothed tips, pointing up.
    const double lobes[] = {-90, -35, 20, 160, 215};
    const double lengths[] = {1.0, 0.85, 0.55, 0.55, 0.85};
    QPolygonF outline;
    for (int i = 0; i < 5; ++i) {
        const double a = lobes[i] * Pi / 180;
        const double len = r * lengths[i];
        const double w = 0.32;
        outline << QPointF(len * 0.35 * std::cos(a - w * 1.6), len * 0.35 * std::sin(a - w * 1.6));
        outline << QPointF(len * 0.8 * std::cos(a - w), len * 0.8 * std::sin(a - w));
        outline << QPointF(len * 0.7 * std::cos(a - w * 0.4), len * 0.7 * std::sin(a - w * 0.4));
        outline << QPointF(len * std::cos(a), len * std::sin(a));
        outline << QPointF(len * 0.7 * std::cos(a + w * 0.4), len * 0.7 * std::sin(a + w * 0.4));
        outline << QPointF(len * 0.8 * std::cos(a + w), len * 0.8 * std::sin(a + w));
    }
    outline << QPointF(r * 0.12, r * 0.25) << QPointF(-r * 0.12, r * 0.25);
    QPainterPath leaf;
    leaf.addPolygon(outline);
    leaf.closeSubpath();
    return leaf;
}

void AutumnLeaves(QPainter &p, const QSizeF &page)
{
    const QColor colours[] = {QColor(215, 90, 20), QColor(190, 40, 30), QColor(230, 170, 30),
                              QColor(140, 80, 30), QColor(225, 120, 40)};
    Each(p, page, 40, [&](QPainter &p, const Spot &s) {
        const QColor c = colours[s.index % 5];
        p.rotate((Jitter(s.index) - 0.5) * 120);
        const double r = 15 + Jitter(s.index, 1) * 5;
        p.setPen(QPen(c.darker(160), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, r * 0.2), QPointF(0, r * 0.75));
        p.setPen(QPen(c.darker(150), 1));
        p.setBrush(c);
        p.drawPath(MapleLeaf(r));
        p.setPen(QPen(c.darker(130), 0.8));
        for (double a : {-90.0, -35.0, 215.0})
            p.drawLine(QPointF(0, r * 0.15),
                       QPointF(r * 0.6 * std::cos(a * Pi / 180), r * 0.6 * std::sin(a * Pi / 180)));
    });
}

void Pumpkins(QPainter &p, const QSizeF &page)
{
    p.setPen(QPen(QColor(60, 120, 40), 2));
    p.setBrush(Qt::NoBrush);
    const double inset = Band / 2 + 2;
    for (const QPainterPath &vine :
         {WaveLine(inset, page.width() - inset, inset, 6, 40, false),
          WaveLine(inset, page.width() - inset, page.height() - inset, 6, 40, false),
          WaveLine(inset, page.height() - inset, inset, 6, 40, true),
          WaveLine(inset, page.height() - inset, page.width() - inset, 6, 40, true)})
        p.drawPath(vine);
    Each(p, page, 50, [](QPainter &p, const Spot &s) {
        const double w = s.index % 2 ? 30 : 24;
        const double h = w * 0.72;
        p.setPen(QPen(QColor(90, 60, 20), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, -h * 0.4), QPointF(2, -h * 0.75));
        p.setPen(QPen(QColor(170, 70, 0), 1));
        p.setBrush(QColor(225, 110, 10));
        p.drawEllipse(QPointF(-w * 0.22, 0), w * 0.3, h / 2);
        p.drawEllipse(QPointF(w * 0.22, 0), w * 0.3, h / 2);
        p.setBrush(QColor(245, 140, 30));
        p.drawEllipse(QPointF(0, 0), w * 0.24, h / 2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 140, 50));
        p.drawPath(LeafShape(10, 6).translated(2, -h * 0.55));
    });
}

void Stars(QPainter &p, const QSizeF &page)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(25, 35, 90));
    QPainterPath band;
    band.addRect(QRectF(QPointF(0, 0), page));
    band.addRect(QRectF(Band, Band, page.width() - 2 * Band, page.height() - 2 * Band));
    p.drawPath(band);
    Each(p, page, 38, [](QPainter &p, const Spot &s) {
        const bool big = s.index % 2 == 0;
        p.rotate((Jitter(s.index) - 0.5) * 30);
        p.setPen(QPen(QColor(200, 140, 0), 1));
        p.setBrush(big ? QColor(255, 215, 50) : QColor(250, 245, 210));
        p.drawPath(StarShape(big ? 14 : 8, big ? 6 : 3.5));
    });
    p.setPen(QPen(QColor(255, 215, 50), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(
        QRectF(Band - 3, Band - 3, page.width() - 2 * Band + 6, page.height() - 2 * Band + 6));
}

void Balloons(QPainter &p, const QSizeF &page)
{
    const QColor colours[] = {QColor(230, 40, 50), QColor(40, 120, 230), QColor(250, 200, 30),
                              QColor(60, 180, 80), QColor(200, 70, 200), QColor(250, 130, 30)};
    Each(p, page, 42, [&](QPainter &p, const Spot &s) {
        const QColor c = colours[s.index % 6];
        p.translate(0, -4);
        p.rotate((Jitter(s.index) - 0.5) * 24);
        p.setPen(QPen(QColor(110, 110, 110), 1));
        p.setBrush(Qt::NoBrush);
        QPainterPath string;
        string.moveTo(0, 13);
        string.cubicTo(-4, 17, 4, 21, 0, 25);
        p.drawPath(string);
        p.setPen(QPen(c.darker(150), 1));
        p.setBrush(c);
        p.drawEllipse(QPointF(0, 0), 10, 12.5);
        p.drawPolygon(QPolygonF({QPointF(0, 12), QPointF(-2.5, 15), QPointF(2.5, 15)}));
        p.setPen(Qt::NoPen);
        p.setBrush(c.lighter(160));
        p.drawEllipse(QPointF(-4, -5), 2.2, 3.5);
    });
}

void Waves(QPainter &p, const QSizeF &page)
{
    const QColor colours[] = {QColor(20, 60, 140), QColor(30, 130, 190), QColor(120, 200, 230)};
    for (int k = 0; k < 3; ++k) {
        p.setPen(QPen(colours[k], 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        const double inset = 8 + k * 11;
        const double wavelength = 60;
        const double amplitude = 3.5;
        p.drawPath(WaveLine(inset, page.width() - inset, inset, amplitude, wavelength, false));
        p.drawPath(WaveLine(inset, page.width() - inset, page.height() - inset, amplitude,
                            wavelength, false));
        p.drawPath(WaveLine(inset, page.height() - inset, inset, amplitude, wavelength, true));
        p.drawPath(WaveLine(inset, page.height() - inset, page.width() - inset, amplitude,
                            wavelength, true));
    }
}

void Checker(QPainter &p, const QSizeF &page)
{
    constexpr double Square = 10;
    const QColor colours[] = {QColor(180, 30, 40), QColor(245, 235, 215)};
    p.setPen(Qt::NoPen);
    const int across = int(page.width() / Square);
    const int down = int(page.height() / Square);
    const double left = (page.width() - across * Square) / 2;
    const double top = (page.height() - down * Square) / 2;
    constexpr int Rows = 3;
    for (int j = 0; j < down; ++j) {
        for (int i = 0; i < across; ++i) {
            if (i >= Rows && i < across - Rows && j >= Rows && j < down - Rows)
                continue;
            p.setBrush(colours[(i + j) % 2]);
            p.drawRect(QRectF(left + i * Square, top + j * Square, Square, Square));
        }
    }
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(left, top, across * Square, down * Square));
    p.drawRect(QRectF(left + Rows * Square, top + Rows * Square, (across - 2 * Rows) * Square,
                      (down - 2 * Rows) * Square));
}

void ClassicDoubleLine(QPainter &p, const QSizeF &page)
{
    const QColor navy(25, 40, 90);
    const QColor gold(190, 150, 50);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(navy, 5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(QRectF(8, 8, page.width() - 16, page.height() - 16));
    p.setPen(QPen(navy, 1.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(QRectF(18, 18, page.width() - 36, page.height() - 36));
    p.setPen(QPen(gold, 1, Qt::DotLine));
    p.drawRect(QRectF(13, 13, page.width() - 26, page.height() - 26));
    const QPointF corners[] = {{18, 18},
                               {page.width() - 18, 18},
                               {page.width() - 18, page.height() - 18},
                               {18, page.height() - 18}};
    const QPointF middles[] = {{page.width() / 2, 18},
                               {page.width() - 18, page.height() / 2},
                               {page.width() / 2, page.height() - 18},
                               {18, page.height() / 2}};
    p.setPen(QPen(navy, 1));
    for (const QPointF &c : corners) {
        p.setBrush(gold);
        p.drawPolygon(QPolygonF(
            {c + QPointF(0, -11), c + QPointF(11, 0), c + QPointF(0, 11), c + QPointF(-11, 0)}));
        p.setBrush(navy);
        p.drawEllipse(c, 3.5, 3.5);
    }
    for (const QPointF &m : middles) {
        p.setBrush(gold);
        p.drawPolygon(QPolygonF(
            {m + QPointF(0, -7), m + QPointF(14, 0), m + QPointF(0, 7), m + QPointF(-14, 0)}));
        p.setBrush(navy);
        p.drawEllipse(m, 2.5, 2.5);
    }
}

using BorderDrawing = void (*)(QPainter &, const QSizeF &);

const std::map<QString, BorderDrawing> &Borders()
{
    static const std::map<QString, BorderDrawing> borders = {
        {QStringLiteral("Autumn Leaves"), AutumnLeaves},
        {QStringLiteral("Balloons"), Balloons},
        {QStringLiteral("Checker"), Checker},
        {QStringLiteral("Classic Double Line"), ClassicDoubleLine},
        {QStringLiteral("Easter Eggs"), EasterEggs},
        {QStringLiteral("Flowers"), Flowers},
        {QStringLiteral("Hearts"), Hearts},
        {QStringLiteral("Holly"), Holly},
        {QStringLiteral("Pumpkins"), Pumpkins},
        {QStringLiteral("Shamrocks"), Shamrocks},
        {QStringLiteral("Snowflakes"), Snowflakes},
        {QStringLiteral("Stars"), Stars},
        {QStringLiteral("Sunflowers"), Sunflowers},
        {QStringLiteral("Waves"), Waves},
    };
    return borders;
}

} // namespace

QStringList BorderArt::Names()
{
    QStringList names;
    for (const auto &entry : Borders())
        names.append(entry.first);
    return names;
}

bool BorderArt::Draw(const QString &name, QPainter &painter, const QSizeF &page)
{
    const auto found = Borders().find(name);
    if (found == Borders().end())
        return false;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    found->second(painter, page);
    painter.restore();
    return true;
}

} // namespace Dayloom
