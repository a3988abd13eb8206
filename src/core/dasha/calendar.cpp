#include "core/dasha/calendar.h"

#include <algorithm>
#include <array>

namespace orvanta {

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
