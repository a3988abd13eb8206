// orvanta-chart: the chart computation of the desktop program, run on form texts
// given as arguments, for batch use and automated checks.
//
// Exit codes: 0 the chart was computed (with --batch: every row was written); 2 a
// character was refused or the form failed its checks (the message the window would
// show); 64 the arguments are not usable; 66 the batch file cannot be read; 69 the place
// library cannot start; 73 the report file could not be written; 74 what was written to
// standard output did not reach it (a full disk, a closed pipe). With --batch, 128 and
// the signal's number after SIGINT or SIGTERM.

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <QString>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "batch.h"
#include "birth_file_options.h"
#include "core/chart/computation_run.h"
#include "core/display/interpretation_texts.h"
#include "core/report/report_builder.h"
#include "core/report/report_file.h"
#include "core/report/rtf_writer.h"
#include "core/zone/fixed_offset.h"
#include "json_writer.h"
#include "orvanta_version.h"
#include "place_options.h"
#include "precise_output.h"
#include "tool_options.h"

namespace orvanta {
namespace {

constexpr int kExitRefused = 2;
constexpr int kExitUsage = 64;
constexpr int kExitNoInput = 66;
constexpr int kExitUnavailable = 69;
constexpr int kExitCannotCreate = 73;
constexpr int kExitOutputFailed = 74;

constexpr std::string_view kUsageHead =
    "Usage: orvanta-chart [options]\n"
    "Computes a Vimshottari dasha chart from the birth details, as the desktop program does.\n"
    "Each option defaults to the birth-details window's start state.\n"
    "\n";

constexpr std::string_view kUsageTail =
    "\n"
    "A value is taken as it stands, even when it begins with \"-\": --name X and\n"
    "--name=X are the same.\n"
    "\n"
    "The zone boxes are read as the birth-details window reads them: --zone-hour and\n"
    "--zone-minute give how far the zone lies from UTC, and the zone lies east of UTC\n"
    "when the longitude is east, west of it with --west (a longitude of 0 deg 0 min\n"
    "counts as west). A sign typed in the box is dropped: --zone-hour -5 --west and\n"
    "--zone-hour 5 --west are both UTC-05:30 with the default 30 minutes, and\n"
    "--zone-hour -5 without --west is UTC+05:30. --dst adds one hour either way\n"
    "(--zone-hour 5 --zone-minute 0 --west --dst is UTC-04:00). Any other offset,\n"
    "or a zone's history, is given with --precise --time-zone: Etc/GMT+4 is a fixed\n"
    "UTC-04:00 (the Etc ids count hours west as positive), Asia/Kolkata follows the\n"
    "zone's changes.\n"
    "Exit status: 0 computed, 2 refused by the form's checks, 64 unusable arguments,\n"
    "66 the batch file cannot be read, 73 the report file could not be written,\n"
    "74 standard output could not be written.\n"
    "With --json every failure writes {\"error\": {\"message\": ..., \"status\": ...}} to\n"
    "standard output (status: the exit status), refusals of the form's checks with\n"
    "their \"icon\" and \"focus\" as well.\n";

// The help: the option lines from the table, the prose around them.
std::string UsageText() {
    return std::string(kUsageHead) + OptionHelp(OptionGroup::Form) + OptionHelp(OptionGroup::Output) +
           OptionHelp(OptionGroup::About) +
           "\n"
           "The precise method (Swiss Ephemeris Moon and ascendant, periods to the second):\n" +
           OptionHelp(OptionGroup::Precise) + "\n\nMany charts at once:\n" + OptionHelp(OptionGroup::Batch) +
           std::string(kUsageTail) + PlaceUsage() + BirthFileUsage();
}

using Options = ToolArguments;

std::string_view IconName(Icon icon) { return icon == Icon::Error ? "error" : "information"; }

// Writes `text` to standard output and makes sure it got there: a full disk or a closed
// pipe shows only when the buffer is flushed. Says why on standard error when it did not.
bool WriteOut(std::string_view text) {
    errno = 0;
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    std::cout.flush();
    const bool written = std::cout.good() && std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (!written) {
        const int error = errno;
        std::cerr << "orvanta-chart: cannot write to standard output"
                  << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << '\n';
    }
    return written;
}

std::string RefusalJson(const Message& message) {
    JsonWriter out;
    out.BeginObject();
    out.BeginObject("error");
    out.String("message", message.text);
    out.Integer("status", kExitRefused);
    out.String("icon", IconName(message.icon));
    if (message.focus == Control::None) {
        out.Null("focus");
    } else {
        out.String("focus", ControlName(message.focus));
    }
    out.EndObject();
    out.EndObject();
    return std::move(out).Text();
}

// {"error": {"message": ..., "status": ...}}: a failure without the form's icon and focus.
std::string ErrorJson(std::string_view message, int status) {
    JsonWriter out;
    out.BeginObject();
    out.BeginObject("error");
    out.String("message", message);
    out.Integer("status", status);
    out.EndObject();
    out.EndObject();
    return std::move(out).Text();
}

// What a batch row whose arguments the tool would not take (status 64) writes.
std::string UsageErrorJson(std::string_view message) { return ErrorJson(message, kExitUsage); }

// Whether the line asks for JSON (--json, --format json), wherever it stands: a failure
// found before the arguments are read is then written as JSON too.
bool gJsonWanted = false;

bool AsksForJson(const std::vector<std::string>& given) {
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (given[i] == "--json" || given[i] == "--format=json") return true;
        if (given[i] == "--format" && i + 1 < given.size() && given[i + 1] == "json") return true;
    }
    return false;
}

// A failure other than a refusal of the form: one line on standard error, or with
// --json its error object on standard output.
int Fail(int status, const std::string& message) {
    if (gJsonWanted) return WriteOut(ErrorJson(message, status) + '\n') ? status : kExitOutputFailed;
    std::cerr << "orvanta-chart: " << message << '\n';
    return status;
}

// Unusable arguments: the problem in one line and where the options are told.
int UsageFailure(const std::string& message) {
    if (gJsonWanted) return Fail(kExitUsage, message);
    std::cerr << "orvanta-chart: " << message << " (orvanta-chart --help lists the options)\n";
    return kExitUsage;
}

int Refuse(const Message& message, bool json) {
    if (json) {
        if (!WriteOut(RefusalJson(message) + '\n')) return kExitOutputFailed;
    } else {
        std::cerr << "orvanta-chart: " << message.text << '\n';
    }
    return kExitRefused;
}

// The chart's object written straight into its text: the fixed parts (keys, braces,
// separators) as literals, the values as JsonWriter writes them, the dates from digits.
// A batch writes some 8 KiB of it per row; the writer's general calls took three times
// as long.
class ChartJsonText {
public:
    explicit ChartJsonText(std::string& text) : text_(text) { text_.reserve(text_.size() + 16384); }
    ChartJsonText& operator<<(std::string_view literal) {
        text_ += literal;
        return *this;
    }
    void Text(std::string_view value) { JsonWriter::AppendQuoted(text_, value); }
    void Integer(long long value) {
        char buffer[24];
        text_.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
    }
    void Number(double value) {
        if (!std::isfinite(value)) {
            text_ += "null";
            return;
        }
        char buffer[32];
        text_.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
    }
    void Bool(bool value) { text_ += value ? "true" : "false"; }
    void IsoDate(Date date) {
        if (!date.ok() || date.year < 1000 || date.year > 9999) return Text(FormatIsoDate(date));
        static constexpr char kDigits[] = "0001020304050607080910111213141516171819202122232425262728293031323334353637383940"
                                          "414243444546474849505152535455565758596061626364656667686970717273747576777879"
                                          "8081828384858687888990919293949596979899";
        const auto two = [](char* at, int value) { std::copy_n(kDigits + 2 * value, 2, at); };
        char quoted[12] = {'"'};
        two(quoted + 1, date.year / 100);
        two(quoted + 3, date.year % 100);
        quoted[5] = '-';
        two(quoted + 6, date.month);
        quoted[8] = '-';
        two(quoted + 9, date.day);
        quoted[11] = '"';
        text_.append(quoted, sizeof quoted);
    }
    void Dates(const std::array<Date, kLords>& dates) {
        text_ += '[';
        for (std::size_t i = 0; i < dates.size(); ++i) {
            if (i > 0) text_ += ", ";
            IsoDate(dates[i]);
        }
        text_ += ']';
    }
    void Texts(const auto& texts) {
        text_ += '[';
        bool first = true;
        for (const auto& t : texts) {
            if (!first) text_ += ", ";
            first = false;
            Text(std::string_view(t));
        }
        text_ += ']';
    }
private:
    std::string& text_;
};

// Appends the chart's object to `text`.
void AppendChartJson(std::string& text, const ChartRun& chart) {
    ChartJsonText out(text);
    const BirthDetails& b = chart.birth;
    out << "{\"birthDetails\": {\"name\": ";
    out.Text(b.name);
    out << ", \"month\": ";
    out.Integer(b.month);
    out << ", \"day\": ";
    out.Integer(b.day);
    out << ", \"year\": ";
    out.Integer(b.year);
    out << ", \"hour\": ";
    out.Integer(b.hour);
    out << ", \"minute\": ";
    out.Integer(b.minute);
    out << ", \"zoneHours\": ";
    out.Integer(b.zoneHours);
    out << ", \"zoneMinutes\": ";
    out.Integer(b.zoneMinutes);
    out << ", \"longitudeDegrees\": ";
    out.Integer(b.longitudeDegrees);
    out << ", \"longitudeMinutes\": ";
    out.Integer(b.longitudeMinutes);
    out << ", \"latitudeDegrees\": ";
    out.Integer(b.latitudeDegrees);
    out << ", \"latitudeMinutes\": ";
    out.Integer(b.latitudeMinutes);
    out << ", \"isEast\": ";
    out.Bool(b.isEast);
    out << ", \"isSouth\": ";
    out.Bool(b.isSouth);
    out << ", \"dst\": ";
    out.Bool(b.dst);

    const ChartPositions& p = chart.positions;
    out << "}, \"chartPositions\": {\"julianDay\": ";
    out.Integer(static_cast<long long>(p.julianDay));
    out << ", \"ayanamshaText\": ";
    out.Text(p.ayanamshaText);
    out << ", \"lagnaText\": ";
    out.Text(p.lagnaText);
    out << ", \"moonText\": ";
    out.Text(p.moonText);
    out << ", \"moonNakshatraName\": ";
    out.Text(p.moonNakshatraName);
    out << ", \"moonRashiName\": ";
    out.Text(p.moonRashiName);

    const DashaTable& d = chart.dasha;
    out << "}, \"dashaTable\": {\"birthDate\": ";
    out.IsoDate(d.birthDate);
    out << ", \"moonArcMinutes\": ";
    out.Integer(d.moonArcMinutes);
    out << ", \"nakshatraNumber\": ";
    out.Integer(d.nakshatraNumber);
    out << ", \"birthLord\": ";
    out.Text(d.birthLord);
    out << ", \"birthLordIndex\": ";
    out.Integer(d.birthLordIndex);
    out << ", \"elapsedArcMinutes\": ";
    out.Integer(d.elapsedArcMinutes);
    out << ", \"elapsedYears\": ";
    out.Number(d.elapsedYears);
    out << ", \"balanceYears\": ";
    out.Number(d.balanceYears);
    out << ", \"balance\": [";
    out.Integer(d.balance.years);
    out << ", ";
    out.Integer(d.balance.months);
    out << ", ";
    out.Integer(d.balance.days);
    out << "], \"mahaStart\": ";
    out.Dates(d.mahaStart);
    out << ", \"mahaEnd\": ";
    out.Dates(d.mahaEnd);
    const auto rows = [&](const auto& table) {
        out << "[";
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (i > 0) out << ", ";
            out.Dates(table[i]);
        }
        out << "]";
    };
    out << ", \"subStart\": ";
    rows(d.subStart);
    out << ", \"subEnd\": ";
    rows(d.subEnd);

