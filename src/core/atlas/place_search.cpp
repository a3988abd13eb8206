#include "core/atlas/place_search.h"

// GLib's headers name struct members "signals", which Qt defines as a keyword: they come first.
#include <geonames.h>

#include <QString>

#include "core/atlas/place_index.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <optional>

namespace orvanta::atlas {
namespace {

// Names the atlas files under another spelling, folded; the atlas's spelling is the one
// geonames uses for the place's own name.
struct Alias {
    std::string_view known;
    std::string_view atlas;
};
constexpr std::array kAliases = {
    Alias{"bombay", "mumbai"},
    Alias{"calcutta", "kolkata"},
    Alias{"madras", "chennai"},
    Alias{"bangalore", "bengaluru"},
    Alias{"thiruvananthapuram", "trivandrum"},
    Alias{"gurugram", "gurgaon"},
    Alias{"mysuru", "mysore"},
    Alias{"benares", "varanasi"},
    Alias{"banaras", "varanasi"},
    Alias{"bhubaneshwar", "bhubaneswar"},
    Alias{"poona", "pune"},
    Alias{"peking", "beijing"},
    Alias{"saigon", "ho chi minh city"},
};

// Short country names people type that are neither the atlas's name nor its code.
struct CountryShort {
    std::string_view typed;
    std::string_view code;  // folded
};
constexpr std::array kCountryShorts = {
    CountryShort{"usa", "us"},
    CountryShort{"uk", "gb"},
    CountryShort{"uae", "ae"},
};

// State abbreviations in common use, by country code: "Springfield, IL" narrows as
// "Springfield, Illinois". The state is the atlas's name folded, or its last words
// (the atlas also writes "State of Uttar Pradesh", "State of Maine").
struct StateCode {
    std::string_view country;  // ISO 3166 alpha-2, lower case
    std::string_view code;     // folded
    std::string_view state;    // folded
};
constexpr StateCode kStateCodes[] = {
    {"us", "al", "alabama"}, {"us", "ak", "alaska"}, {"us", "az", "arizona"}, {"us", "ar", "arkansas"},
    {"us", "ca", "california"}, {"us", "co", "colorado"}, {"us", "ct", "connecticut"}, {"us", "de", "delaware"},
    {"us", "fl", "florida"}, {"us", "ga", "georgia"}, {"us", "hi", "hawaii"}, {"us", "id", "idaho"},
    {"us", "il", "illinois"}, {"us", "in", "indiana"}, {"us", "ia", "iowa"}, {"us", "ks", "kansas"},
    {"us", "ky", "kentucky"}, {"us", "la", "louisiana"}, {"us", "me", "maine"}, {"us", "md", "maryland"},
    {"us", "ma", "massachusetts"}, {"us", "mi", "michigan"}, {"us", "mn", "minnesota"}, {"us", "ms", "mississippi"},
    {"us", "mo", "missouri"}, {"us", "mt", "montana"}, {"us", "ne", "nebraska"}, {"us", "nv", "nevada"},
    {"us", "nh", "new hampshire"}, {"us", "nj", "new jersey"}, {"us", "nm", "new mexico"}, {"us", "ny", "new york"},
    {"us", "nc", "north carolina"}, {"us", "nd", "north dakota"}, {"us", "oh", "ohio"}, {"us", "ok", "oklahoma"},
    {"us", "or", "oregon"}, {"us", "pa", "pennsylvania"}, {"us", "ri", "rhode island"}, {"us", "sc", "south carolina"},
    {"us", "sd", "south dakota"}, {"us", "tn", "tennessee"}, {"us", "tx", "texas"}, {"us", "ut", "utah"},
    {"us", "vt", "vermont"}, {"us", "va", "virginia"}, {"us", "wa", "washington"}, {"us", "wv", "west virginia"},
    {"us", "wi", "wisconsin"}, {"us", "wy", "wyoming"}, {"us", "dc", "district of columbia"},
    {"ca", "ab", "alberta"}, {"ca", "bc", "british columbia"}, {"ca", "mb", "manitoba"}, {"ca", "nb", "new brunswick"},
    {"ca", "nl", "newfoundland and labrador"}, {"ca", "nf", "newfoundland and labrador"},
    {"ca", "ns", "nova scotia"}, {"ca", "nt", "northwest territories"}, {"ca", "nu", "nunavut"},
    {"ca", "on", "ontario"}, {"ca", "pe", "prince edward island"}, {"ca", "pei", "prince edward island"},
    {"ca", "qc", "quebec"}, {"ca", "sk", "saskatchewan"}, {"ca", "yt", "yukon territory"},
    {"au", "act", "australian capital territory"}, {"au", "nsw", "new south wales"}, {"au", "nt", "northern territory"},
    {"au", "qld", "queensland"}, {"au", "sa", "south australia"}, {"au", "tas", "tasmania"}, {"au", "vic", "victoria"},
    {"au", "wa", "western australia"},
    {"in", "an", "andaman and nicobar islands"}, {"in", "ap", "andhra pradesh"}, {"in", "ar", "arunachal pradesh"},
    {"in", "as", "assam"}, {"in", "br", "bihar"}, {"in", "ch", "chandigarh"}, {"in", "cg", "chhattisgarh"},
    {"in", "ct", "chhattisgarh"}, {"in", "dl", "delhi"}, {"in", "ga", "goa"}, {"in", "gj", "gujarat"},
    {"in", "hr", "haryana"}, {"in", "hp", "himachal pradesh"}, {"in", "jk", "jammu and kashmir"},
    {"in", "jh", "jharkhand"}, {"in", "ka", "karnataka"}, {"in", "kl", "kerala"}, {"in", "la", "ladakh"},
    {"in", "mp", "madhya pradesh"}, {"in", "mh", "maharashtra"}, {"in", "mn", "manipur"}, {"in", "ml", "meghalaya"},
    {"in", "mz", "mizoram"}, {"in", "nl", "nagaland"}, {"in", "od", "odisha"}, {"in", "or", "odisha"},
    {"in", "py", "puducherry"}, {"in", "pb", "punjab"}, {"in", "rj", "rajasthan"}, {"in", "sk", "sikkim"},
    {"in", "tn", "tamil nadu"}, {"in", "ts", "telangana"}, {"in", "tg", "telangana"}, {"in", "tr", "tripura"},
    {"in", "up", "uttar pradesh"}, {"in", "uk", "uttarakhand"}, {"in", "ut", "uttarakhand"},
    {"in", "wb", "west bengal"},
};

// Letters that Unicode decomposition does not split into a base letter and a mark.
QString FoldLetter(QChar c) {
    switch (c.unicode()) {
    case 0x00DF: return QStringLiteral("ss");  // ß
    case 0x00E6: return QStringLiteral("ae");  // æ
    case 0x0153: return QStringLiteral("oe");  // œ
    case 0x00F8: return QStringLiteral("o");   // ø
    case 0x0142: return QStringLiteral("l");   // ł
    case 0x0111: return QStringLiteral("d");   // đ
    case 0x0131: return QStringLiteral("i");   // dotless i
    default: return QString(c);
    }
}

std::vector<std::string> Split(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c == ' ') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

void ReplaceAlias(std::vector<std::string>& words, std::size_t& nameWords, std::string& aliasOf) {
    for (const Alias& alias : kAliases) {
        const std::vector<std::string> known = Split(alias.known);
        const std::size_t limit = nameWords > 0 ? nameWords : words.size();
        if (known.size() > limit || !std::equal(known.begin(), known.end(), words.begin())) continue;
        const std::vector<std::string> atlas = Split(alias.atlas);
        words.erase(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(known.size()));
        words.insert(words.begin(), atlas.begin(), atlas.end());
        if (nameWords > 0) nameWords = nameWords - known.size() + atlas.size();
        aliasOf = std::string(alias.known);
        return;
    }
}

template <typename Words>
bool BeginsAWord(const std::string& prefix, const Words& words) {
    return std::any_of(words.begin(), words.end(), [&](std::string_view w) { return w.starts_with(prefix); });
}

bool NamesCountryCode(const std::vector<std::string>& phrase, const std::string& code) {
    if (phrase.size() != 1) return false;
    if (phrase.front() == code) return true;
    return std::any_of(kCountryShorts.begin(), kCountryShorts.end(),
                       [&](const CountryShort& s) { return s.typed == phrase.front() && s.code == code; });
}

// The words of a place's fields, folded once for all the splits of a query.
struct FoldedPlace {
    std::vector<std::string> name;
    std::vector<std::string> state;
    std::vector<std::string> country;
    std::string code;
    std::string stateText;  // the state's words joined by blanks
};

FoldedPlace Fold(const Place& place) {
    FoldedPlace folded{FoldedWords(place.name), FoldedWords(place.state), FoldedWords(place.country), {}, {}};
    const std::vector<std::string> code = FoldedWords(place.countryCode);
    if (!code.empty()) folded.code = code.front();
    for (const std::string& word : folded.state) folded.stateText += (folded.stateText.empty() ? "" : " ") + word;
    return folded;
}

bool NamesStateCode(const std::vector<std::string>& phrase, const FoldedPlace& place) {
    if (phrase.size() != 1) return false;
    return std::any_of(std::begin(kStateCodes), std::end(kStateCodes), [&](const StateCode& s) {
        return s.code == phrase.front() && s.country == place.code &&
               (place.stateText == s.state ||
                (place.stateText.starts_with("state of ") && std::string_view(place.stateText).substr(9) == s.state));
    });
}

// A qualifier word of one or two letters is a code or a whole word ("CA" is Canada, not
// the Eastern Cape); longer ones may still be being typed.
bool QualifierBegins(const std::string& word, const std::vector<std::string>& field) {
    if (word.size() >= 3) return BeginsAWord(word, field);
    return std::find(field.begin(), field.end(), word) != field.end();
}

bool PhraseBegins(const std::vector<std::string>& phrase, const std::vector<std::string>& field) {
    return !field.empty() && std::all_of(phrase.begin(), phrase.end(),
                                         [&](const std::string& w) { return QualifierBegins(w, field); });
}

bool FoldedMatches(const FoldedPlace& place, const SearchQuery& query, std::size_t nameWords) {
    if (nameWords == 0 || nameWords > query.words.size()) return false;
    for (std::size_t i = 0; i < nameWords; ++i) {
        if (!BeginsAWord(query.words[i], place.name)) return false;
    }
    const auto names = [&](const std::vector<std::string>& phrase) {
        return NamesCountryCode(phrase, place.code) || NamesStateCode(phrase, place) ||
               PhraseBegins(phrase, place.state) || PhraseBegins(phrase, place.country);
    };
    if (query.nameWords > 0) return std::all_of(query.qualifiers.begin(), query.qualifiers.end(), names);
    for (std::size_t i = nameWords; i < query.words.size(); ++i) {
        if (!names({query.words[i]})) return false;
    }
    return true;
}

std::mutex& LibraryMutex() {
    static std::mutex mutex;
    return mutex;
}

Place PlaceAt(gint index) {
    const std::vector<IndexedPlace>& places = IndexedPlaces();
    const auto at = static_cast<std::size_t>(index);
    return at < places.size() ? places[at].record() : Place{};
}

// The library's matches for one word, as indexes in its order: from the index, or from
// the library itself for a word the index does not answer.
std::vector<gint> LibraryQuery(const std::string& word, const SearchCancel* cancel) {
    if (const std::optional<std::vector<WeighedPlace>> found = LibraryMatches(word)) {
        std::vector<gint> cities;
        cities.reserve(found->size());
        for (const WeighedPlace& place : *found) cities.push_back(place.index);
        return cities;
    }
    if (LibraryDataProblem()) return {};
    std::lock_guard lock(LibraryMutex());
    guint length = 0;
    GError* error = nullptr;
    auto* cancellable = cancel ? static_cast<GCancellable*>(cancel->handle()) : nullptr;
    gint* indexes = geonames_query_cities_sync(word.c_str(), GEONAMES_QUERY_DEFAULT, &length, cancellable, &error);
    if (error) g_error_free(error);
    std::vector<gint> cities;
    if (indexes) cities.assign(indexes, indexes + length);
    g_free(indexes);
    return cities;
}

// Every distinct folded name of the atlas (words joined by blanks) with its places, in
// the library's order; made once.
struct NameEntry {
    std::string folded;
    std::vector<gint> cities;
};
const std::vector<NameEntry>& NameIndex() {
    static const std::vector<NameEntry> index = [] {
        const std::vector<IndexedPlace>& places = IndexedPlaces();
        std::vector<std::pair<std::string, gint>> all;
        all.reserve(places.size());
        for (std::size_t i = 0; i < places.size(); ++i) {
            std::string folded;
            for (std::string_view word : places[i].nameWords) {
                if (!folded.empty()) folded += ' ';
                folded += word;
            }
            all.emplace_back(std::move(folded), static_cast<gint>(i));
        }
        std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<NameEntry> entries;
        for (const auto& [folded, city] : all) {
            if (entries.empty() || entries.back().folded != folded) entries.push_back({folded, {}});
            entries.back().cities.push_back(city);
        }
        return entries;
    }();
    return index;
}

// Edits (insertions, deletions, changes, swaps of two neighbours) that turn `a` into `b`,
// or more than `most` when it takes more.
std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t most) {
    if ((a.size() > b.size() ? a.size() - b.size() : b.size() - a.size()) > most) return most + 1;
    std::vector<std::size_t> before(b.size() + 1), previous(b.size() + 1), row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        std::size_t best = row[0];
        for (std::size_t j = 1; j <= b.size(); ++j) {
            row[j] = std::min({previous[j] + 1, row[j - 1] + 1, previous[j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) row[j] = std::min(row[j], before[j - 2] + 1);
            best = std::min(best, row[j]);
        }
        if (best > most) return most + 1;
        std::swap(before, previous);
        std::swap(previous, row);
    }
    return previous[b.size()];
}

}  // namespace

std::vector<std::string> FoldedWords(std::string_view text) {
    const QString decomposed =
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).normalized(QString::NormalizationForm_KD);
    std::vector<std::string> words;
    QString word;
    const auto flush = [&] {
        if (!word.isEmpty()) words.push_back(word.toStdString());
        word.clear();
    };
    for (QChar c : decomposed) {
        if (c.isMark()) continue;
        if (c.isLetterOrNumber()) {
            word += FoldLetter(c.toLower());
        } else {
            flush();
        }
    }
    flush();
    return words;
}

