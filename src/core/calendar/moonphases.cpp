#include "core/calendar/moonphases.h"

#include <cmath>
#include <numbers>

namespace Dayloom::MoonPhases {

namespace {

constexpr double JdeOfKZero = 2451550.09766; // the new moon of 2000-01-06
constexpr double SynodicMonth = 29.530588861;
constexpr double LunationsPerYear = 12.3685;
constexpr double JulianDayOfUnixEpoch = 2440587.5;
constexpr double MillisecondsPerDay = 86400000.0;

double Sin(double degrees)
{
    return std::sin(degrees * std::numbers::pi / 180.0);
}

double Cos(double degrees)
{
    return std::cos(degrees * std::numbers::pi / 180.0);
}

// Arguments of the periodic terms (degrees) for lunation k.
struct Arguments
{
    double E;     // eccentricity factor of the Earth's orbit
    double M;     // the Sun's mean anomaly
    double Mp;    // the Moon's mean anomaly
    double F;     // the Moon's argument of latitude
    double Omega; // longitude of the Moon's ascending node
};

Arguments ArgumentsOf(double k, double T)
{
    const double T2 = T * T, T3 = T2 * T, T4 = T3 * T;
    Arguments a{};
    a.E = 1.0 - 0.002516 * T - 0.0000074 * T2;
    a.M = 2.5534 + 29.10535670 * k - 0.0000014 * T2 - 0.00000011 * T3;
    a.Mp = 201.5643 + 385.81693528 * k + 0.0107582 * T2 + 0.00001238 * T3 - 0.000000058 * T4;
    a.F = 160.7108 + 390.67050284 * k - 0.0016118 * T2 - 0.00000227 * T3 + 0.000000011 * T4;
    a.Omega = 124.7746 - 1.56375588 * k + 0.0020672 * T2 + 0.00000215 * T3;
    return a;
}

// New moon (full moon differs only in a few coefficients).
double NewOrFullTerms(const Arguments &a, bool full)
{
    const double E = a.E, M = a.M, Mp = a.Mp, F = a.F;
    return (full ? -0.40614 : -0.40720) * Sin(Mp) + (full ? 0.17302 : 0.17241) * E * Sin(M) +
           (full ? 0.01614 : 0.01608) * Sin(2 * Mp) + (full ? 0.01043 : 0.01039) * Sin(2 * F) +
           (full ? 0.00734 : 0.00739) * E * Sin(Mp - M) -
           (full ? 0.00515 : 0.00514) * E * Sin(Mp + M) +
           (full ? 0.00209 : 0.00208) * E * E * Sin(2 * M) - 0.00111 * Sin(Mp - 2 * F) -
           0.00057 * Sin(Mp + 2 * F) + 0.00056 * E * Sin(2 * Mp + M) - 0.00042 * Sin(3 * Mp) +
           0.00042 * E * Sin(M + 2 * F) + 0.00038 * E * Sin(M - 2 * F) -
           0.00024 * E * Sin(2 * Mp - M) - 0.00017 * Sin(a.Omega) - 0.00007 * Sin(Mp + 2 * M) +
           0.00004 * Sin(2 * Mp - 2 * F) + 0.00004 * Sin(3 * M) + 0.00003 * Sin(Mp + M - 2 * F) +
           0.00003 * Sin(2 * Mp + 2 * F) - 0.00003 * Sin(Mp + M + 2 * F) +
           0.00003 * Sin(Mp - M + 2 * F) - 0.00002 * Sin(Mp - M - 2 * F) -
           0.00002 * Sin(3 * Mp + M) + 0.00002 * Sin(4 * Mp);
}

double QuarterTerms(const Arguments &a, bool first)
{
    const double E = a.E, M = a.M, Mp = a.Mp, F = a.F;
    const double terms =
        -0.62801 * Sin(Mp) + 0.17172 * E * Sin(M) - 0.01183 * E * Sin(Mp + M) +
        0.00862 * Sin(2 * Mp) + 0.00804 * Sin(2 * F) + 0.00454 * E * Sin(Mp - M) +
        0.00204 * E * E * Sin(2 * M) - 0.00180 * Sin(Mp - 2 * F) - 0.00070 * Sin(Mp + 2 * F) -
        0.00040 * Sin(3 * Mp) - 0.00034 * E * Sin(2 * Mp - M) + 0.00032 * E * Sin(M + 2 * F) +
        0.00032 * E * Sin(M - 2 * F) - 0.00028 * E * E * Sin(Mp + 2 * M) +
        0.00027 * E * Sin(2 * Mp + M) - 0.00017 * Sin(a.Omega) - 0.00005 * Sin(Mp - M - 2 * F) +
        0.00004 * Sin(2 * Mp + 2 * F) - 0.00004 * Sin(Mp + M + 2 * F) + 0.00004 * Sin(Mp - 2 * M) +
        0.00003 * Sin(Mp + M - 2 * F) + 0.00003 * Sin(3 * M) + 0.00002 * Sin(2 * Mp - 2 * F) +
        0.00002 * Sin(Mp - M + 2 * F) - 0.00002 * Sin(3 * Mp + M);
    const double W = 0.00306 - 0.00038 * E * Cos(M) + 0.00026 * Cos(Mp) - 0.00002 * Cos(Mp - M) +
                     0.00002 * Cos(Mp + M) + 0.00002 * Cos(2 * F);
    return terms + (first ? W : -W);
}

// The corrections of the planetary arguments A1-A14, alike for every phase.
double PlanetaryTerms(double k, double T)
{
    struct Term
    {
        double coefficient, base, rate;
    };
    static constexpr Term Terms[] = {
        {0.000325, 299.77, 0.107408},  {0.000165, 251.88, 0.016321}, {0.000164, 251.83, 26.651886},
        {0.000126, 349.42, 36.412478}, {0.000110, 84.66, 18.206239}, {0.000062, 141.74, 53.303771},
        {0.000060, 207.14, 2.453732},  {0.000056, 154.84, 7.306860}, {0.000047, 34.52, 27.261239},
        {0.000042, 207.19, 0.121824},  {0.000040, 291.34, 1.844379}, {0.000037, 161.72, 24.198154},
        {0.000035, 239.56, 25.513099}, {0.000023, 331.55, 3.592518}};
    double sum = 0;
    bool firstTerm = true;
    for (const Term &term : Terms) {
        double argument = term.base + term.rate * k;
        if (firstTerm) // A1 alone has a secular term
            argument -= 0.009173 * T * T;
        firstTerm = false;
        sum += term.coefficient * Sin(argument);
    }
    return sum;
}

QDateTime UtcOfJde(double jde)
{
    const double jd = jde - DeltaTSeconds(2000.0 + (jde - 2451544.5) / 365.25) / 86400.0;
    const double ms = std::round((jd - JulianDayOfUnixEpoch) * MillisecondsPerDay);
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(ms), Qt::UTC);
}

double JdeOfUtc(const QDateTime &when)
{
    return JulianDayOfUnixEpoch +
           static_cast<double>(when.toMSecsSinceEpoch()) / MillisecondsPerDay;
}

} // namespace