    const Results& r = chart.results;
    out << "}, \"results\": {\"dashaName\": ";
    out.Texts(r.dashaName);
    out << ", \"dashaStarts\": ";
    out.Texts(r.dashaStarts);
    out << ", \"dashaEnd\": ";
    out.Texts(r.dashaEnd);
    out << ", \"subDasha\": ";
    out.Texts(r.subDasha);
    out << ", \"subDashaVisible\": [";
    for (std::size_t i = 0; i < r.subDashaVisible.size(); ++i) {
        if (i > 0) out << ", ";
        out.Bool(r.subDashaVisible[i]);
    }
    out << "], \"subDashaLords\": [";
    for (std::size_t i = 0; i < r.subDashaLords.size(); ++i) {
        if (i > 0) out << ", ";
        out.Texts(r.subDashaLords[i]);
    }
    out << "], \"subDashaCaption\": ";
    out.Text(r.subDashaCaption);
    out << ", \"dashaAtTimeOfBirth\": ";
    out.Text(r.dashaAtTimeOfBirth);
    out << ", \"nakshatra\": ";
    out.Text(r.nakshatra);
    out << ", \"rashi\": ";
    out.Text(r.rashi);
    out << ", \"lord\": ";
    out.Text(r.lord);
    out << ", \"ayanamsha\": ";
    out.Text(r.ayanamsha);
    out << ", \"lagna\": ";
    out.Text(r.lagna);
    out << ", \"lagnaPosition\": ";
    out.Text(r.lagnaPosition);
    out << ", \"julianDay\": ";
    out.Text(r.julianDay);
    out << "}}";
}

