#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/periods/precise_chart.h"
#include "core/periods/uncertainty.h"
#include "core/sky/ephemeris.h"

namespace orvanta {

// Everything the precise outputs show.
struct PreciseReport {
    PreciseChart chart;
    Provenance provenance;
    std::optional<CivilDateTime> runningAt;
    std::vector<int> running;  // indices in chart.tree.periods, outermost first
    std::optional<BirthTimeWindow> window;
};

// A period boundary as the outputs write it, rounded to the whole second:
// "2024-03-01T05:06:07Z" and the birth zone's "2024-03-01T10:36:07+05:30".
std::string BoundaryUtc(const PreciseReport& report, double seconds);
std::string BoundaryLocal(const PreciseReport& report, double seconds);
// The same texts added to the end of `out`, written with a digit table (no formatting
// call, no string of their own): the writers of many periods use these.
void AppendBoundaryUtc(std::string& out, const PreciseReport& report, double seconds);
void AppendBoundaryLocal(std::string& out, const PreciseReport& report, double seconds);
// The same texts written at `at`, which has room for kMostBoundaryBytes (the longest is
// 42: a year of twelve digits and an offset of six): the end of what was written.
inline constexpr std::size_t kMostBoundaryBytes = 48;
char* WriteBoundaryUtc(char* at, const PreciseReport& report, double seconds);
char* WriteBoundaryLocal(char* at, const PreciseReport& report, double seconds);

// Calls visit(i) for the nine periods from index `first` on, each followed by its
// children: the tree in reading order.
template <typename Visit>
void VisitInReadingOrder(const PeriodTree& tree, int first, Visit&& visit) {
    for (int i = first; i < first + 9; ++i) {
        visit(i);
        if (const int child = tree.periods[static_cast<std::size_t>(i)].firstChild; child >= 0) {
            VisitInReadingOrder(tree, child, visit);
        }
    }
}

// "Saturn/Mercury" with separator "/": the lords of a period, outermost first.
std::string LordsText(const Period& period, std::string_view separator);

// A field of an RFC 4180 table: as it stands, or between quotes with its quotes doubled
// when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);

// Every period of the tree, as a table for a spreadsheet: RFC 4180, a header row, CRLF;
// the earliest and latest starts are two more columns when the report has a window.
std::string PreciseCsv(const PreciseReport& report);
// Every period of the tree as a transparent event of a calendar (RFC 5545), its summary
// the person's name and the lords. An event's identifier comes from the person (name,
// birth and place) and the period's lords, never from its dates or the settings, so a
// calendar imported again, also after another ayanamsa or year length, replaces its
// events instead of doubling them; `nowUtcSeconds` stamps them.
std::string PreciseIcs(const PreciseReport& report, std::int64_t nowUtcSeconds, std::string_view person);

}  // namespace orvanta
