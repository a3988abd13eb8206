#include "precise_output.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

#include <QByteArray>

#include "astro/astronomy.h"
#include "dasha/dasha.h"
#include "json_writer.h"
#include "periods/period_view.h"
#include "planets_output.h"
#include "zone/fixed_offset.h"
#include "zone/tz_database.h"

namespace orvanta {

namespace {

// The classic options that take a value: their value is skipped, never read as an option.
constexpr std::array<std::string_view, 14> kClassicValueOptions = {
    "--name",    "--month",   "--day",     "--year",    "--hour",    "--minute",  "--second",
    "--zone-hour", "--zone-minute", "--lat-deg", "--lat-min", "--lon-deg", "--lon-min", "--report"};

constexpr std::array<std::string_view, 14> kPreciseOptions = {
    "--precise", "--format",      "--time-zone", "--utc-offset", "--fold",    "--ayanamsa", "--year-days",
    "--levels",  "--uncertainty", "--on",        "--planets",    "--node",    "--moon",     "--compare"};

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

std::string Utc(const PreciseReport& r, double seconds) { return BoundaryUtc(r, seconds); }
std::string Local(const PreciseReport& r, double seconds) { return BoundaryLocal(r, seconds); }

std::string_view SignCodeOf(double longitude) {
    const int sign = std::clamp(static_cast<int>(std::floor(longitude / 30)), 0, 11);
    return SignCodes.substr(static_cast<std::size_t>(sign) * 3, 3);
}

// A period's chain of lords and its boundaries in UTC and in the birth zone's time.
void WriteLordsAndTimes(JsonWriter& out, const PreciseReport& r, const Period& p) {
    out.BeginArray("lords");
    for (int l = 0; l < p.level; ++l) out.String(DashaLord[static_cast<std::size_t>(p.lords[static_cast<std::size_t>(l)])]);
    out.EndArray();
    out.PlainString("start", [&](std::string& text) { AppendBoundaryUtc(text, r, p.start); });
    out.PlainString("end", [&](std::string& text) { AppendBoundaryUtc(text, r, p.end); });
    out.PlainString("startLocal", [&](std::string& text) { AppendBoundaryLocal(text, r, p.start); });
    out.PlainString("endLocal", [&](std::string& text) { AppendBoundaryLocal(text, r, p.end); });
}

void WritePeriods(JsonWriter& out, const PreciseReport& r, int first) {
    out.BeginArray("periods");
    if (first >= 0) {
        for (int i = first; i < first + kLords; ++i) {
            const Period& p = r.chart.tree.periods[static_cast<std::size_t>(i)];
            out.BeginObject();
            WriteLordsAndTimes(out, r, p);
            if (const auto age = AgeAtStart(r.chart, p)) {
                out.BeginObject("ageAtStart");
                out.Integer("years", age->years);
                out.Integer("months", age->months);
                out.Integer("days", age->days);
                out.EndObject();
            } else {
                out.Null("ageAtStart");
            }
            if (r.window) {
                const std::size_t at = static_cast<std::size_t>(i);
                out.PlainString("startEarliest",
                                [&](std::string& text) { AppendBoundaryUtc(text, r, r.window->startEarliest[at]); });
                out.PlainString("startLatest",
                                [&](std::string& text) { AppendBoundaryUtc(text, r, r.window->startLatest[at]); });
            }
            WritePeriods(out, r, p.firstChild);
            out.EndObject();
        }
    }
    out.EndArray();
}

}  // namespace

std::optional<std::string> TakePreciseArguments(std::vector<std::string>& args, PreciseOptions& options) {
    options = {};
    const auto isPrecise = [](std::string_view a) { return a == "--precise" || a.starts_with("--precise="); };
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (isPrecise(args[i])) options.enabled = true;
        if (std::find(kClassicValueOptions.begin(), kClassicValueOptions.end(), args[i]) != kClassicValueOptions.end()) ++i;
    }

