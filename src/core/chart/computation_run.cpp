#include "core/chart/computation_run.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <initializer_list>
#include <string_view>

#include "core/astro/astronomy.h"
#include "core/base/trimmed.h"

namespace orvanta {

namespace {

// Writes the texts one after the other into `text`, which holds them all.
template <std::size_t N>
void PutJoined(FixedText<N>& text, std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (const std::string_view part : parts) size += part.size();
    text.write(size, [&](char* chars) {
        const char* const end = chars + N;
        for (const std::string_view part : parts) {
            const std::size_t n = std::min<std::size_t>(part.size(), static_cast<std::size_t>(end - chars));
            std::copy_n(part.data(), n, chars);
            chars += n;
        }
    });
}

// "Dasha At The Time Of Birth :- Saturn /Mercury": cutting five characters, not six,
// from "Saturn Dasha" keeps the blank after the lord's name.
void PutPeriodAtBirthLabel(Results& results, std::size_t element) {
    const std::string_view title = Trimmed(results.dashaName[0]);
    const std::string_view name = title.substr(0, title.size() >= 5 ? title.size() - 5 : 0);
    PutJoined(results.dashaAtTimeOfBirth,
              {"Dasha At The Time Of Birth :- ", name, "/", results.subDashaLords[0][element].view()});
}

// The Indian name of the ascendant's sign, by the code that ends the position text.
std::string_view LagnaName(std::string_view code) {
    static constexpr std::array<std::string_view, 12> kNames = {
        "Mesha", "Vrishabha", "Mithuna", "Kataka",  "Simha",  "Kanya",
        "Thula", "Vrishcika", "Dhanush", "Makara",  "Kumbha", "Meena"};
    const int sign = SignOfCode(code);
    return sign < 0 ? std::string_view{} : kNames[static_cast<std::size_t>(sign)];
}

}  // namespace

namespace {
// The lord labels of a panel by the Maha Dasha lord: the cycle from that lord on.
using LordLabels = std::array<Results::LordText, 9>;
const std::array<LordLabels, kLords>& PanelLabels() {
    static const auto labels = [] {
        std::array<LordLabels, kLords> table;
        for (std::size_t lord = 0; lord < kLords; ++lord) {
            for (std::size_t s = 0; s < 9; ++s) table[lord][s] = DashaLord[(lord + s) % kLords];
        }
        return table;
    }();
    return labels;
}
}  // namespace

void LoadSubDashaLords(Results& results) {
    for (std::size_t k = 0; k < Results::kRows; ++k) {
        const int lord = LordIndexOfTitle(results.dashaName[k]);
        if (lord < 0) continue;  // an unknown title leaves the panel as it was
        results.subDashaLords[k] = PanelLabels()[static_cast<std::size_t>(lord)];
    }
}

namespace {
inline void PutDate(const Date& date, Results::DateText& text) noexcept {
    text.write(11, [&date](char* chars) { FormatDisplayDate(date, chars); });
}

// Two cells of one date: the text is worked out once and stored twice, not copied
// from the first cell (reading back what was just stored stalls).
inline void PutDate(Date date, Results::DateText& text, Results::DateText& again) noexcept {
    PutDate(date, text);
    PutDate(date, again);
}
}  // namespace

void HandOverDasha(const DashaTable& dasha, Results& results) {
    const auto birthLord = static_cast<std::size_t>(dasha.birthLordIndex);
    const auto& panelLabels = PanelLabels();
    static const auto titles = [] {
        std::array<Results::TitleText, kLords> texts;
        for (std::size_t lord = 0; lord < kLords; ++lord) texts[lord] = LordTitles[lord];
        return texts;
    }();
    std::array<std::size_t, Results::kRows> rowLord;

    // The Maha Dasha rows in sequence order from the lord at birth.
    for (std::size_t r = 0; r < Results::kRows; ++r) {
        const std::size_t lord = birthLord + r < kLords ? birthLord + r : birthLord + r - kLords;
        rowLord[r] = lord;
        results.dashaName[r] = titles[lord];
        // The row's title is the lord's, so its panel takes that lord's labels.
        results.subDashaLords[r] = panelLabels[lord];
    }
    const Date& birthEnd = dasha.mahaEnd[birthLord];  // the first row's end

    // The first table, trimmed to the birth date: a sub-period that ended on or before
    // the birth day counts as elapsed and is hidden, and the one after it starts at
    // birth. Every table ends exactly when its Maha Dasha ends.
    std::array<Date, 18> first;
    for (std::size_t k = 0; k < kLords; ++k) {
        first[2 * k] = dasha.subStart[birthLord][k];
        first[2 * k + 1] = dasha.subEnd[birthLord][k];
    }
    first[17] = birthEnd;

    results.frontPanel = 0;
    PutJoined(results.subDashaCaption, {"Sub Dasha Of ", results.dashaName[0]});

    // The loop runs through all nine, so the label names the sub-period that follows
    // the last elapsed one.
    bool found = false;
    std::optional<std::size_t> labelled;  // the sub-period the label names, once the loop is done
    for (int s = 1; s <= 9; ++s) {
        const auto end = static_cast<std::size_t>(2 * s - 1);  // cell 2s
        if (first[end] > dasha.birthDate) continue;
        results.subDashaVisible[end - 1] = false;
        results.subDashaVisible[end] = false;
        found = true;
        // The ninth sub-period ends with its Maha Dasha, which ends after the birth
        // day (the balance is never less than two days), so s = 9 is never elapsed;
        // should it be, nothing outside the first table is written.
        if (s == 9) continue;
        first[end + 1] = dasha.mahaStart[birthLord];
        labelled = static_cast<std::size_t>(s);
    }
    if (!found) {
        first[0] = dasha.mahaStart[birthLord];
        labelled = 0;
    }
    if (labelled) PutPeriodAtBirthLabel(results, *labelled);

    // Every cell is written from its own date; where two neighbouring dates are the
    // same day, the text is worked out once and stored in both (copying the text just
    // stored would read back bytes still on their way to memory). A row's end is its
    // table's last cell.
    Results::DateText* cell = results.subDasha.data();
    for (std::size_t n = 0; n + 1 < first.size(); ++n) PutDate(first[n], cell[n]);
    PutDate(first[17], cell[17], results.dashaEnd[0]);
    PutDate(dasha.mahaStart[birthLord], results.dashaStarts[0]);
    for (std::size_t r = 1; r < Results::kRows; ++r) {
        const std::size_t lord = rowLord[r];
        const auto& starts = dasha.subStart[lord];
        const auto& ends = dasha.subEnd[lord];
        cell += 18;
        const Date& rowStart = dasha.mahaStart[lord];
        if (starts[0] == rowStart) {
            PutDate(rowStart, cell[0], results.dashaStarts[r]);
        } else {
            PutDate(starts[0], cell[0]);
            PutDate(rowStart, results.dashaStarts[r]);
        }
        for (std::size_t k = 0; k + 1 < kLords; ++k) {
            if (ends[k] == starts[k + 1]) {
                PutDate(ends[k], cell[2 * k + 1], cell[2 * k + 2]);
            } else {
                PutDate(ends[k], cell[2 * k + 1]);
                PutDate(starts[k + 1], cell[2 * k + 2]);
            }
        }
        PutDate(dasha.mahaEnd[lord], cell[17], results.dashaEnd[r]);
    }
}

void HandOverDetails(const ChartPositions& positions, const DashaTable& dasha, Results& results) {
    results.nakshatra = positions.moonNakshatraName;
    results.rashi = positions.moonRashiName;
    results.lord = dasha.birthLord;
    results.ayanamsha = positions.ayanamshaText;
    const std::string_view lagna = positions.lagnaText;
    const std::string_view trimmed = Trimmed(lagna);
    const std::string_view name = LagnaName(trimmed.substr(trimmed.size() >= 3 ? trimmed.size() - 3 : 0));
    if (!name.empty()) results.lagna = name;  // an unknown code keeps the old text
    // The position keeps the blank that stood before the sign code.
    results.lagnaPosition = lagna.substr(0, lagna.size() >= 3 ? lagna.size() - 3 : 0);
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, static_cast<long long>(positions.julianDay));
    results.julianDay.assign(std::string_view(digits, static_cast<std::size_t>(written.ptr - digits)));
}

