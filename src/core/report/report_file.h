#pragma once

#include <QString>

#include <string>

namespace orvanta {

// The outcome of a save: `saved`, or the reason it was not, in the system's words
// ("No space left on device") where the system gave one.
struct SaveOutcome {
    bool saved = false;
    QString reason;
};

// Writes `contents` to `path` through a temporary file in the same folder that then
// replaces the target, so either the whole new file is there or nothing changed: a
// failed write leaves no file behind and an existing file as it was. The new file
// replaces the old one only after all its bytes have reached the disk. An existing
// file that is not writable is refused, as the save dialog refuses a read-only file.
SaveOutcome SaveReportFile(const QString& path, const std::string& contents);

}  // namespace orvanta