    std::vector<std::string> rest;
    std::optional<std::string> format, fold, yearDays, levels, on, uncertainty, moon;
    std::optional<std::string> zoneBox;  // a classic zone option given
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            inlineValue = std::string(arg.substr(eq + 1));
            arg = arg.substr(0, eq);
        }
        const bool classicValue =
            std::find(kClassicValueOptions.begin(), kClassicValueOptions.end(), arg) != kClassicValueOptions.end();
        if (arg == "--zone-hour" || arg == "--zone-minute" || arg == "--dst") zoneBox = std::string(arg);
        if (classicValue && !(options.enabled && arg == "--year")) {
            rest.push_back(args[i]);
            if (!inlineValue && i + 1 < args.size()) rest.push_back(args[++i]);
            continue;
        }
        if (std::find(kPreciseOptions.begin(), kPreciseOptions.end(), arg) == kPreciseOptions.end() &&
            arg != "--year") {
            rest.push_back(args[i]);
            continue;
        }
        if (arg == "--precise" || arg == "--planets" || arg == "--compare") {
            if (inlineValue) return std::string(arg) + " takes no value";
            options.planets = options.planets || arg == "--planets";
            options.compare = options.compare || arg == "--compare";
            continue;
        }
        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return std::string(arg) + " needs a value";
        }
        if (arg == "--year") {
            const auto year = ReadInteger(value);
            if (year && (*year < kFirstFormYear || *year > kLastFormYear)) {
                if (*year < kFirstBirthYear || *year > kLastBirthYear) {
                    return "--year: \"" + value + "\" is not a year from 1800 to 2399";
                }
                options.preciseYear = *year;
                // A stand-in with the same leap rule lets the form check the day of February.
                value = IsLeapYear(*year) ? "2000" : "2001";
            }
            rest.push_back("--year=" + value);
        } else if (arg == "--format") {
            format = value;
        } else if (arg == "--time-zone") {
            if (value.empty()) return std::string("--time-zone needs a zone id of the tz database (Asia/Kolkata, Etc/GMT+4)");
            options.timeZone = value;
        } else if (arg == "--utc-offset") {
            // A fixed offset given by hand: the zone boxes cannot hold it, so the classic
            // members, which read them, are left out.
            options.utcOffsetSeconds = zone::ReadUtcOffset(value);
            if (!options.utcOffsetSeconds) {
                return "--utc-offset: \"" + value + "\" is not an offset +HH:MM or +HH:MM:SS (or -) within 16 hours";
            }
            options.classicLeftOut = true;
        } else if (arg == "--fold") {
            fold = value;
        } else if (arg == "--ayanamsa") {
            options.ayanamsa = value;
        } else if (arg == "--year-days") {
            yearDays = value;
        } else if (arg == "--levels") {
            levels = value;
        } else if (arg == "--on") {
            on = value;
        } else if (arg == "--node") {
            options.node = value;
        } else if (arg == "--moon") {
            moon = value;
        } else {
            uncertainty = value;
        }
    }

    if (format) {
        if (*format == "text") options.format = OutputFormat::Text;
        else if (*format == "json") options.format = OutputFormat::Json;
        else if (*format == "csv") options.format = OutputFormat::Csv;
        else if (*format == "ics") options.format = OutputFormat::Ics;
        else return "--format: \"" + *format + "\" is none of text, json, csv, ics";
        if (!options.enabled && (options.format == OutputFormat::Csv || options.format == OutputFormat::Ics)) {
            return "--format " + *format + " needs --precise";
        }
    }
    if (fold) {
        if (*fold == "earlier") options.fold = Fold::Earlier;
        else if (*fold == "later") options.fold = Fold::Later;
        else return "--fold: \"" + *fold + "\" is neither earlier nor later";
        const bool place = std::any_of(args.begin(), args.end(),
                                       [](std::string_view a) { return a == "--place" || a.starts_with("--place="); });
        if (!options.timeZone && !place) return "--fold needs --time-zone or --place";
    }
    // A value out of its range is refused as one not of its form: status 64, one sentence.
    if (yearDays) {
        options.yearDays = YearDaysOfName(*yearDays);
        if (!options.yearDays) options.yearDays = ReadDecimal(*yearDays);
        if (!options.yearDays || !IsUsableYearDays(*options.yearDays)) {
            return "--year-days: \"" + *yearDays +
                   "\" is neither a number of days from 300 to 400 nor julian, gregorian, tropical, sidereal or savana";
        }
    }
    if (moon) {
        const auto position = MoonPositionFromName(*moon);
        if (!position) return "--moon: \"" + *moon + "\" is neither apparent nor geometric";
        options.moonPosition = *position;
    }
    if (options.compare && options.format && *options.format != OutputFormat::Text &&
        *options.format != OutputFormat::Json && *options.format != OutputFormat::Csv) {
        return "--compare writes text, json or csv";
    }
    if (options.compare && uncertainty) return "--compare takes no --uncertainty";
    if (levels) {
        const auto n = ReadInteger(*levels);
        if (!n || *n < 1 || *n > kMaxPeriodLevels) return "--levels: \"" + *levels + "\" is not a level from 1 to 5";
        options.levels = *n;
    }
    if (on) {
        // One range whatever the zone: the dates the periods of a birth can reach.
        options.on = ReadCivilText(*on);
        if (!options.on || options.on->year < kFirstBirthYear || options.on->year > kLastPeriodYear) {
            return "--on: \"" + *on + "\" is not a date YYYY-MM-DD[THH:MM[:SS]] from 1800-01-01 to 2519-12-31";
        }
    }
    if (uncertainty) {
        options.uncertaintyMinutes = ReadInteger(*uncertainty);
        if (!options.uncertaintyMinutes || *options.uncertaintyMinutes < 0 ||
            *options.uncertaintyMinutes > kMaxUncertaintyMinutes) {
            return "--uncertainty: \"" + *uncertainty + "\" is not a whole number of minutes from 0 to 360";
        }
    }
    if (!options.enabled && (options.timeZone || options.ayanamsa || yearDays || levels || on || uncertainty)) {
        return "--time-zone, --fold, --ayanamsa, --year-days, --levels, --on and --uncertainty need --precise";
    }
    if ((options.planets || options.node) && !options.enabled) return "--planets and --node need --precise";
    if (options.node) {
        if (!NodeFromName(*options.node)) return "--node: \"" + *options.node + "\" is neither mean nor true";
        if (!options.planets) return "--node needs --planets";
    }
    if (options.planets && (options.format == OutputFormat::Csv || options.format == OutputFormat::Ics)) {
        return "--planets shows in the text and json formats, not in " + *format;
    }
    // The zone boxes and a zone id would give the classic and the precise chart two zones.
    if (options.timeZone && zoneBox) return "--time-zone names the zone: " + *zoneBox + " cannot be given with it";
    if (!options.enabled && (moon || options.compare)) return "--moon and --compare need --precise";
    if (options.utcOffsetSeconds) {
        if (!options.enabled) return "--utc-offset needs --precise";
        if (options.timeZone) return "--utc-offset and --time-zone both name the zone";
        if (zoneBox) return "--utc-offset names the zone: " + *zoneBox + " cannot be given with it";
    }
    args = std::move(rest);
    return std::nullopt;
}

