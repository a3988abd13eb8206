// The batch's CSV reader and its row pipeline on arbitrary bytes. Every record the
// reader gives, written back strictly by RFC 4180 (every field quoted, quotes doubled,
// CRLF) and read again, must come back the same; the pipeline must write one whole
// line per row, in input order, whatever the header and the rows hold.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "batch.h"
#include "fuzz_input.h"

using namespace orvanta;

namespace {

std::string StrictRecord(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        out += '"';
        for (char c : fields[i]) out += c == '"' ? std::string("\"\"") : std::string(1, c);
        out += '"';
    }
    return out + "\r\n";
}

void CheckReader(std::string_view text) {
    TextSource in(text);
    CsvReader reader(in);
    std::string strict;
    std::vector<std::vector<std::string>> records;
    while (const auto record = reader.Next()) {
        ORVANTA_FUZZ_CHECK(!record->empty());
        if (reader.tooLong() || reader.unclosed()) return;  // cut: not the text's record
        strict += StrictRecord(*record);
        records.push_back(*record);
    }
    TextSource again(strict);
    CsvReader second(again);
    for (const auto& record : records) {
        const auto read = second.Next();
        ORVANTA_FUZZ_CHECK(read && *read == record && !second.unclosed() && !second.tooLong());
    }
    ORVANTA_FUZZ_CHECK(!second.Next());
}

// A row's line: the order it was made in is read from the line itself.
void RowLine(std::span<const GivenOption> row, std::string& out) {
    out += "row";
    for (const GivenOption& g : row) {
        out += " --";
        out += g.option->name;
        if (!g.value) continue;
        out += '=';
        for (char c : *g.value) out += c == '\n' || c == '\r' ? ' ' : c;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::uint8_t settings = input.Byte();
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size > 0 ? size - 1 : 0);
    CheckReader(text);

    TextSource in(text);
    std::string written;
    const BatchOutcome outcome = RunBatch(
        in, BatchSettings{.jobs = 1u + settings % 3u, .precise = (settings & 4) != 0, .inFlightBytes = 256}, RowLine,
        [](std::string_view message) { return "error " + std::string(message.substr(0, message.find('\n'))); },
        [&](std::string_view block) {
            ORVANTA_FUZZ_CHECK(!block.empty() && block.back() == '\n');
            written += block;
            return true;
        });
    ORVANTA_FUZZ_CHECK(outcome.end == BatchEnd::Done || outcome.end == BatchEnd::BadHeader);
    std::size_t lines = 0;
    for (std::size_t at = 0; at < written.size(); ++lines) {
        const std::size_t end = written.find('\n', at);
        const std::string_view line(written.data() + at, end - at);
        ORVANTA_FUZZ_CHECK(line.starts_with("row") || line.starts_with("error line "));
        at = end + 1;
    }
    ORVANTA_FUZZ_CHECK(lines == outcome.rows);
    if (outcome.end == BatchEnd::BadHeader) ORVANTA_FUZZ_CHECK(written.empty() && !outcome.message.empty());
    return 0;
}
