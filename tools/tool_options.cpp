#include "tool_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include <QByteArray>

#include "core/base/calendar.h"
#include "core/birthfile/birth_record.h"
#include "core/periods/conventions.h"
#include "core/periods/period_tree.h"
#include "core/periods/uncertainty.h"
#include "core/sky/ephemeris.h"
#include "core/zone/fixed_offset.h"

namespace orvanta {

// The state of one line's reading: where the values go, and the precise method's texts
// that are checked once the whole line is read (the last one given counts).
class OptionReading {
public:
    explicit OptionReading(ToolArguments& arguments) : out(arguments) {}
    ToolArguments& out;
    std::optional<std::string_view> format, fold, yearDays, levels, on, uncertainty, moon;
};

namespace {

using Reply = std::optional<std::string>;

std::string Dashed(const ToolOption& option) { return "--" + std::string(option.name); }

std::optional<int> ReadInteger(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// Digits with at most one decimal point ("365.2425"); read in the C locale whatever the
// system's (floating-point from_chars is missing from some standard libraries still in use).
std::optional<double> ReadDecimal(std::string_view text) {
    const auto points = std::count(text.begin(), text.end(), '.');
    const bool digits = std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
    if (text.empty() || !digits || points > 1 || text == ".") return std::nullopt;
    bool ok = false;
    const double value = QByteArray(text.data(), static_cast<qsizetype>(text.size())).toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

// Characters, not bytes, of a UTF-8 text.
std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// --- the readers ---

Reply FormText(OptionReading& r, const ToolOption& option, std::string_view value) {
    const int most = option.box == Control::None ? 0 : MaxLength(option.box);
    if (most > 0 && CharacterCount(value) > static_cast<std::size_t>(most)) {
        return Dashed(option) + ": \"" + std::string(value) + "\" is longer than its box allows (" + std::to_string(most) +
               " characters)";
    }
    r.out.form.*(option.field) = std::string(value);
    return std::nullopt;
}

// With --precise a year outside the form's list is the precise method's (checked there);
// the form gets a stand-in with the same leap rule, to check the day of February.
Reply FormYear(OptionReading& r, const ToolOption& option, std::string_view value) {
    if (r.out.precise.enabled) {
        if (const auto year = ReadInteger(value); year && (*year < kFirstFormYear || *year > kLastFormYear)) {
            value = IsLeapYear(*year) ? "2000" : "2001";
        }
    }
    return FormText(r, option, value);
}

Reply PreciseYear(OptionReading& r, const ToolOption&, std::string_view value) {
    const auto year = ReadInteger(value);
    if (year && (*year < kFirstFormYear || *year > kLastFormYear)) {
        if (*year < kFirstBirthYear || *year > kLastBirthYear) {
            return "--year: \"" + std::string(value) + "\" is not a year from 1800 to 2399";
        }
        r.out.precise.preciseYear = *year;
    }
    return std::nullopt;
}

template <bool BirthForm::*Flag>
Reply FormFlag(OptionReading& r, const ToolOption&, std::string_view) {
    r.out.form.*Flag = true;
    return std::nullopt;
}

template <bool PreciseOptions::*Flag>
Reply PreciseFlag(OptionReading& r, const ToolOption&, std::string_view) {
    r.out.precise.*Flag = true;
    return std::nullopt;
}

template <std::optional<std::string_view> OptionReading::*Text>
Reply Later(OptionReading& r, const ToolOption&, std::string_view value) {
    r.*Text = value;
    return std::nullopt;
}

template <std::optional<std::string> PreciseOptions::*Text>
Reply PreciseText(OptionReading& r, const ToolOption&, std::string_view value) {
    r.out.precise.*Text = std::string(value);
    return std::nullopt;
}

Reply Json(OptionReading& r, const ToolOption&, std::string_view) {
    r.out.json = true;
    return std::nullopt;
}

Reply Report(OptionReading& r, const ToolOption&, std::string_view value) {
    if (value.empty()) return std::string("--report needs a file name");
    r.out.report = std::string(value);
    return std::nullopt;
}

Reply TimeZone(OptionReading& r, const ToolOption&, std::string_view value) {
    if (value.empty()) return std::string("--time-zone needs a zone id of the tz database (Asia/Kolkata, Etc/GMT+4)");
    r.out.precise.timeZone = std::string(value);
    return std::nullopt;
}

// A fixed offset given by hand: the zone boxes cannot hold it, so the classic members,
// which read them, are left out.
Reply UtcOffset(OptionReading& r, const ToolOption&, std::string_view value) {
    r.out.precise.utcOffsetSeconds = zone::ReadUtcOffset(value);
    if (!r.out.precise.utcOffsetSeconds) {
        return "--utc-offset: \"" + std::string(value) + "\" is not an offset +HH:MM or +HH:MM:SS (or -) within 16 hours";
    }
    r.out.precise.classicLeftOut = true;
    return std::nullopt;
}

Reply Nothing(OptionReading&, const ToolOption&, std::string_view) { return std::nullopt; }

Reply Place(OptionReading& r, const ToolOption& option, std::string_view value) {
    (option.name == "place" ? r.out.place.place : r.out.place.places) = std::string(value);
    return std::nullopt;
}

Reply Open(OptionReading& r, const ToolOption&, std::string_view value) {
    if (r.out.files.open) return std::string("--open is given twice");
    r.out.files.open = std::string(value);
    return std::nullopt;
}

Reply Save(OptionReading& r, const ToolOption&, std::string_view value) {
    if (r.out.files.save) return std::string("--save is given twice");
    if (!birthfile::FormatOfName(std::string(value))) {
        return "--save: \"" + std::string(value) + "\" ends in none of .orvanta, .jhd, .aaf";
    }
    r.out.files.save = std::string(value);
    return std::nullopt;
}

Reply Record(OptionReading& r, const ToolOption&, std::string_view value) {
    if (r.out.files.record) return std::string("--record is given twice");
    const std::string text(value);
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || n < 1 || n > 1000000) return "--record: \"" + text + "\" is not a record number from 1";
    r.out.files.record = static_cast<int>(n);
    return std::nullopt;
}

Reply Batch(OptionReading& r, const ToolOption&, std::string_view value) {
    if (r.out.batchFile) return std::string("--batch is given twice");
    if (value.empty()) return std::string("--batch needs a file name");
    r.out.batchFile = std::string(value);
    return std::nullopt;
}

Reply Jobs(OptionReading& r, const ToolOption&, std::string_view value) {
    unsigned n = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec != std::errc{} || end != value.data() + value.size() || n < 1 || n > 1024) {
        return "--jobs: \"" + std::string(value) + "\" is not a count from 1 to 1024";
    }
    r.out.jobs = n;
    return std::nullopt;
}

constexpr unsigned kPlaceBox = kZoneBox | kPlaceField | kNamesPlace;
constexpr unsigned kPlaceText = kPlaceField | kNamesPlace;

// The order is --help's.
constexpr auto kOptions = std::to_array<ToolOption>({
    {.name = "name", .valueName = "TEXT", .defaultValue = "S K", .help = "name ({}); letters and blanks",
     .group = OptionGroup::Form, .batchColumn = true, .read = FormText, .field = &BirthForm::name},
    {.name = "month", .valueName = "NAME", .defaultValue = "August", .help = "January .. December ({})",
     .group = OptionGroup::Form, .batchColumn = true, .read = FormText, .field = &BirthForm::month,
     .list = ListField::Month},
    {.name = "day", .valueName = "N", .defaultValue = "18", .help = "1 .. 31 ({})", .group = OptionGroup::Form,
     .batchColumn = true, .read = FormText, .field = &BirthForm::day, .list = ListField::Day},
    {.name = "year", .valueName = "N", .defaultValue = "1981", .help = "1901 .. 2050 ({})", .group = OptionGroup::Form,
     .batchColumn = true, .read = FormYear, .field = &BirthForm::year, .list = ListField::Year},
    {.name = "hour", .valueName = "N", .defaultValue = "23", .help = "0 .. 23 ({})", .group = OptionGroup::Form,
     .batchColumn = true, .read = FormText, .field = &BirthForm::hour, .list = ListField::Hour},
    {.name = "minute", .valueName = "N", .defaultValue = "30", .help = "0 .. 59 ({})", .group = OptionGroup::Form,
     .batchColumn = true, .read = FormText, .field = &BirthForm::minute, .list = ListField::Minute},
    {.name = "second", .valueName = "N", .defaultValue = "0", .help = "0 .. 59 ({}); only the precise method reads it",
     .group = OptionGroup::Form, .batchColumn = true, .read = FormText, .field = &BirthForm::second,
     .list = ListField::Second},
    {.name = "zone-hour", .valueName = "TEXT", .defaultValue = "5",
     .help = "zone hours, at most 3 characters ({}): the zone's distance\n"
             "from UTC, 0 .. 12; its direction is the longitude's (see\n"
             "below)",
     .group = OptionGroup::Form, .batchColumn = true, .read = FormText, .traits = kPlaceBox,
     .field = &BirthForm::zoneHour, .box = Control::txtZoneHour},
    {.name = "zone-minute", .valueName = "TEXT", .defaultValue = "30", .help = "zone minutes, at most 2 characters ({})",
     .group = OptionGroup::Form, .batchColumn = true, .read = FormText, .traits = kPlaceBox,
     .field = &BirthForm::zoneMinute, .box = Control::txtZoneMinute},
    {.name = "dst", .help = "daylight saving time in force at birth: one hour more", .group = OptionGroup::Form,
     .batchColumn = true, .read = FormFlag<&BirthForm::dst>, .traits = kPlaceBox},
    {.name = "lat-deg", .valueName = "TEXT", .defaultValue = "23", .help = "latitude degrees, at most 2 characters ({})",
     .group = OptionGroup::Form, .batchColumn = true, .read = FormText, .traits = kPlaceText, .field = &BirthForm::latD,
     .box = Control::txtLatD},
    {.name = "lat-min", .valueName = "TEXT", .defaultValue = "00", .help = "latitude minutes, at most 2 characters ({})",
     .group = OptionGroup::Form, .batchColumn = true, .read = FormText, .traits = kPlaceText, .field = &BirthForm::latM,
     .box = Control::txtLatM},
    {.name = "south", .help = "southern latitude (default north)", .group = OptionGroup::Form, .batchColumn = true,
     .read = FormFlag<&BirthForm::south>, .traits = kPlaceText},
    {.name = "lon-deg", .valueName = "TEXT", .defaultValue = "80", .help = "longitude degrees, at most 3 characters ({})",
     .group = OptionGroup::Form, .batchColumn = true, .read = FormText, .traits = kPlaceText, .field = &BirthForm::lonD,
     .box = Control::txtLonD},
    {.name = "lon-min", .valueName = "TEXT", .defaultValue = "0", .help = "longitude minutes, at most 2 characters ({})",
     .group = OptionGroup::Form, .batchColumn = true, .read = FormText, .traits = kPlaceText, .field = &BirthForm::lonM,
     .box = Control::txtLonM},
    {.name = "west", .help = "western longitude (default east)", .group = OptionGroup::Form, .batchColumn = true,
     .read = FormFlag<&BirthForm::west>, .traits = kPlaceText},
    {.name = "json", .help = "write the results as one JSON object", .group = OptionGroup::Output, .batchColumn = false,
     .read = Json, .traits = kBatchLine},
    {.name = "report", .valueName = "FILE",
     .help = "write the report as the report window saves it (RTF);\n"
             "- writes it to standard output",
     .group = OptionGroup::Output, .batchColumn = false, .read = Report, .needs = "a file name"},
    {.name = "help", .shortName = "h", .help = "show this text, whatever else the line holds",
     .group = OptionGroup::About, .batchColumn = false, .read = Nothing},
    {.name = "version", .help = "show the version", .group = OptionGroup::About, .batchColumn = false, .read = Nothing},
    {.name = "precise",
     .help = "add the precise chart; --year may then be 1800 .. 2399\n"
             "(outside 1901 .. 2050 only the precise chart is written)\n"
             "and the seconds are read",
     .group = OptionGroup::Precise, .batchColumn = false, .read = Nothing, .traits = kBatchLine},
    {.name = "time-zone", .valueName = "ID",
     .help = "a zone id of the tz database (Asia/Kolkata, Etc/GMT+4, UTC),\n"
             "exactly as written, instead of the zone boxes; not with\n"
             "--zone-hour, --zone-minute or --dst",
     .group = OptionGroup::Precise, .batchColumn = true, .read = TimeZone, .traits = kNamesPlace},
    {.name = "utc-offset", .valueName = "+HH:MM[:SS]",
     .help = "a fixed offset from UTC, to the second, within\n"
             "16 hours (+00:21:48, a local mean time; -03:00): no\n"
             "daylight saving; not with --time-zone, the zone boxes,\n"
             "--place or --save; the classic chart is left out",
     .group = OptionGroup::Precise, .batchColumn = true, .read = UtcOffset, .traits = kNamesPlace},
    {.name = "fold", .valueName = "WHICH",
     .help = "earlier or later: the reading of a local time that occurs\n"
             "twice, with --time-zone or --place; without it such a\n"
             "time is refused",
     .group = OptionGroup::Precise, .batchColumn = true, .read = Later<&OptionReading::fold>},
    {.name = "ayanamsa", .valueName = "NAME", .defaultValue = "lahiri",
     .help = "{} (default), raman, krishnamurti, yukteshwar,\n"
             "fagan-bradley, true-citra",
     .group = OptionGroup::Precise, .batchColumn = true, .read = PreciseText<&PreciseOptions::ayanamsa>},
    {.name = "year-days", .valueName = "N", .defaultValue = "365.25",
     .help = "the period year in days: {} (default), 365.2425,\n"
             "365.256363, 360, or any value from 300 to 400; or by name:\n"
             "julian 365.25, gregorian 365.2425, tropical 365.24219,\n"
             "sidereal 365.256363, savana 360",
     .group = OptionGroup::Precise, .batchColumn = true, .read = Later<&OptionReading::yearDays>},
    {.name = "moon", .valueName = "POSITION", .defaultValue = "apparent",
     .help = "{} (default: light-time, deflection, nutation, true\n"
             "ayanamsa) or geometric (none of them, mean ayanamsa)",
     .group = OptionGroup::Precise, .batchColumn = false, .read = Later<&OptionReading::moon>},
    {.name = "compare",
     .help = "instead of the periods, the birth under 40 conventions\n"
             "(4 ayanamsas, 5 named years, both Moon positions): birth\n"
             "lord, balance, first Maha Dasha start, the periods running\n"
             "on --on (default now) and each start's difference from\n"
             "this line's; text, json or csv",
     .group = OptionGroup::Precise, .batchColumn = false, .read = PreciseFlag<&PreciseOptions::compare>},
    {.name = "levels", .valueName = "N", .defaultValue = "3",
     .help = "period levels 1 .. 5 ({}): Maha, Antar, Pratyantar,\n"
             "Sookshma, Prana",
     .group = OptionGroup::Precise, .batchColumn = true, .read = Later<&OptionReading::levels>},
    {.name = "on", .valueName = "WHEN",
     .help = "YYYY-MM-DD[THH:MM[:SS]], local time of the birth zone:\n"
             "the periods running then",
     .group = OptionGroup::Precise, .batchColumn = true, .read = Later<&OptionReading::on>},
    {.name = "uncertainty", .valueName = "MIN",
     .help = "birth time known to within MIN minutes (0 .. 360): every\n"
             "period start's earliest and latest instant",
     .group = OptionGroup::Precise, .batchColumn = true, .read = Later<&OptionReading::uncertainty>},
    {.name = "format", .valueName = "FORMAT", .defaultValue = "text",
     .help = "{} (default), json (= --json), csv (RFC 4180) or\n"
             "ics (RFC 5545 calendar); csv and ics need --precise",
     .group = OptionGroup::Precise, .batchColumn = false, .read = Later<&OptionReading::format>},
    {.name = "planets",
     .help = "the nine grahas at birth (text and json): longitude,\n"
             "Nakshatra, speed, whole-sign house, Navamsa, dignity",
     .group = OptionGroup::Precise, .batchColumn = true, .read = PreciseFlag<&PreciseOptions::planets>},
    {.name = "node", .valueName = "WHICH", .defaultValue = "mean",
     .help = "{} (default) or true: the lunar node Rahu is taken from", .group = OptionGroup::Precise,
     .batchColumn = true, .read = PreciseText<&PreciseOptions::node>},
    {.name = "batch", .valueName = "FILE",
     .help = "read birth details from a CSV file (RFC 4180; - reads standard input) and write one JSON "
             "object per row, in input order: the object --json writes for that row, or its {\"error\": "
             "...} object. The header names the columns: {columns}. A row the tool would refuse as "
             "unusable arguments writes {\"error\": {\"message\": ..., \"status\": 64}}",
     .group = OptionGroup::Batch, .batchColumn = false, .read = Batch, .traits = kBatchLine},
    {.name = "jobs", .valueName = "N", .defaultValue = "every core", .help = "rows worked on at once (default: {})",
     .group = OptionGroup::Batch, .batchColumn = false, .read = Jobs, .traits = kBatchLine},
    {.name = "place", .valueName = "TEXT",
     .help = "fill latitude, longitude and zone from the best match for the\n"
             "birth date and time (\"Pune\", \"Springfield, Illinois\");\n"
             "not with --lat-*, --lon-*, --zone-*, --dst, --south, --west",
     .group = OptionGroup::Place, .batchColumn = false, .read = Place},
    {.name = "places", .valueName = "TEXT",
     .help = "list the matches, one a line: name, state, country, code,\n"
             "latitude, longitude, zone (tab-separated), or JSON with --json",
     .group = OptionGroup::Place, .batchColumn = false, .read = Place},
    {.name = "open", .valueName = "FILE",
     .help = "take the birth details from FILE, of any of the three\n"
             "formats (told apart by content); options after it change them",
     .group = OptionGroup::BirthFile, .batchColumn = false, .read = Open},
    {.name = "record", .valueName = "N",
     .help = "the record N (from 1) of an AAF file of several; without it\n"
             "such a file's records are listed and the status is 2",
     .group = OptionGroup::BirthFile, .batchColumn = false, .read = Record},
    {.name = "save", .valueName = "FILE",
     .help = "write the birth details the other options give to FILE, the\n"
             "format by its extension (.orvanta, .jhd, .aaf); what the format\n"
             "leaves out is said on standard error",
     .group = OptionGroup::BirthFile, .batchColumn = false, .read = Save},
});

// "a, b and c".
std::string Listed(const std::vector<std::string_view>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

// The batch columns as the table marks them: the form's, the precise method's, and which
// of them are true or false.
std::string BatchColumnsText() {
    std::vector<std::string_view> form, precise, flags;
    for (const ToolOption& option : kOptions) {
        if (!option.batchColumn) continue;
        (option.group == OptionGroup::Precise ? precise : form).push_back(option.name);
        if (option.flag()) flags.push_back(option.name);
    }
    std::string text;
    for (const std::string_view name : form) text += std::string(name) + ", ";
    text += "and with --precise ";
    for (std::size_t i = 0; i < precise.size(); ++i) text += (i > 0 ? ", " : "") + std::string(precise[i]);
    return text + "; a missing column takes its default, " + Listed(flags) + " are true or false";
}

// Words of one line of text broken into lines of at most `width` characters.
std::string Wrapped(std::string_view text, std::size_t width) {
    std::string lines;
    std::size_t line = 0;
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t end = std::min(text.find(' ', from), text.size());
        const std::string_view word = text.substr(from, end - from);
        if (line > 0 && line + 1 + word.size() > width) {
            lines += '\n';
            line = 0;
        } else if (line > 0) {
            lines += ' ';
            ++line;
        }
        lines += word;
        line += word.size();
        from = end + 1;
    }
    return lines;
}

// A help text with its default written in; a text naming the batch columns gets them
// from the table, wrapped to the help's width.
std::string HelpOf(const ToolOption& option) {
    std::string help(option.help);
    if (const auto at = help.find("{}"); at != std::string::npos) help.replace(at, 2, option.defaultValue);
    if (const auto at = help.find("{columns}"); at != std::string::npos) {
        help.replace(at, 9, BatchColumnsText());
        help = Wrapped(help, 57);
    }
    return help;
}

// An error naming an option given without its value.
std::string NeedsValue(const ToolOption& option) { return Dashed(option) + " needs " + std::string(option.needs); }

bool Is(const GivenOption& given, std::string_view name) { return given.option && given.option->name == name; }

}  // namespace

std::span<const ToolOption> ToolOptions() { return kOptions; }

const ToolOption* FindToolOption(std::string_view name) {
    const auto found = std::find_if(kOptions.begin(), kOptions.end(), [&](const ToolOption& o) { return o.name == name; });
    return found == kOptions.end() ? nullptr : &*found;
}

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
        const std::string help = HelpOf(option);
        for (std::size_t from = 0;;) {
            const std::size_t end = help.find('\n', from);
            text += std::string_view(help).substr(from, end - from);
            text += '\n';
            if (end == std::string::npos) break;
            from = end + 1;
            text.append(kHelpColumn, ' ');
        }
    }
    return text;
}

