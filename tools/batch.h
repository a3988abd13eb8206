#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta {

// One record of a CSV text (RFC 4180): fields split at commas, quoted fields may hold
// commas, line breaks and doubled quotes; records end at CRLF or LF.
class CsvReader {
public:
    explicit CsvReader(std::istream& in) : in_(in) {}

    // The next record, or nothing at the end of the text. A quoted field that is not
    // closed before the end sets `unclosed` and ends the text.
    std::optional<std::vector<std::string>> Next();
    bool unclosed() const { return unclosed_; }
    std::size_t line() const { return line_; }  // the line the last record began on, from 1

private:
    std::istream& in_;
    bool unclosed_ = false;
    std::size_t line_ = 0;
    std::size_t nextLine_ = 1;
};

// The columns a batch file may name: the tool's form options by their names without
// "--", the three flags, and with the precise method its options too.
struct BatchColumn {
    std::string_view name;
    bool flag;
    bool precise;
};
const std::vector<BatchColumn>& BatchColumns();

// One row as the tool's arguments ("--day=18", "--west"), or why it cannot be read:
// a field count other than the header's, or a flag that is neither true nor false.
struct BatchRow {
    std::vector<std::string> arguments;
    std::optional<std::string> error;
};

struct BatchSettings {
    unsigned jobs = 1;
    bool precise = false;
    std::size_t window = 0;  // rows in flight at once; 0 picks 256 per job, 16 with precise rows
};

// The JSON object (one line, no line break) the tool writes with --json for these
// arguments, or its error object; called from several threads at once.
using RowJson = std::function<std::string(const std::vector<std::string>& arguments)>;
// The JSON object of a row that cannot be read, from its message.
using RowErrorJson = std::function<std::string(std::string_view message)>;
// Writes a block of lines; false when it did not reach its destination.
using BlockWriter = std::function<bool(std::string_view block)>;

enum class BatchEnd { Done, BadHeader, WriteFailed };
struct BatchOutcome {
    BatchEnd end = BatchEnd::Done;
    std::string message;  // for BadHeader
    std::size_t rows = 0;
};

// Reads the CSV whose header names the columns, turns every row into the tool's
// arguments and writes one line per row in input order. Rows are worked on `jobs`
// threads at once, a window of rows at a time, so memory stays bounded however long
// the input is. Stops at the first block that could not be written.
BatchOutcome RunBatch(std::istream& in, const BatchSettings& settings, const RowJson& rowJson,
                      const RowErrorJson& errorJson, const BlockWriter& write);

}  // namespace orvanta