std::string ChartJson(const ChartRun& chart) {
    std::string text;
    AppendChartJson(text, chart);
    return text;
}

std::string ChartText(const ChartRun& chart) {
    const Results& r = chart.results;
    std::string text;
    text += "Name: " + chart.birth.name + "\n";
    text += r.dashaAtTimeOfBirth.str() + "\n\n";
    text += "Maha Dasha       Starts        Ends\n";
    for (std::size_t row = 0; row < Results::kRows; ++row) {
        std::string name = r.dashaName[row];
        name.resize(std::max<std::size_t>(name.size(), 16), ' ');
        text += name + " " + r.dashaStarts[row].str() + "   " + r.dashaEnd[row].str() + "\n";
        for (int s = 1; s <= 9; ++s) {
            const int start = Results::CellIndex(static_cast<int>(row), s, false);
            std::string lord = r.subDashaLords[row][static_cast<std::size_t>(s - 1)];
            lord.resize(std::max<std::size_t>(lord.size(), 10), ' ');
            // The window hides the sub-periods that ended before birth.
            text += "    " + lord + "   " +
                    (r.cellVisible(start) ? r.cell(start).str() + "   " + r.cell(start + 1).str() : "(ended before birth)") + "\n";
        }
    }
    text += "\nVedic details\n";
    text += "  Julian Day      " + r.julianDay.str() + "\n";
    text += "  Ayanamsa        " + r.ayanamsha + "\n";
    text += "  Lagna / Asc     " + r.lagna.str() + "\n";
    text += "  Lagna Position  " + r.lagnaPosition.str() + "\n";
    text += "  Nakshatra       " + r.nakshatra.str() + "\n";
    text += "  Rashi           " + r.rashi.str() + "\n";
    text += "  Lord            " + r.lord.str() + "\n";
    return text;
}