namespace {

using Reads = bool (*)(const ToolOption&);

// The arguments read left to right: an option that `reads` takes with its value ("--name=X",
// or "--name X" with X taken as it stands, even when it begins with "-"), every other
// argument alone (a known one with its option named). With `batchLine` only the options
// a --batch line reads are known; otherwise --help, --version and the batch's options are
// not (the first two are answered before a line is read).
std::vector<GivenOption> Split(std::span<const std::string_view> args, Reads reads, bool batchLine = false) {
    std::vector<GivenOption> given;
    given.reserve(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        GivenOption one{nullptr, std::nullopt, arg};
        std::string_view name;
        if (arg.starts_with("--")) {
            name = arg.substr(2);
            if (const auto eq = name.find('='); eq != std::string_view::npos) {
                one.value = name.substr(eq + 1);
                name = name.substr(0, eq);
            }
        }
        const ToolOption* option = name.empty() ? nullptr : FindToolOption(name);
        const bool known = option && (batchLine ? (option->traits & kBatchLine) != 0
                                                : option->group != OptionGroup::About && option->group != OptionGroup::Batch);
        if (!known) {
            given.push_back({nullptr, std::nullopt, arg});
            continue;
        }
        one.option = option;
        if (reads(*option) && !option->flag() && !one.value && i + 1 < args.size()) {
            one.value = args[++i];
            one.separate = true;
        }
        given.push_back(one);
    }
    return given;
}

// The arguments of the options a reading did not take, as they were written.
std::vector<std::string_view> Rest(std::span<const GivenOption> given, Reads took) {
    std::vector<std::string_view> rest;
    for (const GivenOption& g : given) {
        if (g.option && took(*g.option)) continue;
        rest.push_back(g.argument);
        if (g.separate) rest.push_back(*g.value);
    }
    return rest;
}

bool OfBirthFile(const ToolOption& o) { return o.group == OptionGroup::BirthFile; }
bool OfPrecise(const ToolOption& o) { return o.group == OptionGroup::Precise; }
bool OfPlace(const ToolOption& o) { return o.group == OptionGroup::Place; }
bool OfForm(const ToolOption& o) { return o.group == OptionGroup::Form || o.group == OptionGroup::Output; }
bool FormValue(const ToolOption& o) { return OfForm(o) && !o.flag(); }
bool PreciseOrFormValue(const ToolOption& o) { return OfPrecise(o) || FormValue(o); }

// `enabled`: --precise is given; `place`: --place is.
std::optional<std::string> ReadPrecise(std::span<const GivenOption> given, ToolArguments& out, bool enabled, bool place);

}  // namespace

