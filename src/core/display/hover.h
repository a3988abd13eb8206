#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvanta {

// What resting the mouse on a Maha Dasha name box of the results window shows.
struct HoverView {
    std::string subDashaCaption;                  // "Sub Dasha Of Saturn Dasha"
    std::optional<std::string> mahaDashaCaption;  // "Saturn Dasha/Sani Dasha"; none for an unknown title
    int descriptionIndex = -1;                    // into DashaDescriptions; -1 for an unknown title

    friend bool operator==(const HoverView&, const HoverView&) = default;
};

// The name box's text is compared exactly and case-sensitively with the nine English
// titles; an unknown text still names its sub-period panel but changes nothing else.
HoverView HoverDashaName(std::string_view nameBoxText);

}  // namespace orvanta
