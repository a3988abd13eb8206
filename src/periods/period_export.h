#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "periods/precise_chart.h"
#include "periods/uncertainty.h"
#include "sky/ephemeris.h"

namespace orvanta {

// Everything the precise outputs show.
struct PreciseReport {
    PreciseChart chart;
    Provenance provenance;
    std::optional<CivilDateTime> runningAt;
    std::vector<int> running;  // indices in chart.tree.periods, outermost first
    std::optional<BirthTimeWindow> window;
};

// "Saturn/Mercury" with separator "/": the lords of a period, outermost first.
std::string LordsText(const Period& period, std::string_view separator);

// Every period of the tree, as a table for a spreadsheet: RFC 4180, a header row, CRLF;
// the earliest and latest starts are two more columns when the report has a window.
std::string PreciseCsv(const PreciseReport& report);
// Every period of the tree as a transparent event of a calendar (RFC 5545). The events'
// identifiers come from the birth data asked for, so a calendar imported again replaces
// its events instead of doubling them; `nowUtcSeconds` stamps them.
std::string PreciseIcs(const PreciseReport& report, std::int64_t nowUtcSeconds);

}  // namespace orvanta
