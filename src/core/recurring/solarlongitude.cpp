#include "core/recurring/solarlongitude.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace Dayloom {

namespace {

constexpr double DegreesPerRadian = 180.0 / std::numbers::pi;
constexpr double J2000 = 2451545.0;
constexpr double DaysPerMillennium = 365250.0;
constexpr double TropicalYear = 365.2422;

struct Term
{
    double amplitude; // 1e-8 radians
    double phase;     // radians
    double frequency; // radians per Julian millennium
};

// VSOP87D, the Earth's heliocentric ecliptic longitude (Bretagnon & Francou
// 1988), the series L0..L5 with their terms of 2e-7 radians and more (L0),
// 1e-7 (L1), 5e-8 (L2) and 1e-8 (L3, L4), and L5's constant.
constexpr Term L0[] = {
    {175347045.673, 0.00000000000, 0.00000000000}, {3341656.456, 4.66925680417, 6283.07584999140},
    {34894.275, 4.62610241759, 12566.15169998280}, {3417.571, 2.82886579606, 3.52311834900},
    {3497.056, 2.74411800971, 5753.38488489680},   {3135.896, 3.62767041758, 77713.77146812050},
    {2676.218, 4.41808351397, 7860.41939243920},   {2342.687, 6.13516237631, 3930.20969621960},
    {1273.166, 2.03709655772, 529.69096509460},    {1324.292, 0.74246356352, 11506.76976979360},
    {901.855, 2.04505443513, 26.29831979980},      {1199.167, 1.10962944315, 1577.34354244780},
    {857.223, 3.50849156957, 398.14900340820},     {779.786, 1.17882652114, 5223.69391980220},
    {990.250, 5.23268129594, 5884.92684658320},    {753.141, 2.53339053818, 5507.55323866740},
    {505.264, 4.58292563052, 18849.22754997420},   {492.379, 4.20506639861, 775.52261132400},
    {356.655, 2.91954116867, 0.06731030280},       {284.125, 1.89869034186, 796.29800681640},
    {242.810, 0.34481140906, 5486.77784317500},    {317.087, 5.84901952218, 11790.62908865880},
    {271.039, 0.31488607649, 10977.07880469900},   {206.160, 4.80646606059, 2544.31441988340},
    {205.385, 1.86947813692, 5573.14280143310},    {202.261, 2.45767795458, 6069.77675455340},
    {126.184, 1.08302630210, 20.77539549240},      {155.516, 0.83306073807, 213.29909543800},
    {115.132, 0.64544911683, 0.98032106820},       {102.851, 0.63599846727, 4694.00295470760},
    {101.724, 4.26679821365, 7.11354700080},       {99.206, 6.20992940258, 2146.16541647520},
    {132.212, 3.41118275555, 2942.46342329160},    {97.607, 0.68101272270, 155.42039943420},
    {85.128, 1.29870743025, 6275.96230299060},     {74.651, 1.75508916159, 5088.62883976680},
    {101.895, 0.97569221824, 15720.83878487840},   {84.711, 3.67080093025, 71430.69561812909},
    {73.547, 4.67926565481, 801.82093112380},      {73.874, 3.50319443167, 3154.68708489560},
    {78.756, 3.03698313141, 12036.46073488820},    {79.637, 1.80791330700, 17260.15465469040},
    {85.803, 5.98322631256, 161000.68573767410},   {56.963, 2.78430398043, 6286.59896834040},
    {61.148, 1.81839811024, 7084.89678111520},     {69.627, 0.83297596966, 9437.76293488700},
    {56.116, 4.38694880779, 14143.49524243060},    {62.449, 3.97763880587, 8827.39026987480},
    {51.145, 0.28306864501, 5856.47765911540},     {55.577, 3.47006009062, 6279.55273164240},
    {41.036, 5.36817351402, 8429.24126646660},     {51.605, 1.33282746983, 1748.01641306700},
    {51.992, 0.18914945834, 12139.55350910680},    {49.000, 0.48735065033, 1194.44701022460},
    {39.200, 6.16832995016, 10447.38783960440},    {35.566, 1.77597314691, 6812.76681508600},
    {36.770, 6.04133859347, 10213.28554621100},    {36.596, 2.56955238628, 1059.38193018920},
    {33.291, 0.59309499459, 17789.84561978500},    {35.954, 1.70876111898, 2352.86615377180},
    {40.938, 2.39850881707, 19651.04848109800},    {30.047, 2.73975123935, 1349.86740965880},
    {30.412, 0.44294464135, 83996.84731811189},    {23.663, 0.48473567763, 8031.09226305840},
    {23.574, 2.06527720049, 3340.61242669980},     {21.089, 4.14825464101, 951.71840625060},
    {24.738, 0.21484762138, 3.59042865180},        {25.352, 3.16470953405, 4690.47983635860},
    {22.820, 5.22197888032, 4705.73230754360},     {21.419, 1.42563735525, 16730.46368959580},
    {21.891, 5.55594302562, 553.56940284240},      {20.300, 0.37133792946, 283.85931886520},
};
constexpr Term L1[] = {
    {628331966747.491, 0.00000000000, 0.00000000000}, {206058.863, 2.67823455584, 6283.07584999140},
    {4303.430, 2.63512650414, 12566.15169998280},     {425.264, 1.59046980729, 3.52311834900},
    {108.977, 2.96618001993, 1577.34354244780},       {93.478, 2.59212835365, 18849.22754997420},
    {119.261, 5.79557487799, 26.29831979980},         {72.122, 1.13846158196, 529.69096509460},
    {67.768, 1.87472304791, 398.14900340820},         {67.327, 4.40918235168, 5507.55323866740},
    {59.027, 2.88797038460, 5223.69391980220},        {55.976, 2.17471680261, 155.42039943420},
    {45.407, 0.39803079805, 796.29800681640},         {36.369, 0.46624739835, 775.52261132400},
    {28.958, 2.64707383882, 7.11354700080},           {19.097, 1.84628332577, 5486.77784317500},
    {20.844, 5.34138275149, 0.98032106820},           {18.508, 4.96855124577, 213.29909543800},
    {16.233, 0.03216483047, 2544.31441988340},        {17.293, 2.99116864949, 6275.96230299060},
    {15.832, 1.43049285325, 2146.16541647520},        {14.615, 1.20532366323, 10977.07880469900},
    {11.877, 3.25804815607, 5088.62883976680},        {11.514, 2.07502418155, 4694.00295470760},
    {12.461, 2.83432285512, 1748.01641306700},        {11.808, 5.27379790480, 1194.44701022460},
    {10.641, 0.76614199202, 553.56940284240},
};
constexpr Term L2[] = {
    {52918.870, 0.00000000000, 0.00000000000},   {8719.837, 1.07209665242, 6283.07584999140},
    {309.125, 0.86728818832, 12566.15169998280}, {27.339, 0.05297871691, 3.52311834900},
    {16.334, 5.18826691036, 26.29831979980},     {15.752, 3.68457889430, 155.42039943420},
    {9.541, 0.75742297675, 18849.22754997420},   {8.937, 2.05705419118, 77713.77146812050},
    {6.952, 0.82673305410, 775.52261132400},     {5.064, 4.66284525271, 1577.34354244780},
};
constexpr Term L3[] = {
    {289.226, 5.84384198723, 6283.07584999140}, {34.955, 0.00000000000, 0.00000000000},
    {16.819, 5.48766912348, 12566.15169998280}, {2.962, 5.19577265202, 155.42039943420},
    {1.288, 4.72200252235, 3.52311834900},
};
constexpr Term L4[] = {
    {114.084, 3.14159265359, 0.00000000000},
    {7.717, 4.13446589358, 6283.07584999140},
};
constexpr Term L5[] = {
    {0.878, 3.14159265359, 0.0},
};

double Series(const Term *terms, std::size_t count, double tau)
{
    double sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += terms[i].amplitude * std::cos(terms[i].phase + terms[i].frequency * tau);
    return sum;
}

template <std::size_t N> double Series(const Term (&terms)[N], double tau)
{
    return Series(terms, N, tau);
}

double Normalized(double degrees)
{
    const double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360.0 : d;
}

double Sin(double degrees)
{
    return std::sin(degrees / DegreesPerRadian);
}

// Nutation in longitude, degrees (Meeus 22, the 0.5" approximation).
double NutationInLongitude(double t)
{
    const double omega = 125.04452 - 1934.136261 * t;
    const double sun = 280.4665 + 36000.7698 * t;
    const double moon = 218.3165 + 481267.8813 * t;
    const double arcseconds =
        -17.20 * Sin(omega) - 1.32 * Sin(2 * sun) - 0.23 * Sin(2 * moon) + 0.21 * Sin(2 * omega);
    return arcseconds / 3600.0;
}

// The Earth's distance from the Sun in astronomical units, from the leading
// terms of VSOP87's R0 and R1 (1e-5 AU, far below what aberration needs).
double Distance(double tau)
{
    static constexpr Term R0[] = {{100013988.799, 0.0, 0.0},
                                  {1670699.626, 3.09846350771, 6283.0758499914},
                                  {13956.023, 3.0552460962, 12566.1516999828},
                                  {3083.72, 5.19846674381, 77713.7714681205},
                                  {1628.461, 1.17387749012, 5753.3848848968},
                                  {1575.568, 2.84685245825, 7860.4193924392}};
    static constexpr Term R1[] = {{103018.608, 1.10748969588, 6283.0758499914},
                                  {1721.238, 1.06442301418, 12566.1516999828}};
    return (Series(R0, tau) + Series(R1, tau) * tau) * 1e-8;
}

} // namespace

