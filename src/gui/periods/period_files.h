#pragma once

#include <QString>

#include <cstdint>
#include <optional>

#include "core/periods/period_view.h"

class QWidget;

namespace orvanta {

enum class PeriodExport { Calendar, Table };

// The ayanamsa, year length and uncertainty last chosen in the periods window, kept in
// memory for the rest of the run (never written anywhere); the defaults until then.
PeriodsSettings& RunPeriodsSettings();

// The export commands: asks down to which level (Maha .. Prana), then the file, and
// writes the same calendar or table as orvanta-chart --precise --format ics / csv with
// --levels for the same birth and settings. `nowUtcSeconds` stamps the calendar's
// events. Returns whether a file was written.
bool ExportPeriods(QWidget* parent, PeriodExport kind, const PeriodsBirth& birth, PeriodsSettings settings,
                   std::int64_t nowUtcSeconds);

}  // namespace orvanta