SearchQuery ParseSearch(std::string_view text) {
    SearchQuery query;
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        query.words = FoldedWords(text);
    } else {
        query.words = FoldedWords(text.substr(0, comma));
        query.nameWords = query.words.size();
        std::string_view rest = text.substr(comma + 1);
        while (!rest.empty()) {
            const std::size_t next = rest.find(',');
            std::vector<std::string> phrase = FoldedWords(rest.substr(0, next));
            if (!phrase.empty()) query.qualifiers.push_back(std::move(phrase));
            rest = next == std::string_view::npos ? std::string_view() : rest.substr(next + 1);
        }
        if (query.nameWords == 0) query.qualifiers.clear();  // nothing to qualify
    }
    ReplaceAlias(query.words, query.nameWords, query.aliasOf);
    return query;
}

bool Matches(const Place& place, const SearchQuery& query, std::size_t nameWords) {
    return FoldedMatches(Fold(place), query, nameWords);
}

std::optional<std::string> QueryProblem(std::string_view text) {
    if (const auto problem = LibraryProblem()) return problem;
    const std::size_t characters = static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    if (characters > kMostQueryCharacters || text.size() > 4 * kMostQueryCharacters || FoldedWords(text.substr(0, kMostQueryCharacters * 4)).size() > kMostQueryWords) {
        return "A place is searched by at most " + std::to_string(kMostQueryWords) + " words and " +
               std::to_string(kMostQueryCharacters) + " characters (its name, state and country): shorten the search.";
    }
    return std::nullopt;
}

