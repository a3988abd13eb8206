#include "precise_output.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>


#include "core/astro/astronomy.h"
#include "core/dasha/dasha.h"
#include "core/periods/period_view.h"
#include "core/zone/fixed_offset.h"
#include "core/zone/tz_database.h"
#include "json_writer.h"
#include "planets_output.h"

namespace orvanta {

namespace {

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

// A short text kept with room to be copied in one fixed-size move.
struct ShortText {
    static constexpr std::size_t kMove = 32;
    std::array<char, std::max(kMostBoundaryBytes, kMove)> bytes{};
    std::size_t size = 0;

    // A boundary's text, as `write` (WriteBoundaryUtc, WriteBoundaryLocal) writes it.
    template <typename Writer>
    void Write(Writer&& write) {
        size = static_cast<std::size_t>(write(bytes.data()) - bytes.data());
    }
};

// The texts of the last few boundaries written. A period starts where the one before it
// ended or where its parent started, so nearly every boundary is written more than once.
class BoundaryTexts {
public:
    struct Texts {
        double seconds = 0;
        bool made = false;
        ShortText utc, local;
    };
    explicit BoundaryTexts(const PreciseReport& r) : r_(r) {}
    // The texts of `seconds`; those the call before returned stay as they are.
    const Texts& Of(double seconds) {
        for (const Texts& t : recent_) {
            if (t.made && t.seconds == seconds) return *(last_ = &t);
        }
        if (&recent_[next_] == last_) next_ = (next_ + 1) % recent_.size();
        Texts& t = recent_[next_];
        next_ = (next_ + 1) % recent_.size();
        t.utc.Write([&](char* at) { return WriteBoundaryUtc(at, r_, seconds); });
        t.local.Write([&](char* at) { return WriteBoundaryLocal(at, r_, seconds); });
        t.seconds = seconds;
        t.made = true;
        return *(last_ = &t);
    }

private:
    const PreciseReport& r_;
    std::array<Texts, 4> recent_;
    std::size_t next_ = 0;
    const Texts* last_ = nullptr;
};

// The lords' names, each with room for a fixed-size move.
const std::array<ShortText, kLords> kLordTexts = [] {
    std::array<ShortText, kLords> texts{};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i].Write([&](char* at) { return std::copy(DashaLord[i].begin(), DashaLord[i].end(), at); });
    }
    return texts;
}();

// One period's own members, written through a pointer into a buffer on the stack and
// added to the output in one go: a few hundred bytes in some thirty pieces, where a call
// per piece costs more than the piece.
class PeriodPiece {
public:
    template <std::size_t N>
    void Literal(const char (&text)[N]) {
        std::memcpy(at_, text, N - 1);
        at_ += N - 1;
    }
    void Text(const ShortText& text) {
        if (text.size <= ShortText::kMove) {
            std::memcpy(at_, text.bytes.data(), ShortText::kMove);
        } else {
            std::memcpy(at_, text.bytes.data(), text.size);
        }
        at_ += text.size;
    }
    void Integer(int value) { at_ = std::to_chars(at_, at_ + 12, value).ptr; }
    void AddTo(std::string& text) const { text.append(bytes_.data(), static_cast<std::size_t>(at_ - bytes_.data())); }

private:
    // The members of one period: under 300 bytes of keys, five lords, six boundaries and
    // three numbers, each with its room for a move.
    std::array<char, 1024> bytes_;
    char* at_ = bytes_.data();
};

// The nine periods from `first` on, each with its children inside it, as the JSON writer's
// members would write them; every key and text here needs no escape, so they go in as
// they stand, which a tree of tens of thousands of periods needs.
void AppendPeriods(std::string& text, const PreciseReport& r, BoundaryTexts& boundaries, int first) {
    text += '[';
    for (int i = first; first >= 0 && i < first + kLords; ++i) {
        const Period& p = r.chart.tree.periods[static_cast<std::size_t>(i)];
        PeriodPiece piece;
        if (i == first) {
            piece.Literal("{\"lords\": [");
        } else {
            piece.Literal(", {\"lords\": [");
        }
        for (int l = 0; l < p.level; ++l) {
            if (l == 0) {
                piece.Literal("\"");
            } else {
                piece.Literal(", \"");
            }
            piece.Text(kLordTexts[static_cast<std::size_t>(p.lords[static_cast<std::size_t>(l)])]);
            piece.Literal("\"");
        }
        const BoundaryTexts::Texts& start = boundaries.Of(p.start);
        piece.Literal("], \"start\": \"");
        piece.Text(start.utc);
        const BoundaryTexts::Texts& end = boundaries.Of(p.end);
        piece.Literal("\", \"end\": \"");
        piece.Text(end.utc);
        piece.Literal("\", \"startLocal\": \"");
        piece.Text(start.local);
        piece.Literal("\", \"endLocal\": \"");
        piece.Text(end.local);
        if (const auto age = AgeAtStart(r.chart, p)) {
            piece.Literal("\", \"ageAtStart\": {\"years\": ");
            piece.Integer(age->years);
            piece.Literal(", \"months\": ");
            piece.Integer(age->months);
            piece.Literal(", \"days\": ");
            piece.Integer(age->days);
            piece.Literal("}");
        } else {
            piece.Literal("\", \"ageAtStart\": null");
        }
        if (r.window) {
            const std::size_t at = static_cast<std::size_t>(i);
            ShortText bound;
            bound.Write([&](char* to) { return WriteBoundaryUtc(to, r, r.window->startEarliest[at]); });
            piece.Literal(", \"startEarliest\": \"");
            piece.Text(bound);
            bound.Write([&](char* to) { return WriteBoundaryUtc(to, r, r.window->startLatest[at]); });
            piece.Literal("\", \"startLatest\": \"");
            piece.Text(bound);
            piece.Literal("\"");
        }
        piece.Literal(", \"periods\": ");
        piece.AddTo(text);
        AppendPeriods(text, r, boundaries, p.firstChild);
        text += '}';
    }
    text += ']';
}

}  // namespace

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
    std::string text;
    AppendPreciseJson(text, r, planets);
    return text;
}

void AppendPreciseJson(std::string& into, const PreciseReport& r, const GrahaChart* planets) {
    const PreciseChart& c = r.chart;
    const Provenance& source = r.provenance;
    JsonWriter out(into);
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
    out.Raw("periods", [&](std::string& text) {
        text.reserve(text.size() + c.tree.periods.size() * (r.window ? 340 : 270));  // about a period's object
        BoundaryTexts boundaries(r);
        AppendPeriods(text, r, boundaries, 0);
    });
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
}

void JoinLastJsonObjects(std::string& out, std::size_t first, std::size_t second) {
    if (second - first <= 2) {
        out.erase(first, second - first);
    } else if (out.size() - second <= 2) {
        out.resize(second);
    } else {  // "...}" and "{..." become "..., ..."
        out[second - 1] = ',';
        out[second] = ' ';
    }
}

std::string JoinJsonObjects(std::string_view first, std::string_view second) {
    std::string joined;
    joined.reserve(first.size() + second.size());
    joined.append(first).append(second);
    JoinLastJsonObjects(joined, 0, first.size());
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