int RefusePrecise(const std::string& message, bool json) {
    if (json) {
        if (!WriteOut(ErrorJson(message, kExitRefused) + '\n')) return kExitOutputFailed;
    } else {
        std::cerr << "orvanta-chart: " << message << '\n';
    }
    return kExitRefused;
}

PreciseResult ComputePreciseChart(const PreciseOptions& precise, const Options& options, const ChartRun& chart) {
    const int second = std::stoi(options.form.second);  // a list entry, "0" .. "59"
    return ComputePrecise(precise, chart.birth, precise.preciseYear.value_or(chart.birth.year), second);
}

// The classic chart's object with the precise member, or the precise object alone when
// the year or the place's zone is one the classic method cannot read.
void AppendChartAndPreciseJson(std::string& out, const PreciseOptions& precise, const ChartRun& chart,
                               const PreciseResult& result) {
    const bool classic = !precise.preciseYear && !precise.classicLeftOut;
    const std::size_t first = out.size();
    if (classic) AppendChartJson(out, chart);
    const std::size_t second = out.size();
    AppendPreciseJson(out, *result.report, result.planets ? &*result.planets : nullptr);
    JoinLastJsonObjects(out, first, second);
}

std::string ChartAndPreciseJson(const PreciseOptions& precise, const ChartRun& chart, const PreciseResult& result) {
    std::string out;
    AppendChartAndPreciseJson(out, precise, chart, result);
    return out;
}

