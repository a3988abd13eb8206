#include "core/zone/fixed_offset.h"

namespace orvanta::zone {

// Written digit by digit: a birth's zone rule is made for every row of a batch.
std::string FixedOffsetText(int offsetSeconds) {
    const int a = offsetSeconds < 0 ? -offsetSeconds : offsetSeconds;
    std::string text = "UTC+00:00";
    text[3] = offsetSeconds < 0 ? '-' : '+';
    const auto two = [&](std::size_t at, int value) {
        text[at] = static_cast<char>('0' + value / 10 % 10);
        text[at + 1] = static_cast<char>('0' + value % 10);
    };
    two(4, a / 3600);
    two(7, a / 60 % 60);
    if (a % 60 != 0) {
        text += ":00";
        two(10, a % 60);
    }
    return text;
}

std::optional<int> ReadUtcOffset(std::string_view text) {
    if (text.size() != 6 && text.size() != 9) return std::nullopt;
    if (text[0] != '+' && text[0] != '-') return std::nullopt;
    const auto two = [&](std::size_t at, int most) -> std::optional<int> {
        const char tens = text[at], ones = text[at + 1];
        if (tens < '0' || tens > '9' || ones < '0' || ones > '9') return std::nullopt;
        const int value = (tens - '0') * 10 + (ones - '0');
        if (value > most) return std::nullopt;
        return value;
    };
    const auto hours = two(1, 99), minutes = two(4, 59);
    const auto seconds = text.size() == 9 ? two(7, 59) : std::optional<int>(0);
    if (!hours || !minutes || !seconds || text[3] != ':' || (text.size() == 9 && text[6] != ':')) return std::nullopt;
    const int magnitude = *hours * 3600 + *minutes * 60 + *seconds;
    if (magnitude > kMostFixedOffsetSeconds) return std::nullopt;
    return text[0] == '-' ? -magnitude : magnitude;
}

std::optional<int> FixedOffsetOf(std::string_view text) {
    if (!text.starts_with("UTC")) return std::nullopt;
    const std::optional<int> offset = ReadUtcOffset(text.substr(3));
    if (!offset || FixedOffsetText(*offset) != text) return std::nullopt;
    return offset;
}

}  // namespace orvanta::zone
