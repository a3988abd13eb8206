#pragma once

#include <QString>

#include <string>

namespace orvanta {

// Writes `contents` to `path` through a temporary file in the same folder that then
// replaces the target, so either the whole new file is there or nothing changed: a
// failed write leaves no file behind and an existing file as it was. An existing file
// that is not writable is refused, as the save dialog refuses a read-only file.
// Returns whether the file was written.
bool SaveReportFile(const QString& path, const std::string& contents);

}  // namespace orvanta
