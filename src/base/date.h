#pragma once

#include <compare>

namespace orvanta {

// A calendar date on the proleptic Gregorian calendar, without time of day.
struct Date {
    int year = 1;
    int month = 1;  // [1, 12]
    int day = 1;    // [1, 31]

    friend constexpr auto operator<=>(const Date&, const Date&) = default;
};

}  // namespace orvanta
