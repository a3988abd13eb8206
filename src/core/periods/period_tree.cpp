#include "core/periods/period_tree.h"

#include <algorithm>
#include <cmath>

#include "core/dasha/dasha.h"

namespace orvanta {

namespace {

constexpr double kSecondsPerDay = 86400;
constexpr int kCycleYears = 120;

// Years of the lords before position k of a cycle beginning with `first`.
constexpr std::array<std::array<int, kLords + 1>, kLords> CumulativeYears() {
    std::array<std::array<int, kLords + 1>, kLords> table{};
    for (int first = 0; first < kLords; ++first) {
        for (int k = 0; k < kLords; ++k) {
            table[first][k + 1] = table[first][k] + LordYears[(first + k) % kLords];
        }
    }
    return table;
}
constexpr auto kCumulativeYears = CumulativeYears();
static_assert(kCumulativeYears[0][kLords] == kCycleYears);

// Writes the nine children of periods[parent] at periods[first .. first + 9).
void FillChildren(std::vector<Period>& periods, std::size_t parent, std::size_t first) {
    Period& p = periods[parent];
    p.firstChild = static_cast<int>(first);
    const int lead = p.lords[static_cast<std::size_t>(p.level - 1)];
    const double span = p.end - p.start;
    const auto& cumulative = kCumulativeYears[static_cast<std::size_t>(lead)];
    double start = p.start;
    for (int k = 0; k < kLords; ++k) {
        Period& child = periods[first + static_cast<std::size_t>(k)];
        child.lords = p.lords;
        child.level = p.level + 1;
        child.lords[static_cast<std::size_t>(p.level)] = static_cast<std::int8_t>((lead + k) % kLords);
        child.start = start;
        child.end = k + 1 == kLords ? p.end : p.start + span * cumulative[static_cast<std::size_t>(k + 1)] / kCycleYears;
        start = child.end;
    }
}

}  // namespace

bool IsUsableYearDays(double yearDays) noexcept { return yearDays >= kMinYearDays && yearDays <= kMaxYearDays; }

MoonPlace PlaceOfMoon(double siderealLongitude) noexcept {
    // Longitude * 3 / 40 rather than / (40 / 3): 40 / 3 has no exact double.
    const double x = siderealLongitude * 3 / 40;
    MoonPlace place;
    place.nakshatra = std::clamp(static_cast<int>(std::floor(x)), 0, 26);
    place.elapsedFraction = std::clamp(x - place.nakshatra, 0.0, std::nextafter(1.0, 0.0));
    place.pada = std::min(4, static_cast<int>(place.elapsedFraction * 4) + 1);
    place.lord = place.nakshatra % kLords;
    return place;
}

PeriodTree BuildPeriodTree(const PeriodRequest& request) {
    PeriodTree tree;
    tree.request = request;
    tree.moon = PlaceOfMoon(request.moonSiderealLongitude);
    const int levels = std::clamp(request.levels, 1, kMaxPeriodLevels);
    std::size_t count = 0;
    for (std::size_t n = 9, l = 1; l <= static_cast<std::size_t>(levels); ++l, n *= 9) count += n;
    tree.periods.resize(count);

    const double year = request.yearDays * kSecondsPerDay;
    const int birthLord = tree.moon.lord;
    const double cycleStart = request.birthSeconds - tree.moon.elapsedFraction * LordYears[birthLord] * year;
    for (std::size_t k = 0; k < kLords; ++k) {
        Period& maha = tree.periods[k];
        maha.lords[0] = static_cast<std::int8_t>((birthLord + static_cast<int>(k)) % kLords);
        maha.start = k == 0 ? cycleStart : tree.periods[k - 1].end;
        maha.end = cycleStart + kCumulativeYears[static_cast<std::size_t>(birthLord)][k + 1] * year;
    }
    for (std::size_t i = 0, next = kLords; next < count; ++i, next += kLords) FillChildren(tree.periods, i, next);
    return tree;
}

std::vector<int> RunningChain(const PeriodTree& tree, double at, int levels) {
    std::vector<int> chain;
    int first = 0;
    while (first >= 0 && static_cast<int>(chain.size()) < levels) {
        const auto begin = tree.periods.begin() + first;
        const auto found = std::find_if(begin, begin + kLords, [at](const Period& p) { return at >= p.start && at < p.end; });
        if (found == begin + kLords) break;
        chain.push_back(static_cast<int>(found - tree.periods.begin()));
        first = found->firstChild;
    }
    return chain;
}

std::int64_t RoundedUtcSeconds(const PeriodTree& tree, double seconds) {
    return tree.request.epochUtcSeconds + static_cast<std::int64_t>(std::llround(seconds));
}

std::optional<CalendarAge> AgeOn(Date birth, Date on) noexcept {
    if (on < birth) return std::nullopt;
    int months = (on.year - birth.year) * 12 + (on.month - birth.month);
    while (months > 0 && on < AddMonths(birth, months)) --months;
    const Date anchor = AddMonths(birth, months);
    return CalendarAge{months / 12, months % 12, static_cast<int>(DaysBetween(anchor, on))};
}

}  // namespace orvanta
