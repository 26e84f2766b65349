#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QMap>

namespace Dayloom {

// The four principal phases of the Moon, in their order in a lunation.
enum class MoonPhase : int
{
    New = 0,
    FirstQuarter = 1,
    Full = 2,
    LastQuarter = 3
};

// The moments of the Moon's principal phases, after J. Meeus, Astronomical
// Algorithms (2nd ed., 1998), chapter 49: the mean phase corrected by the
// periodic terms of the Sun's and the Moon's anomalies, the Moon's argument
// of latitude and node, and the fourteen planetary arguments. The book
// gives the result in Dynamical Time; it is turned into Universal Time with
// a polynomial for Delta T. Accurate to well under a minute for the years
// 1900-2100, which is what the days of a calendar need.
namespace MoonPhases {

struct Event
{
    MoonPhase phase = MoonPhase::New;
    QDateTime when; // UTC
};

// The Julian Ephemeris Day (Dynamical Time) of the phase of lunation k,
// k = 0 being the new moon of 6 January 2000; k + 0.25, + 0.5 and + 0.75
// are the first quarter, the full moon and the last quarter.
double PhaseJde(double k);
// Delta T = TD - UT in seconds for a (fractional) year.
double DeltaTSeconds(double year);

// The phases whose moments lie in [from, to), in time order.
QList<Event> Between(const QDateTime &from, const QDateTime &to);

// The days from `first` to `last` (inclusive) on which a phase falls, in
// the machine's local time zone. At most a few hundred years at a time.
QMap<QDate, MoonPhase> Days(const QDate &first, const QDate &last);

} // namespace MoonPhases
} // namespace Dayloom
