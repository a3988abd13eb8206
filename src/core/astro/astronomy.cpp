#include "core/astro/astronomy.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "core/astro/chart_positions.h"
#include "core/base/calendar.h"
#include "core/base/trimmed.h"

namespace orvanta {

const std::array<std::string_view, 27> NakshatraNames = {
    "Aswini",     "Bharani",   "Krittika",        "Rohini",          "Mrigsira",      "Ardra",
    "Punarvasu",  "Pushya",    "Aslesha",         "Magha",           "Purbha Phalguni", "Uttara Phalguni",
    "Hasta",      "Chitra",    "Swati",           "Vishakha",        "Anuradha",      "Jyeshtha",
    "Mula",       "P.Shadya",  "U.Shadya",        "Shravana",        "Dhanishtha",    "Shatbisha",
    "Purbha Phadra", "Uttara Phadra", "Revati"};

namespace {

constexpr std::array<std::string_view, 12> kRashiNames = {
    "Aries (Mesha)",  "Taurus (Vrishabha)", "Gemini (Mithuna)",      "Cancer (Kataka)",
    "Leo (Simha)",    "Virgo (Kanya)",      "Libra (Thula)",         "Scorpio (Vrishcika)",
    "Sagittarius (Dhanush)", "Capricorn (Makara)", "Aquarius (Kumbha)", "Pisces (Meena)"};

// Int of the old basic: the floor.
double Int(double x) { return std::floor(x); }

// The position texts are written into a buffer and made a string once, so that one
// short enough for the string's own storage takes no allocation.
struct TextBuffer {
    char chars[96];
    char* end = chars;

