#pragma once

#include <string_view>

namespace orvanta {

// The text without its leading and trailing blanks (blanks only, as the form trims).
constexpr std::string_view Trimmed(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && text[first] == ' ') ++first;
    if (first == last) return {};
    while (text[last - 1] == ' ') --last;
    return text.substr(first, last - first);
}

}  // namespace orvanta
