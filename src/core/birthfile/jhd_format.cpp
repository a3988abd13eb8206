// The .jhd file the Vedic programs exchange: one chart a file, one value a line, CRLF,
// the person named by the file's name. Times and angles are packed sexagesimal numbers
// (10:30:15 as 10.3015, 75°45' as 75.45), east longitudes and zones east of Greenwich
// negative.

#include <QDate>

#include <cmath>
#include <cstdio>

#include "core/birthfile/birth_record.h"
#include "file_text.h"

namespace orvanta::birthfile {
namespace {

using namespace detail;

constexpr int kMostOffsetSeconds = 16 * 3600;  // no zone, mean times included, lies further from UTC

// |value| as units, minutes and seconds of a packed number "U.MMSS", to the second.
struct Packed {
    long long units = 0;
    int minutes = 0;
    int seconds = 0;
};
Packed Unpack(double value, bool withSeconds) {
    const long long n = std::llround(std::fabs(value) * (withSeconds ? 10000.0 : 100.0));
    if (!withSeconds) return {n / 100, static_cast<int>(n % 100), 0};
    return {n / 10000, static_cast<int>(n / 100 % 100), static_cast<int>(n % 100)};
}

std::string PackedText(bool negative, long long units, int minutes, int seconds, std::string_view tail) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%lld.%02d%02d", negative ? "-" : "", units, minutes, seconds);
    return text + std::string(tail);
}

// Degrees as packed D.MMSS to the nearest second of arc, `negativeSide` negative.
std::string PackedAngle(double degrees, bool negativeSide) {
    const long long total = std::llround(std::fabs(degrees) * 3600.0);
    return PackedText(negativeSide && total != 0, total / 3600, static_cast<int>(total / 60 % 60),
                      static_cast<int>(total % 60), "00");
}

std::string BaseName(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of("/\\");
    if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
    const std::size_t dot = fileName.rfind('.');
    if (dot != std::string_view::npos && dot > 0) fileName = fileName.substr(0, dot);
    return std::string(fileName);
}

}  // namespace

std::string WriteJhdFile(const ExchangedBirth& birth) {
    const CivilDateTime& t = birth.local;
    const int zoneMinutes = static_cast<int>(std::lround(std::abs(birth.utcOffsetSeconds) / 60.0));
    const bool east = birth.utcOffsetSeconds > 0;
    const std::string zoneHours = Fixed(-birth.utcOffsetSeconds / 3600.0, 6);
    const std::vector<std::string> lines = {
        std::to_string(t.month),
        std::to_string(t.day),
        std::to_string(t.year),
        PackedText(false, t.hour, t.minute, t.second, "00000000000"),
        PackedText(east && zoneMinutes != 0, zoneMinutes / 60, zoneMinutes % 60, 0, "00"),
        PackedAngle(birth.longitude, birth.longitude > 0),
        PackedAngle(birth.latitude, birth.latitude < 0),
        "0.000000",
        zoneHours,
        zoneHours,
        "0",
        birth.country == "India" ? "105" : "0",
        birth.city,
        birth.country,
        "1",
        "1013.250000",
        "20.000000",
        "1",
    };
    std::string out;
    for (const std::string& line : lines) out += line + "\r\n";
    return out;
}