bool NamesOption(std::string_view arg, OptionTrait trait) {
    const std::string_view name = arg.substr(0, arg.find('='));
    const ToolOption* option = name.starts_with("--") ? FindToolOption(name.substr(2)) : nullptr;
    return option && (option->traits & trait);
}

std::optional<std::string> TakeBirthFileOptions(std::vector<std::string_view>& args, ToolArguments& out) {
    const std::vector<GivenOption> given = Split(args, OfBirthFile);
    OptionReading reading(out);
    for (const GivenOption& g : given) {
        if (!g.option || !OfBirthFile(*g.option)) continue;
        if (!g.value || g.value->empty()) return NeedsValue(*g.option);
        if (auto error = g.option->read(reading, *g.option, *g.value)) return error;
    }
    if (out.files.record && !out.files.open) return std::string("--record needs --open");
    args = Rest(given, OfBirthFile);
    return std::nullopt;
}

std::optional<std::string> TakePreciseOptions(std::vector<std::string_view>& args, ToolArguments& out) {
    // --precise anywhere but as the value of a form option (a value of the method's own
    // options is not looked at here).
    bool enabled = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--precise" || args[i].starts_with("--precise=")) enabled = true;
        const ToolOption* option = args[i].starts_with("--") ? FindToolOption(args[i].substr(2)) : nullptr;
        if (option && FormValue(*option)) ++i;
    }
    const bool place = std::any_of(args.begin(), args.end(),
                                   [](std::string_view a) { return a == "--place" || a.starts_with("--place="); });
    const std::vector<GivenOption> given = Split(args, PreciseOrFormValue);
    if (auto error = ReadPrecise(given, out, enabled, place)) return error;
    args = Rest(given, OfPrecise);
    return std::nullopt;
}