namespace {

// The birth the arguments read: the form's details with the birth's own year and second,
// and the zone id and coordinates given in place of the form's.
// --time-zone takes the database's ids only: a fixed offset's text is refused there as any
// other unknown id, and given with --utc-offset instead.
std::optional<PeriodsBirth> BirthOf(const PreciseOptions& options, const BirthDetails& details, int year, int second,
                                    std::string& error) {
    if (options.timeZone && zone::FixedOffsetOf(*options.timeZone)) {
        error = zone::Database::System().UnknownZoneSentence(*options.timeZone);
        return std::nullopt;
    }
    PeriodsBirth birth{details, second, std::nullopt};
    birth.details.year = static_cast<decltype(birth.details.year)>(year);  // 1800 .. 2399
    const std::optional<std::string> zone =
        options.utcOffsetSeconds ? std::optional<std::string>(zone::FixedOffsetText(*options.utcOffsetSeconds))
                                 : options.timeZone;
    if (zone || options.latitude || options.longitude) {
        const AttachedPlace form = FormPlace(details);
        birth.place = AttachedPlace{options.latitude.value_or(form.latitude), options.longitude.value_or(form.longitude),
                                    zone.value_or(""), options.fold};
    }
    return birth;
}

// The convention the arguments ask for, or the sentence refusing its name.
std::optional<PreciseSettings> SettingsOf(const PreciseOptions& options, std::string& error) {
    PreciseSettings settings;
    if (options.ayanamsa) {
        const auto ayanamsa = AyanamsaFromName(*options.ayanamsa);
        if (!ayanamsa) {
            error = "Unknown ayanamsa \"" + *options.ayanamsa +
                    "\": use lahiri, raman, krishnamurti, yukteshwar, fagan-bradley or true-citra.";
            return std::nullopt;
        }
        settings.ayanamsa = *ayanamsa;
    }
    settings.yearDays = options.yearDays.value_or(kDefaultYearDays);
    settings.moonPosition = options.moonPosition;
    settings.levels = options.levels;
    settings.uncertaintyMinutes = options.uncertaintyMinutes;
    settings.runningAt = options.on;
    return settings;
}

}  // namespace