std::vector<Place> SearchPlaces(std::string_view text, std::size_t limit, const SearchCancel* cancel) {
    if (QueryProblem(text)) return {};
    const SearchQuery query = ParseSearch(text);
    if (query.words.empty()) return {};
    // The library matches one word against word beginnings of the names; the rest of the
    // query narrows its answer here, the name first, the fields of a place only where a
    // state or country is asked.
    const std::vector<gint> candidates = LibraryQuery(query.words.front(), cancel);
    const std::vector<IndexedPlace>& places = IndexedPlaces();
    std::vector<std::optional<FoldedPlace>> folded(candidates.size());
    const std::size_t longest = query.nameWords > 0 ? query.nameWords : query.words.size();
    const std::size_t shortest = query.nameWords > 0 ? query.nameWords : 1;
    for (std::size_t nameWords = longest; nameWords >= shortest; --nameWords) {
        const bool qualified = query.nameWords > 0 ? !query.qualifiers.empty() : nameWords < query.words.size();
        std::vector<gint> found;
        for (std::size_t i = 0; i < candidates.size() && found.size() < limit; ++i) {
            if (cancel && cancel->cancelled()) return {};
            const auto city = static_cast<std::size_t>(candidates[i]);
            if (city >= places.size()) continue;
            const std::span<const std::string_view> name = places[city].nameWords;
            const bool named = std::all_of(query.words.begin(), query.words.begin() + static_cast<std::ptrdiff_t>(nameWords),
                                           [&](const std::string& w) { return BeginsAWord(w, name); });
            if (!named) continue;
            if (qualified) {
                if (!folded[i]) folded[i] = Fold(PlaceAt(candidates[i]));
                if (!FoldedMatches(*folded[i], query, nameWords)) continue;
            }
            found.push_back(candidates[i]);
        }
        if (found.empty()) continue;
        std::vector<Place> result;
        result.reserve(found.size());
        for (gint city : found) result.push_back(PlaceAt(city));
        return result;
    }
    return {};
}

