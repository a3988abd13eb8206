#pragma once

#include <array>
#include <string>
#include <string_view>

namespace orvanta {

// The interpretation tables, indexed Sun, Moon, Mars, Rahu, Jupiter, Saturn,
// Mercury, Ketu, Venus (not the Vimshottari cycle order).
struct InterpretationTexts {
    std::array<std::string, 2> introTexts;  // [0] Vimshottari Dasha, [1] Vedic details
    std::array<std::string, 9> dashaTitles;        // "Surya Dasha" .. "Sukra Dasha"
    std::array<std::string, 9> dashaDescriptions;  // each its passages joined with nothing between
};

// Fills IntroTexts, then DashaTitles, then DashaDescriptions, each in index order.
InterpretationTexts LoadInterpretationTexts();

// The index of a Maha Dasha row title ("Sun Dasha" -> 0 ... "Venus Dasha" -> 8;
// exact and case-sensitive), or -1.
int DescriptionIndexOfTitle(std::string_view englishTitle);

// The passages a description is joined from, in order.
std::array<std::string_view, 4> DescriptionPassages(int index);  // unused slots empty

// The paragraph of the birth-details window's lblVMD.
std::string_view MainWindowDescription();

}  // namespace orvanta