// --compare: the conventions' table alone.
int WriteComparison(const PreciseOptions& precise, const Options& options, const ChartRun& chart) {
    const std::int64_t now =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    const ComparisonOutcome outcome = ComputeComparison(precise, chart.birth, precise.preciseYear.value_or(chart.birth.year),
                                                        std::stoi(options.form.second), now);
    if (!outcome.comparison) return RefusePrecise(outcome.error, options.json);
    std::string text;
    switch (precise.format.value_or(options.json ? OutputFormat::Json : OutputFormat::Text)) {
    case OutputFormat::Json:
        text = ComparisonJson(*outcome.comparison) + '\n';
        break;
    case OutputFormat::Csv:
        text = ComparisonCsv(*outcome.comparison);
        break;
    default:
        text = ComparisonText(*outcome.comparison);
        break;
    }
    return WriteOut(text) ? 0 : kExitOutputFailed;
}

// The precise chart, after the classic one unless the year or the place's zone is one
// the classic method cannot read; with --place, the place as well.
int WritePrecise(const PreciseOptions& precise, const Options& options, const ChartRun& chart,
                 const PlaceFilling* placed) {
    if (precise.compare) return WriteComparison(precise, options, chart);
    const PreciseResult result = ComputePreciseChart(precise, options, chart);
    if (!result.report) return RefusePrecise(result.error, options.json);
    const bool classic = !precise.preciseYear && !precise.classicLeftOut;
    std::string text;
    switch (precise.format.value_or(options.json ? OutputFormat::Json : OutputFormat::Text)) {
    case OutputFormat::Json:
        text = ChartAndPreciseJson(precise, chart, result);
        if (placed) text = WithMember(std::move(text), "place", placed->placeJson);
        text += '\n';
        break;
    case OutputFormat::Text:
        text = (placed ? "Place: " + placed->summary + "\n" : std::string()) +
               (classic ? ChartText(chart) + "\n" : std::string()) +
               PreciseText(*result.report, result.planets ? &*result.planets : nullptr);
        break;
    case OutputFormat::Csv:
        text = PreciseCsv(*result.report);
        break;
    case OutputFormat::Ics:
        text = PreciseIcs(*result.report, std::chrono::duration_cast<std::chrono::seconds>(
                                              std::chrono::system_clock::now().time_since_epoch())
                                              .count(), chart.birth.name);
        break;
    }
    return WriteOut(text) ? 0 : kExitOutputFailed;
}

// Appends the object --json writes for one row's options, worked out by the same steps as
// a single run: the chart (with its precise member under --precise) or the refusal.
// Options the tool would not take give an error object with their message and status 64.
void RowJson(std::span<const GivenOption> given, std::string& out) {
    Options options;
    // A classic row (the batch puts --precise first otherwise) holds form options only.
    const bool classicRow = given.empty() || given.front().option->name != "precise";
    if (const auto error = classicRow ? std::nullopt : ReadPreciseOptions(given, options)) {
        out += UsageErrorJson(*error);
        return;
    }
    if (const auto error = ReadFormOptions(given, options)) {
        out += UsageErrorJson(*error);
        return;
    }
    if (const auto refused = FilterFormTexts(options.form)) {
        out += RefusalJson(*refused);
        return;
    }
    const RunOutcome outcome = RunChart(options.form);
    if (outcome.rejection) {
        out += RefusalJson(*outcome.rejection);
        return;
    }
    const PreciseOptions& precise = options.precise;
    if (!precise.enabled) return AppendChartJson(out, outcome.chart);
    const PreciseResult result = ComputePreciseChart(precise, options, outcome.chart);
    if (result.report) {
        AppendChartAndPreciseJson(out, precise, outcome.chart, result);
    } else {
        out += ErrorJson(result.error, kExitRefused);
    }
}