std::vector<ClosestName> ClosestNames(std::string_view text, std::size_t count) {
    if (QueryProblem(text)) return {};
    const std::vector<std::string> words = FoldedWords(text.substr(0, text.find(',')));
    // The name as typed, one to four words long.
    std::vector<std::string> typed;
    for (std::size_t n = 1; n <= std::min<std::size_t>(words.size(), 4); ++n) {
        typed.push_back(typed.empty() ? words[0] : typed.back() + " " + words[n - 1]);
    }
    if (typed.empty()) return {};
    struct Near {
        std::size_t distance;
        unsigned population;
        std::string shown;
        std::vector<gint> cities;
    };
    std::vector<Near> near;
    const auto consider = [&](std::string_view folded, std::string shown, const std::vector<gint>& cities,
                              unsigned population) {
        for (const std::string& t : typed) {
            const std::size_t most = t.size() <= 3 ? 0 : t.size() <= 5 ? 1 : t.size() <= 8 ? 2 : 3;
            const std::size_t d = EditDistance(t, folded, most);
            if (d <= most) {
                near.push_back({d, population, std::move(shown), cities});
                return;
            }
        }
    };
    const std::vector<NameEntry>& index = NameIndex();
    const std::vector<IndexedPlace>& places = IndexedPlaces();
    const auto populationOf = [&](gint city) { return places[static_cast<std::size_t>(city)].population; };
    const auto find = [&](std::string_view folded) {
        const auto at = std::lower_bound(index.begin(), index.end(), folded,
                                         [](const NameEntry& e, std::string_view f) { return e.folded < f; });
        return at != index.end() && at->folded == folded ? &*at : nullptr;
    };
    for (const NameEntry& entry : index) {
        std::size_t shortest = entry.folded.size() + 4;
        for (const std::string& t : typed) shortest = std::min(shortest, t.size());
        if (entry.folded.size() > shortest + 3 || shortest > entry.folded.size() + 3) continue;
        consider(entry.folded, {}, entry.cities, 0);
    }
    for (const Alias& alias : kAliases) {  // "Bangalore" is no place of the atlas but a name of one
        if (const NameEntry* entry = find(alias.atlas)) {
            std::string known(alias.known);
            known[0] = static_cast<char>(known[0] - 'a' + 'A');
            consider(alias.known, known, entry->cities, 0);
        }
    }
    for (Near& n : near) {
        for (gint city : n.cities) n.population = std::max(n.population, populationOf(city));
        if (n.shown.empty()) {
            n.shown = PlaceAt(n.cities.front()).name;
        } else {
            n.shown = PlaceAt(n.cities.front()).name + " (" + n.shown + ")";
        }
    }
    std::stable_sort(near.begin(), near.end(), [](const Near& a, const Near& b) {
        return a.distance != b.distance ? a.distance < b.distance : a.population > b.population;
    });
    std::vector<ClosestName> closest;
    for (const Near& n : near) {
        if (closest.size() == count) break;
        const bool seen = std::any_of(closest.begin(), closest.end(), [&](const ClosestName& c) {
            return !c.places.empty() && c.places.front().name == PlaceAt(n.cities.front()).name;
        });
        if (seen) continue;
        ClosestName name{n.shown, {}};
        for (gint city : n.cities) name.places.push_back(PlaceAt(city));
        std::stable_sort(name.places.begin(), name.places.end(),
                         [](const Place& a, const Place& b) { return a.population > b.population; });
        closest.push_back(std::move(name));
    }
    return closest;
}

std::optional<std::string> LibraryProblem() { return IndexProblem(); }

SearchCancel::SearchCancel() : cancellable_(g_cancellable_new()) {}
SearchCancel::~SearchCancel() { g_object_unref(static_cast<GCancellable*>(cancellable_)); }
void SearchCancel::Cancel() { g_cancellable_cancel(static_cast<GCancellable*>(cancellable_)); }
bool SearchCancel::cancelled() const { return g_cancellable_is_cancelled(static_cast<GCancellable*>(cancellable_)); }

int PlaceCount() { return static_cast<int>(IndexedPlaces().size()); }

}  // namespace orvanta::atlas
