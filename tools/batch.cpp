#include "batch.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <streambuf>
#include <thread>

namespace orvanta {

std::optional<std::vector<std::string>> CsvReader::Next() {
    std::streambuf* buffer = in_.rdbuf();
    using Traits = std::streambuf::traits_type;
    if (unclosed_ || Traits::eq_int_type(buffer->sgetc(), Traits::eof())) return std::nullopt;
    line_ = nextLine_;
    std::vector<std::string> fields(1);
    bool quoted = false;     // inside a quoted field
    bool wasQuoted = false;  // the field began with a quote
    for (;;) {
        const auto next = buffer->sbumpc();
        if (Traits::eq_int_type(next, Traits::eof())) {
            if (quoted) unclosed_ = true;
            return fields;
        }
        const char c = Traits::to_char_type(next);
        if (quoted) {
            if (c == '"') {
                if (Traits::eq_int_type(buffer->sgetc(), Traits::to_int_type('"'))) {
                    buffer->sbumpc();
                    fields.back() += '"';
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n') ++nextLine_;
                fields.back() += c;
            }
            continue;
        }
        if (c == ',') {
            fields.emplace_back();
            wasQuoted = false;
        } else if (c == '\n') {
            ++nextLine_;
            return fields;
        } else if (c == '\r' && Traits::eq_int_type(buffer->sgetc(), Traits::to_int_type('\n'))) {
            buffer->sbumpc();
            ++nextLine_;
            return fields;
        } else if (c == '"' && fields.back().empty() && !wasQuoted) {
            quoted = true;
            wasQuoted = true;
        } else {
            fields.back() += c;  // a quote inside an unquoted field is taken as it stands
        }
    }
}

const std::vector<BatchColumn>& BatchColumns() {
    static const std::vector<BatchColumn> columns = {
        {"name", false, false},        {"month", false, false},      {"day", false, false},
        {"year", false, false},        {"hour", false, false},       {"minute", false, false},
        {"second", false, false},      {"zone-hour", false, false},  {"zone-minute", false, false},
        {"dst", true, false},          {"lat-deg", false, false},    {"lat-min", false, false},
        {"south", true, false},        {"lon-deg", false, false},    {"lon-min", false, false},
        {"west", true, false},         {"time-zone", false, true},   {"fold", false, true},
        {"ayanamsa", false, true},     {"year-days", false, true},   {"levels", false, true},
        {"on", false, true},           {"uncertainty", false, true}, {"planets", true, true},
        {"node", false, true},
    };
    return columns;
}

namespace {

struct Header {
    std::vector<const BatchColumn*> columns;
    std::optional<std::string> error;
};

Header ReadHeader(std::vector<std::string> names, bool precise) {
    Header header;
    if (!names.empty() && names.front().starts_with("\xEF\xBB\xBF")) names.front().erase(0, 3);  // a byte-order mark
    const auto& known = BatchColumns();
    for (const std::string& name : names) {
        const auto column = std::find_if(known.begin(), known.end(), [&](const BatchColumn& c) { return c.name == name; });
        if (column == known.end()) {
            header.error = "the header names an unknown column: \"" + name + "\"";
        } else if (column->precise && !precise) {
            header.error = "the column " + name + " needs --precise";
        } else if (std::find(header.columns.begin(), header.columns.end(), &*column) != header.columns.end()) {
            header.error = "the header names the column " + name + " twice";
        }
        if (header.error) return header;
        header.columns.push_back(&*column);
    }
    return header;
}

BatchRow ToArguments(const Header& header, const std::vector<std::string>& fields, std::size_t line, bool precise) {
    BatchRow row;
    if (fields.size() != header.columns.size()) {
        row.error = "line " + std::to_string(line) + ": " + std::to_string(fields.size()) + " fields, the header has " +
                    std::to_string(header.columns.size());
        return row;
    }
    if (precise) row.arguments.emplace_back("--precise");
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const BatchColumn& column = *header.columns[i];
        if (!column.flag) {
            row.arguments.push_back("--" + std::string(column.name) + "=" + fields[i]);
        } else if (fields[i] == "true") {
            row.arguments.push_back("--" + std::string(column.name));
        } else if (fields[i] != "false" && !fields[i].empty()) {
            row.error = "line " + std::to_string(line) + ": " + std::string(column.name) + ": \"" + fields[i] +
                        "\" is neither true nor false";
            return row;
        }
    }
    return row;
}

// Worker threads that take the rows of one window by index until none is left, while
// the caller reads the next window and writes the one before.
class Workers {
public:
    Workers(unsigned count, const RowJson& rowJson) : rowJson_(rowJson) {
        for (unsigned i = 0; i < count; ++i) threads_.emplace_back([this] { Serve(); });
    }
    ~Workers() {
        Wait();
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        start_.notify_all();
        for (std::thread& t : threads_) t.join();
    }

    // Starts filling out[i] for every row; both stay untouched by the caller until Wait().
    void Start(const std::vector<BatchRow>& rows, std::vector<std::string>& out) {
        {
            const std::lock_guard lock(mutex_);
            rows_ = &rows;
            out_ = &out;
            next_ = 0;
            busy_ = threads_.size();
            ++round_;
        }
        start_.notify_all();
    }

    void Wait() {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return busy_ == 0; });
    }

private:
    void Serve() {
        std::size_t seen = 0;
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                start_.wait(lock, [&] { return stopping_ || round_ != seen; });
                if (stopping_) return;
                seen = round_;
            }
            Work();
            {
                const std::lock_guard lock(mutex_);
                --busy_;
            }
            done_.notify_one();
        }
    }

    void Work() {
        constexpr std::size_t kChunk = 8;
        const std::vector<BatchRow>& rows = *rows_;
        for (;;) {
            const std::size_t first = next_.fetch_add(kChunk);
            if (first >= rows.size()) return;
            for (std::size_t i = first; i < std::min(first + kChunk, rows.size()); ++i) {
                if (!rows[i].error) (*out_)[i] = rowJson_(rows[i].arguments);
            }
        }
    }

    const RowJson& rowJson_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable start_;
    std::condition_variable done_;
    bool stopping_ = false;
    std::size_t round_ = 0;
    std::size_t busy_ = 0;
    const std::vector<BatchRow>* rows_ = nullptr;
    std::vector<std::string>* out_ = nullptr;
    std::atomic<std::size_t> next_{0};
};

}  // namespace