    void appendInt(double value) {
        end = std::to_chars(end, chars + sizeof chars, static_cast<long long>(value)).ptr;
    }
    void append(std::string_view text) { end = std::copy(text.begin(), text.end(), end); }
    std::string_view view() const { return {chars, static_cast<std::size_t>(end - chars)}; }
    std::string str() const { return std::string(view()); }
};

TextBuffer SignPositionText(double x) {
    const double a = std::fabs(x);
    const double g = Int(a);
    const double n = 60 * (a - g);
    const double m = Int(n);
    const double s = Int(60 * (n - m));
    // A longitude that rounds to exactly 360 reads as 0° Aries rather than a thirteenth sign.
    const auto sign = static_cast<std::size_t>(Int(g / 30)) % 12;
    const double inSign = g - 30 * Int(g / 30);

    TextBuffer text;
    text.appendInt(inSign);
    text.append("\u00B0 ");
    text.appendInt(m);
    text.append("' ");
    text.appendInt(s);
    text.append("\" ");
    text.append(SignCodes.substr(3 * sign, 3));
    return text;
}

}  // namespace

BirthTime ReadBirthTime(const BirthDetails& birth) {
    BirthTime t;
    t.localTime = birth.hour + birth.minute / 60.0;
    t.zone = birth.zoneHours + birth.zoneMinutes / 60.0;
    t.signedLongitude = birth.longitudeDegrees + birth.longitudeMinutes / 60.0;
    if (birth.isEast) t.signedLongitude = -t.signedLongitude;
    t.signedLatitude = birth.latitudeDegrees + birth.latitudeMinutes / 60.0;
    if (birth.isSouth) t.signedLatitude = -t.signedLatitude;
    const bool east = ClassicZoneIsEast(birth.longitudeDegrees, birth.longitudeMinutes, birth.isEast);
    if (birth.dst) t.zone += east ? 1 : -1;
    t.universalTime = east ? t.localTime - t.zone : t.localTime + t.zone;
    return t;
}

double JulianDayNumber(int month, int day, int year) {
    const double m = 12.0 * (year + 4800) + month - 3;  // months from March of -4800
    const double y = Int(m / 12);
    const double k = m - 12 * y;  // 0 = March .. 11 = February
    double j = day + Int((365 * m + 2 * k + 7) / 12) + Int(m / 48) - 32083;  // Julian calendar
    if (j > 2299171) j = j + Int(m / 4800) - Int(m / 1200) + 38;              // Gregorian
    return j;
}

double T2000(double jd, double universalTime) {
    return (jd - 2451545 + universalTime / 24 - 0.5) / 36525;
}

double T1900(double jd, double universalTime) {
    return (jd - 2415020 + universalTime / 24 - 0.5) / 36525;
}

double Ayanamsha2000(double t) {
    const double node = 125.044555 - 1934.1361849 * t + 0.0020762 * t * t;
    const double sun = 280.466449 + 36000.7698231 * t + 0.0003106 * t * t;
    // Nutation in arc-seconds; the second term takes sin L itself, not sin 2L.
    const double nutation = 17.23 * std::sin(node * kDegToRad) + 1.27 * std::sin(sun * kDegToRad);
    return (nutation - 5025.64 * t - 1.11 * t * t - 85886.27) / 3600;
}

double Ayanamsha1900(double t) {
    double node = (933060 - 6962911 * t + 7.5 * t * t) / 3600;
    while (node >= 360) node -= 360;  // a negative node is left as it is
    const double twiceSun = (2013816 + 259205536 * t) / 3600;
    const double nutation = 17.23 * std::sin(node * kDegToRad) + 1.27 * std::sin(twiceSun * kDegToRad);
    return (nutation - 5025.64 * t - 1.11 * t * t - 80861.27) / 3600;
}

namespace {

struct LunarTerm {
    double coefficient;  // degrees
    int d, m, mPrime, f;
    bool timesE;
};

constexpr std::array<LunarTerm, 25> kLunarTerms = {{
    {+6.288774, 0, 0, 1, 0, false},  {+1.274027, 2, 0, -1, 0, false}, {+0.658314, 2, 0, 0, 0, false},
    {+0.213618, 0, 0, 2, 0, false},  {-0.185116, 0, 1, 0, 0, true},   {-0.114332, 0, 0, 0, 2, false},
    {+0.058793, 2, 0, -2, 0, false}, {+0.057066, 2, -1, -1, 0, true}, {+0.053322, 2, 0, 1, 0, false},
    {+0.045758, 2, -1, 0, 0, true},  {-0.040923, 0, 1, -1, 0, true},  {-0.034720, 1, 0, 0, 0, false},
    {-0.030383, 0, 1, 1, 0, true},   {+0.015327, 2, 0, 0, -2, false}, {-0.012528, 0, 0, 1, 2, false},
    {+0.010980, 0, 0, 1, -2, false}, {+0.010675, 4, 0, -1, 0, false}, {+0.010034, 0, 0, 3, 0, false},
    {+0.008548, 4, 0, -2, 0, false}, {-0.007888, 2, 1, -1, 0, true},  {-0.006766, 2, 1, 0, 0, true},
    {-0.005163, 1, 0, -1, 0, false}, {+0.004987, 1, 1, 0, 0, true},   {+0.004036, 2, -1, 1, 0, true},
    {+0.003994, 2, 0, 2, 0, false},
}};

// The remainder of x by 360 with the sign of x, exactly, as std::fmod gives it (but
// for the sign of a zero): x - 360 q with q the truncated quotient. For |x| below
// 10^15 the product is exact and the difference is a multiple of x's last-place
// unit below 720, so it is exact too. Should the quotient round across a whole
// number, the remainder comes out one step of 360 off, and the callers' steps of 360
// bring it back exactly.
double Remainder360(double x) {
    if (!(std::fabs(x) < 1e15)) return std::fmod(x, 360.0);
    return x - 360.0 * static_cast<double>(static_cast<long long>(x / 360.0));
}
}  // namespace

double MoonTropicalLongitude(double t) {
    // Fundamental arguments in degrees, first power of T only, not reduced.
    const double meanLongitude = 218.3164591 + 481267.88134236 * t;
    const double d = (297.8502042 + 445267.1115168 * t) * kDegToRad;
    const double m = (357.5291092 + 35999.0502909 * t) * kDegToRad;
    const double mPrime = (134.9634114 + 477198.8676313 * t) * kDegToRad;
    const double f = (93.2720993 + 483202.0175273 * t) * kDegToRad;
    const double e = 1 - 0.002516 * t - 0.0000074 * t * t;

    double sum = 0;
    for (const LunarTerm& term : kLunarTerms) {
        double value = term.coefficient * std::sin(term.d * d + term.m * m + term.mPrime * mPrime + term.f * f);
        if (term.timesE) value *= e;
        sum += value;
    }
    // Brought into [0, 360) by steps of 360: every step is exact (the value only shrinks
    // and stays a multiple of its first last-place unit), so one exact remainder gives
    // the same double as stepping, and the loops finish the last step or two.
    double lambda = Remainder360(meanLongitude + sum);
    while (lambda < 0) lambda += 360;
    while (lambda >= 360) lambda -= 360;
    return lambda + 0.0;  // a remainder of -0 reads as the 0 that stepping gives
}

double LocalSiderealAngle(double t, double universalTime, double signedLongitude) {
    // T and the universal time together give the sidereal rate, so no separate
    // factor 1.0027379 is applied.
    // One exact remainder for the steps of 360, as for the Moon.
    double theta = Remainder360(15 * (6.6460656 + 2400.0513 * t + 0.0000258 * t * t + universalTime) - signedLongitude) + 0.0;
    while (theta >= 360) theta -= 360;
    while (theta < 0) theta += 360;  // not reached for birth years 1901 to 2050
    return theta;
}

double TropicalAscendant(double t, double universalTime, double signedLongitude, double signedLatitude) {
    const double theta = LocalSiderealAngle(t, universalTime, signedLongitude);
    const double epsilon = 23.452294 - 0.0130125 * t;

    const double th = theta * kDegToRad;
    const double eps = epsilon * kDegToRad;
    const double phi = signedLatitude * kDegToRad;
    const double y = std::cos(th);
    const double x = -(std::sin(th) * std::cos(eps) + std::sin(eps) * std::tan(phi));

    // The four-quadrant arctangent of the point (x, y), written out.
    constexpr double pi = std::numbers::pi;
    double a = 0;
    if (x > 0) {
        a = std::atan(y / x);
    } else if (x < 0) {
        a = y >= 0 ? pi - std::atan(std::fabs(y / x)) : -(pi - std::atan(std::fabs(y / x)));
    } else {
        a = y > 0 ? pi / 2 : (y < 0 ? -pi / 2 : 0);
    }
    if (a < 0) a += 2 * pi;

    double degrees = a * kRadToDeg;
    while (degrees >= 360) degrees -= 360;
    return degrees;
}

std::string FormatSignPosition(double x) { return SignPositionText(x).str(); }

std::string FormatSignedAngle(double x) {
    const double sigma = x < 0 ? -1 : 1;
    const double a = std::fabs(x);
    const double g = Int(a);
    const double n = 60 * (a - g);
    const double m = Int(n);
    const double s = Int(60 * (n - m));
    // sigma x g: an angle between -1° and 0° shows no minus sign.
    TextBuffer text;
    const double degrees = sigma * g;
    text.appendInt(degrees == 0 ? 0 : degrees);
    text.append("\u00B0 ");
    text.appendInt(m);
    text.append("' ");
    text.appendInt(s);
    text.append("\"");
    return text.str();
}

std::string_view NakshatraOf(double siderealLongitude) {
    // In units of 800 arc-minutes (13° 20'), truncated.
    const auto q = static_cast<std::size_t>(Int(siderealLongitude * 60 / 800));
    return NakshatraNames[q % NakshatraNames.size()];
}

std::string_view RashiName(std::string_view signCode) {
    const int sign = SignOfCode(signCode);
    return sign < 0 ? std::string_view{} : kRashiNames[static_cast<std::size_t>(sign)];
}

void ComputeMoonPlace(const BirthDetails& birth, ChartPositions& positions) {
    ComputeMoonPlace(ReadBirthTime(birth), JulianDayNumber(birth.month, birth.day, birth.year), positions);
}

void ComputeMoonPlace(const BirthTime& time, double julianDay, ChartPositions& positions) {
    const double t = T2000(julianDay, time.universalTime);

    double sidereal = MoonTropicalLongitude(t) + Ayanamsha2000(t);
    if (sidereal < 0) sidereal += 360;
    // The position text of a longitude in [0, 360] has 16 characters at most.
    positions.moonText.assign(SignPositionText(sidereal).view());

    positions.moonNakshatraName.assign(NakshatraOf(sidereal));

    const std::string_view text = Trimmed(positions.moonText);
    const std::string_view rashi = RashiName(text.substr(text.size() - 3));
    if (!rashi.empty()) positions.moonRashiName.assign(rashi);
}

void ComputeLagna(const BirthDetails& birth, ChartPositions& positions) {
    ComputeLagna(ReadBirthTime(birth), JulianDayNumber(birth.month, birth.day, birth.year), positions);
}

void ComputeLagna(const BirthTime& time, double julianDay, ChartPositions& positions) {
    positions.julianDay = julianDay;
    const double t = T1900(julianDay, time.universalTime);

    const double ayanamsha = Ayanamsha1900(t);
    positions.ayanamshaText = FormatSignedAngle(ayanamsha);

    double sidereal = TropicalAscendant(t, time.universalTime, time.signedLongitude, time.signedLatitude) + ayanamsha;
    if (sidereal < 0) sidereal += 360;
    if (sidereal > 360) sidereal -= 360;
    positions.lagnaText.assign(SignPositionText(sidereal).view());
}

}  // namespace orvanta
