#include "batch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "tool_options.h"

namespace orvanta {

std::size_t TextSource::Read(char* into, std::size_t size) {
    const std::size_t n = std::min(size, text_.size());
    std::memcpy(into, text_.data(), n);
    text_.remove_prefix(n);
    return n;
}

std::size_t FileSource::Read(char* into, std::size_t size) {
    if (!failure_.empty()) return 0;
    errno = 0;
    const std::size_t n = std::fread(into, 1, size, file_);
    if (n == 0 && std::ferror(file_)) {
        const int error = errno;
        failure_ = error != 0 ? std::strerror(error) : "the read failed";
    }
    return n;
}

std::size_t PrefixedSource::Read(char* into, std::size_t size) {
    if (at_ == prefix_.size()) return rest_.Read(into, size);
    const std::size_t n = std::min(size, prefix_.size() - at_);
    std::memcpy(into, prefix_.data() + at_, n);
    at_ += n;
    return n;
}

int CsvReader::Get() {
    if (at_ == end_) {
        if (exhausted_) return -1;
        at_ = 0;
        end_ = in_.Read(buffer_.data(), buffer_.size());
        if (end_ == 0) {
            exhausted_ = true;
            return -1;
        }
    }
    return static_cast<unsigned char>(buffer_[at_++]);
}

int CsvReader::Peek() {
    const int c = Get();
    if (c >= 0) --at_;
    return c;
}

std::optional<std::vector<std::string>> CsvReader::Next() {
    if (unclosed_ || Peek() < 0) return std::nullopt;
    line_ = nextLine_;
    tooLong_ = false;
    std::vector<std::string> fields(1);
    std::size_t bytes = 0;
    const auto keep = [&](char c) {
        if (++bytes > kMostRecordBytes) {
            tooLong_ = true;
        } else {
            fields.back() += c;
        }
    };
    bool quoted = false;     // inside a quoted field
    bool wasQuoted = false;  // the field began with a quote
    for (;;) {
        const int next = Get();
        if (next < 0) {
            if (quoted) unclosed_ = true;
            return fields;
        }
        const char c = static_cast<char>(next);
        if (quoted) {
            if (c == '"') {
                if (Peek() == '"') {
                    Get();
                    keep('"');
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n') ++nextLine_;
                keep(c);
            }
            continue;
        }
        if (c == ',') {
            if (!tooLong_) fields.emplace_back();
            wasQuoted = false;
        } else if (c == '\n') {
            ++nextLine_;
            return fields;
        } else if (c == '\r' && Peek() == '\n') {
            Get();
            ++nextLine_;
            return fields;
        } else if (c == '"' && fields.back().empty() && !wasQuoted) {
            quoted = true;
            wasQuoted = true;
        } else {
            keep(c);  // a quote inside an unquoted field is taken as it stands
        }
    }
}

const std::vector<const ToolOption*>& BatchColumns() {
    static const std::vector<const ToolOption*> columns = [] {
        std::vector<const ToolOption*> made;
        for (const ToolOption& option : ToolOptions()) {
            if (option.batchColumn) made.push_back(&option);
        }
        return made;
    }();
    return columns;
}

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

struct Header {
    std::vector<const ToolOption*> columns;
    std::size_t levels = kNone;  // the index of the column, if the header names it
    std::size_t uncertainty = kNone;
    std::optional<std::string> error;
};

// A text of the file inside a message: its first line, cut to a few dozen characters.
std::string Shown(std::string_view text) {
    constexpr std::size_t kMost = 40;
    const std::size_t lineEnd = std::min(text.find_first_of("\r\n"), text.size());
    std::size_t end = std::min(lineEnd, kMost);
    while (end > 0 && end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return "\"" + std::string(text.substr(0, end)) + "\"" + (end < text.size() ? "..." : "");
}

Header ReadHeader(std::vector<std::string> names, bool precise) {
    Header header;
    if (!names.empty() && names.front().starts_with("\xEF\xBB\xBF")) names.front().erase(0, 3);  // a byte-order mark
    const auto& known = BatchColumns();
    for (const std::string& name : names) {
        const auto column = std::find_if(known.begin(), known.end(), [&](const ToolOption* c) { return c->name == name; });
        if (column == known.end()) {
            header.error = "the header names an unknown column: " + Shown(name);
        } else if ((*column)->group == OptionGroup::Precise && !precise) {
            header.error = "the column " + name + " needs --precise";
        } else if (std::find(header.columns.begin(), header.columns.end(), *column) != header.columns.end()) {
            header.error = "the header names the column " + name + " twice";
        }
        if (header.error) return header;
        if ((*column)->name == "levels") header.levels = header.columns.size();
        if ((*column)->name == "uncertainty") header.uncertainty = header.columns.size();
        header.columns.push_back(*column);
    }
    return header;
}

// One row's cells, or why it cannot be read.
struct BatchRow {
    std::vector<std::string> fields;
    std::optional<std::string> error;
};

// The row's cells checked against the header: as many as it has columns, a flag's
// true or false.
BatchRow CheckedRow(const Header& header, std::vector<std::string> fields, std::size_t line) {
    BatchRow row;
    if (fields.size() != header.columns.size()) {
        row.error = "line " + std::to_string(line) + ": " + std::to_string(fields.size()) + " fields, the header has " +
                    std::to_string(header.columns.size());
        return row;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const ToolOption& column = *header.columns[i];
        if (column.flag() && !fields[i].empty() && fields[i] != "true" && fields[i] != "false") {
            row.error = "line " + std::to_string(line) + ": " + std::string(column.name) + ": " + Shown(fields[i]) +
                        " is neither true nor false";
            return row;
        }
    }
    row.fields = std::move(fields);
    return row;
}

// The options a checked row gives, in column order.
void RowOptions(const Header& header, const BatchRow& row, bool precise, std::vector<GivenOption>& given) {
    static const ToolOption* const kPrecise = FindToolOption("precise");
    given.clear();
    if (precise) given.push_back({kPrecise, std::nullopt, "--precise"});
    for (std::size_t i = 0; i < row.fields.size(); ++i) {
        const std::string& field = row.fields[i];
        if (field.empty()) continue;  // the column's default, as when the header does not name it
        const ToolOption* column = header.columns[i];
        if (!column->flag()) {
            given.push_back({column, field, {}});
        } else if (field == "true") {
            given.push_back({column, std::nullopt, {}});
        }
    }
}

// What a row's line will about take: a classic chart is some 8 KiB; the precise period
// tree grows ninefold with each level, and by a half with the start ranges.
std::size_t EstimatedBytes(const Header& header, const std::vector<std::string>& fields, bool precise) {
    if (!precise) return 9u << 10;
    constexpr std::size_t kByLevels[] = {12u << 10, 32u << 10, 224u << 10, 2u << 20, 19u << 20};
    int levels = 3;
    if (header.levels < fields.size()) {
        const std::string& text = fields[header.levels];
        if (text.size() == 1 && text[0] >= '1' && text[0] <= '5') levels = text[0] - '0';
    }
    std::size_t bytes = kByLevels[levels - 1];
    if (header.uncertainty < fields.size()) {
        const std::string& text = fields[header.uncertainty];
        if (!text.empty() && text != "0") bytes += bytes / 2;
    }
    return bytes;
}

// Rows in flight, in input order: started by the workers, written by the caller.
class Pipeline {
public:
    Pipeline(CsvReader& reader, ByteSource& in, const Header& header, const BatchSettings& settings,
             const RowJson& rowJson, const RowErrorJson& errorJson)
        : reader_(reader), in_(in), header_(header), settings_(settings), rowJson_(rowJson), errorJson_(errorJson) {}

    // The next row of the file and its estimated size; nothing at the end of the rows.
    std::optional<BatchRow> ReadRow(std::size_t& estimate) {
        for (;;) {
            auto fields = reader_.Next();
            if (!fields || !in_.failure().empty()) return std::nullopt;  // a record cut by a failed read is not a row
            if (fields->size() == 1 && fields->front().empty() && !reader_.unclosed() && !reader_.tooLong()) {
                continue;  // a blank line
            }
            const std::string line = "line " + std::to_string(reader_.line()) + ": ";
            BatchRow row;
            if (reader_.unclosed()) {
                row.error = line + "a quoted field is not closed";
            } else if (reader_.tooLong()) {
                row.error = line + "longer than " + std::to_string(CsvReader::kMostRecordBytes) + " bytes";
            } else {
                estimate = EstimatedBytes(header_, *fields, settings_.precise);
                row = CheckedRow(header_, std::move(*fields), reader_.line());
            }
            if (row.error) estimate = 512;
            return row;
        }
    }

    // Makes rows until the input ends or Stop() is called. Small rows are taken a chunk
    // at a time, so that the threads meet once a chunk rather than once a row.
    void Work() {
        std::vector<BatchRow> chunk;
        for (;;) {
            std::unique_lock take(take_);  // one worker at a time reads rows and waits for room for them
            chunk.clear();
            std::size_t estimate = 0;
            bool ended = false;
            const std::size_t most = madeAny_.load() ? std::max<std::size_t>(1, settings_.chunkRows) : 1;
            while (chunk.size() < most && estimate < kChunkBytes) {
                std::size_t rowEstimate = 0;
                std::optional<BatchRow> row = ReadRow(rowEstimate);
                if (!row) {
                    ended = true;
                    break;
                }
                chunk.push_back(std::move(*row));
                estimate += rowEstimate;
            }
            std::unique_lock lock(mutex_);
            // The end of the rows is told once the last chunk holds its place in the order:
            // the wait for room below lets the writer look in between.
            const auto tellTheEnd = [&] {
                if (!ended) return;
                readEnd_ = true;
                failure_ = in_.failure();
            };
            if (chunk.empty()) {
                tellTheEnd();
                made_.notify_all();
                return;
            }
            estimate = static_cast<std::size_t>(static_cast<double>(estimate) * scale_);
            ++roomWaiters_;
            room_.wait(lock, [&] {
                return stopping_ || inFlight_ == 0 ||
                       (inFlight_ + estimate <= settings_.inFlightBytes && pending_.size() < mostChunks_);
            });
            --roomWaiters_;
            if (stopping_) return;
            inFlight_ += estimate;
            const std::size_t index = first_ + pending_.size();
            pending_.emplace_back();
            tellTheEnd();
            lock.unlock();
            take.unlock();

            Made made{{}, chunk.size()};
            std::vector<GivenOption> given;
            made.text.reserve(std::min<std::size_t>(estimate + estimate / 4, kChunkBytes * 2));
            for (std::size_t i = 0; i < chunk.size(); ++i) {
                if (i > 0) made.text += '\n';
                if (chunk[i].error) {
                    made.text += errorJson_(*chunk[i].error);
                } else {
                    RowOptions(header_, chunk[i], settings_.precise, given);
                    rowJson_(given, made.text);
                }
            }
            lock.lock();
            const double size = static_cast<double>(made.text.size());
            scale_ = std::max(scale_, size / static_cast<double>(std::max<std::size_t>(estimate, 1)));
            inFlight_ = inFlight_ - estimate + made.text.size();
            pending_[index - first_] = std::move(made);
            madeAny_.store(true);
            if (index == first_ && writerWaiting_) made_.notify_one();
            if (ended) return;
        }
    }

    void Stop() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        room_.notify_all();
    }

    // Writes the rows in order as they are made.
    BatchOutcome Write(const BlockWriter& write) {
        BatchOutcome outcome;
        std::string block;
        const auto flush = [&] {
            const bool written = block.empty() || write(block);
            block.clear();
            return written;
        };
        for (;;) {
            if (settings_.stop && settings_.stop->load()) {
                outcome.end = flush() ? BatchEnd::Stopped : BatchEnd::WriteFailed;
                return outcome;
            }
            std::unique_lock lock(mutex_);
            if (pending_.empty() || !pending_.front()) {
                if (readEnd_ && pending_.empty()) break;
                if (!block.empty()) {  // gathered lines go out before the wait
                    lock.unlock();
                    if (!flush()) return Failed(outcome);
                    continue;
                }
                // A signal sets `stop` without waking the wait: it is looked at now and then.
                writerWaiting_ = true;
                made_.wait_for(lock, std::chrono::milliseconds(100));
                writerWaiting_ = false;
                continue;
            }
            const std::size_t lines = pending_.front()->lines;
            std::string text = std::move(pending_.front()->text);
            pending_.pop_front();
            ++first_;
            lock.unlock();
            const std::size_t size = text.size();
            bool written = true;
            if (size >= kDirectBytes) {  // long lines go out as they are, without a copy
                written = flush() && write(text) && write("\n");
            } else {
                block += text;
                block += '\n';
                if (block.size() >= kBlockBytes) written = flush();
            }
            text = std::string();
            lock.lock();
            inFlight_ -= size;
            const bool waiting = roomWaiters_ > 0;
            lock.unlock();
            if (waiting) room_.notify_all();
            if (!written) return Failed(outcome);
            outcome.rows += lines;
        }
        if (!flush()) return Failed(outcome);
        const std::lock_guard lock(mutex_);
        if (!failure_.empty()) {
            outcome.end = BatchEnd::ReadFailed;
            outcome.message = failure_;
        }
        return outcome;
    }

private:
    static constexpr std::size_t kChunkBytes = 256u << 10;  // estimated

    // Lines made by one worker in one go, joined by line breaks.
    struct Made {
        std::string text;
        std::size_t lines = 0;
    };
    static constexpr std::size_t kBlockBytes = 1u << 20;
    static constexpr std::size_t kDirectBytes = 64u << 10;

    static BatchOutcome Failed(BatchOutcome outcome) {
        outcome.end = BatchEnd::WriteFailed;
        return outcome;
    }

    CsvReader& reader_;
    ByteSource& in_;
    const Header& header_;
    const BatchSettings& settings_;
    const RowJson& rowJson_;
    const RowErrorJson& errorJson_;

    std::mutex take_;
    std::mutex mutex_;
    std::condition_variable made_;  // the first pending row is made, or the input ended
    std::condition_variable room_;  // bytes in flight were written
    std::deque<std::optional<Made>> pending_;  // from chunk `first_` on
    std::size_t first_ = 0;
    std::size_t inFlight_ = 0;  // estimates of the rows being made, sizes of those made
    double scale_ = 1.0;        // the largest ratio of a row's size to its estimate so far
    bool readEnd_ = false;
    bool stopping_ = false;
    bool writerWaiting_ = false;
    std::size_t roomWaiters_ = 0;
    std::atomic<bool> madeAny_{false};  // a first row was made: the estimates are scaled
    // Enough chunks in flight to keep every worker busy while the writer catches up.
    const std::size_t mostChunks_ = 4 * static_cast<std::size_t>(std::max(1u, settings_.jobs)) + 4;
    std::string failure_;
};

}  // namespace

BatchOutcome RunBatch(ByteSource& in, const BatchSettings& settings, const RowJson& rowJson,
                      const RowErrorJson& errorJson, const BlockWriter& write) {
    BatchOutcome outcome;
    CsvReader reader(in);
    const auto names = reader.Next();
    if (!in.failure().empty()) {
        outcome.end = BatchEnd::ReadFailed;
        outcome.message = in.failure();
        return outcome;
    }
    if (!names) return outcome;  // an empty file: no rows
    if (reader.unclosed() || reader.tooLong()) {
        outcome.end = BatchEnd::BadHeader;
        outcome.message = reader.unclosed() ? "the header has a quoted field that is not closed"
                                            : "the header is longer than " + std::to_string(CsvReader::kMostRecordBytes) + " bytes";
        return outcome;
    }
    const Header header = ReadHeader(*names, settings.precise);
    if (header.error) {
        outcome.end = BatchEnd::BadHeader;
        outcome.message = *header.error;
        return outcome;
    }

    Pipeline pipeline(reader, in, header, settings, rowJson, errorJson);
    std::vector<std::thread> workers;
    for (unsigned i = 0; i < std::max(1u, settings.jobs); ++i) workers.emplace_back([&] { pipeline.Work(); });
    outcome = pipeline.Write(write);
    pipeline.Stop();  // the workers finish the row each is making
    for (std::thread& worker : workers) worker.join();
    return outcome;
}

}  // namespace orvanta