double deltaTSeconds(double year)
{
    const double t = year - 2000;
    if (year >= 2005 && year < 2050)
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    if (year >= 1986 && year < 2005)
        return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t +
               0.000651814 * t * t * t * t + 0.00002373599 * t * t * t * t * t;
    if (year >= 1961 && year < 1986) {
        const double u = year - 1975;
        return 45.45 + 1.067 * u - u * u / 260 - u * u * u / 718;
    }
    if (year >= 1941 && year < 1961) {
        const double u = year - 1950;
        return 29.07 + 0.407 * u - u * u / 233 + u * u * u / 2547;
    }
    if (year >= 1920 && year < 1941) {
        const double u = year - 1920;
        return 21.20 + 0.84493 * u - 0.076100 * u * u + 0.0020936 * u * u * u;
    }
    if (year >= 1900 && year < 1920) {
        const double u = year - 1900;
        return -2.79 + 1.494119 * u - 0.0598939 * u * u + 0.0061966 * u * u * u -
               0.000197 * u * u * u * u;
    }
    const double u = (year - 1820) / 100;
    if (year >= 2050 && year < 2150)
        return -20 + 32 * u * u - 0.5628 * (2150 - year);
    return -20 + 32 * u * u;
}

double apparentSolarLongitude(double jde)
{
    const double tau = (jde - J2000) / DaysPerMillennium;
    const double l =
        (Series(L0, tau) +
         tau *
             (Series(L1, tau) +
              tau * (Series(L2, tau) +
                     tau * (Series(L3, tau) + tau * (Series(L4, tau) + tau * Series(L5, tau)))))) *
        1e-8;
    const double t = tau * 10; // Julian centuries
    // Geocentric: the opposite of the Earth's heliocentric longitude.
    const double geometric = l * DegreesPerRadian + 180.0;
    const double fk5 = -0.09033 / 3600.0;
    const double aberration = -20.4898 / 3600.0 / Distance(tau);
    return Normalized(geometric + fk5 + NutationInLongitude(t) + aberration);
}

