// AAF, the astrological data exchange text: records of chunks, each a line
// "#ID:field,field,...". A record begins with #A93 (last name, first name, type,
// D.M.YYYY, H:MM[:SS], place, country); #B93 gives the Julian day in UT, latitude
// "43n31[:ss]", longitude "5e27[:ss]", the standard zone "1he00" (or "*" for local mean
// time) and the daylight-saving hours 0, 1 or 2. "*" marks a field as unknown.

#include <QDate>

#include <cmath>
#include <regex>

#include "core/birthfile/birth_record.h"
#include "core/periods/precise_chart.h"
#include "file_text.h"

namespace orvanta::birthfile {
namespace {

using namespace detail;

constexpr int kMostOffsetSeconds = 16 * 3600;
constexpr std::size_t kMostRecords = 100000;

std::vector<std::string_view> Fields(std::string_view data) {
    std::vector<std::string_view> fields;
    while (true) {
        const std::size_t comma = data.find(',');
        fields.push_back(Stripped(data.substr(0, comma)));
        if (comma == std::string_view::npos) break;
        data.remove_prefix(comma + 1);
    }
    return fields;
}

bool Unknown(std::string_view field) { return field.empty() || field == "*"; }

// "43n31", "5e27:15": degrees, the hemisphere letter, minutes and optional seconds.
std::optional<double> Coordinate(std::string_view field, char positive, char negative, int most) {
    if (field.size() > 16) return std::nullopt;
    static const std::regex kForm(R"(^(\d{1,3})([a-zA-Z])(\d{1,2})(?::(\d{1,2}))?$)");
    std::cmatch m;
    if (!std::regex_match(field.begin(), field.end(), m, kForm)) return std::nullopt;
    const char side = static_cast<char>(std::tolower(static_cast<unsigned char>(m[2].str()[0])));
    if (side != positive && side != negative) return std::nullopt;
    const int degrees = std::stoi(m[1].str());
    const int minutes = std::stoi(m[3].str());
    const int seconds = m[4].matched ? std::stoi(m[4].str()) : 0;
    const double value = degrees + minutes / 60.0 + seconds / 3600.0;
    if (minutes > 59 || seconds >= 60 || value > most) return std::nullopt;
    return side == negative ? -value : value;
}

// "1he00", "5hw30", "1he", "0e21:48": hours, east or west, minutes and optional seconds;
// seconds of offset east positive.
std::optional<int> Zone(std::string_view field) {
    if (field.size() > 16) return std::nullopt;
    static const std::regex kForm(R"(^(\d{1,2})h?([eEwW])(\d{1,2})?(?::(\d{1,2}))?$)");
    std::cmatch m;
    if (!std::regex_match(field.begin(), field.end(), m, kForm)) return std::nullopt;
    const int minutes = m[3].matched ? std::stoi(m[3].str()) : 0;
    const int seconds = m[4].matched ? std::stoi(m[4].str()) : 0;
    const int size = std::stoi(m[1].str()) * 3600 + minutes * 60 + seconds;
    if (minutes > 59 || seconds > 59 || size > kMostOffsetSeconds) return std::nullopt;
    return std::tolower(static_cast<unsigned char>(m[2].str()[0])) == 'e' ? size : -size;
}

std::string ZoneText(int offsetSeconds) {
    const int a = std::abs(offsetSeconds);
    std::string text = std::to_string(a / 3600) + "h" + (offsetSeconds < 0 ? "w" : "e") + TwoDigits(a / 60 % 60);
    if (a % 60 != 0) text += ":" + TwoDigits(a % 60);
    return text;
}

std::string CoordinateText(double degrees, char positive, char negative) {
    const long long total = std::llround(std::fabs(degrees) * 3600.0);
    std::string text = std::to_string(total / 3600) + (degrees < 0 && total != 0 ? negative : positive) +
                       TwoDigits(static_cast<int>(total / 60 % 60));
    if (total % 60 != 0) text += ":" + TwoDigits(static_cast<int>(total % 60));
    return text;
}

// A field of AAF text: no commas, no line breaks, "*" for nothing.
std::string Field(std::string_view text) {
    std::string out;
    for (const char c : text) out += c == ',' ? ';' : c == '\n' || c == '\r' ? ' ' : c;
    return out.empty() ? "*" : out;
}

struct Pending {
    int line = 0;  // of its #A93
    std::vector<std::string_view> a;
    std::vector<std::string_view> b;
    int bLine = 0;
    std::string zoneName;
    std::string note;
};

std::optional<FileProblem> Finish(const Pending& p, std::vector<ReadRecord>& records) {
    ExchangedBirth birth;
    std::vector<std::string> notes;
    const auto& a = p.a;
    if (a.size() < 5) return Problem(p.line, "an #A93 line needs at least name, first name, type, date and time");
    const std::string last(Unknown(a[0]) ? "" : a[0]);
    const std::string first(Unknown(a[1]) ? "" : a[1]);
    birth.name = first.empty() ? last : last.empty() ? first : first + " " + last;
    if (a.size() > 5 && !Unknown(a[5])) birth.city = std::string(a[5]);
    if (a.size() > 6 && !Unknown(a[6])) birth.country = std::string(a[6]);
    birth.zoneName = p.zoneName;
    birth.note = p.note;

    std::optional<CivilDateTime> local;
    if (!Unknown(a[3])) {
        if (a[3].size() > 16 || a[4].size() > 16) return Problem(p.line, "the date or time is far too long");
        static const std::regex kDate(R"(^(\d{1,2})\.(\d{1,2})\.(\d{1,4})$)");
        std::cmatch m;
        if (!std::regex_match(a[3].begin(), a[3].end(), m, kDate)) {
            return Problem(p.line, "the date \"" + std::string(a[3]) + "\" is not D.M.YYYY");
        }
        CivilDateTime t;
        t.day = std::stoi(m[1].str());
        t.month = std::stoi(m[2].str());
        t.year = std::stoi(m[3].str());
        if (t.month < 1 || t.month > 12) return Problem(p.line, "month " + std::to_string(t.month) + " is not a month of the year");
        if (!QDate(t.year, t.month, t.day).isValid()) return Problem(p.line, "the date " + std::string(a[3]) + " is not in the calendar");
        if (Unknown(a[4])) return Problem(p.line, "the birth time is unknown (*); a chart needs it");
        static const std::regex kTime(R"(^(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?$)");
        if (!std::regex_match(a[4].begin(), a[4].end(), m, kTime)) {
            return Problem(p.line, "the time \"" + std::string(a[4]) + "\" is not H:MM or H:MM:SS");
        }
        t.hour = std::stoi(m[1].str());
        t.minute = std::stoi(m[2].str());
        t.second = m[3].matched ? std::stoi(m[3].str()) : 0;
        if (t.hour > 23 || t.minute > 59 || t.second > 59) return Problem(p.line, "the time " + std::string(a[4]) + " is not a time of day");
        local = t;
    }
    if (p.b.empty()) return Problem(p.line, "the record has no #B93 line: without it there are no coordinates");
    const auto& b = p.b;
    if (b.size() < 4) return Problem(p.bLine, "a #B93 line needs the Julian day, latitude, longitude and zone");
    const std::optional<double> latitude = Coordinate(b[1], 'n', 's', 90);
    if (!latitude) return Problem(p.bLine, "the latitude \"" + std::string(b[1]) + "\" is not as 43n31 or 43n31:15");
    const std::optional<double> longitude = Coordinate(b[2], 'e', 'w', 180);
    if (!longitude) return Problem(p.bLine, "the longitude \"" + std::string(b[2]) + "\" is not as 5e27 or 5e27:15");
    birth.latitude = *latitude;
    birth.longitude = *longitude;

    int dst = 0;
    // "L" in place of the hours marks a local mean time in older files.
    const bool meanTimeMark = b.size() > 4 && (b[4] == "L" || b[4] == "l");
    if (meanTimeMark && !Unknown(b[3])) return Problem(p.bLine, "\"L\" (local mean time) goes with the zone \"*\"");
    if (b.size() > 4 && !Unknown(b[4]) && !meanTimeMark) {
        const std::optional<long long> hours = WholeNumber(b[4]);
        if (!hours || *hours < 0 || *hours > 2) return Problem(p.bLine, "the daylight saving \"" + std::string(b[4]) + "\" is not 0, 1 or 2");
        dst = static_cast<int>(*hours) * 3600;
    }
    if (Unknown(b[3])) {
        birth.localMeanTime = true;
        birth.utcOffsetSeconds = static_cast<int>(std::lround(birth.longitude * 240.0));  // 4 minutes a degree
    } else {
        const std::optional<int> zone = Zone(b[3]);
        if (!zone) return Problem(p.bLine, "the zone \"" + std::string(b[3]) + "\" is not a zone such as 1he00 or 5hw00 (at most 16 hours)");
        birth.utcOffsetSeconds = *zone + dst;
        birth.dstSeconds = dst;
    }

    if (!Unknown(b[0])) {
        const std::optional<double> jd = DecimalNumber(b[0]);
        if (!jd || *jd < 2378495.5 || *jd > 2597642.5) {  // 1799-12-31 .. 2400-01-01 UT: local 1800 .. 2399
            return Problem(p.bLine, "the Julian day \"" + std::string(b[0]) + "\" is not one of the years 1800 to 2399");
        }
        const auto utc = static_cast<std::int64_t>(std::llround((*jd - kJulianDayOfEpoch) * 86400.0));
        const CivilDateTime fromJd = CivilOfSeconds(utc + birth.utcOffsetSeconds);
        if (local && SecondsOfCivil(*local) != SecondsOfCivil(fromJd)) {
            notes.push_back("The Julian day gives the local time " + FormatCivil(fromJd) + ", the date and time " +
                            FormatCivil(*local) + "; the Julian day is read.");
        }
        local = fromJd;
    }
    if (!local) return Problem(p.line, "the record gives neither a date nor a Julian day");
    if (local->year < kFirstBirthYear || local->year > kLastBirthYear) return Problem(p.line, "the year " + std::to_string(local->year) + " lies outside 1800 to 2399");
    birth.local = *local;

    ReadRecord read = RecordOf(birth);
    read.exchanged = birth;
    read.notes.insert(read.notes.begin(), notes.begin(), notes.end());
    records.push_back(std::move(read));
    return std::nullopt;
}

}  // namespace

std::string WriteAafRecord(const ExchangedBirth& birth) {
    const CivilDateTime& t = birth.local;
    std::string time = std::to_string(t.hour) + ":" + TwoDigits(t.minute);
    if (t.second != 0) time += ":" + TwoDigits(t.second);
    std::string out = "#A93:" + Field(birth.name) + ",,*," + std::to_string(t.day) + "." + std::to_string(t.month) +
                      "." + std::to_string(t.year) + "," + time + "," + Field(birth.city) + "," + Field(birth.country) +
                      "\r\n";
    const std::int64_t utc = SecondsOfCivil(t) - birth.utcOffsetSeconds;
    const int dst = birth.dstSeconds.value_or(0);
    out += "#B93:" + Fixed(kJulianDayOfEpoch + static_cast<double>(utc) / 86400.0, 6) + "," +
           CoordinateText(birth.latitude, 'n', 's') + "," + CoordinateText(birth.longitude, 'e', 'w') + "," +
           (birth.localMeanTime ? std::string("*") : ZoneText(birth.utcOffsetSeconds - dst)) + "," +
           std::to_string(dst / 3600) + "\r\n";
    if (!birth.zoneName.empty()) out += "#ZNAM:" + Field(birth.zoneName) + "\r\n";
    if (!birth.note.empty()) out += "#COM:" + Field(birth.note) + "\r\n";
    return out;
}

FileReading ReadAafFile(std::string_view contents) {
    FileReading reading;
    const std::vector<std::string_view> lines = Lines(contents);
    std::optional<Pending> pending;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        const std::string_view text = Stripped(lines[i]);
        if (!text.starts_with('#')) continue;  // blank lines and text between records
        const std::size_t colon = text.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view id = text.substr(1, colon - 1);
        const std::string_view data = text.substr(colon + 1);
        if (id == "A93") {
            if (pending) {
                if (auto problem = Finish(*pending, reading.records)) {
                    reading.problem = problem;
                    return reading;
                }
            }
            if (reading.records.size() >= kMostRecords) {
                reading.problem = Problem(line, "the file holds more than " + std::to_string(kMostRecords) + " records");
                return reading;
            }
            pending = Pending{};
            pending->line = line;
            pending->a = Fields(data);
            continue;
        }
        if (!pending) continue;  // chunks before the first record
        if (id == "B93") {
            if (!pending->b.empty()) {
                reading.problem = Problem(line, "a record has two #B93 lines");
                return reading;
            }
            pending->b = Fields(data);
            pending->bLine = line;
        } else if (id == "ZNAM") {
            pending->zoneName = std::string(Stripped(data));
        } else if (id == "COM") {
            if (!pending->note.empty()) pending->note += '\n';
            pending->note += std::string(Stripped(data));
        }  // #SRC, #VIA, the computed chunks and those of later versions are passed over
    }
    if (pending) {
        if (auto problem = Finish(*pending, reading.records)) reading.problem = problem;
    }
    if (!reading.problem && reading.records.empty()) reading.problem = Problem(0, "it holds no #A93 record");
    return reading;
}

}  // namespace orvanta::birthfile
