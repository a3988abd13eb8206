#include "core/periods/period_export.h"

#include <array>
#include <cstdio>

#include "core/dasha/dasha.h"

namespace orvanta {

namespace {

// "00" .. "99": two digits at a time.
constexpr std::array<char, 200> kTwoDigits = [] {
    std::array<char, 200> digits{};
    for (int i = 0; i < 100; ++i) {
        digits[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        digits[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return digits;
}();

char* TwoDigits(char* p, int value) {
    const auto at = static_cast<std::size_t>(2 * value);
    p[0] = kTwoDigits[at];
    p[1] = kTwoDigits[at + 1];
    return p + 2;
}

// A text of another writer copied to `at`.
char* Copied(char* at, const std::string& text) { return std::copy(text.begin(), text.end(), at); }

// "2024-03-01T05:06:07" as FormatCivil writes it, for the years 0 .. 9999; other years
// go through FormatCivil itself.
char* WriteCivil(char* p, const CivilDateTime& c) {
    if (c.year < 0 || c.year > 9999) return Copied(p, FormatCivil(c));
    p = TwoDigits(p, c.year / 100);
    p = TwoDigits(p, c.year % 100);
    *p++ = '-';
    p = TwoDigits(p, c.month);
    *p++ = '-';
    p = TwoDigits(p, c.day);
    *p++ = 'T';
    p = TwoDigits(p, c.hour);
    *p++ = ':';
    p = TwoDigits(p, c.minute);
    *p++ = ':';
    return TwoDigits(p, c.second);
}

// FormatLocal's text: the wall clock and the offset, its seconds only when it has some.
char* WriteLocal(char* p, const BirthInstant& birth, std::int64_t utcSeconds) {
    const int offset = UtcOffsetAt(birth, utcSeconds);
    const int magnitude = offset < 0 ? -offset : offset;
    if (magnitude / 3600 > 99) return Copied(p, FormatLocal(birth, utcSeconds));
    p = WriteCivil(p, CivilOfSeconds(utcSeconds + offset));
    *p++ = offset < 0 ? '-' : '+';
    p = TwoDigits(p, magnitude / 3600);
    *p++ = ':';
    p = TwoDigits(p, magnitude / 60 % 60);
    if (magnitude % 60 != 0) {
        *p++ = ':';
        p = TwoDigits(p, magnitude % 60);
    }
    return p;
}

}  // namespace

char* WriteBoundaryUtc(char* at, const PreciseReport& r, double seconds) {
    at = WriteCivil(at, CivilOfSeconds(RoundedUtcSeconds(r.chart.tree, seconds)));
    *at++ = 'Z';
    return at;
}
char* WriteBoundaryLocal(char* at, const PreciseReport& r, double seconds) {
    return WriteLocal(at, r.chart.birth, RoundedUtcSeconds(r.chart.tree, seconds));
}

void AppendBoundaryUtc(std::string& out, const PreciseReport& r, double seconds) {
    char text[kMostBoundaryBytes];
    out.append(text, static_cast<std::size_t>(WriteBoundaryUtc(text, r, seconds) - text));
}
void AppendBoundaryLocal(std::string& out, const PreciseReport& r, double seconds) {
    char text[kMostBoundaryBytes];
    out.append(text, static_cast<std::size_t>(WriteBoundaryLocal(text, r, seconds) - text));
}

std::string BoundaryUtc(const PreciseReport& r, double seconds) {
    std::string text;
    AppendBoundaryUtc(text, r, seconds);
    return text;
}
std::string BoundaryLocal(const PreciseReport& r, double seconds) {
    std::string text;
    AppendBoundaryLocal(text, r, seconds);
    return text;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

namespace {

std::string IcsStamp(std::int64_t utcSeconds) {
    const CivilDateTime c = CivilOfSeconds(utcSeconds);
    if (c.year < 0 || c.year > 9999) {
        char text[48];
        std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02dZ", c.year, c.month, c.day, c.hour, c.minute,
                      c.second);
        return text;
    }
    char text[16];
    char* p = TwoDigits(text, c.year / 100);
    p = TwoDigits(p, c.year % 100);
    p = TwoDigits(p, c.month);
    p = TwoDigits(p, c.day);
    *p++ = 'T';
    p = TwoDigits(p, c.hour);
    p = TwoDigits(p, c.minute);
    p = TwoDigits(p, c.second);
    *p++ = 'Z';
    return std::string(text, p);
}

// Content lines end in CRLF and are folded before 75 octets, never inside a UTF-8 character.
void AppendIcsLine(std::string& out, std::string_view line) {
    std::size_t width = 75;
    while (line.size() > width) {
        std::size_t cut = width;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        width = 74;  // the leading blank counts
    }
    out.append(line);
    out += "\r\n";
}

std::string IcsText(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\' || c == ';' || c == ',') escaped += '\\';
        if (c == '\n') {
            escaped += "\\n";
            continue;
        }
        escaped += c;
    }
    return escaped;
}

// FNV-1a, 64 bits: the same birth data give the same value on every platform.
std::uint64_t Fingerprint(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

// The person a period's UID is made from: the name and the birth asked for, not what was
// computed nor the settings it was computed with, so that another ayanamsa, year length
// or ephemeris version keeps the same UIDs.
std::string PersonKey(const PreciseReport& r, std::string_view person) {
    const PreciseChart& c = r.chart;
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "%.10g|%.10g", c.latitude, c.longitude);
    return std::string(person) + "|" + FormatCivil(c.birth.local) + "|" + c.birth.timeZone + "|" +
           std::to_string(c.birth.utcSeconds) + "|" + numbers;
}

}  // namespace

std::string LordsText(const Period& p, std::string_view separator) {
    std::string text;
    for (int l = 0; l < p.level; ++l) {
        if (l > 0) text += separator;
        text += DashaLord[static_cast<std::size_t>(p.lords[static_cast<std::size_t>(l)])];
    }
    return text;
}

std::string PreciseCsv(const PreciseReport& r) {
    std::string csv = "level,lords,start,end,startLocal,endLocal";
    if (r.window) csv += ",startEarliest,startLatest";
    csv += "\r\n";
    VisitInReadingOrder(r.chart.tree, 0, [&](int i) {
        const Period& p = r.chart.tree.periods[static_cast<std::size_t>(i)];
        // The times are digits, signs, colons and letters: no field of them needs quotes.
        csv += static_cast<char>('0' + p.level);
        csv += ',';
        csv += CsvField(LordsText(p, "/"));
        csv += ',';
        AppendBoundaryUtc(csv, r, p.start);
        csv += ',';
        AppendBoundaryUtc(csv, r, p.end);
        csv += ',';
        AppendBoundaryLocal(csv, r, p.start);
        csv += ',';
        AppendBoundaryLocal(csv, r, p.end);
        if (r.window) {
            csv += ',';
            AppendBoundaryUtc(csv, r, r.window->startEarliest[static_cast<std::size_t>(i)]);
            csv += ',';
            AppendBoundaryUtc(csv, r, r.window->startLatest[static_cast<std::size_t>(i)]);
        }
        csv += "\r\n";
    });
    return csv;
}

std::string PreciseIcs(const PreciseReport& r, std::int64_t nowUtcSeconds, std::string_view person) {
    char fingerprint[20];
    std::snprintf(fingerprint, sizeof fingerprint, "%016llx",
                  static_cast<unsigned long long>(Fingerprint(PersonKey(r, person))));
    const std::string whose = person.empty() ? std::string() : std::string(person) + ": ";
    const std::string stamp = IcsStamp(nowUtcSeconds);
    std::string ics;
    AppendIcsLine(ics, "BEGIN:VCALENDAR");
    AppendIcsLine(ics, "VERSION:2.0");
    AppendIcsLine(ics, "PRODID:-//Orvanta//orvanta-chart//EN");
    AppendIcsLine(ics, "CALSCALE:GREGORIAN");
    VisitInReadingOrder(r.chart.tree, 0, [&](int i) {
        const Period& p = r.chart.tree.periods[static_cast<std::size_t>(i)];
        AppendIcsLine(ics, "BEGIN:VEVENT");
        AppendIcsLine(ics, "UID:" + std::string(fingerprint) + "-" + LordsText(p, "-") + "@orvanta");
        AppendIcsLine(ics, "DTSTAMP:" + stamp);
        AppendIcsLine(ics, "DTSTART:" + IcsStamp(RoundedUtcSeconds(r.chart.tree, p.start)));
        AppendIcsLine(ics, "DTEND:" + IcsStamp(RoundedUtcSeconds(r.chart.tree, p.end)));
        AppendIcsLine(ics, "SUMMARY:" + IcsText(whose + LordsText(p, " / ")));
        AppendIcsLine(ics, "TRANSP:TRANSPARENT");
        AppendIcsLine(ics, "END:VEVENT");
    });
    AppendIcsLine(ics, "END:VCALENDAR");
    return ics;
}

}  // namespace orvanta
