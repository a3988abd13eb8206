#include "periods/period_export.h"

#include <cstdio>

#include "dasha/dasha.h"

namespace orvanta {

std::string BoundaryUtc(const PreciseReport& r, double seconds) {
    return FormatUtc(RoundedUtcSeconds(r.chart.tree, seconds));
}
std::string BoundaryLocal(const PreciseReport& r, double seconds) {
    return FormatLocal(r.chart.birth, RoundedUtcSeconds(r.chart.tree, seconds));
}

namespace {

std::string Utc(const PreciseReport& r, double seconds) { return BoundaryUtc(r, seconds); }
std::string Local(const PreciseReport& r, double seconds) { return BoundaryLocal(r, seconds); }

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string IcsStamp(std::int64_t utcSeconds) {
    const CivilDateTime c = CivilOfSeconds(utcSeconds);
    char text[48];
    std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02dZ", c.year, c.month, c.day, c.hour, c.minute, c.second);
    return text;
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
        csv += std::to_string(p.level) + "," + CsvField(LordsText(p, "/")) + "," + Utc(r, p.start) + "," + Utc(r, p.end) +
               "," + CsvField(Local(r, p.start)) + "," + CsvField(Local(r, p.end));
        if (r.window) {
            csv += "," + Utc(r, r.window->startEarliest[static_cast<std::size_t>(i)]) + "," +
                   Utc(r, r.window->startLatest[static_cast<std::size_t>(i)]);
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
