#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/message.h"

namespace orvanta {

// The coordinate search of the birth-details window. Nothing when the City, State and
// Country boxes each hold a text, otherwise the message of the first empty one.
std::optional<Message> CheckCoordinateSearch(std::string_view city, std::string_view state, std::string_view country);

// "<city> <state> <country> Latitude Longitude": the text handed to the web search.
std::string CoordinateSearchText(std::string_view city, std::string_view state, std::string_view country);

}  // namespace orvanta
