// The whole run from arbitrary form texts. On every computed chart the results must
// hold what the window shows: 180 date texts of eleven characters that are real days,
// the Maha Dasha rows in cycle order, each row following the one before, every table
// ending on its row's end and only the first table hiding sub-periods.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/calendar.h"
#include "core/chart/birth_form.h"
#include "core/chart/computation_run.h"
#include "core/dasha/dasha.h"
#include "fuzz_input.h"

using namespace orvanta;
using orvanta::fuzz::Input;

namespace {

// A real day written "Mmm-dd-yyyy", read without the date texts under test (the day
// rule is the calendar's, which its own table holds).
bool IsRealDateText(std::string_view text) {
    static constexpr std::string_view kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
    if (text.size() != 11 || text[3] != '-' || text[6] != '-') return false;
    const std::size_t at = kMonths.find(text.substr(0, 3));
    if (at == std::string_view::npos || at % 3 != 0) return false;
    const auto digits = [&](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9') return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const int month = static_cast<int>(at / 3) + 1;
    const int day = digits(4, 2);
    const int year = digits(7, 4);
    if (day < 1 || year < 1) return false;
    return IsCalendarDay(year, month, day);
}

// A list text: either the entry picked by a byte or a raw text of the input.
std::string ListText(Input& in, const std::vector<std::string>& entries, bool pick) {
    if (pick) return entries[in.Byte() % entries.size()];
    return std::string(in.Text());
}

void CheckChart(const ChartRun& chart) {
    const Results& r = chart.results;
    const auto birthLord = static_cast<std::size_t>(chart.dasha.birthLordIndex);
    ORVANTA_FUZZ_CHECK(birthLord < 9);
    int dateTexts = 0;
    for (std::size_t row = 0; row < Results::kRows; ++row) {
        ORVANTA_FUZZ_CHECK(r.dashaName[row] == LordTitles[(birthLord + row) % 9]);
        ORVANTA_FUZZ_CHECK(IsRealDateText(r.dashaStarts[row]));
        ORVANTA_FUZZ_CHECK(IsRealDateText(r.dashaEnd[row]));
        dateTexts += 2;
        if (row > 0) ORVANTA_FUZZ_CHECK(r.dashaStarts[row] == r.dashaEnd[row - 1]);
        ORVANTA_FUZZ_CHECK(r.cell(Results::CellIndex(static_cast<int>(row), 9, true)) == r.dashaEnd[row]);
    }
    for (int n = 1; n <= Results::kCells; ++n) {
        ORVANTA_FUZZ_CHECK(IsRealDateText(r.cell(n)));
        ++dateTexts;
        if (n > 16) ORVANTA_FUZZ_CHECK(r.cellVisible(n));  // the ninth of table 0 runs past birth
    }
    // The hidden sub-periods of table 0 are the first ones, start and end together.
    for (int s = 1; s <= 9; ++s) {
        const int start = Results::CellIndex(0, s, false);
        ORVANTA_FUZZ_CHECK(r.cellVisible(start) == r.cellVisible(start + 1));
        if (s > 1 && !r.cellVisible(start)) ORVANTA_FUZZ_CHECK(!r.cellVisible(start - 2));
    }
    ORVANTA_FUZZ_CHECK(dateTexts == 180);
    ORVANTA_FUZZ_CHECK(r.frontPanel == 0);
    ORVANTA_FUZZ_CHECK(r.subDashaCaption == "Sub Dasha Of " + r.dashaName[0].str());
    ORVANTA_FUZZ_CHECK(r.dashaAtTimeOfBirth.view().starts_with("Dasha At The Time Of Birth :- "));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::uint8_t flags = in.Byte();
    const bool pick = (flags & 0x80) != 0;  // lists from their entries, else raw texts
    BirthForm form;
    form.dst = (flags & 1) != 0;
    form.south = (flags & 2) != 0;
    form.west = (flags & 4) != 0;
    form.month = ListText(in, MonthEntries(), pick);
    form.day = ListText(in, DayEntries(), pick);
    form.year = ListText(in, YearEntries(), pick);
    form.hour = ListText(in, HourEntries(), pick);
    form.minute = ListText(in, MinuteEntries(), pick);
    form.second = ListText(in, MinuteEntries(), pick);
    form.name = std::string(in.Text());
    form.zoneHour = std::string(in.Text());
    form.zoneMinute = std::string(in.Text());
    form.latD = std::string(in.Text());
    form.latM = std::string(in.Text());
    form.lonD = std::string(in.Text());
    form.lonM = std::string(in.Text());

    // The tool's path: the boxes' filters first, then the run.
    if ((flags & 8) != 0) {
        BirthForm filtered = form;
        if (FilterFormTexts(filtered)) {
            ORVANTA_FUZZ_CHECK(filtered == form);  // a refusal leaves the form as it was
        } else {
            form = filtered;
        }
    }

    const RunOutcome outcome = RunChart(form);
    ORVANTA_FUZZ_CHECK(outcome.computed() == (!outcome.unlisted && !outcome.rejection));
    ORVANTA_FUZZ_CHECK(!(outcome.unlisted && outcome.rejection));
    if (pick) ORVANTA_FUZZ_CHECK(!outcome.unlisted);  // every list text is an entry
    if (!outcome.computed()) {
        ORVANTA_FUZZ_CHECK(outcome.chart.results == Results{});
        return 0;
    }
    CheckChart(outcome.chart);
    return 0;
}
