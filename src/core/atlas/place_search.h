#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/atlas/place.h"

namespace orvanta::atlas {

// Text folded for comparison: accents removed ("São" -> "sao"), lower case, split into
// words at every character that is not a letter or a digit.
std::vector<std::string> FoldedWords(std::string_view text);

// One line of search text taken apart. The place's own name comes first; what follows
// a comma, or else the blank-separated words after the name, names its state, country
// or country code. A name the atlas knows by another spelling is replaced by the
// atlas's one ("Bombay" -> "Mumbai").
struct SearchQuery {
    std::vector<std::string> words;  // folded, aliases replaced
    // Comma form: the name's word count and the qualifier phrases; blank form: nameWords
    // is 0 and every split of `words` into name and qualifiers is tried, longest name first.
    std::size_t nameWords = 0;
    std::vector<std::vector<std::string>> qualifiers;
    std::string aliasOf;  // the spelling that was replaced, or empty
};
SearchQuery ParseSearch(std::string_view text);

// Whether `place` answers the query with the name being the first `nameWords` words of
// `query.words` and every remaining word (blank form) or phrase (comma form) naming its
// state, country or country code. Each query word of the name must begin a word of the
// place's name; a qualifier word must begin a word of the state or of the country (be
// one, when it has fewer than three letters), or be the country code.
bool Matches(const Place& place, const SearchQuery& query, std::size_t nameWords);

// Stops a search running on another thread: the narrowing of the library's matches
// stops at once (the first search of a run builds the place index first).
class SearchCancel {
public:
    SearchCancel();
    ~SearchCancel();
    SearchCancel(const SearchCancel&) = delete;
    SearchCancel& operator=(const SearchCancel&) = delete;
    void Cancel();
    bool cancelled() const;
    void* handle() const { return cancellable_; }  // the library's GCancellable

private:
    void* cancellable_;
};

// What a place search reads: a place's name, state and country take at most 83
// characters and 13 words in the atlas.
constexpr std::size_t kMostQueryCharacters = 200;
constexpr std::size_t kMostQueryWords = 16;

// Why `text` cannot be searched: the place library cannot start (damaged), or the text
// is longer than a place's name can be. One sentence, or nothing.
std::optional<std::string> QueryProblem(std::string_view text);
// Why the atlas cannot answer: its library cannot load its places (looked at once a run
// before the library is asked, which would abort the program), unless the index kept
// from an earlier run with the same library is read back.
std::optional<std::string> LibraryProblem();

// The places of the atlas that answer `text`, most populous first, at most `limit`.
// Blank form: the longest name split that any place answers decides, so "new york"
// finds New York rather than every "New ..." town of New York state. The library's
// matches for the first word come from the place index (place_index.h): the same places
// in the library's order, those of equal weight most populous first. Thread-safe; a
// search takes well under a millisecond once the index is built. Nothing for a text
// QueryProblem refuses, or once `cancel` was cancelled.
std::vector<Place> SearchPlaces(std::string_view text, std::size_t limit = 100, const SearchCancel* cancel = nullptr);

// The names of the atlas closest in spelling to the name `text` begins with (one to
// four words, before any comma), closest and most populous first, at most `count`: a
// name the atlas knows by another spelling is shown with it ("Bengaluru (Bangalore)").
struct ClosestName {
    std::string shown;
    std::vector<Place> places;  // the places of that name, most populous first
};
std::vector<ClosestName> ClosestNames(std::string_view text, std::size_t count = 3);

// How many places the atlas holds.
int PlaceCount();

}  // namespace orvanta::atlas
