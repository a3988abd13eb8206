#include "dasha/calendar.h"

#include <algorithm>
#include <array>

namespace orvanta {

// Serial day counts after H. Hinnant's days_from_civil / civil_from_days.
long DaysFromCivil(Date date) noexcept {
    const long y = date.year - (date.month <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;                                                   // [0, 399]
    const long doy = (153 * (date.month > 2 ? date.month - 3 : date.month + 9) + 2) / 5 + date.day - 1;  // [0, 365]
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;                           // [0, 146096]
    return era * 146097 + doe - 719468;
}

Date CivilFromDays(long days) noexcept {
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long doe = days - era * 146097;                                  // [0, 146096]
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);              // [0, 365]
    const long mp = (5 * doy + 2) / 153;                                   // [0, 11]
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400) + (month <= 2 ? 1 : 0);
    return {year, month, day};
}

int DaysInMonth(int year, int month) noexcept { return DaysOfMonth(year, month); }

long DaysBetween(Date from, Date to) noexcept {
    return DaysFromCivil(to) - DaysFromCivil(from);
}

namespace {
// "00" .. "99": a run writes 180 date texts, so digits go two at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Writes a value in [0, 99] as two digits.
void PutTwoDigits(char* out, int value) {
    const auto at = static_cast<std::size_t>(2 * value);
    out[0] = kDigitPairs[at];
    out[1] = kDigitPairs[at + 1];
}

// Writes a year in [0, 9999] as four digits.
void PutFourDigits(char* out, int value) {
    PutTwoDigits(out, value / 100);
    PutTwoDigits(out + 2, value % 100);
}
}  // namespace

void calendar_detail::FormatAnyDisplayDate(Date date, char* text) noexcept {
    if (!date.ok()) {
        std::copy_n("***-**-****", 11, text);
        return;
    }
    std::copy_n(kMonthDayTexts[static_cast<std::size_t>((date.month - 1) * 32 + date.day)].data(), 7, text);
    const auto tabled = static_cast<unsigned>(date.year - kFirstTabledYear);
    if (tabled < kYearTexts.size()) {
        std::copy_n(kYearTexts[tabled].data(), 4, text + 7);
    } else {
        PutFourDigits(text + 7, date.year);
    }
}

void FormatDisplayDate(Date date, std::string& out) {
    char text[11];
    FormatDisplayDate(date, text);
    out.assign(text, sizeof text);
}

std::string FormatDisplayDate(Date date) {
    std::string text;
    FormatDisplayDate(date, text);
    return text;
}

std::string FormatIsoDate(Date date) {
    if (!date.ok()) return "****-**-**";
    char text[10];
    PutFourDigits(text, date.year);
    text[4] = '-';
    PutTwoDigits(text + 5, date.month);
    text[7] = '-';
    PutTwoDigits(text + 8, date.day);
    return std::string(text, sizeof text);
}

}  // namespace orvanta
