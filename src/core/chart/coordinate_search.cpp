#include "core/chart/coordinate_search.h"

#include <array>
#include <utility>

namespace orvanta {

std::optional<Message> CheckCoordinateSearch(std::string_view city, std::string_view state, std::string_view country) {
    const std::array<std::pair<std::string_view, Message>, 3> boxes = {{
        {city, {"Please Enter City", Icon::Information, Control::txtMCity}},
        {state, {"Please Enter State", Icon::Information, Control::txtMState}},
        {country, {"Please Enter Country", Icon::Information, Control::txtMCountry}},
    }};
    for (const auto& [text, message] : boxes) {
        if (text.empty()) return message;
    }
    return std::nullopt;
}

std::string CoordinateSearchText(std::string_view city, std::string_view state, std::string_view country) {
    std::string search;
    search.reserve(city.size() + state.size() + country.size() + 21);
    search.append(city).append(1, ' ').append(state).append(1, ' ').append(country).append(" Latitude Longitude");
    return search;
}

}  // namespace orvanta
