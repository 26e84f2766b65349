#include "textureart.h"

#include <QColor>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

namespace Dayloom {

namespace {

constexpr double Tau = 6.283185307179586;

quint32 Mix(quint32 h)
{
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

int Wrap(int value, int period)
{
    return ((value % period) + period) % period;
}

// Noise whose lattice repeats after a whole number of cells, so that a tile
// covering whole periods joins itself without a seam.
class PeriodicNoise
{
public:
    explicit PeriodicNoise(quint32 seed) : m_seed(Mix(seed + 0x9e3779b9u)) {}

    // In [0, 1).
    double Lattice(int ix, int iy, int px, int py, quint32 salt = 0) const
    {
        const quint32 h = Mix(m_seed ^ salt ^ (quint32(Wrap(ix, px)) * 0x8da6b343u) ^
                              (quint32(Wrap(iy, py)) * 0xd8163841u));
        return (h & 0xffffffu) / double(0x1000000);
    }

    // Smoothly interpolated value noise at (x, y) lattice units, repeating
    // every (px, py) cells. In [0, 1).
    double Value(double x, double y, int px, int py) const
    {
        const int ix = int(std::floor(x));
        const int iy = int(std::floor(y));
        const double fx = x - ix;
        const double fy = y - iy;
        const double sx = fx * fx * (3 - 2 * fx);
        const double sy = fy * fy * (3 - 2 * fy);
        const double a = Lattice(ix, iy, px, py);
        const double b = Lattice(ix + 1, iy, px, py);
        const double c = Lattice(ix, iy + 1, px, py);
        const double d = Lattice(ix + 1, iy + 1, px, py);
        return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy;
    }

    // Octaves of value noise over the tile (u, v in [0, 1)), the first with
    // (fx, fy) cells across it. In [0, 1).
    double Fractal(double u, double v, int fx, int fy, int octaves) const
    {
        double sum = 0;
        double amplitude = 0.5;
        double total = 0;
        for (int octave = 0; octave < octaves; ++octave) {
            sum += amplitude * Value(u * fx, v * fy, fx, fy);
            total += amplitude;
            fx *= 2;
            fy *= 2;
            amplitude *= 0.5;
        }
        return sum / total;
    }

    // Like Fractal, from the distance of each octave to its middle: creased
    // like flames or ripples. In [0, 1].
    double Turbulence(double u, double v, int fx, int fy, int octaves) const
    {
        double sum = 0;
        double amplitude = 0.5;
        double total = 0;
        for (int octave = 0; octave < octaves; ++octave) {
            sum += amplitude * std::abs(2 * Value(u * fx, v * fy, fx, fy) - 1);
            total += amplitude;
            fx *= 2;
            fy *= 2;
            amplitude *= 0.5;
        }
        return sum / total;
    }

    struct Cells
    {
        double nearest = 0; // distance to the nearest point, in cells
        double second = 0;  // to the second nearest
        quint32 id = 0;     // which cell's point is nearest
    };

    // Cellular noise: one random point in each of n × n cells over the tile.
    Cells Cellular(double u, double v, int n) const
    {
        const double x = u * n;
        const double y = v * n;
        const int cx = int(std::floor(x));
        const int cy = int(std::floor(y));
        Cells cells{1e9, 1e9, 0};
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int ix = cx + dx;
                const int iy = cy + dy;
                const double px = ix + Lattice(ix, iy, n, n, 0x51u);
                const double py = iy + Lattice(ix, iy, n, n, 0xa7u);
                const double distance = std::hypot(px - x, py - y);
                if (distance < cells.nearest) {
                    cells.second = cells.nearest;
                    cells.nearest = distance;
                    cells.id = quint32(Wrap(ix, n) + Wrap(iy, n) * n);
                } else if (distance < cells.second) {
                    cells.second = distance;
                }
            }
        }
        return cells;
    }

private:
    quint32 m_seed;
};

QColor Blend(const QColor &a, const QColor &b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// Colours at evenly spaced points of [0, 1], blended in between.
QColor Ramp(std::initializer_list<QColor> stops, double t)
{
    const std::vector<QColor> colors(stops);
    t = std::clamp(t, 0.0, 1.0) * double(colors.size() - 1);
    const int i = std::min(int(t), int(colors.size()) - 2);
    return Blend(colors[size_t(i)], colors[size_t(i) + 1], t - i);
}

QColor Lighter(const QColor &color, double amount)
{
    return amount >= 0 ? Blend(color, Qt::white, amount) : Blend(color, Qt::black, -amount);
}

double Fraction(double value)
{
    return value - std::floor(value);
}

using Shader = std::function<QColor(double u, double v)>;

struct Texture
{
    const char *name;
    Shader shader;
};

QColor Wood(double u, double v)
{
    static const PeriodicNoise noise(1);
    const double ring = Fraction(8 * v + 1.6 * noise.Fractal(u, v, 2, 3, 4));
    const double grain = noise.Fractal(u, v, 4, 96, 3);
    const QColor base = Ramp({QColor(204, 156, 100), QColor(176, 120, 66), QColor(118, 70, 34)},
                             std::pow(ring, 2.5));
    return Lighter(base, (grain - 0.5) * 0.35);
}

QColor Marble(double u, double v)
{
    static const PeriodicNoise noise(2);
    const double vein = std::sin(Tau * (2 * u + v) + 7 * noise.Fractal(u, v, 4, 4, 5));
    const double t = std::pow(1 - std::abs(vein), 6);
    const QColor base =
        Blend(QColor(243, 241, 236), QColor(222, 220, 226), noise.Fractal(u, v, 3, 3, 3));
    return Blend(base, QColor(110, 112, 126), t * 0.85);
}

QColor Paper(double u, double v)
{
    static const PeriodicNoise noise(3);
    const double tone = noise.Fractal(u, v, 8, 8, 4);
    const double fibre = noise.Fractal(u, v, 6, 48, 3);
    const double speck = noise.Fractal(u, v, 64, 64, 2);
    QColor color = Lighter(QColor(244, 237, 219), (tone - 0.5) * 0.12);
    if (fibre > 0.66)
        color = Lighter(color, -(fibre - 0.66) * 0.5);
    return Lighter(color, (speck - 0.5) * 0.08);
}

QColor Linen(double u, double v)
{
    static const PeriodicNoise noise(4);
    const double warp = 0.5 + 0.5 * std::sin(Tau * 48 * u + 2 * noise.Fractal(u, v, 8, 64, 2));
    const double weft = 0.5 + 0.5 * std::sin(Tau * 48 * v + 2 * noise.Fractal(u, v, 64, 8, 2));
    const bool over = (int(std::floor(48 * u)) + int(std::floor(48 * v))) % 2 == 0;
    const double thread = over ? warp : weft;
    const QColor base =
        Lighter(QColor(214, 198, 166), (noise.Fractal(u, v, 16, 16, 3) - 0.5) * 0.2);
    return Lighter(base, (thread - 0.5) * 0.3);
}

QColor Stone(double u, double v)
{
    static const PeriodicNoise noise(5);
    const auto cells = noise.Cellular(u, v, 5);
    const double crack = std::clamp((cells.second - cells.nearest) * 8, 0.0, 1.0);
    const double tone = noise.Lattice(int(cells.id), 0, 1 << 20, 1, 0x33u);
    const double grit = noise.Fractal(u, v, 32, 32, 3);
    QColor base = Ramp({QColor(150, 146, 138), QColor(176, 170, 160), QColor(128, 124, 120)}, tone);
    base = Lighter(base, (grit - 0.5) * 0.35);
    return Blend(QColor(70, 66, 62), base, crack);
}

QColor BrushedMetal(double u, double v)
{
    static const PeriodicNoise noise(6);
    const double streak = noise.Fractal(u, v, 2, 160, 3);
    const double sheen = 0.5 + 0.5 * std::cos(Tau * v);
    const QColor base = Blend(QColor(150, 156, 164), QColor(214, 218, 224), sheen);
    return Lighter(base, (streak - 0.5) * 0.45);
}

QColor Sky(double u, double v)
{
    static const PeriodicNoise noise(7);
    const double cloud = noise.Fractal(u, v, 4, 4, 6);
    const double cover = std::clamp((cloud - 0.4) * 2.6, 0.0, 1.0);
    const QColor blue =
        Blend(QColor(74, 140, 222), QColor(120, 178, 238), noise.Fractal(u, v, 1, 1, 2));
    return Blend(blue, QColor(250, 250, 252), cover);
}

QColor Grass(double u, double v)
{
    static const PeriodicNoise noise(8);
    const double blades = noise.Fractal(u, v, 96, 6, 3);
    const double patches = noise.Fractal(u, v, 4, 4, 3);
    const QColor base =
        Ramp({QColor(40, 92, 28), QColor(72, 138, 44), QColor(132, 184, 70)}, blades);
    return Lighter(base, (patches - 0.5) * 0.4);
}

QColor Brick(double u, double v)
{
    static const PeriodicNoise noise(9);
    constexpr int Rows = 8;
    constexpr int Columns = 4;
    const double y = v * Rows;
    const int row = int(std::floor(y));
    const double x = u * Columns + (row % 2 == 0 ? 0.0 : 0.5);
    const int column = Wrap(int(std::floor(x)), Columns);
    const double fx = Fraction(x);
    const double fy = Fraction(y);
    const double mortar = 0.05;
    const double grit = noise.Fractal(u, v, 48, 48, 3);
    if (fx < mortar / 2 || fx > 1 - mortar / 2 || fy < mortar * 2 || fy > 1 - mortar)
        return Lighter(QColor(196, 190, 178), (grit - 0.5) * 0.3);
    const double tone = noise.Lattice(column, row, Columns, Rows, 0x77u);
    const QColor base = Ramp({QColor(150, 62, 42), QColor(178, 82, 54), QColor(128, 56, 40)}, tone);
    return Lighter(base, (grit - 0.5) * 0.3 + (noise.Fractal(u, v, 8, 8, 2) - 0.5) * 0.2);
}

QColor Water(double u, double v)
{
    static const PeriodicNoise noise(10);
    const double ripple = 1 - noise.Turbulence(u, v, 4, 6, 4);
    const QColor deep =
        Blend(QColor(16, 78, 140), QColor(30, 120, 170), noise.Fractal(u, v, 2, 2, 2));
    return Blend(deep, QColor(200, 236, 250), std::pow(ripple, 6));
}

QColor Sand(double u, double v)
{
    static const PeriodicNoise noise(11);
    const double ripples =
        0.5 + 0.5 * std::sin(Tau * (10 * v + u) + 4 * noise.Fractal(u, v, 3, 3, 3));
    const double grain = noise.Lattice(int(u * 256), int(v * 256), 256, 256);
    const QColor base = Blend(QColor(222, 196, 146), QColor(238, 218, 174), ripples);
    return Lighter(base, (grain - 0.5) * 0.16);
}

QColor Leather(double u, double v)
{
    static const PeriodicNoise noise(12);
    const auto cells = noise.Cellular(u, v, 22);
    const double crease = std::clamp((cells.second - cells.nearest) * 4, 0.0, 1.0);
    const QColor base =
        Blend(QColor(102, 56, 30), QColor(140, 82, 44), noise.Fractal(u, v, 4, 4, 4));
    return Blend(Lighter(base, -0.35), base, crease);
}

QColor Cork(double u, double v)
{
    static const PeriodicNoise noise(13);
    const auto cells = noise.Cellular(u, v, 40);
    const double speck = noise.Lattice(int(cells.id), 1, 1 << 20, 1, 0x19u);
    QColor base = Blend(QColor(196, 150, 98), QColor(218, 176, 122), noise.Fractal(u, v, 8, 8, 3));
    if (speck > 0.8 && cells.nearest < 0.45)
        base = Lighter(base, -0.45);
    else if (speck < 0.2)
        base = Lighter(base, 0.15);
    return base;
}

QColor Granite(double u, double v)
{
    static const PeriodicNoise noise(14);
    const auto cells = noise.Cellular(u, v, 64);
    const double kind = noise.Lattice(int(cells.id), 2, 1 << 20, 1, 0x5bu);
    QColor crystal;
    if (kind < 0.45)
        crystal = QColor(196, 170, 164);
    else if (kind < 0.75)
        crystal = QColor(150, 146, 150);
    else if (kind < 0.9)
        crystal = QColor(226, 222, 218);
    else
        crystal = QColor(40, 38, 42);
    return Lighter(crystal, (noise.Fractal(u, v, 16, 16, 2) - 0.5) * 0.2);
}

QColor Denim(double u, double v)
{
    static const PeriodicNoise noise(15);
    const double twill = 0.5 + 0.5 * std::sin(Tau * (40 * u + 40 * v));
    const double slub = noise.Fractal(u, v, 4, 64, 3);
    const QColor base = Blend(QColor(38, 64, 112), QColor(70, 100, 150), slub);
    return Blend(base, QColor(176, 190, 214), std::pow(twill, 8) * 0.55);
}

QColor Gold(double u, double v)
{
    static const PeriodicNoise noise(16);
    const double light = noise.Fractal(u, v, 3, 3, 4);
    const double glint = std::pow(noise.Fractal(u, v, 12, 12, 2), 4) * 2;
    return Lighter(Ramp({QColor(150, 100, 20), QColor(214, 166, 48), QColor(252, 226, 120)}, light),
                   glint * 0.5);
}

QColor Fire(double u, double v)
{
    static const PeriodicNoise noise(17);
    const double flame = noise.Turbulence(u, v, 3, 4, 5);
    return Ramp(
        {QColor(120, 10, 0), QColor(214, 48, 8), QColor(250, 150, 20), QColor(255, 236, 130)},
        flame * 1.4);
}

QColor Rainbow(double u, double v)
{
    static const PeriodicNoise noise(18);
    const double hue = Fraction(u + v + 0.3 * noise.Fractal(u, v, 2, 2, 3));
    return QColor::fromHsvF(float(hue), 0.65f, 0.95f);
}

const std::array<Texture, 18> &Textures()
{
    static const std::array<Texture, 18> textures{{
        {"Wood", Wood},
        {"Marble", Marble},
        {"Paper", Paper},
        {"Linen", Linen},
        {"Stone", Stone},
        {"Brushed Metal", BrushedMetal},
        {"Sky", Sky},
        {"Grass", Grass},
        {"Brick", Brick},
        {"Water", Water},
        {"Sand", Sand},
        {"Leather", Leather},
        {"Cork", Cork},
        {"Granite", Granite},
        {"Denim", Denim},
        {"Gold", Gold},
        {"Fire", Fire},
        {"Rainbow", Rainbow},
    }};
    return textures;
}

} // namespace

QStringList TextureArt::Names()
{
    QStringList names;
    for (const Texture &texture : Textures())
        names << QString::fromLatin1(texture.name);
    return names;
}

QImage TextureArt::Draw(const QString &name, int size)
{
    if (size < 16)
        return {};
    const auto &textures = Textures();
    const auto found = std::find_if(textures.begin(), textures.end(), [&](const Texture &texture) {
        return name == QLatin1String(texture.name);
    });
    if (found == textures.end())
        return {};
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size; ++x)
            line[x] = found->shader((x + 0.5) / size, (y + 0.5) / size).rgb();
    }
    return image;
}

} // namespace Dayloom
