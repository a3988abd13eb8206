#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/atlas/place.h"

namespace orvanta::atlas {

// The places of the place library read once, at the first search of a run, into a sorted
// table of the words its own query compares (some 40 ms for its 24,361 places, instead
// of 60-200 ms that the library's scan takes on every query). Built where the program
// runs rather than shipped with it: the words depend on the library's data, its
// translations and the transliteration of the running locale. The index is kept between
// runs (index_cache.h) and read back in a few milliseconds while all of those are as they
// were. Thread-safe.
//
// What the library answers for one word of a search: the places whose name (or its
// translation) has, among the words the library looks at, one beginning with `word`,
// as indexes of the library with the library's weight, heaviest first. Places of equal
// weight, which the library itself returns in an order that changes from run to run,
// come most populous first, then in the library's order. Nothing when `word` is not a
// single word to the library (the library is then asked itself).
struct WeighedPlace {
    int index;
    double weight;
};
std::optional<std::vector<WeighedPlace>> LibraryMatches(std::string_view word);

// Every place as the library's getters give it (names translated where the locale has a
// translation) and its name folded into words as FoldedWords does; indexed by the
// library's index. The texts are held by the index for the whole run.
struct IndexedPlace {
    std::string_view name, state, country, countryCode, timeZone;
    double latitude = 0;
    double longitude = 0;
    unsigned population = 0;
    std::span<const std::string_view> nameWords;

    Place record() const {
        return {std::string(name), std::string(state), std::string(country), std::string(countryCode),
                latitude, longitude, std::string(timeZone), population};
    }
};
const std::vector<IndexedPlace>& IndexedPlaces();

// Why the index holds no places: the library cannot load them. Nothing when the index was
// built or read back.
std::optional<std::string> IndexProblem();

// The number of places in `contents` when they read whole as the contents of a kept index
// file (what follows its header); nothing else. For the fuzz target of that reading.
std::optional<std::size_t> KeptPlaceCount(std::string contents);

// Why the place library cannot load its places, looked at once a run before the library
// is first asked (it would abort the program).
std::optional<std::string> LibraryDataProblem();

}  // namespace orvanta::atlas
