#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta::atlas {

// The places of the place library read once, at the first search of a run, into a sorted
// table of the words its own query compares (some 25-40 ms for its 24,361 places, instead
// of 60-200 ms that the library's scan takes on every query). Built at first use rather
// than shipped with the program: the words depend on the library's data, its
// translations and the transliteration of the running locale, all of which are only
// known where the program runs. Thread-safe.
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

// Every place's name (as the library shows it, translated where it has a translation),
// folded into words as FoldedWords does, and its population; indexed by the library's
// index.
struct IndexedPlace {
    std::vector<std::string> nameWords;
    unsigned population = 0;
};
const std::vector<IndexedPlace>& IndexedPlaces();

}  // namespace orvanta::atlas