std::atomic<bool> gInterrupted{false};
std::atomic<int> gSignal{0};

extern "C" void OnInterrupt(int signal) {
    gSignal.store(signal);
    gInterrupted.store(true);
    std::signal(signal, SIG_DFL);  // a second one ends the tool at once
}

// SIGINT and SIGTERM let the batch finish the line it is writing and stop.
void InterruptOnSignals() {
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
}

// --batch FILE [--jobs N] [--precise]: one JSON line per CSV row.
int MainBatch(const std::vector<std::string>& args) {
    Options options;
    const std::vector<std::string_view> line(args.begin(), args.end());
    if (const auto error = ReadBatchLine(line, options)) return UsageFailure(*error);
    const std::optional<std::string>& file = options.batchFile;
    const bool precise = options.precise.enabled;
    unsigned jobs = options.jobs.value_or(std::max(1u, std::thread::hardware_concurrency()));
    std::FILE* const opened = *file == "-" ? stdin : std::fopen(file->c_str(), "rb");
    if (!opened) {
        return Fail(kExitNoInput, "cannot read " + *file + ": " + std::strerror(errno));
    }
    // Threads beyond a few a core make nothing faster, and each keeps some 80 KB of its
    // own: 1,024 of them held 110 MB more than 8 on 20,000 classic rows.
    jobs = std::min(jobs, std::max(8u, 4 * std::thread::hardware_concurrency()));
    const std::string shownName = *file == "-" ? std::string("standard input") : *file;
    FileSource input(opened);
    // The first bytes tell an AAF file, which is read as the CSV of its records; any other
    // input goes to the CSV reader from its first byte.
    std::string head(64 * 1024, '\0');
    std::size_t got = 0;
    for (std::size_t n = 1; n != 0 && got < head.size(); got += n) n = input.Read(head.data() + got, head.size() - got);
    head.resize(got);
    std::string aafCsv;
    const bool aaf = birthfile::FormatOfContents(head) == birthfile::FileFormat::Aaf;
    if (aaf) {
        std::string text = std::move(head);
        std::array<char, 64 * 1024> block;
        for (std::size_t n; (n = input.Read(block.data(), block.size())) != 0;) text.append(block.data(), n);
        if (!input.failure().empty()) {
            if (opened != stdin) std::fclose(opened);
            return Fail(kExitNoInput, "cannot read " + shownName + ": " + input.failure());
        }
        BatchInput rows = AafAsBatchCsv(*file, text, precise);
        if (!rows.csv) {
            if (opened != stdin) std::fclose(opened);
            return Fail(kExitNoInput, rows.problem);
        }
        aafCsv = std::move(*rows.csv);
        head.clear();
    }
    TextSource aafSource(aafCsv);
    PrefixedSource csvSource(aaf ? std::string() : std::move(head), input);
    ByteSource& in = aaf ? static_cast<ByteSource&>(aafSource) : csvSource;
    InterruptOnSignals();
#if defined(__GLIBC__)
    // A fixed threshold: each row's large texts are mapped and given back when freed.
    // glibc's own threshold grows to the largest block freed, and each worker's arena
    // then keeps a deep tree's 20 MB line: 250 MB at 8 jobs instead of 90.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
    const BatchOutcome outcome = RunBatch(
        in, BatchSettings{.jobs = jobs, .precise = precise, .stop = &gInterrupted},
        [](std::span<const GivenOption> row, std::string& out) { RowJson(row, out); }, UsageErrorJson,
        [](std::string_view block) { return WriteOut(block); });
    if (opened != stdin) std::fclose(opened);
    switch (outcome.end) {
    case BatchEnd::Done: return 0;
    case BatchEnd::BadHeader:
        return Fail(kExitUsage, shownName + ": " + outcome.message);
    case BatchEnd::ReadFailed:
        return Fail(kExitNoInput, "cannot read " + shownName + ": " + outcome.message);
    case BatchEnd::WriteFailed: return kExitOutputFailed;
    case BatchEnd::Stopped:
        std::cerr << "orvanta-chart: interrupted after " << outcome.rows << " rows\n";
        return 128 + gSignal.load();
    }
    return 0;
}

