#pragma once

#include <string>

#include "core/base/birth_details.h"
#include "core/base/fixed_text.h"

namespace orvanta {

// The computed positions of one chart; all but the Julian day as display text.
struct ChartPositions {
    double julianDay = 0;          // whole day number of the local birth date
    std::string ayanamshaText;     // "-23° 51' 14\""
    FixedText<16> lagnaText{};     // "13° 12' 29\" Pis": 16 characters at most
    FixedText<16> moonText{};      // "16° 42' 10\" Lib"
    FixedText<16> moonNakshatraName{};  // "Swati"; "Purbha Phalguni" the longest
    FixedText<24> moonRashiName{};   // "Libra (Thula)"; "Sagittarius (Dhanush)" the longest
};

// Fills moonText, moonNakshatraName and moonRashiName.
void ComputeMoonPlace(const BirthDetails& birth, ChartPositions& positions);
// Fills julianDay, ayanamshaText and lagnaText.
void ComputeLagna(const BirthDetails& birth, ChartPositions& positions);

}  // namespace orvanta
