#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart/birth_form.h"
#include "core/grahas/grahas.h"
#include "core/periods/conventions.h"
#include "core/periods/period_export.h"
#include "core/periods/precise_chart.h"
#include "core/periods/uncertainty.h"

namespace orvanta {

enum class OutputFormat { Text, Json, Csv, Ics };

// The precise method's options as the command line gives them, checked for form only
// (read through the option table, tool_options.h).
struct PreciseOptions {
    bool enabled = false;                // --precise
    std::optional<OutputFormat> format;  // --format
    std::optional<std::string> timeZone;
    // --utc-offset, or a birth file's fixed offset (its local mean time): local minus UTC.
    std::optional<int> utcOffsetSeconds;
    Fold fold = Fold::Refuse;
    std::optional<std::string> ayanamsa;
    std::optional<double> yearDays;
    MoonPosition moonPosition = MoonPosition::Apparent;
    bool compare = false;  // --compare: the conventions' table instead of the periods
    int levels = 3;
    std::optional<CivilDateTime> on;
    std::optional<int> uncertaintyMinutes;
    // With --precise, a --year outside the form's list: the classic members are left
    // out and the form is checked with a year of the same leap rule.
    std::optional<int> preciseYear;
    // An atlas place's exact coordinates (degrees, north and east positive), read instead
    // of the form's whole minutes; the classic members are left out when its zone is one
    // the classic form cannot hold.
    std::optional<double> latitude;
    std::optional<double> longitude;
    bool classicLeftOut = false;
    bool planets = false;             // --planets: the nine grahas, in the text and json formats
    std::optional<std::string> node;  // --node mean|true
};

struct PreciseResult {
    std::optional<PreciseReport> report;
    std::string error;  // why the method refused the birth, when there is no report
    std::optional<GrahaChart> planets = std::nullopt;  // with --planets
};

// The precise chart of the validated details; `year` and `second` are the birth's own
// (the details may carry a stand-in year).
PreciseResult ComputePrecise(const PreciseOptions& options, const BirthDetails& details, int year, int second);

// The same birth under every compared convention (--compare), from the same arguments.
ComparisonOutcome ComputeComparison(const PreciseOptions& options, const BirthDetails& details, int year, int second,
                                    std::int64_t nowUtcSeconds);
std::string ComparisonText(const ConventionComparison& comparison);
std::string ComparisonJson(const ConventionComparison& comparison);  // {"compare": {...}}
std::string ComparisonCsv(const ConventionComparison& comparison);   // RFC 4180, one row per convention

// {"precise": {...}}
std::string PreciseJson(const PreciseReport& report, const GrahaChart* planets = nullptr);
// The same object added to the end of `out`.
void AppendPreciseJson(std::string& out, const PreciseReport& report, const GrahaChart* planets = nullptr);
// The members of two JSON objects in one object, those of `first` first.
std::string JoinJsonObjects(std::string_view first, std::string_view second);
// The same for two objects written one after the other at the end of `out`, the first
// from offset `first`, the second from `second` to the end: joined in place.
void JoinLastJsonObjects(std::string& out, std::size_t first, std::size_t second);
std::string PreciseText(const PreciseReport& report, const GrahaChart* planets = nullptr);

}  // namespace orvanta