ComparisonOutcome ComputeComparison(const PreciseOptions& options, const BirthDetails& details, int year, int second,
                                    std::int64_t nowUtcSeconds) {
    std::string error;
    const std::optional<PreciseSettings> settings = SettingsOf(options, error);
    if (!settings) return {std::nullopt, error};
    const std::optional<PeriodsBirth> birth = BirthOf(options, details, year, second, error);
    if (!birth) return {std::nullopt, error};
    return ComparePeriods(*birth, *settings, nowUtcSeconds);
}

PreciseResult ComputePrecise(const PreciseOptions& options, const BirthDetails& details, int year, int second) {
    std::string error;
    const std::optional<PreciseSettings> settings = SettingsOf(options, error);
    if (!settings) return {std::nullopt, error};
    const std::optional<PeriodsBirth> asked = BirthOf(options, details, year, second, error);
    if (!asked) return {std::nullopt, error};
    const PeriodsBirth& birth = *asked;
    PreciseOutcome outcome = PeriodsChartOf(birth, *settings);
    if (!outcome.chart) return {std::nullopt, outcome.error};

    std::optional<GrahaChart> planets;
    if (options.planets) {
        GrahaOutcome grahas = ComputeGrahas(*outcome.chart, NodeFromName(options.node.value_or("mean")).value_or(Node::Mean));
        if (!grahas.chart) return {std::nullopt, grahas.error};
        planets = std::move(grahas.chart);
    }
    PeriodsOutcome report = PeriodsReportOf(std::move(*outcome.chart), birth, *settings);
    if (!report.report) return {std::nullopt, "--on: " + report.error};
    return {std::move(report.report), {}, std::move(planets)};
}

std::string PreciseJson(const PreciseReport& r, const GrahaChart* planets) {
    const PreciseChart& c = r.chart;
    const Provenance& source = r.provenance;
    JsonWriter out;
    out.BeginObject();
    out.BeginObject("precise");
    out.BeginObject("engine");
    out.String("library", source.engine.library);
    out.String("version", source.engine.version);
    out.String("ephemeris", source.engine.ephemeris);
    out.EndObject();
    out.BeginObject("ayanamsa");
    out.String("name", source.ayanamsaName);
    out.Number("degrees", source.ayanamsaDegrees);
    out.EndObject();
    if (planets) out.String("node", NodeName(planets->node));
    out.BeginObject("birth");
    out.String("local", FormatCivil(c.birth.local));
    if (c.birth.timeZone.empty()) {
        out.Null("timeZone");
    } else {
        out.String("timeZone", c.birth.timeZone);
    }
    out.Integer("utcOffsetSeconds", c.birth.utcOffsetSeconds);
    out.String("utc", source.utc);
    out.Number("julianDayUT", source.julianDayUT);
    out.Number("deltaTSeconds", source.deltaTSeconds);
    out.String("zoneRule", source.zoneRule);
    out.EndObject();
    const MoonPlace& m = c.tree.moon;
    out.BeginObject("moon");
    out.Number("siderealLongitude", c.sky.moonSiderealLongitude);
    out.Integer("nakshatraNumber", m.nakshatra + 1);
    out.String("nakshatra", NakshatraNames[static_cast<std::size_t>(m.nakshatra)]);
    out.Integer("pada", m.pada);
    out.String("lord", DashaLord[static_cast<std::size_t>(m.lord)]);
    out.Number("elapsedFraction", m.elapsedFraction);
    out.String("position", source.moonPosition);
    out.EndObject();
    out.BeginObject("ascendant");
    out.Number("siderealLongitude", c.sky.ascendantSiderealLongitude);
    out.String("signCode", SignCodeOf(c.sky.ascendantSiderealLongitude));
    out.EndObject();
    if (planets) WritePlanetsJson(out, *planets);
    out.Number("yearDays", c.tree.request.yearDays);
    out.Integer("levels", c.tree.request.levels);
    WritePeriods(out, r, 0);
    if (r.runningAt) {
        out.BeginObject("runningOn");
        out.String("at", FormatCivil(*r.runningAt));
        out.BeginArray("periods");
        for (const int i : r.running) {
            const Period& p = c.tree.periods[static_cast<std::size_t>(i)];
            out.BeginObject();
            WriteLordsAndTimes(out, r, p);
            out.EndObject();
        }
        out.EndArray();
        out.EndObject();
    }
    if (r.window) {
        out.BeginObject("uncertainty");
        out.Integer("minutes", r.window->minutes);
        if (r.window->nakshatraChangesAt) {
            out.String("nakshatraChangesAt", Utc(r, *r.window->nakshatraChangesAt));
        } else {
            out.Null("nakshatraChangesAt");
        }
        out.String("boundsFrom", Utc(r, r.window->from));
        out.String("boundsTo", Utc(r, r.window->to));
        out.EndObject();
    }
    out.EndObject();
    out.EndObject();
    return out.Text();
}

