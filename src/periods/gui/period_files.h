#pragma once

#include <QString>

#include <cstdint>
#include <optional>

#include "periods/period_view.h"

class QWidget;

namespace orvanta {

enum class PeriodExport { Calendar, Table };

// The ayanamsa, year length and uncertainty last chosen in the periods window, kept in
// memory for the rest of the run (never written anywhere); the defaults until then.
PeriodsSettings& RunPeriodsSettings();

// Qt's save dialog for the periods' files, kept for the whole run so that its folder
// and history live in memory only (a file dialog writes them into Qt's settings file
// when it is destroyed). Returns the chosen path, or nothing when cancelled.
std::optional<QString> ChoosePeriodsFile(QWidget* parent, const QString& filter, const QString& suffix);

// Writes `contents` through the report's save: the whole file or nothing. A failed
// write is reported in one message box with the system's reason. Returns whether it
// was written.
bool WritePeriodsFile(QWidget* parent, const QString& path, const std::string& contents, const char* what);

// The export commands: asks down to which level (Maha .. Prana), then the file, and
// writes the same calendar or table as orvanta-chart --precise --format ics / csv with
// --levels for the same birth and settings. `nowUtcSeconds` stamps the calendar's
// events. Returns whether a file was written.
bool ExportPeriods(QWidget* parent, PeriodExport kind, const PeriodsBirth& birth, PeriodsSettings settings,
                   std::int64_t nowUtcSeconds);

}  // namespace orvanta