std::optional<std::string> ReadPreciseOptions(std::span<const GivenOption> row, ToolArguments& out) {
    const auto given = [&](std::string_view name) {
        return std::any_of(row.begin(), row.end(), [&](const GivenOption& g) { return Is(g, name); });
    };
    return ReadPrecise(row, out, given("precise"), given("place"));
}

namespace {

std::optional<std::string> ReadPrecise(std::span<const GivenOption> given, ToolArguments& out, bool enabled, bool place) {
    PreciseOptions& options = out.precise;
    options = {};
    options.enabled = enabled;
    OptionReading r(out);
    std::optional<std::string> zoneBox;  // the last zone box given
    for (const GivenOption& g : given) {
        if (!g.option) continue;
        const ToolOption& option = *g.option;
        if (option.traits & kZoneBox) zoneBox = Dashed(option);
        const bool year = option.name == "year" && options.enabled;
        if (option.group != OptionGroup::Precise && !year) continue;
        if (option.flag()) {
            if (g.value) return Dashed(option) + " takes no value";
        } else if (!g.value) {
            return NeedsValue(option);
        }
        if (auto error = year ? PreciseYear(r, option, *g.value) : option.read(r, option, g.value.value_or(""))) {
            return error;
        }
    }

    const auto text = [](std::optional<std::string_view> t) { return std::string(*t); };
    if (r.format) {
        if (*r.format == "text") options.format = OutputFormat::Text;
        else if (*r.format == "json") options.format = OutputFormat::Json;
        else if (*r.format == "csv") options.format = OutputFormat::Csv;
        else if (*r.format == "ics") options.format = OutputFormat::Ics;
        else return "--format: \"" + text(r.format) + "\" is none of text, json, csv, ics";
        if (!options.enabled && (options.format == OutputFormat::Csv || options.format == OutputFormat::Ics)) {
            return "--format " + text(r.format) + " needs --precise";
        }
    }
    if (r.fold) {
        if (*r.fold == "earlier") options.fold = Fold::Earlier;
        else if (*r.fold == "later") options.fold = Fold::Later;
        else return "--fold: \"" + text(r.fold) + "\" is neither earlier nor later";
        if (!options.timeZone && !place) return std::string("--fold needs --time-zone or --place");
    }
    // A value out of its range is refused as one not of its form: status 64, one sentence.
    if (r.yearDays) {
        options.yearDays = YearDaysOfName(*r.yearDays);
        if (!options.yearDays) options.yearDays = ReadDecimal(*r.yearDays);
        if (!options.yearDays || !IsUsableYearDays(*options.yearDays)) {
            return "--year-days: \"" + text(r.yearDays) +
                   "\" is neither a number of days from 300 to 400 nor julian, gregorian, tropical, sidereal or savana";
        }
    }
    if (r.moon) {
        const auto position = MoonPositionFromName(*r.moon);
        if (!position) return "--moon: \"" + text(r.moon) + "\" is neither apparent nor geometric";
        options.moonPosition = *position;
    }
    if (options.compare && options.format && *options.format != OutputFormat::Text &&
        *options.format != OutputFormat::Json && *options.format != OutputFormat::Csv) {
        return std::string("--compare writes text, json or csv");
    }
    if (options.compare && r.uncertainty) return std::string("--compare takes no --uncertainty");
    if (r.levels) {
        const auto n = ReadInteger(*r.levels);
        if (!n || *n < 1 || *n > kMaxPeriodLevels) return "--levels: \"" + text(r.levels) + "\" is not a level from 1 to 5";
        options.levels = *n;
    }
    if (r.on) {
        // One range whatever the zone: the dates the periods of a birth can reach.
        options.on = ReadCivilText(*r.on);
        if (!options.on || options.on->year < kFirstBirthYear || options.on->year > kLastPeriodYear) {
            return "--on: \"" + text(r.on) + "\" is not a date YYYY-MM-DD[THH:MM[:SS]] from 1800-01-01 to 2519-12-31";
        }
    }
    if (r.uncertainty) {
        options.uncertaintyMinutes = ReadInteger(*r.uncertainty);
        if (!options.uncertaintyMinutes || *options.uncertaintyMinutes < 0 ||
            *options.uncertaintyMinutes > kMaxUncertaintyMinutes) {
            return "--uncertainty: \"" + text(r.uncertainty) + "\" is not a whole number of minutes from 0 to 360";
        }
    }
    if (!options.enabled && (options.timeZone || options.ayanamsa || r.yearDays || r.levels || r.on || r.uncertainty)) {
        return std::string("--time-zone, --fold, --ayanamsa, --year-days, --levels, --on and --uncertainty need --precise");
    }
    if ((options.planets || options.node) && !options.enabled) return std::string("--planets and --node need --precise");
    if (options.node) {
        if (!NodeFromName(*options.node)) return "--node: \"" + *options.node + "\" is neither mean nor true";
        if (!options.planets) return std::string("--node needs --planets");
    }
    if (options.planets && (options.format == OutputFormat::Csv || options.format == OutputFormat::Ics)) {
        return "--planets shows in the text and json formats, not in " + text(r.format);
    }
    // The zone boxes and a zone id would give the classic and the precise chart two zones.
    if (options.timeZone && zoneBox) return "--time-zone names the zone: " + *zoneBox + " cannot be given with it";
    if (!options.enabled && (r.moon || options.compare)) return std::string("--moon and --compare need --precise");
    if (options.utcOffsetSeconds) {
        if (!options.enabled) return std::string("--utc-offset needs --precise");
        if (options.timeZone) return std::string("--utc-offset and --time-zone both name the zone");
        if (zoneBox) return "--utc-offset names the zone: " + *zoneBox + " cannot be given with it";
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> TakePlaceOptions(std::vector<std::string_view>& args, ToolArguments& out) {
    const std::vector<GivenOption> given = Split(args, OfPlace);
    OptionReading reading(out);
    for (const GivenOption& g : given) {
        if (!g.option || g.option->group != OptionGroup::Place) continue;
#ifndef ORVANTA_HAVE_ATLAS
        return Dashed(*g.option) + ": this build of orvanta-chart has no atlas";
#else
        const auto& target = g.option->name == "place" ? out.place.place : out.place.places;
        if (target) return Dashed(*g.option) + " is given twice";
        if (!g.value) return NeedsValue(*g.option);
        if (auto error = g.option->read(reading, *g.option, *g.value)) return error;
#endif
    }
    if (out.place.place && out.place.places) return std::string("--place and --places cannot be given together");
    if (out.place.place) {
        for (const GivenOption& g : given) {
            if (g.option && (g.option->traits & kPlaceField)) {
                return "--place fills the latitude, longitude and zone: " + Dashed(*g.option) + " cannot be given with it";
            }
        }
    }
    args = Rest(given, OfPlace);
    return std::nullopt;
}

std::optional<std::string> TakeFormOptions(std::vector<std::string_view>& args, ToolArguments& out) {
    const std::vector<GivenOption> given = Split(args, OfForm);
    if (auto error = ReadFormOptions(given, out)) return error;
    args.clear();
    return std::nullopt;
}

std::optional<std::string> ReadFormOptions(std::span<const GivenOption> given, ToolArguments& out) {
    OptionReading reading(out);
    for (const GivenOption& g : given) {
        if (!g.option) return "unknown argument: " + std::string(g.argument);
        const ToolOption& option = *g.option;
        if (!OfForm(option)) continue;  // read before (--precise of a batch row)
        if (option.flag()) {
            if (g.value) return Dashed(option) + " takes no value";
        } else if (!g.value) {
            return NeedsValue(option);
        }
        if (auto error = option.read(reading, option, g.value.value_or(""))) return error;
    }
    // Whether a list text is an entry of its list is the core's rule.
    if (const auto unlisted = FindUnlistedText(out.form)) {
        const auto option = std::find_if(kOptions.begin(), kOptions.end(),
                                         [&](const ToolOption& o) { return o.list == unlisted->field; });
        return Dashed(*option) + ": \"" + unlisted->text + "\" is not an entry of its list";
    }
    return std::nullopt;
}

std::optional<std::string> ReadBatchLine(std::span<const std::string_view> args, ToolArguments& out) {
    const std::vector<GivenOption> given = Split(args, [](const ToolOption&) { return true; }, true);
    OptionReading reading(out);
    for (const GivenOption& g : given) {
        if (!g.option) return "with --batch the birth details come from the file's columns: " + std::string(g.argument);
        const ToolOption& option = *g.option;
        if (option.name == "json") continue;  // batch lines are JSON anyway
        if (option.name == "precise") {
            if (g.value) return std::string("--precise takes no value");
            out.precise.enabled = true;
            continue;
        }
        if (!g.value) return NeedsValue(option);
        if (auto error = option.read(reading, option, *g.value)) return error;
    }
    return std::nullopt;
}

}  // namespace orvanta
