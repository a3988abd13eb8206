#pragma once

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tool_options.h"

namespace orvanta {

// Bytes for the batch reader. Read() gives 0 at the end of the bytes and after a read
// that failed; failure() then says why, in the system's words.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::size_t Read(char* into, std::size_t size) = 0;
    virtual std::string failure() const { return {}; }
};

// A text in memory.
class TextSource : public ByteSource {
public:
    explicit TextSource(std::string_view text) : text_(text) {}
    std::size_t Read(char* into, std::size_t size) override;

private:
    std::string_view text_;
};

// An open C stream (not closed here): a file, or standard input.
class FileSource : public ByteSource {
public:
    explicit FileSource(std::FILE* file) : file_(file) {}
    std::size_t Read(char* into, std::size_t size) override;
    std::string failure() const override { return failure_; }

private:
    std::FILE* file_;
    std::string failure_;
};

// Bytes already read (a probe of the first block), then the rest of another source.
class PrefixedSource : public ByteSource {
public:
    PrefixedSource(std::string prefix, ByteSource& rest) : prefix_(std::move(prefix)), rest_(rest) {}
    std::size_t Read(char* into, std::size_t size) override;
    std::string failure() const override { return rest_.failure(); }

private:
    std::string prefix_;
    std::size_t at_ = 0;
    ByteSource& rest_;
};

// One record of a CSV text (RFC 4180): fields split at commas, quoted fields may hold
// commas, line breaks and doubled quotes; records end at CRLF or LF.
class CsvReader {
public:
    // A record holds at most this many bytes; the rest of a longer one is skipped.
    static constexpr std::size_t kMostRecordBytes = 64 * 1024;

    explicit CsvReader(ByteSource& in) : in_(in) {}

    // The next record, or nothing at the end of the text. A quoted field that is not
    // closed before the end sets `unclosed` and ends the text; a record longer than
    // kMostRecordBytes comes back cut, with tooLong() set.
    std::optional<std::vector<std::string>> Next();
    bool unclosed() const { return unclosed_; }
    bool tooLong() const { return tooLong_; }
    std::size_t line() const { return line_; }  // the line the last record began on, from 1

private:
    int Get();  // the next byte, or -1 at the end
    int Peek();

    ByteSource& in_;
    std::vector<char> buffer_ = std::vector<char>(64 * 1024);
    std::size_t at_ = 0;
    std::size_t end_ = 0;
    bool exhausted_ = false;
    bool unclosed_ = false;
    bool tooLong_ = false;
    std::size_t line_ = 0;
    std::size_t nextLine_ = 1;
};

// The columns a batch file may name: the options the table marks, by their names
// without "--".
const std::vector<const ToolOption*>& BatchColumns();

struct BatchSettings {
    unsigned jobs = 1;
    bool precise = false;
    // The bytes of output that may be in flight at once (rows being made, or made and
    // waiting for an earlier row): rows are started while their estimated size fits,
    // one at a time at least. Peak memory is about this plus one row's output.
    std::size_t inFlightBytes = 48u << 20;
    // Rows whose estimate is small are taken up to this many at a time, once a first row
    // was made: the bound then holds for rows near their estimate, as the tool's rows
    // are (their size follows from the levels and uncertainty columns). Rows far above
    // their estimate are learned from the first one made: until then each worker may be
    // making one.
    std::size_t chunkRows = 64;
    // Set (by a signal handler, say) to stop after the line being written.
    const std::atomic<bool>* stop = nullptr;
};

// Appends to `out` the JSON object (one line, no line break) the tool writes with
// --json for the options a row gives (its cells, an empty cell as a missing column, a
// flag's "true" as the flag; --precise first with BatchSettings::precise), or its error
// object; called from several threads at once.
using RowJson = std::function<void(std::span<const GivenOption> row, std::string& out)>;
// The JSON object of a row that cannot be read, from its message.
using RowErrorJson = std::function<std::string(std::string_view message)>;
// Writes a block of whole lines; false when it did not reach its destination.
using BlockWriter = std::function<bool(std::string_view block)>;

enum class BatchEnd { Done, BadHeader, ReadFailed, WriteFailed, Stopped };
struct BatchOutcome {
    BatchEnd end = BatchEnd::Done;
    std::string message;  // for BadHeader and ReadFailed
    std::size_t rows = 0;  // the lines written
};

// Reads the CSV whose header names the columns, gives every row's options to `rowJson`
// and writes one line per row in input
// order. Rows are worked on `jobs` threads at once. Stops at the first block that could
// not be written, at a read that failed (after the rows read whole before it) and when
// `stop` is set (after a whole line).
BatchOutcome RunBatch(ByteSource& in, const BatchSettings& settings, const RowJson& rowJson,
                      const RowErrorJson& errorJson, const BlockWriter& write);

}  // namespace orvanta
