#include "core/astro/astronomy.h"
#include "core/base/trimmed.h"
#include "core/dasha/dasha.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace orvanta {

int LordIndexOfTitle(std::string_view title) {
    for (int i = 0; i < kLords; ++i) {
        if (LordTitles[static_cast<std::size_t>(i)] == title) return i;
    }
    return -1;
}

std::string DecimalText(double x) {
    if (x == 0 || !std::isfinite(x)) return "0";
    // 15 significant digits, correctly rounded, in the "C" form whatever the locale.
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 14);
    if (ec != std::errc{}) return "0";
    const std::string_view scientific(buffer, static_cast<std::size_t>(end - buffer));  // "-d.ddddde-dd"
    const bool negative = scientific.front() == '-';
    const std::size_t e = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(negative ? 1 : 0, e - (negative ? 1 : 0))) {
        if (c != '.') digits += c;
    }
    const int exponent = std::atoi(std::string(scientific.substr(e + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string text = negative ? "-" : "";
    if (exponent < 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text += digits;
    } else {
        const auto whole = static_cast<std::size_t>(exponent + 1);
        if (digits.size() <= whole) {
            text += digits;
            text.append(whole - digits.size(), '0');
        } else {
            text += digits.substr(0, whole);
            text += '.';
            text += digits.substr(whole);
        }
    }
    return text;
}

namespace {

// The digits after the point of a decimal text, read as a decimal fraction.
double FractionOfText(std::string_view text, std::size_t point) {
    const std::string fraction = "0." + std::string(text.substr(point + 1));
    double value = 0;
    std::from_chars(fraction.data(), fraction.data() + fraction.size(), value);
    return value;
}

int WholePartOfText(std::string_view text) {
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace

YearsMonthsDays SplitYears(double x) {
    YearsMonthsDays split;
    const std::string text = DecimalText(x);
    split.years = WholePartOfText(text);
    const std::size_t point = text.find('.');
    if (point == std::string::npos) return split;

    const double rawMonths = 12 * FractionOfText(text, point);
    // A raw value whose text rounds up to a whole number counts as that number:
    // 12 x 0.583333333333333 = 6.999999999999996 reads "7" and gives 7 months, 0 days.
    const std::string monthsText = DecimalText(rawMonths);
    split.months = WholePartOfText(monthsText);
    if (split.months == 12) {  // 12 x 0.999999999999996 reads "12"
        ++split.years;
        split.months = 0;
    }
    const std::size_t monthsPoint = monthsText.find('.');
    if (monthsPoint == std::string::npos) return split;
    // The days are truncated from the binary product, not from its text.
    split.days = static_cast<int>(std::floor(30 * FractionOfText(monthsText, monthsPoint)));
    return split;
}

namespace {
// AddDuration for a duration that SplitYears gives (years >= 0, months in [0, 11],
// days in [0, 29]) and a date that is ok(): the three steps in one pass. Of the year
// step's clamps only 29 February can apply; the month step clamps to the target
// month; the days then pass at most two month ends, the second only from a February
// too short for the day. The carries, taken in about half the steps, are selects
// rather than branches. `Length` is YearsMonthsDays, or a Fixed length known when
// compiling, for which the parts of a step the length does not use drop out.
template <typename Length>
inline Date AddSplitDuration(Date date, Length d) noexcept {
    int year = date.year;
    int month = date.month;
    int day = date.day;
    if (d.years != 0) {
        year += d.years;
        if (day == 29 && month == 2 && DaysOfMonth(year, 2) == 28) [[unlikely]] day = 28;
    }
    if (d.months != 0) {
        month += d.months;
        const bool nextYear = month > 12;
        month = nextYear ? month - 12 : month;
        year += nextYear;
        const int last = DaysOfMonth(year, month);
        if (day > last) [[unlikely]] day = last;
    }
    if (d.days != 0) {
        const int last = DaysOfMonth(year, month);
        day += d.days;
        const bool over = day > last;
        day = over ? day - last : day;
        const bool january = over & (month == 12);
        month = january ? 1 : month + over;
        year += january;
        if (day > 28) [[unlikely]] {
            const int next = DaysOfMonth(year, month);
            if (day > next) {  // past a February of 28 days
                day -= next;
                ++month;
            }
        }
    }
    return {year, month, day};
}

template <YearsMonthsDays D>
struct Fixed {
    static constexpr int years = D.years;
    static constexpr int months = D.months;
    static constexpr int days = D.days;
};

// SubtractDuration for the same durations and dates: back by years, then months
// (each clamping), then days through at most two month beginnings.
inline Date SubtractSplitDuration(Date date, YearsMonthsDays d) noexcept {
    int year = date.year - d.years;
    int day = date.day;
    if (day == 29 && date.month == 2 && DaysOfMonth(year, 2) == 28) day = 28;
    int month = date.month - d.months;
    if (month < 1) {
        month += 12;
        --year;
    }
    day = std::min(day, DaysOfMonth(year, month)) - d.days;
    while (day < 1) {
        if (--month < 1) {
            month = 12;
            --year;
        }
        day += DaysOfMonth(year, month);
    }
    return {year, month, day};
}

// The nine sub-periods of lord L's table from its start, each step compiled for its length.
template <std::size_t L, std::size_t... K>
inline void FillTable(Date start, std::array<Date, 9>& starts, std::array<Date, 9>& ends,
                      std::index_sequence<K...>) noexcept {
    ((starts[K] = start, start = AddSplitDuration(start, Fixed<SubPeriodLengths[L][K]>{}), ends[K] = start), ...);
}

template <std::size_t L>
void FillTable(Date start, DashaTable& t) noexcept {
    FillTable<L>(start, t.subStart[L], t.subEnd[L], std::make_index_sequence<kLords>{});
}

template <std::size_t... L>
constexpr std::array<void (*)(Date, DashaTable&) noexcept, kLords> TableFillers(std::index_sequence<L...>) {
    return {&FillTable<L>...};
}
inline constexpr auto kTableFillers = TableFillers(std::make_index_sequence<kLords>{});

// Whether the one-pass steps apply: a duration that SplitYears gives and a date that
// is ok(); the slow steps define what other dates and durations give.
bool OnePass(Date date, YearsMonthsDays d) {
    return d.years >= 0 && static_cast<unsigned>(d.months) <= 11 && static_cast<unsigned>(d.days) <= 29 && date.ok();
}
}  // namespace

Date AddDuration(Date date, YearsMonthsDays d) {
    if (!OnePass(date, d)) {
        return AddDays(AddMonths(AddYears(date, d.years), d.months), d.days);
    }
    return AddSplitDuration(date, d);
}

Date SubtractDuration(Date date, YearsMonthsDays d) {
    if (!OnePass(date, d)) {
        return AddDays(AddMonths(AddYears(date, -d.years), -d.months), -d.days);
    }
    return SubtractSplitDuration(date, d);
}

namespace {


// A whole number in [0, limit] written as the Moon routine writes it: decimal digits,
// no sign, no leading zero. `text` is advanced past it.
std::optional<int> ReadPlainNumber(std::string_view& text, int limit) {
    std::size_t length = 0;
    int value = 0;
    while (length < text.size() && text[length] >= '0' && text[length] <= '9' && value <= limit) {
        value = value * 10 + (text[length] - '0');
        ++length;
    }
    if (length == 0 || value > limit || (length > 1 && text[0] == '0')) return std::nullopt;
    text.remove_prefix(length);
    return value;
}

bool ReadLiteral(std::string_view& text, std::string_view literal) {
    if (!text.starts_with(literal)) return false;
    text.remove_prefix(literal.size());
    return true;
}

// The two splits of a run, the balance and the elapsed part of the birth lord's
// period, depend on the birth lord and the elapsed arc-minutes alone. Each is worked
// out once and kept, packed with a mark that it is set; threads that race on one
// entry write the same value.
class SplitMemo {
public:
    template <typename Split>
    YearsMonthsDays Get(int lord, int elapsedArcMinutes, Split split) {
        std::atomic<std::uint16_t>& slot = slots_[static_cast<std::size_t>(lord * 800 + elapsedArcMinutes)];
        std::uint16_t packed = slot.load(std::memory_order_relaxed);
        if (packed == 0) {
            const YearsMonthsDays d = split();
            packed = static_cast<std::uint16_t>(0x8000 | d.years << 9 | d.months << 5 | d.days);
            slot.store(packed, std::memory_order_relaxed);
        }
        return {(packed >> 9) & 0x3F, (packed >> 5) & 0xF, packed & 0x1F};
    }

private:
    std::array<std::atomic<std::uint16_t>, kLords * 800> slots_{};
};

SplitMemo balanceSplits;
SplitMemo elapsedSplits;

}  // namespace

std::optional<int> MoonArcMinutes(std::string_view moonText) {
    // "e° m' s\" Sig": e in [0, 29], m and s in [0, 59].
    std::string_view text = Trimmed(moonText);
    const auto degrees = ReadPlainNumber(text, 29);
    if (!degrees || !ReadLiteral(text, "\u00B0 ")) return std::nullopt;
    const auto minutes = ReadPlainNumber(text, 59);
    if (!minutes || !ReadLiteral(text, "' ")) return std::nullopt;
    if (!ReadPlainNumber(text, 59) || !ReadLiteral(text, "\" ") || text.size() != 3) return std::nullopt;
    const int sign = SignOfCode(text);
    if (sign < 0) return std::nullopt;
    return (sign * 30 + *degrees) * 60 + *minutes;  // [0, 21599]
}

std::optional<DashaTable> CalculateDasha(Date birthDate, std::string_view moonText) {
    DashaTable table;
    if (!CalculateDasha(birthDate, moonText, table)) return std::nullopt;
    return table;
}

bool CalculateDasha(Date birthDate, std::string_view moonText, DashaTable& t) {
    const std::optional<int> arcMinutes = MoonArcMinutes(moonText);
    if (!arcMinutes || !birthDate.ok() || birthDate.year < kFirstDashaBirthYear ||
        birthDate.year > kLastDashaBirthYear) {
        return false;
    }
    t.birthDate = birthDate;

    // The Moon enters truncated to whole arc-minutes, as its text shows it.
    t.moonArcMinutes = static_cast<std::int16_t>(*arcMinutes);
    t.nakshatraNumber = t.moonArcMinutes / 800 + 1;
    t.birthLordIndex = (t.nakshatraNumber - 1) % kLords;
    t.birthLord.assign(DashaLord[static_cast<std::size_t>(t.birthLordIndex)]);
    const int years = LordYears[static_cast<std::size_t>(t.birthLordIndex)];
    t.elapsedArcMinutes = static_cast<std::int16_t>(t.moonArcMinutes - (t.nakshatraNumber - 1) * 800);
    t.elapsedYears = static_cast<double>(years * t.elapsedArcMinutes) / 800;
    // Subtracted, not Y x (800 - elapsed) / 800: the two differ in the last bits,
    // and the 15-digit text of SplitYears can see it.
    t.balanceYears = years - t.elapsedYears;
    t.balance = balanceSplits.Get(t.birthLordIndex, t.elapsedArcMinutes, [&] { return SplitYears(t.balanceYears); });

    // The Maha Dashas: the birth lord's balance, then full periods of whole years.
    const int b = t.birthLordIndex;
    t.mahaStart[static_cast<std::size_t>(b)] = birthDate;
    t.mahaEnd[static_cast<std::size_t>(b)] = AddSplitDuration(birthDate, t.balance);
    for (int k = 1; k < kLords; ++k) {
        const auto lord = static_cast<std::size_t>((b + k) % kLords);
        const auto previous = static_cast<std::size_t>((b + k - 1) % kLords);
        t.mahaStart[lord] = t.mahaEnd[previous];
        t.mahaEnd[lord] = AddYears(t.mahaStart[lord], LordYears[lord]);
    }

    // The sub-periods. The birth lord's table is laid out over its whole period as if
    // it had started before birth, so that it shows the sub-period running at birth.
    for (int p = 0; p < kLords; ++p) {
        const auto lord = static_cast<std::size_t>((b + p) % kLords);
        const Date start =
            p == 0 ? SubtractSplitDuration(birthDate, elapsedSplits.Get(t.birthLordIndex, t.elapsedArcMinutes,
                                                                       [&] { return SplitYears(t.elapsedYears); }))
                   : t.mahaEnd[(lord + kLords - 1) % kLords];
        kTableFillers[lord](start, t);
    }
    return true;
}

std::array<Date, 162> LoadSubDashaText(const DashaTable& table) {
    // In fixed lord order the entries 18 L + 2 k + 1 and 18 L + 2 k + 2 are the start
    // and end of position k of lord L's table; the boxes take them rotated by the birth
    // lord, so group p holds the table of lord (birth lord + p) mod 9.
    std::array<Date, 162> boxes;
    for (std::size_t p = 0; p < kLords; ++p) {
        const std::size_t lord = (static_cast<std::size_t>(table.birthLordIndex) + p) % kLords;
        for (std::size_t k = 0; k < kLords; ++k) {
            boxes[18 * p + 2 * k] = table.subStart[lord][k];
            boxes[18 * p + 2 * k + 1] = table.subEnd[lord][k];
        }
    }
    return boxes;
}

}  // namespace orvanta
