#pragma once

#include <functional>

#include "core/sky/ephemeris.h"

namespace orvanta::sky {

// Runs `work` holding the lock that guards the library's state, with this thread's data
// folder set and the ayanamsa's sidereal mode chosen: "set the mode, then compute" as
// one step. For the sky layer's own files only.
void WithLibrary(Ayanamsa ayanamsa, const std::function<void()>& work);

}  // namespace orvanta::sky