double PhaseJde(double k)
{
    const double T = k / 1236.85;
    const double T2 = T * T;
    const double mean = JdeOfKZero + SynodicMonth * k + 0.00015437 * T2 - 0.000000150 * T2 * T +
                        0.00000000073 * T2 * T2;
    const Arguments a = ArgumentsOf(k, T);
    const double fraction = k - std::floor(k);
    double periodic = 0;
    if (fraction < 0.125 || fraction >= 0.875)
        periodic = NewOrFullTerms(a, false);
    else if (fraction < 0.375)
        periodic = QuarterTerms(a, true);
    else if (fraction < 0.625)
        periodic = NewOrFullTerms(a, true);
    else
        periodic = QuarterTerms(a, false);
    return mean + periodic + PlanetaryTerms(k, T);
}

double DeltaTSeconds(double year)
{
    // Espenak and Meeus's polynomials for 1986-2050 and 2050-2150, the
    // long-term parabola elsewhere.
    if (year >= 1986 && year < 2005) {
        const double t = year - 2000;
        return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t +
               0.000651814 * t * t * t * t + 0.00002373599 * t * t * t * t * t;
    }
    if (year >= 2005 && year < 2050) {
        const double t = year - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    if (year >= 2050 && year < 2150) {
        const double u = (year - 1820) / 100;
        return -20 + 32 * u * u - 0.5628 * (2150 - year);
    }
    const double u = (year - 1820) / 100;
    return -20 + 32 * u * u;
}

QList<Event> Between(const QDateTime &from, const QDateTime &to)
{
    QList<Event> events;
    if (!from.isValid() || !to.isValid() || !(from < to))
        return events;
    // One lunation of margin on either side of the mean lunation count.
    const double firstJde = JdeOfUtc(from);
    const double lastJde = JdeOfUtc(to);
    const double firstK = std::floor((firstJde - JdeOfKZero) / SynodicMonth) - 1;
    const double lastK = std::ceil((lastJde - JdeOfKZero) / SynodicMonth) + 1;
    // Four thousand lunations are three centuries.
    if (lastK - firstK > 4000)
        return events;
    for (double k = firstK; k <= lastK; k += 1) {
        for (int quarter = 0; quarter < 4; ++quarter) {
            const QDateTime when = UtcOfJde(PhaseJde(k + quarter * 0.25));
            if (when >= from && when < to)
                events.append({static_cast<MoonPhase>(quarter), when});
        }
    }
    return events;
}

QMap<QDate, MoonPhase> Days(const QDate &first, const QDate &last)
{
    QMap<QDate, MoonPhase> days;
    if (!first.isValid() || !last.isValid() || last < first)
        return days;
    const QDateTime from = first.startOfDay().toUTC();
    const QDateTime to = last.addDays(1).startOfDay().toUTC();
    for (const Event &event : Between(from, to))
        days.insert(event.when.toLocalTime().date(), event.phase);
    return days;
}

} // namespace Dayloom::MoonPhases
