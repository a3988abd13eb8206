#pragma once

#include <string_view>

namespace orvanta {

// The about box's line: what the program does, in one sentence.
inline constexpr std::string_view kAboutLine =
    "Orvanta computes your Vimshottari Dasha periods and sub-periods, with Vedic birth "
    "details and interpretations, from the date, time and place of birth.";

}  // namespace orvanta
