// The atlas's reading of a search text, without the library's scan. Whatever the text:
// the words are folded (lower case letters and digits, none empty), a text longer than
// a place's name is refused, and a place whose name is the text is found by it.

#include <cstdint>
#include <string>
#include <string_view>

#include <QChar>
#include <QList>
#include <QString>

#include "core/atlas/place_search.h"
#include "fuzz_input.h"

using namespace orvanta;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const atlas::SearchQuery query = atlas::ParseSearch(text);
    for (const std::string& word : query.words) {
        ORVANTA_FUZZ_CHECK(!word.empty());
        for (const QChar c : QString::fromStdString(word)) ORVANTA_FUZZ_CHECK(c.isLetterOrNumber() && !c.isUpper());
    }
    ORVANTA_FUZZ_CHECK(query.nameWords <= query.words.size());
    for (const auto& phrase : query.qualifiers) ORVANTA_FUZZ_CHECK(!phrase.empty());

    const auto problem = atlas::QueryProblem(text);
    const std::size_t characters = static_cast<std::size_t>(QString::fromUtf8(text.data(), qsizetype(size)).toUcs4().size());
    if (!atlas::LibraryProblem() && characters <= atlas::kMostQueryCharacters / 2 &&
        atlas::FoldedWords(text).size() <= atlas::kMostQueryWords) {
        ORVANTA_FUZZ_CHECK(!problem);
    }
    if (size > 4 * atlas::kMostQueryCharacters) ORVANTA_FUZZ_CHECK(problem);

    // A place named by the text, without commas or another spelling, answers it.
    if (text.find(',') == std::string_view::npos && query.aliasOf.empty() && !query.words.empty()) {
        Place place;
        place.name = std::string(text);
        place.countryCode = "IN";
        ORVANTA_FUZZ_CHECK(atlas::Matches(place, query, query.words.size()));
    }
    return 0;
}