double solarLongitudeMoment(int year, double degrees)
{
    if (year < 1000 || year > 3000)
        return std::numeric_limits<double>::quiet_NaN();
    const double target = Normalized(degrees);
    // The Sun stands near 280.5 degrees on 1 January: start from the day
    // that mean motion gives and refine by the true motion.
    const double newYear = QDate(year, 1, 1).toJulianDay() - 0.5;
    double jde = newYear + Normalized(target - 280.5) / 360.0 * TropicalYear;
    for (int i = 0; i < 20; ++i) {
        double error = target - apparentSolarLongitude(jde);
        error -= 360.0 * std::round(error / 360.0);
        const double step = error / 360.0 * TropicalYear;
        jde += step;
        if (std::abs(step) < 1e-7)
            break;
    }
    const double fraction = (jde - newYear) / TropicalYear;
    return jde - deltaTSeconds(year + fraction) / 86400.0;
}

QDate civilDayOf(double jd, int utcOffsetMinutes)
{
    if (!std::isfinite(jd))
        return {};
    return QDate::fromJulianDay(qint64(std::floor(jd + 0.5 + utcOffsetMinutes / 1440.0)));
}

QDate solarLongitudeDay(int year, double degrees, int utcOffsetMinutes)
{
    return civilDayOf(solarLongitudeMoment(year, degrees), utcOffsetMinutes);
}

} // namespace Dayloom
