#include <algorithm>
#include <cstdio>

#include "core/dasha/dasha.h"
#include "core/periods/period_export.h"
#include "json_writer.h"
#include "precise_output.h"

namespace orvanta {

namespace {

std::string_view LordName(int lord) { return DashaLord[static_cast<std::size_t>(lord)]; }

std::string YearText(double days) {
    char text[48];
    const std::string_view name = YearLengthName(days);
    if (name.empty()) {
        std::snprintf(text, sizeof text, "%.9g days", days);
    } else {
        std::snprintf(text, sizeof text, "%s %.9g", std::string(name).c_str(), days);
    }
    return text;
}

std::string ConventionText(const Convention& c) {
    return std::string(AyanamsaName(c.ayanamsa)) + ", " + YearText(c.yearDays) + ", " +
           std::string(MoonPositionName(c.moonPosition)) + " Moon";
}

std::string BalanceText(const CalendarAge& a) {
    return std::to_string(a.years) + "y " + std::to_string(a.months) + "m " + std::to_string(a.days) + "d";
}

std::string RunningText(const ConventionRow& row, std::string_view separator) {
    if (row.runningLords.empty()) return "(outside the 120-year cycle)";
    std::string text;
    for (const int lord : row.runningLords) {
        if (!text.empty()) text += separator;
        text += LordName(lord);
    }
    return text;
}

std::string Start(const ConventionComparison& c, const ConventionRow& row) {
    return FormatLocal(c.line.birth, RoundedUtcSeconds(c.line.tree, row.firstMahaStart));
}

std::string Padded(std::string text, std::size_t width) {
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

}  // namespace

std::string ComparisonText(const ConventionComparison& c) {
    std::string text = "Conventions compared for the birth " + FormatCivil(c.line.birth.local) + "  " +
                       c.line.birth.zoneRule + "\n";
    text += "Running on " + FormatLocal(c.line.birth, c.onUtcSeconds) + "; differences are of the first Maha Dasha "
            "start after birth, from this line's " + ConventionText(c.asked) + "\n\n";
    text += "Ayanamsa      Year                 Moon       Lord     Balance      First Maha start                   "
            "Running on                    Difference\n";
    for (const ConventionRow& row : c.rows) {
        text += Padded(std::string(AyanamsaName(row.convention.ayanamsa)), 14) +
                Padded(YearText(row.convention.yearDays), 21) +
                Padded(std::string(MoonPositionName(row.convention.moonPosition)), 11) +
                Padded(std::string(LordName(row.birthLord)), 9) + Padded(BalanceText(row.balance), 13) +
                Padded(std::string(LordName(row.firstMahaLord)) + " " + Start(c, row), 35) +
                Padded(RunningText(row, " / "), 30) + DaysAndHours(row.differenceSeconds) + "\n";
    }
    text += "\n";
    for (const std::string& sentence : c.sensitivity) text += sentence + "\n";
    return text;
}

std::string ComparisonJson(const ConventionComparison& c) {
    JsonWriter out;
    out.BeginObject();
    out.BeginObject("compare");
    out.String("birthLocal", FormatCivil(c.line.birth.local));
    out.String("zoneRule", c.line.birth.zoneRule);
    out.String("runningOn", FormatLocal(c.line.birth, c.onUtcSeconds));
    const auto convention = [&out](const Convention& k) {
        out.String("ayanamsa", AyanamsaName(k.ayanamsa));
        out.Number("yearDays", k.yearDays);
        const std::string_view name = YearLengthName(k.yearDays);
        if (name.empty()) {
            out.Null("yearName");
        } else {
            out.String("yearName", name);
        }
        out.String("moon", MoonPositionName(k.moonPosition));
    };
    out.BeginObject("line");
    convention(c.asked);
    out.EndObject();
    out.BeginArray("rows");
    for (const ConventionRow& row : c.rows) {
        out.BeginObject();
        convention(row.convention);
        out.String("birthLord", LordName(row.birthLord));
        out.BeginObject("balance");
        out.Integer("years", row.balance.years);
        out.Integer("months", row.balance.months);
        out.Integer("days", row.balance.days);
        out.EndObject();
        out.BeginObject("firstMahaDasha");
        out.String("lord", LordName(row.firstMahaLord));
        out.String("start", FormatUtc(RoundedUtcSeconds(c.line.tree, row.firstMahaStart)));
        out.String("startLocal", Start(c, row));
        out.EndObject();
        out.BeginArray("runningOn");
        for (const int lord : row.runningLords) out.String(LordName(lord));
        out.EndArray();
        out.Integer("differenceSeconds", RoundedUtcSeconds(c.line.tree, row.firstMahaStart) -
                                             RoundedUtcSeconds(c.line.tree, row.firstMahaStart - row.differenceSeconds));
        out.String("difference", DaysAndHours(row.differenceSeconds));
        out.EndObject();
    }
    out.EndArray();
    out.BeginObject("sensitivity");
    out.String("moon", c.sensitivity[0]);
    out.String("ayanamsa", c.sensitivity[1]);
    out.String("year", c.sensitivity[2]);
    out.EndObject();
    out.EndObject();
    out.EndObject();
    return std::move(out).Text();
}

std::string ComparisonCsv(const ConventionComparison& c) {
    std::string text =
        "ayanamsa,year,yearDays,moon,birthLord,balanceYears,balanceMonths,balanceDays,firstMahaLord,firstMahaStart,"
        "firstMahaStartLocal,runningMaha,runningAntar,runningPratyantar,differenceSeconds,difference\r\n";
    char days[32];
    for (const ConventionRow& row : c.rows) {
        std::snprintf(days, sizeof days, "%.9g", row.convention.yearDays);
        std::string line = std::string(AyanamsaName(row.convention.ayanamsa)) + "," +
                           std::string(YearLengthName(row.convention.yearDays)) + "," + days + "," +
                           std::string(MoonPositionName(row.convention.moonPosition)) + "," +
                           std::string(LordName(row.birthLord)) + "," + std::to_string(row.balance.years) + "," +
                           std::to_string(row.balance.months) + "," + std::to_string(row.balance.days) + "," +
                           std::string(LordName(row.firstMahaLord)) + "," +
                           FormatUtc(RoundedUtcSeconds(c.line.tree, row.firstMahaStart)) + "," + Start(c, row);
        for (std::size_t level = 0; level < 3; ++level) {
            line += ",";
            if (level < row.runningLords.size()) line += LordName(row.runningLords[level]);
        }
        const std::int64_t difference = RoundedUtcSeconds(c.line.tree, row.firstMahaStart) -
                                        RoundedUtcSeconds(c.line.tree, row.firstMahaStart - row.differenceSeconds);
        text += line + "," + std::to_string(difference) + "," + CsvField(DaysAndHours(row.differenceSeconds)) + "\r\n";
    }
    return text;
}

}  // namespace orvanta
