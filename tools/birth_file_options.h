#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/birthfile/birth_record.h"
#include "precise_output.h"

namespace orvanta {

// The birth-file options of orvanta-chart: --open FILE (the own format, .jhd or AAF, told
// apart by content), --record N (which record of an AAF file, from 1) and --save FILE
// (the format by the extension).
struct BirthFileRequest {
    std::optional<std::string> open;
    std::optional<int> record;
    std::optional<std::string> save;
};

std::string BirthFileUsage();

// The file opened: the record chosen and the tool's arguments that give its form, or the
// exit status and what to say (a listing of the records on standard output, a message
// on standard error).
struct OpenedBirth {
    birthfile::ReadRecord read;
    std::vector<std::string> arguments;
    int exit = 0;
    std::string listing;
    std::string message;
};
// `precise`: whether --precise was given, so the file's precise settings become options.
OpenedBirth OpenBirthFile(const BirthFileRequest& request, bool precise);

// Lines for people about the record opened: what the reading noticed and how the file's
// zone compares with the atlas zone of its place.
std::vector<std::string> OpenedNotes(const OpenedBirth& opened);

// The precise settings the options chose.
PeriodsSettings SettingsOf(const PreciseOptions& precise);

// Writes `record` to `path` in the format its extension names, through the checked save:
// a failed write leaves an existing file as it was. `leftOut` says what the format cannot
// hold; `refused` when the form cannot be written in that format at all.
struct SavedBirth {
    bool saved = false;
    bool refused = false;
    std::string message;
    std::vector<std::string> leftOut;
};
SavedBirth SaveBirthRecord(const std::string& path, const birthfile::BirthRecord& record);

// An AAF file's records as the CSV the batch reads (header and one row a record), or
// the sentence naming the file and line it cannot be read at. Nothing for a file that
// is not AAF.
struct BatchInput {
    std::optional<std::string> csv;
    std::string problem;
};
BatchInput AafAsBatchCsv(std::string_view fileName, std::string_view contents, bool precise);

}  // namespace orvanta
