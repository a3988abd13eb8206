#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace orvanta {

// The nine lords in Vimshottari cycle order; the successor of Mercury is Ketu.
struct Lord {
    std::string_view name;        // "Saturn": a sub-period panel's label
    std::string_view title;       // "Saturn Dasha": the Maha Dasha row title
    std::string_view indianTitle; // "Sani Dasha": the interpretation's title
    std::string_view secondName;  // "Sani Dasha": the second name the hover shows
    int years;                    // 120 in all
    // The lord's place in the interpretation tables, which run Sun, Moon, Mars, Rahu,
    // Jupiter, Saturn, Mercury, Ketu, Venus.
    int descriptionIndex;
};

inline constexpr int kLords = 9;
inline constexpr std::array<Lord, kLords> LordTable = {{
    {"Ketu", "Ketu Dasha", "Ketu Dasha", "Moon South Node Dasha", 7, 7},
    {"Venus", "Venus Dasha", "Sukra Dasha", "Sukra Dasha", 20, 8},
    {"Sun", "Sun Dasha", "Surya Dasha", "Surya Dasha", 6, 0},
    {"Moon", "Moon Dasha", "Chandra Dasha", "Chandra Dasha", 10, 1},
    {"Mars", "Mars Dasha", "Kuja Dasha", "Kuja Dasha", 7, 2},
    {"Rahu", "Rahu Dasha", "Rahu Dasha", "Moon North Node Dasha", 18, 3},
    {"Jupiter", "Jupiter Dasha", "Guru Dasha", "Guru Dasha", 16, 4},
    {"Saturn", "Saturn Dasha", "Sani Dasha", "Sani Dasha", 19, 5},
    {"Mercury", "Mercury Dasha", "Budha Dasha", "Budha Dasha", 17, 6},
}};

static_assert([] {
    int years = 0;
    std::array<bool, kLords> seen{};
    for (const Lord& lord : LordTable) {
        years += lord.years;
        if (lord.descriptionIndex < 0 || lord.descriptionIndex >= kLords) return false;
        seen[static_cast<std::size_t>(lord.descriptionIndex)] = true;
    }
    for (bool s : seen) {
        if (!s) return false;
    }
    return years == 120;
}(), "the cycle lasts 120 years and every lord has its own place in the interpretation tables");

// One field of every lord, in cycle order or in the interpretation tables' order.
template <typename Field>
constexpr auto InCycleOrder(Field Lord::*field) {
    std::array<Field, kLords> out{};
    for (std::size_t i = 0; i < LordTable.size(); ++i) out[i] = LordTable[i].*field;
    return out;
}
template <typename Field>
constexpr auto InDescriptionOrder(Field Lord::*field) {
    std::array<Field, kLords> out{};
    for (const Lord& lord : LordTable) out[static_cast<std::size_t>(lord.descriptionIndex)] = lord.*field;
    return out;
}

}  // namespace orvanta
