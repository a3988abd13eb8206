#pragma once

#include <string_view>

namespace orvanta {

// The text without its leading and trailing blanks (blanks only, as the form trims).
constexpr std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace orvanta
