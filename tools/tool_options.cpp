#include "tool_options.h"

#include <algorithm>
#include <array>

namespace orvanta {

namespace {

// The order is --help's. A new option goes into its group here; the parser of its
// group reads it (precise_output.cpp for the precise method's).
constexpr auto kOptions = std::to_array<ToolOption>({
    {"name", "", "TEXT", "name (S K); letters and blanks", OptionGroup::Form, true},
    {"month", "", "NAME", "January .. December (August)", OptionGroup::Form, true},
    {"day", "", "N", "1 .. 31 (18)", OptionGroup::Form, true},
    {"year", "", "N", "1901 .. 2050 (1981)", OptionGroup::Form, true},
    {"hour", "", "N", "0 .. 23 (23)", OptionGroup::Form, true},
    {"minute", "", "N", "0 .. 59 (30)", OptionGroup::Form, true},
    {"second", "", "N", "0 .. 59 (0); only the precise method reads it", OptionGroup::Form, true},
    {"zone-hour", "", "TEXT", "zone hours, at most 3 characters (5): the zone's distance\n"
         "from UTC, 0 .. 12; its direction is the longitude's (see\n"
         "below)", OptionGroup::Form, true},
    {"zone-minute", "", "TEXT", "zone minutes, at most 2 characters (30)", OptionGroup::Form, true},
    {"dst", "", "", "daylight saving time in force at birth: one hour more", OptionGroup::Form, true},
    {"lat-deg", "", "TEXT", "latitude degrees, at most 2 characters (23)", OptionGroup::Form, true},
    {"lat-min", "", "TEXT", "latitude minutes, at most 2 characters (00)", OptionGroup::Form, true},
    {"south", "", "", "southern latitude (default north)", OptionGroup::Form, true},
    {"lon-deg", "", "TEXT", "longitude degrees, at most 3 characters (80)", OptionGroup::Form, true},
    {"lon-min", "", "TEXT", "longitude minutes, at most 2 characters (0)", OptionGroup::Form, true},
    {"west", "", "", "western longitude (default east)", OptionGroup::Form, true},
    {"json", "", "", "write the results as one JSON object", OptionGroup::Output, false},
    {"report", "", "FILE", "write the report as the report window saves it (RTF);\n"
         "- writes it to standard output", OptionGroup::Output, false},
    {"help", "h", "", "show this text, whatever else the line holds", OptionGroup::About, false},
    {"version", "", "", "show the version", OptionGroup::About, false},
    {"precise", "", "", "add the precise chart; --year may then be 1800 .. 2399\n"
         "(outside 1901 .. 2050 only the precise chart is written)\n"
         "and the seconds are read", OptionGroup::Precise, false},
    {"time-zone", "", "ID", "a zone id of the tz database (Asia/Kolkata, Etc/GMT+4, UTC),\n"
         "exactly as written, instead of the zone boxes; not with\n"
         "--zone-hour, --zone-minute or --dst", OptionGroup::Precise, true},
    {"utc-offset", "", "+HH:MM[:SS]", "a fixed offset from UTC, to the second, within\n"
         "16 hours (+00:21:48, a local mean time; -03:00): no\n"
         "daylight saving; not with --time-zone, the zone boxes,\n"
         "--place or --save; the classic chart is left out", OptionGroup::Precise, true},
    {"fold", "", "WHICH", "earlier or later: the reading of a local time that occurs\n"
         "twice, with --time-zone or --place; without it such a\n"
         "time is refused", OptionGroup::Precise, true},
    {"ayanamsa", "", "NAME", "lahiri (default), raman, krishnamurti, yukteshwar,\n"
         "fagan-bradley, true-citra", OptionGroup::Precise, true},
    {"year-days", "", "N", "the period year in days: 365.25 (default), 365.2425,\n"
         "365.256363, 360, or any value from 300 to 400; or by name:\n"
         "julian 365.25, gregorian 365.2425, tropical 365.24219,\n"
         "sidereal 365.256363, savana 360", OptionGroup::Precise, true},
    {"moon", "", "POSITION", "apparent (default: light-time, deflection, nutation, true\n"
         "ayanamsa) or geometric (none of them, mean ayanamsa)", OptionGroup::Precise, false},
    {"compare", "", "", "instead of the periods, the birth under 40 conventions\n"
         "(4 ayanamsas, 5 named years, both Moon positions): birth\n"
         "lord, balance, first Maha Dasha start, the periods running\n"
         "on --on (default now) and each start's difference from\n"
         "this line's; text, json or csv", OptionGroup::Precise, false},
    {"levels", "", "N", "period levels 1 .. 5 (3): Maha, Antar, Pratyantar,\n"
         "Sookshma, Prana", OptionGroup::Precise, true},
    {"on", "", "WHEN", "YYYY-MM-DD[THH:MM[:SS]], local time of the birth zone:\n"
         "the periods running then", OptionGroup::Precise, true},
    {"uncertainty", "", "MIN", "birth time known to within MIN minutes (0 .. 360): every\n"
         "period start's earliest and latest instant", OptionGroup::Precise, true},
    {"format", "", "FORMAT", "text (default), json (= --json), csv (RFC 4180) or\n"
         "ics (RFC 5545 calendar); csv and ics need --precise", OptionGroup::Precise, false},
    {"planets", "", "", "the nine grahas at birth (text and json): longitude,\n"
         "Nakshatra, speed, whole-sign house, Navamsa, dignity", OptionGroup::Precise, true},
    {"node", "", "WHICH", "mean (default) or true: the lunar node Rahu is taken from", OptionGroup::Precise, true},
    {"batch", "", "FILE", "read birth details from a CSV file (RFC 4180; - reads\n"
         "standard input) and write one JSON object per row, in\n"
         "input order: the object --json writes for that row, or\n"
         "its {\"error\": ...} object. The header names the columns:\n"
         "name, month, day, year, hour, minute, second, zone-hour,\n"
         "zone-minute, dst, lat-deg, lat-min, south, lon-deg,\n"
         "lon-min, west, and with --precise time-zone, fold,\n"
         "ayanamsa, year-days, levels, on, uncertainty, planets,\n"
         "node, utc-offset; a missing column takes its default, dst, south,\n"
         "west and planets are true or false. A row the tool\n"
         "would refuse as unusable arguments writes\n"
         "{\"error\": {\"message\": ..., \"status\": 64}}", OptionGroup::Batch, false},
    {"jobs", "", "N", "rows worked on at once (default: every core)", OptionGroup::Batch, false},
#ifdef ORVANTA_HAVE_ATLAS
    {"place", "", "TEXT", "fill latitude, longitude and zone from the best match for the\n"
         "birth date and time (\"Pune\", \"Springfield, Illinois\");\n"
         "not with --lat-*, --lon-*, --zone-*, --dst, --south, --west", OptionGroup::Place, false},
#endif
#ifdef ORVANTA_HAVE_ATLAS
    {"places", "", "TEXT", "list the matches, one a line: name, state, country, code,\n"
         "latitude, longitude, zone (tab-separated), or JSON with --json", OptionGroup::Place, false},
#endif
    {"open", "", "FILE", "take the birth details from FILE, of any of the three\n"
         "formats (told apart by content); options after it change them", OptionGroup::BirthFile, false},
    {"record", "", "N", "the record N (from 1) of an AAF file of several; without it\n"
         "such a file's records are listed and the status is 2", OptionGroup::BirthFile, false},
    {"save", "", "FILE", "write the birth details the other options give to FILE, the\n"
         "format by its extension (.orvanta, .jhd, .aaf); what the format\n"
         "leaves out is said on standard error", OptionGroup::BirthFile, false},
});

}  // namespace

std::span<const ToolOption> ToolOptions() { return kOptions; }

std::string OptionHelp(OptionGroup group) {
    constexpr std::size_t kHelpColumn = 23;
    std::string text;
    for (const ToolOption& option : kOptions) {
        if (option.group != group) continue;
        std::string head = "  --" + std::string(option.name);
        if (!option.shortName.empty()) head += ", -" + std::string(option.shortName);
        if (!option.valueName.empty()) head += " " + std::string(option.valueName);
        head.resize(std::max(head.size() + 1, kHelpColumn), ' ');
        text += head;
        for (std::size_t from = 0;;) {
            const std::size_t end = option.help.find('\n', from);
            text += option.help.substr(from, end - from);
            text += '\n';
            if (end == std::string_view::npos) break;
            from = end + 1;
            text.append(kHelpColumn, ' ');
        }
    }
    return text;
}

}  // namespace orvanta
