// The precise periods' calendar (ICS) and table (CSV) exports for arbitrary births and
// options, each read back by a strict reader written here: RFC 5545's content lines,
// folding, components and TEXT escapes; RFC 4180's records and fields. Every period of
// the tree must be one event and one record.

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart/computation_run.h"
#include "core/periods/period_export.h"
#include "fuzz_input.h"
#include "precise_output.h"
#include "tool_options.h"

using namespace orvanta;

namespace {

bool WellFormedUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = [&](std::size_t k) { return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0u; };
        const auto cont = [&](std::size_t k) { return (b(k) & 0xC0) == 0x80; };
        const unsigned lead = b(0);
        std::size_t n = 0;
        if (lead < 0x80) n = 1;
        else if (lead >= 0xC2 && lead <= 0xDF && cont(1)) n = 2;
        else if (lead >= 0xE0 && lead <= 0xEF && cont(1) && cont(2) && !(lead == 0xE0 && b(1) < 0xA0) && !(lead == 0xED && b(1) > 0x9F)) n = 3;
        else if (lead >= 0xF0 && lead <= 0xF4 && cont(1) && cont(2) && cont(3) && !(lead == 0xF0 && b(1) < 0x90) && !(lead == 0xF4 && b(1) > 0x8F)) n = 4;
        if (n == 0) return false;
        i += n;
    }
    return true;
}

bool Digits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// RFC 5545 3.3.5: "19980118T230000Z" (or without the Z); 3.3.4: "19970714".
bool DateTimeValue(std::string_view v) {
    if (v.size() == 8) return Digits(v);
    if (v.size() == 16 && v.back() == 'Z') v.remove_suffix(1);
    return v.size() == 15 && Digits(v.substr(0, 8)) && v[8] == 'T' && Digits(v.substr(9));
}

// RFC 5545 3.3.11: TSAFE-CHAR, ":" , DQUOTE or an escape "\\\\", "\\;", "\\,", "\\n", "\\N".
bool TextValue(std::string_view v) {
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] == ';' || v[i] == ',') return false;
        if (v[i] == '\\') {
            if (++i == v.size() || std::string_view("\\;,nN").find(v[i]) == std::string_view::npos) return false;
        }
    }
    return true;
}

// The number of VEVENTs of a strict RFC 5545 calendar, or -1.
long ReadCalendar(std::string_view text) {
    if (!text.ends_with("\r\n")) return -1;
    std::vector<std::string> lines;  // unfolded
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        const std::string_view line = text.substr(at, end - at);
        at = end + 2;
        if (line.size() > 75 || line.find_first_of("\r\n") != std::string_view::npos) return -1;  // 3.1
        if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            if (lines.empty()) return -1;
            lines.back() += line.substr(1);
        } else {
            lines.emplace_back(line);
        }
    }
    std::vector<std::string> open;
    std::set<std::string> uids;
    std::vector<std::string> seen;  // the properties of the component being read
    long events = 0;
    for (const std::string& line : lines) {
        if (!WellFormedUtf8(line)) return -1;
        for (unsigned char c : line) {
            if ((c < 0x20 && c != '\t') || c == 0x7F) return -1;  // 3.1: no control characters
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) return -1;
        const std::string name = line.substr(0, std::min(colon, line.find(';')));
        const std::string value = line.substr(colon + 1);
        if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) {
                return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
            })) {
            return -1;
        }
        if (name == "BEGIN") {
            if (open.empty() != (value == "VCALENDAR")) return -1;
            open.push_back(value);
            seen.clear();
            continue;
        }
        if (open.empty()) return -1;
        if (name == "END") {
            if (open.back() != value) return -1;
            const auto count = [&](const char* p) { return std::count(seen.begin(), seen.end(), p); };
            if (value == "VEVENT") {
                if (count("UID") != 1 || count("DTSTAMP") != 1 || count("DTSTART") != 1 || count("DTEND") > 1) return -1;
                ++events;
            }
            open.pop_back();
            seen.clear();
            continue;
        }
        seen.push_back(name);
        if (open.back() == "VCALENDAR" && name == "VERSION" && value != "2.0") return -1;
        if ((name == "DTSTART" || name == "DTEND" || name == "DTSTAMP") && !DateTimeValue(value)) return -1;
        if ((name == "SUMMARY" || name == "DESCRIPTION" || name == "UID" || name == "LOCATION") && !TextValue(value)) {
            return -1;
        }
        if (name == "UID" && !uids.insert(value).second) return -1;
    }
    if (!open.empty() || lines.empty() || lines.front() != "BEGIN:VCALENDAR") return -1;
    return events;
}

