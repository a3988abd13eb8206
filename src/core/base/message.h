#pragma once

#include <string>

namespace orvanta {

// The controls of the birth-details window that a message can concern.
enum class Control {
    None,  // the focus stays where it is
    txtName,
    txtZoneHour,
    txtZoneMinute,
    txtLatD,
    txtLatM,
    txtLonD,
    txtLonM,
    txtMCity,
    txtMState,
    txtMCountry,
};

enum class Icon { Error, Information };

// One message box: title "Orvanta", one OK button, this text and icon; the focus
// then moves to `focus` (Control::None leaves it where it was).
struct Message {
    std::string text;
    Icon icon = Icon::Error;
    Control focus = Control::None;

    friend bool operator==(const Message&, const Message&) = default;
};

}  // namespace orvanta