BatchOutcome RunBatch(std::istream& in, const BatchSettings& settings, const RowJson& rowJson,
                      const RowErrorJson& errorJson, const BlockWriter& write) {
    BatchOutcome outcome;
    CsvReader reader(in);
    const auto names = reader.Next();
    if (!names) return outcome;  // an empty file: no rows
    const Header header = ReadHeader(*names, settings.precise);
    if (header.error) {
        outcome.end = BatchEnd::BadHeader;
        outcome.message = *header.error;
        return outcome;
    }

    const unsigned jobs = std::max(1u, settings.jobs);
    // A classic line is some 8 KiB, a precise one with its period tree up to a few
    // hundred: the window keeps a few MiB in flight per job either way.
    const std::size_t perJob = settings.precise ? 16 : 256;
    const std::size_t window = settings.window > 0 ? settings.window : perJob * static_cast<std::size_t>(jobs);
    // Two windows: one worked on while the other is written and refilled.
    std::array<std::vector<BatchRow>, 2> rows;
    std::array<std::vector<std::string>, 2> lines;
    std::string block;
    const auto read = [&](std::vector<BatchRow>& into) {
        into.clear();
        while (into.size() < window) {
            const auto fields = reader.Next();
            if (!fields) return;
            if (fields->size() == 1 && fields->front().empty() && !reader.unclosed()) continue;  // a blank line
            BatchRow row = ToArguments(header, *fields, reader.line(), settings.precise);
            if (reader.unclosed()) {
                row.arguments.clear();
                row.error = "line " + std::to_string(reader.line()) + ": a quoted field is not closed";
            }
            into.push_back(std::move(row));
        }
    };
    const auto written = [&](const std::vector<BatchRow>& done, const std::vector<std::string>& out) {
        block.clear();
        for (std::size_t i = 0; i < done.size(); ++i) {
            block += done[i].error ? errorJson(*done[i].error) : out[i];
            block += '\n';
        }
        outcome.rows += done.size();
        return write(block);
    };

    Workers workers(jobs, rowJson);
    const auto start = [&](std::size_t which) {
        lines[which].assign(rows[which].size(), std::string());
        workers.Start(rows[which], lines[which]);
    };
    std::size_t current = 0;
    read(rows[current]);
    if (!rows[current].empty()) start(current);
    while (!rows[current].empty()) {
        const std::size_t next = 1 - current;
        read(rows[next]);  // while the current window is worked on
        workers.Wait();
        if (!rows[next].empty()) start(next);
        if (!written(rows[current], lines[current])) {  // while the next one is
            outcome.end = BatchEnd::WriteFailed;
            return outcome;  // the workers finish their window before they stop
        }
        current = next;
    }
    return outcome;
}

}  // namespace orvanta