FileReading ReadJhdFile(std::string_view fileName, std::string_view contents) {
    FileReading reading;
    const std::vector<std::string_view> lines = Lines(contents);
    const auto fail = [&](int line, std::string text) {
        reading.problem = Problem(line, std::move(text));
        return reading;
    };
    struct Field {
        const char* what;
        bool whole;
    };
    static constexpr std::array<Field, 7> kFields = {{{"month", true}, {"day", true}, {"year", true},
                                                      {"time of birth", false}, {"zone", false},
                                                      {"longitude", false}, {"latitude", false}}};
    std::array<double, 7> value{};
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        if (i >= lines.size() || Stripped(lines[i]).empty()) {
            return fail(line, std::string("the file ends before the ") + kFields[i].what);
        }
        if (kFields[i].whole) {
            const std::optional<long long> number = WholeNumber(lines[i]);
            if (!number || std::llabs(*number) > 100000) {
                return fail(line, std::string("the ") + kFields[i].what + " must be a whole number");
            }
            value[i] = static_cast<double>(*number);
        } else {
            const std::optional<double> number = DecimalNumber(lines[i]);
            if (!number || std::fabs(*number) > 1e6) return fail(line, std::string("the ") + kFields[i].what + " must be a number");
            value[i] = *number;
        }
    }
    ExchangedBirth birth;
    birth.name = BaseName(fileName);
    birth.local.month = static_cast<int>(value[0]);
    birth.local.day = static_cast<int>(value[1]);
    birth.local.year = static_cast<int>(value[2]);
    if (birth.local.month < 1 || birth.local.month > 12) {
        return fail(1, "month " + std::to_string(birth.local.month) + " is not a month of the year");
    }
    if (birth.local.year < kFirstBirthYear || birth.local.year > kLastBirthYear) {
        return fail(3, "the year " + std::to_string(birth.local.year) + " lies outside 1800 to 2399");
    }
    if (!QDate(birth.local.year, birth.local.month, birth.local.day).isValid()) {
        return fail(2, "day " + std::to_string(birth.local.day) + " is not a day of that month");
    }
    if (value[3] < 0) return fail(4, "a time of birth cannot be negative");
    const Packed time = Unpack(value[3], true);
    if (time.units > 23 || time.minutes > 59 || time.seconds > 59) {
        return fail(4, "\"" + std::string(Stripped(lines[3])) + "\" is not a time of day as H.MMSS");
    }
    birth.local.hour = static_cast<int>(time.units);
    birth.local.minute = time.minutes;
    birth.local.second = time.seconds;

    const Packed zone = Unpack(value[4], false);
    const long long zoneSeconds = zone.units * 3600 + zone.minutes * 60;
    if (zone.minutes > 59 || zoneSeconds > kMostOffsetSeconds) {
        return fail(5, "\"" + std::string(Stripped(lines[4])) + "\" is not a time zone (at most 16 hours as H.MM)");
    }
    birth.utcOffsetSeconds = static_cast<int>(value[4] < 0 ? zoneSeconds : -zoneSeconds);  // east negative

    const auto angle = [&](std::size_t i, int most, double& target) {
        const Packed a = Unpack(value[i], true);
        const double degrees = static_cast<double>(a.units) + a.minutes / 60.0 + a.seconds / 3600.0;
        if (a.minutes > 59 || a.seconds > 59 || degrees > most) return false;
        target = value[i] < 0 ? -degrees : degrees;
        return true;
    };
    if (!angle(5, 180, birth.longitude)) return fail(6, "the longitude must be D.MMSS of at most 180 degrees");
    birth.longitude = -birth.longitude;  // east negative in the file
    if (!angle(6, 90, birth.latitude)) return fail(7, "the latitude must be D.MMSS of at most 90 degrees");

    if (lines.size() > 12) birth.city = std::string(Stripped(lines[12]));
    if (lines.size() > 13) birth.country = std::string(Stripped(lines[13]));

    ReadRecord read = RecordOf(birth);
    read.exchanged = birth;
    if (lines.size() > 8) {
        const std::optional<double> hours = DecimalNumber(lines[8]);
        if (hours && std::fabs(-*hours * 3600.0 - birth.utcOffsetSeconds) >= 60) {
            read.notes.push_back("Line 9 gives the zone as " + Fixed(*hours, 6) + " hours, line 5 as " +
                                 std::string(Stripped(lines[4])) + "; line 5 is read.");
        }
    }
    reading.records.push_back(std::move(read));
    return reading;
}

}  // namespace orvanta::birthfile