// The number of records after the header of a strict RFC 4180 table, or -1. Bytes above
// 0x7F are taken in fields (UTF-8), which the ABNF's TEXTDATA leaves out.
long ReadTable(std::string_view text) {
    std::size_t at = 0, fields = 0, header = 0;
    long records = 0;
    while (at < text.size()) {
        std::size_t count = 0;
        for (;;) {
            if (at < text.size() && text[at] == '"') {
                for (++at;; ++at) {
                    if (at >= text.size()) return -1;
                    if (text[at] == '"') {
                        if (at + 1 < text.size() && text[at + 1] == '"') { ++at; continue; }
                        ++at;
                        break;
                    }
                }
            } else {
                while (at < text.size() && text[at] != ',' && text[at] != '\r') {
                    const unsigned char c = static_cast<unsigned char>(text[at]);
                    if (c == '"' || c == '\n' || c < 0x20 || c == 0x7F) return -1;
                    ++at;
                }
            }
            ++count;
            if (at < text.size() && text[at] == ',') { ++at; continue; }
            if (text.substr(at, 2) != "\r\n") return -1;
            at += 2;
            break;
        }
        if (fields == 0) {
            header = count;
        } else if (count != header) {
            return -1;
        }
        ++fields;
        records = static_cast<long>(fields) - 1;
    }
    return fields == 0 ? -1 : records;
}

constexpr const char* kOptions[] = {"--time-zone", "--fold", "--ayanamsa", "--year-days", "--levels",
                                    "--on",        "--uncertainty", "--year"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    BirthForm form;
    form.name = std::string(in.Text());
    form.month = MonthEntries()[in.Byte() % 12];
    form.day = DayEntries()[in.Byte() % 31];
    form.hour = HourEntries()[in.Byte() % 24];
    form.minute = std::to_string(in.Byte() % 60);
    form.second = std::to_string(in.Byte() % 60);
    form.year = std::to_string(1901 + in.Byte() % 150);
    std::vector<std::string> args{"--precise"};
    for (int n = in.Byte() % 4; n > 0; --n) args.push_back(std::string(kOptions[in.Byte() % std::size(kOptions)]) + "=" + std::string(in.Text()));

    ToolArguments parsed;
    std::vector<std::string_view> line(args.begin(), args.end());
    if (TakePreciseOptions(line, parsed)) return 0;
    PreciseOptions options = parsed.precise;
    options.levels = std::min(options.levels, 3);  // deeper trees take seconds a run
    if (FilterFormTexts(form)) return 0;
    const RunOutcome chart = RunChart(form);
    if (chart.rejection) return 0;
    const PreciseResult result =
        ComputePrecise(options, chart.chart.birth, options.preciseYear.value_or(chart.chart.birth.year), std::stoi(form.second));
    if (!result.report) return 0;
    const long periods = static_cast<long>(result.report->chart.tree.periods.size());
    const std::int64_t now = static_cast<std::int64_t>(in.Byte()) << 24;
    ORVANTA_FUZZ_CHECK(ReadCalendar(PreciseIcs(*result.report, now, form.name)) == periods);
    ORVANTA_FUZZ_CHECK(ReadTable(PreciseCsv(*result.report)) == periods);
    return 0;
}
