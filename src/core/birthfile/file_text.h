#pragma once

// Helpers the three formats' readers and writers share; not part of the library's
// interface.

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/birthfile/birth_record.h"

namespace orvanta::birthfile::detail {

// The text without blanks, tabs and line-end characters around it.
inline std::string_view Stripped(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// The lines of a text split at LF, a CR before it dropped; a byte-order mark at the
// start is skipped.
inline std::vector<std::string_view> Lines(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The first line (from 1) that is not valid UTF-8, or 0.
int FirstLineNotUtf8(const std::vector<std::string_view>& lines);

inline std::optional<long long> WholeNumber(std::string_view text) {
    text = Stripped(text);
    if (text.starts_with('+')) text.remove_prefix(1);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

inline std::optional<double> DecimalNumber(std::string_view text) {
    text = Stripped(text);
    if (text.starts_with('+')) text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// `value` with `decimals` digits after the point, whatever the locale.
std::string Fixed(double value, int decimals);
// The shortest text that reads back as exactly `value`.
std::string Exact(double value);
std::string TwoDigits(int value);

FileProblem Problem(int line, std::string text);

}  // namespace orvanta::birthfile::detail
