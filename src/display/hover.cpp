#include "display/hover.h"

#include <array>

#include "display/interpretation_texts.h"

namespace orvanta {

namespace {
// The Sanskrit (or descriptive) second name of each period, in the description order
// Sun, Moon, Mars, Rahu, Jupiter, Saturn, Mercury, Ketu, Venus.
constexpr std::array<std::string_view, 9> kSecondNames = {
    "Surya Dasha", "Chandra Dasha", "Kuja Dasha",  "Moon North Node Dasha", "Guru Dasha",
    "Sani Dasha",  "Budha Dasha",   "Moon South Node Dasha", "Sukra Dasha"};
}  // namespace

HoverView HoverDashaName(std::string_view nameBoxText) {
    HoverView view;
    view.subDashaCaption = "Sub Dasha Of ";
    view.subDashaCaption += nameBoxText;
    const int index = DescriptionIndexOfTitle(nameBoxText);
    if (index < 0 || index >= static_cast<int>(kSecondNames.size())) return view;
    view.descriptionIndex = index;
    view.mahaDashaCaption = std::string(nameBoxText) + "/" + std::string(kSecondNames[static_cast<std::size_t>(index)]);
    return view;
}

}  // namespace orvanta