namespace {
void Compute(const BirthDetails& birth, ChartRun& run) {
    run.birth = birth;
    const BirthTime time = ReadBirthTime(birth);
    const double julianDay = JulianDayNumber(birth.month, birth.day, birth.year);
    ComputeMoonPlace(time, julianDay, run.positions);
    // A validated form gives a real date, and the Moon routine writes only texts the
    // dasha reads; should either fail, the dasha stays empty and its dates unset.
    [[maybe_unused]] const bool computed =
        CalculateDasha(Date{birth.year, birth.month, birth.day}, run.positions.moonText, run.dasha);
    assert(computed);
    HandOverDasha(run.dasha, run.results);
    ComputeLagna(time, julianDay, run.positions);
    HandOverDetails(run.positions, run.dasha, run.results);
}
}  // namespace

RunOutcome RunChart(const BirthForm& form) {
    // A copy of an empty outcome: one block copy instead of setting each of its dates
    // and texts to its first value.
    static const RunOutcome kEmpty;
    RunOutcome outcome(kEmpty);
    outcome.unlisted = FindUnlistedText(form);
    if (outcome.unlisted) return outcome;
    auto [refusal, birth] = CheckAndReadBirthDetails(form);
    if (outcome.rejection = refusal; !outcome.rejection) Compute(birth, outcome.chart);
    return outcome;
}

}  // namespace orvanta
