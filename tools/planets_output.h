#pragma once

#include <string>

#include "core/grahas/grahas.h"
#include "json_writer.h"

namespace orvanta {

// The node named beside the ayanamsa, then the member "planets": one object per graha
// in the chart's order.
void WritePlanetsJson(JsonWriter& out, const GrahaChart& chart);
// The node line of the provenance block.
std::string PlanetsNodeText(const GrahaChart& chart);
// The table of the nine.
std::string PlanetsText(const GrahaChart& chart);

}  // namespace orvanta
