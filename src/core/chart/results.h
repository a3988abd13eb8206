#pragma once

#include <array>
#include <string>

#include "core/base/fixed_text.h"

namespace orvanta {

// What the results window's controls hold after a run: the texts of the Maha Dasha
// rows, the 162 sub-period date cells, the lord labels of the nine sub-period panels
// and the Vedic-detail labels. The window shows it; the report reads it back.
// The date texts and lord labels are held in place (FixedText): a run writes 189 and
// 81 of them, and a caller may keep many results.
struct Results {
    static constexpr int kRows = 9;
    static constexpr int kCells = 162;
    using DateText = FixedText<11>;  // "Aug-18-1981"
    using LordText = FixedText<7>;   // "Mercury"

    using TitleText = FixedText<16>;  // "Mercury Dasha"
    std::array<TitleText, kRows> dashaName{};  // txtDashaName(r): "Saturn Dasha"
    std::array<DateText, kRows> dashaStarts{};   // txtDashaStarts(r): "Aug-18-1981"
    std::array<DateText, kRows> dashaEnd{};    // txtDashaEnd(r)

    // txtSubDasha(n), n = 1..162, stored at [n - 1]: table r = (n - 1) / 18,
    // sub-period s = ((n - 1) % 18) / 2 + 1; odd n is a start, even n an end.
    std::array<DateText, kCells> subDasha{};
    std::array<bool, kCells> subDashaVisible{};

    // Lord label s of sub-period panel k (lblSubDashaNameZero .. lblSubDashaNameEight).
    std::array<std::array<LordText, 9>, kRows> subDashaLords{};

    int frontPanel = 0;              // the sub-period panel in front
    FixedText<32> subDashaCaption{};  // caption of fraSubDasha(0): "Sub Dasha Of Mercury Dasha" the longest
    // "Dasha At The Time Of Birth :- Mercury /Jupiter" the longest
    FixedText<48> dashaAtTimeOfBirth = "Dasha At The Time Of Birth";

    FixedText<16> nakshatra{};      // lblNakshatra: "Purbha Phalguni" the longest
    FixedText<24> rashi{};          // lblRashi
    FixedText<8> lord{};            // lblLord
    std::string ayanamsha;          // lblAyanamsha
    FixedText<16> lagna{};          // lblLagna: "Vrishabha"
    FixedText<16> lagnaPosition{};  // lblLagnaPosition: "13° 12' 29\" "
    FixedText<24> julianDay{};      // lblJulianDay

    Results() { subDashaVisible.fill(true); }

    static constexpr int CellIndex(int table, int subPeriod, bool end) {  // 1-based n
        return 18 * table + 2 * subPeriod - (end ? 0 : 1);
    }
    const DateText& cell(int n) const { return subDasha[static_cast<std::size_t>(n - 1)]; }
    DateText& cell(int n) { return subDasha[static_cast<std::size_t>(n - 1)]; }
    bool cellVisible(int n) const { return subDashaVisible[static_cast<std::size_t>(n - 1)]; }

    friend bool operator==(const Results&, const Results&) = default;
};

}  // namespace orvanta
