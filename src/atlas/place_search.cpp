#include "atlas/place_search.h"

// GLib's headers name struct members "signals", which Qt defines as a keyword: they come first.
#include <geonames.h>

#include <QString>

#include <algorithm>
#include <array>
#include <mutex>

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

bool BeginsAWord(const std::string& prefix, const std::vector<std::string>& words) {
    return std::any_of(words.begin(), words.end(), [&](const std::string& w) { return w.starts_with(prefix); });
}

bool NamesCountryCode(const std::vector<std::string>& phrase, const std::string& code) {
    if (phrase.size() != 1) return false;
    if (phrase.front() == code) return true;
    return std::any_of(kCountryShorts.begin(), kCountryShorts.end(),
                       [&](const CountryShort& s) { return s.typed == phrase.front() && s.code == code; });
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

std::string Utf8(const gchar* text) { return text ? std::string(text) : std::string(); }

std::mutex& LibraryMutex() {
    static std::mutex mutex;
    return mutex;
}

// The library's own matches for one word, most populous first.
std::vector<Place> LibraryQuery(const std::string& word) {
    std::lock_guard lock(LibraryMutex());
    guint length = 0;
    GError* error = nullptr;
    gint* indexes = geonames_query_cities_sync(word.c_str(), GEONAMES_QUERY_DEFAULT, &length, nullptr, &error);
    if (error) g_error_free(error);
    std::vector<Place> places;
    if (!indexes) return places;
    places.reserve(length);
    for (guint i = 0; i < length; ++i) {
        GeonamesCity* city = geonames_get_city(indexes[i]);
        if (!city) continue;
        Place place;
        place.name = Utf8(geonames_city_get_name(city));
        place.state = Utf8(geonames_city_get_state(city));
        place.country = Utf8(geonames_city_get_country(city));
        place.countryCode = Utf8(geonames_city_get_country_code(city));
        place.latitude = geonames_city_get_latitude(city);
        place.longitude = geonames_city_get_longitude(city);
        place.timeZone = Utf8(geonames_city_get_timezone(city));
        place.population = geonames_city_get_population(city);
        geonames_city_free(city);
        places.push_back(std::move(place));
    }
    g_free(indexes);
    return places;
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
    if (nameWords == 0 || nameWords > query.words.size()) return false;
    const std::vector<std::string> name = FoldedWords(place.name);
    for (std::size_t i = 0; i < nameWords; ++i) {
        if (!BeginsAWord(query.words[i], name)) return false;
    }
    const std::vector<std::string> state = FoldedWords(place.state);
    const std::vector<std::string> country = FoldedWords(place.country);
    const std::vector<std::string> code = FoldedWords(place.countryCode);
    const std::string codeWord = code.empty() ? std::string() : code.front();
    const auto names = [&](const std::vector<std::string>& phrase) {
        return NamesCountryCode(phrase, codeWord) || PhraseBegins(phrase, state) || PhraseBegins(phrase, country);
    };
    if (query.nameWords > 0) return std::all_of(query.qualifiers.begin(), query.qualifiers.end(), names);
    for (std::size_t i = nameWords; i < query.words.size(); ++i) {
        if (!names({query.words[i]})) return false;
    }
    return true;
}

std::vector<Place> SearchPlaces(std::string_view text, std::size_t limit) {
    const SearchQuery query = ParseSearch(text);
    if (query.words.empty()) return {};
    // The library matches one word against word beginnings of the names; the rest of the
    // query narrows its answer here.
    const std::vector<Place> candidates = LibraryQuery(query.words.front());
    const std::size_t longest = query.nameWords > 0 ? query.nameWords : query.words.size();
    const std::size_t shortest = query.nameWords > 0 ? query.nameWords : 1;
    for (std::size_t nameWords = longest; nameWords >= shortest; --nameWords) {
        std::vector<Place> found;
        for (const Place& place : candidates) {
            if (found.size() >= limit) break;
            if (Matches(place, query, nameWords)) found.push_back(place);
        }
        if (!found.empty()) return found;
    }
    return {};
}

int PlaceCount() {
    std::lock_guard lock(LibraryMutex());
    return geonames_get_n_cities();
}

std::string_view AtlasCredit() {
    return "Place names, coordinates and time zones from GeoNames (geonames.org), licensed CC BY 4.0.";
}

}  // namespace orvanta::atlas