std::string JoinJsonObjects(std::string_view first, std::string_view second) {
    if (first.size() <= 2) return std::string(second);
    if (second.size() <= 2) return std::string(first);
    std::string joined(first.substr(0, first.size() - 1));
    joined += ", ";
    joined.append(second.substr(1));
    return joined;
}

std::string PreciseText(const PreciseReport& r, const GrahaChart* planets) {
    const PreciseChart& c = r.chart;
    const Provenance& source = r.provenance;
    const MoonPlace& m = c.tree.moon;
    char line[256];
    std::string text = "Precise method\n";
    text += "  Engine          " + source.engine.library + " " + source.engine.version + " (" + source.engine.ephemeris + ")\n";
    std::snprintf(line, sizeof line, "  Ayanamsa        %s %.9f\n", source.ayanamsaName.c_str(), source.ayanamsaDegrees);
    text += line;
    if (planets) text += PlanetsNodeText(*planets);
    text += "  Birth, local    " + FormatCivil(c.birth.local) + "  " + source.zoneRule + "\n";
    std::snprintf(line, sizeof line, "  Birth, UTC      %s  JD %.6f UT, delta T %.3f s\n", source.utc.c_str(),
                  source.julianDayUT, source.deltaTSeconds);
    text += line;
    std::snprintf(line, sizeof line, "  Moon            %.9f  Nakshatra %d %s, pada %d, lord %s, elapsed %.9f\n",
                  c.sky.moonSiderealLongitude, m.nakshatra + 1,
                  std::string(NakshatraNames[static_cast<std::size_t>(m.nakshatra)]).c_str(), m.pada,
                  std::string(DashaLord[static_cast<std::size_t>(m.lord)]).c_str(), m.elapsedFraction);
    text += line;
    if (c.moonPosition != MoonPosition::Apparent) {
        text += "  Moon position   " + source.moonPosition + ": no light-time, deflection or nutation, mean ayanamsa\n";
    }
    std::snprintf(line, sizeof line, "  Ascendant       %.9f %s\n", c.sky.ascendantSiderealLongitude,
                  std::string(SignCodeOf(c.sky.ascendantSiderealLongitude)).c_str());
    text += line;
    std::snprintf(line, sizeof line, "  Year            %.9g days, %d levels\n", c.tree.request.yearDays, c.tree.request.levels);
    text += line;
    if (r.window) {
        text += "  Birth time      within " + std::to_string(r.window->minutes) + " minutes";
        text += r.window->nakshatraChangesAt ? ", the Moon changes Nakshatra at " + Utc(r, *r.window->nakshatraChangesAt)
                                             : ", the Moon stays in its Nakshatra";
        text += "\n";
    }
    if (planets) text += PlanetsText(*planets);

    text += "\nPeriods (local time of the birth zone)\n";
    VisitInReadingOrder(c.tree, 0, [&](int i) {
        const Period& p = c.tree.periods[static_cast<std::size_t>(i)];
        const std::string_view lord = DashaLord[static_cast<std::size_t>(p.lords[static_cast<std::size_t>(p.level - 1)])];
        const std::size_t indent = static_cast<std::size_t>(p.level - 1) * 2;
        text.append(indent, ' ');
        text += lord;
        if (indent + lord.size() < 16) text.append(16 - indent - lord.size(), ' ');
        text += "  ";
        AppendBoundaryLocal(text, r, p.start);
        text += "  ";
        AppendBoundaryLocal(text, r, p.end);
        if (r.window) {
            text += "  start ";
            AppendBoundaryUtc(text, r, r.window->startEarliest[static_cast<std::size_t>(i)]);
            text += " .. ";
            AppendBoundaryUtc(text, r, r.window->startLatest[static_cast<std::size_t>(i)]);
        }
        text += '\n';
    });
    if (r.runningAt) {
        text += "\nRunning on " + FormatCivil(*r.runningAt) + "\n";
        if (r.running.empty()) text += "  (outside the 120-year cycle)\n";
        for (const int i : r.running) {
            const Period& p = c.tree.periods[static_cast<std::size_t>(i)];
            text += "  " + LordsText(p, " / ") + "  " + Local(r, p.start) + "  " + Local(r, p.end) + "\n";
        }
    }
    return text;
}

}  // namespace orvanta
