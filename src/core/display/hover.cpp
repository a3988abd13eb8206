#include "core/display/hover.h"

#include <array>

#include "core/dasha/lords.h"
#include "core/display/interpretation_texts.h"

namespace orvanta {

namespace {
// The second name of each period, in the description order.
constexpr std::array<std::string_view, kLords> kSecondNames = InDescriptionOrder(&Lord::secondName);
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
