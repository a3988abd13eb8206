#pragma once

// A chart as the results window would hold it after a run, for the report's tests.
// The interpretation texts are stand-ins that say which table entry they are.

#include <string>

#include "core/chart/birth_form.h"
#include "core/chart/results.h"
#include "core/display/interpretation_texts.h"

namespace orvanta::testing {

inline BirthDetails SampleBirth() {
    return {.name = "S K", .month = 8, .day = 18, .year = 1981, .hour = 23, .minute = 30, .zoneHours = 5,
            .zoneMinutes = 30, .longitudeDegrees = 80, .latitudeDegrees = 23};
}

// Rows in cycle order from Saturn, dates as the run rewrites them ("mmm-dd-yyyy").
inline Results SampleResults() {
    Results r;
    const char* names[] = {"Saturn Dasha", "Mercury Dasha", "Ketu Dasha",
                           "Venus Dasha",  "Sun Dasha",     "Moon Dasha",
                           "Mars Dasha",   "Rahu Dasha",    "Jupiter Dasha"};
    const char* starts[] = {"Aug-18-1981", "Mar-02-1993", "Mar-02-2010",
                            "Mar-02-2017", "Mar-02-2037", "Mar-02-2043",
                            "Mar-02-2053", "Mar-02-2060", "Mar-02-2078"};
    const char* ends[] = {"Mar-02-1993", "Mar-02-2010", "Mar-02-2017",
                          "Mar-02-2037", "Mar-02-2043", "Mar-02-2053",
                          "Mar-02-2060", "Mar-02-2078", "Mar-02-2094"};
    for (std::size_t i = 0; i < 9; ++i) {
        r.dashaName[i] = names[i];
        r.dashaStarts[i] = starts[i];
        r.dashaEnd[i] = ends[i];
    }
    r.nakshatra = "Anuradha";
    r.rashi = "Vrischika (Scorpio)";
    r.lord = "Saturn";
    r.ayanamsha = "23\xC2\xB0 35' 11\"";
    r.lagna = "Taurus";
    r.lagnaPosition = "2\xC2\xB0 51' 9\" Tau";
    r.julianDay = "2444835";
    return r;
}

inline InterpretationTexts SampleTexts() {
    InterpretationTexts t;
    t.introTexts = {"Intro to the Vimshottari Dasha, see www.example.com for more.",
                    "Intro to the Vedic details."};
    t.dashaTitles = {"Surya Dasha", "Chandra Dasha", "Kuja Dasha", "Rahu Dasha", "Guru Dasha",
                     "Sani Dasha",  "Budha Dasha",   "Ketu Dasha", "Sukra Dasha"};
    for (std::size_t i = 0; i < 9; ++i)
        t.dashaDescriptions[i] = "Description " + std::to_string(i) + " of " + t.dashaTitles[i] + ".";
    t.dashaDescriptions[5] += " Read https://example.org/sani?x=1 today.";
    return t;
}

}  // namespace orvanta::testing
