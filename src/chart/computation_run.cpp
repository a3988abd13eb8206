#include "chart/computation_run.h"

#include <cassert>
#include <string_view>

#include "astro/astronomy.h"
#include "base/trimmed.h"

namespace orvanta {

namespace {

// "Dasha At The Time Of Birth :- Saturn /Mercury": cutting five characters, not six,
// from "Saturn Dasha" keeps the blank after the lord's name.
std::string PeriodAtBirthLabel(const Results& results, std::size_t element) {
    constexpr std::string_view kLead = "Dasha At The Time Of Birth :- ";
    const std::string_view title = Trimmed(results.dashaName[0]);
    const std::string_view name = title.substr(0, title.size() >= 5 ? title.size() - 5 : 0);
    const std::string_view lord = results.subDashaLords[0][element].view();
    std::string label;
    label.reserve(kLead.size() + name.size() + 1 + lord.size());  // one allocation for the whole label
    label += kLead;
    label += name;
    label += '/';
    label += lord;
    return label;
}

// The Indian name of the ascendant's sign, by the code that ends the position text.
std::string_view LagnaName(std::string_view code) {
    static constexpr std::array<std::string_view, 12> kNames = {
        "Mesha", "Vrishabha", "Mithuna", "Kataka",  "Simha",  "Kanya",
        "Thula", "Vrishcika", "Dhanush", "Makara",  "Kumbha", "Meena"};
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (SignCodes.substr(3 * i, 3) == code) return kNames[i];
    }
    return {};
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

void HandOverDasha(const DashaTable& dasha, Results& results) {
    // The first table is trimmed below; the others are written from the dasha as they stand.
    std::array<Date, 18> first;
    std::array<Date, Results::kRows> rowStart;
    std::array<Date, Results::kRows> rowEnd;

    // The Maha Dasha rows in sequence order from the lord at birth.
    for (std::size_t r = 0; r < Results::kRows; ++r) {
        const std::size_t lord = (static_cast<std::size_t>(dasha.birthLordIndex) + r) % kLords;
        results.dashaName[r].assign(LordTitles[lord]);
        // The row's title is the lord's, so its panel takes that lord's labels.
        results.subDashaLords[r] = PanelLabels()[lord];
        rowStart[r] = dasha.mahaStart[lord];
        rowEnd[r] = dasha.mahaEnd[lord];
    }
    const auto birthLord = static_cast<std::size_t>(dasha.birthLordIndex);
    for (std::size_t k = 0; k < kLords; ++k) {
        first[2 * k] = dasha.subStart[birthLord][k];
        first[2 * k + 1] = dasha.subEnd[birthLord][k];
    }
    // Every table ends exactly when its Maha Dasha ends.
    first[17] = rowEnd[0];

    results.frontPanel = 0;
    results.subDashaCaption = "Sub Dasha Of " + results.dashaName[0];

    // Trim the first table to the birth date: a sub-period that ended on or before the
    // birth day counts as elapsed and is hidden, and the one after it starts at birth.
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
        first[end + 1] = rowStart[0];
        labelled = static_cast<std::size_t>(s);
    }
    if (!found) {
        first[0] = rowStart[0];
        labelled = 0;
    }
    if (labelled) results.dashaAtTimeOfBirth = PeriodAtBirthLabel(results, *labelled);

    // A sub-period's end is mostly the next one's start, so a date that repeats the one
    // written before takes its text instead of being written again.
    const Date* last = nullptr;  // every date read below stays in place until the end
    Results::DateText* lastText = nullptr;
    const auto put = [&](const Date& date, Results::DateText& text) {
        if (last && *last == date) {
            text = *lastText;
        } else {
            text.write(11, [&date](char* chars) { FormatDisplayDate(date, chars); });
        }
        last = &date;
        lastText = &text;
    };
    for (std::size_t n = 0; n < first.size(); ++n) put(first[n], results.subDasha[n]);
    for (std::size_t r = 1; r < Results::kRows; ++r) {
        const std::size_t lord = (birthLord + r) % kLords;
        Results::DateText* cell = &results.subDasha[18 * r];
        for (std::size_t k = 0; k < kLords; ++k) {
            put(dasha.subStart[lord][k], cell[2 * k]);
            put(k == kLords - 1 ? rowEnd[r] : dasha.subEnd[lord][k], cell[2 * k + 1]);
        }
    }
    for (std::size_t r = 0; r < Results::kRows; ++r) {
        // The table's last cell holds the row's end.
        results.dashaEnd[r] = results.subDasha[18 * r + 17];
        if (r > 0 && rowStart[r] == rowEnd[r - 1]) {
            results.dashaStarts[r] = results.dashaEnd[r - 1];
        } else {
            results.dashaStarts[r].write(11, [&](char* chars) { FormatDisplayDate(rowStart[r], chars); });
        }
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
    if (!name.empty()) results.lagna = std::string(name);  // an unknown code keeps the old text
    // The position keeps the blank that stood before the sign code.
    results.lagnaPosition = std::string(lagna.substr(0, lagna.size() >= 3 ? lagna.size() - 3 : 0));
    results.julianDay = std::to_string(static_cast<long long>(positions.julianDay));
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
    RunOutcome outcome;
    outcome.unlisted = FindUnlistedText(form);
    if (outcome.unlisted) return outcome;
    auto [refusal, birth] = CheckAndReadBirthDetails(form);
    if (outcome.rejection = refusal; !outcome.rejection) Compute(birth, outcome.chart);
    return outcome;
}

}  // namespace orvanta