int Unavailable(const std::string& problem) {
    return Fail(kExitUnavailable, problem);
}

int Main(int argc, char** argv) {
    std::vector<std::string> given(argv + 1, argv + argc);
    // Asked for anywhere on the line, the help or the version is all that is written.
    if (std::any_of(given.begin(), given.end(), [](std::string_view a) { return a == "--help" || a == "-h"; })) {
        return WriteOut(UsageText()) ? 0 : kExitOutputFailed;
    }
    if (std::find(given.begin(), given.end(), "--version") != given.end()) {
        return WriteOut("orvanta-chart " ORVANTA_VERSION "\n") ? 0 : kExitOutputFailed;
    }
    gJsonWanted = AsksForJson(given);
    if (std::any_of(given.begin(), given.end(),
                    [](std::string_view a) { return a == "--batch" || a.starts_with("--batch="); })) {
        return MainBatch(given);
    }
    std::vector<std::string_view> args(given.begin(), given.end());
    Options options;
    const BirthFileRequest& files = options.files;
    if (const auto error = TakeBirthFileOptions(args, options)) {
        return UsageFailure(*error);
    }
    std::optional<OpenedBirth> opened;
    if (files.open) {
        opened = OpenBirthFile(files, std::find(args.begin(), args.end(), "--precise") != args.end());
        if (!opened->listing.empty() && !WriteOut(opened->listing)) return kExitOutputFailed;
        if (opened->exit != 0) {
            return Fail(opened->exit, opened->message);
        }
        for (const std::string& note : OpenedNotes(*opened)) std::cerr << "orvanta-chart: " << *files.open << ": " << note << '\n';
    }
    // The opened file's place stays with the birth until a coordinate or the zone is given here.
    std::optional<birthfile::RecordPlace> filePlace;
    if (opened && std::none_of(args.begin(), args.end(), [](std::string_view a) { return NamesOption(a, kNamesPlace); })) {
        filePlace = opened->read.record.place;
    }
    // The opened file's form comes first; the line's options change it.
    if (opened) args.insert(args.begin(), opened->arguments.begin(), opened->arguments.end());
    PreciseOptions& precise = options.precise;
    if (const auto error = TakePreciseOptions(args, options)) {
        return UsageFailure(*error);
    }
    if (filePlace && precise.enabled) {
        // A file's fixed offset (a local mean time) is read as one, not as a zone id.
        if (const auto fixed = zone::FixedOffsetOf(filePlace->timeZone)) precise.utcOffsetSeconds = fixed;
        else if (!precise.timeZone) precise.timeZone = filePlace->timeZone;
        precise.latitude = filePlace->latitude;
        precise.longitude = filePlace->longitude;
        precise.classicLeftOut = !opened->read.zoneInForm;
    }
    const PlaceRequest& place = options.place;
    if (const auto error = TakePlaceOptions(args, options)) {
        return UsageFailure(*error);
    }
    if (const auto error = TakeFormOptions(args, options)) {
        return UsageFailure(*error);
    }
    if (precise.format == OutputFormat::Json) options.json = true;
    if (place.places) {
        const PlaceListing listing = ListPlaces(*place.places, options.json);
        if (listing.unavailable) return Unavailable(*listing.unavailable);
        if (listing.refusal) return Refuse(*listing.refusal, options.json);
        return WriteOut(listing.text) ? 0 : kExitOutputFailed;
    }
    if (place.place && precise.timeZone) {
        return UsageFailure("--place and --time-zone both name the zone");
    }
    if (precise.utcOffsetSeconds && !filePlace && (place.place || files.save)) {
        return UsageFailure(place.place ? "--place and --utc-offset both name the zone"
                                        : "--save keeps the zone boxes or a place, not --utc-offset");
    }
    if (options.json && options.report == "-") {
        return UsageFailure("--json and --report - both want standard output");
    }
    if (precise.enabled && options.report == "-") {
        return UsageFailure("--precise and --report - both want standard output");
    }
    if (precise.preciseYear && options.report) {
        return UsageFailure("the report needs a year from 1901 to 2050");
    }
    if (const auto refused = FilterFormTexts(options.form)) return Refuse(*refused, options.json);
    PlaceFilling filled;
    if (place.place) {
        // Without --fold a doubled local time is refused, except that with --precise the
        // form takes the earlier reading and the precise periods refuse it themselves.
        const Fold fold = precise.fold != Fold::Refuse ? precise.fold : precise.enabled ? Fold::Earlier : Fold::Refuse;
        filled = FillFromPlace(*place.place, options.form, fold);
        if (filled.unavailable) return Unavailable(*filled.unavailable);
        // A zone the classic form cannot hold is refused here (filled.zoneNotExpressible);
        // the precise periods read filled.place's coordinates and IANA zone instead.
        // With --precise a zone the classic form cannot hold leaves the classic members out
        // and the precise periods take the place's IANA zone.
        const bool preciseOnly = filled.zoneNotExpressible && precise.enabled && filled.place;
        if (filled.refusal && !preciseOnly) return Refuse(*filled.refusal, options.json);
        options.form = filled.form;
        if (precise.enabled && filled.place) {
            precise.timeZone = filled.place->timeZone;
            precise.utcOffsetSeconds.reset();  // an opened file's offset gives way to the place's zone
            precise.latitude = filled.place->latitude;
            precise.longitude = filled.place->longitude;
            precise.classicLeftOut = preciseOnly;
        }
    }
    const RunOutcome outcome = RunChart(options.form);
    if (outcome.rejection) return Refuse(*outcome.rejection, options.json);

    if (files.save) {
        if (precise.preciseYear) {
            return UsageFailure("--save needs a year from 1901 to 2050");
        }
        birthfile::BirthRecord record;
        record.form = options.form;
        if (place.place && filled.place) {
            const Place& p = *filled.place;
            record.place = birthfile::RecordPlace{p.name, p.state, p.country, p.countryCode, p.latitude, p.longitude, p.timeZone};
        } else {
            record.place = filePlace;
        }
        if (precise.enabled) record.settings = SettingsOf(precise);
        if (opened) {
            record.note = opened->read.record.note;
            record.city = opened->read.record.city;
            record.state = opened->read.record.state;
            record.country = opened->read.record.country;
        }
        const SavedBirth saved = SaveBirthRecord(*files.save, record);
        for (const std::string& part : saved.leftOut) {
            std::cerr << "orvanta-chart: " << *files.save << " leaves out " << part << '\n';
        }
        if (!saved.saved) {
            return Fail(saved.refused ? kExitRefused : kExitCannotCreate, saved.message);
        }
    }

    if (options.report) {
        const ChartRun& chart = outcome.chart;
        const std::string rtf = WriteRtf(BuildReport(chart.birth, chart.results, LoadInterpretationTexts()));
        if (*options.report == "-") return WriteOut(rtf) ? 0 : kExitOutputFailed;
        if (const SaveOutcome saved = SaveReportFile(QString::fromStdString(*options.report), rtf); !saved.saved) {
            return Fail(kExitCannotCreate, "cannot write the report to " + *options.report + ": " + saved.reason.toStdString());
        }
    }
    const PlaceFilling* const placed = place.place ? &filled : nullptr;
    if (precise.enabled) return WritePrecise(precise, options, outcome.chart, placed);
    std::string text;
    if (placed) {
        text = options.json ? WithMember(ChartJson(outcome.chart), "place", filled.placeJson) + "\n"
                            : "Place: " + filled.summary + "\n" + ChartText(outcome.chart);
    } else {
        text = options.json ? ChartJson(outcome.chart) + "\n" : ChartText(outcome.chart);
    }
    return WriteOut(text) ? 0 : kExitOutputFailed;
}

}  // namespace
}  // namespace orvanta

int main(int argc, char** argv) {
#if defined(SIGPIPE)
    // A closed pipe then fails the write with an error the tool reports, instead of
    // ending it without a word.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    return orvanta::Main(argc, argv);
}
