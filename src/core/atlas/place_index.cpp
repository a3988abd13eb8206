#include "core/atlas/place_index.h"

// GLib's headers name struct members "signals", which Qt defines as a keyword: they come first.
#include <geonames.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <tuple>

#include "core/atlas/place_search.h"

namespace orvanta::atlas {
namespace {

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsAsciiAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// The first word of `text` as GLib's g_str_tokenize_and_fold (which the library splits
// and folds with) gives it, or nothing. Plain ASCII text is split and folded here: its
// words are the runs of letters and digits, in lower case.
std::optional<std::string> FirstWord(const char* text) {
    if (IsAscii(text)) {
        const char* p = text;
        while (*p && !IsAsciiAlnum(*p)) ++p;
        std::string word;
        for (; IsAsciiAlnum(*p); ++p) word += static_cast<char>(*p >= 'A' && *p <= 'Z' ? *p - 'A' + 'a' : *p);
        if (word.empty()) return std::nullopt;
        return word;
    }
    gchar** words = g_str_tokenize_and_fold(text, nullptr, nullptr);
    std::optional<std::string> first;
    if (words && words[0]) first = std::string(words[0]);
    g_strfreev(words);
    return first;
}

// One word the library compares a query with: `text` as folded, or its ASCII spelling.
// The library tries the name's first word, then, where that one does not begin with the
// query, the first word of what follows it (skipped by the folded word's length), and so
// on; `depth` counts these steps. The weight depends on the folded word's `length`.
struct Probe {
    std::uint64_t head;     // the text's first eight bytes, the first one highest: sorts as the text
    std::string_view text;  // in Index::words
    std::int32_t city;
    std::uint16_t depth;
    std::uint16_t length;
    std::uint8_t variant;  // 0: the English name, 1: its translation
};

struct Index {
    std::vector<IndexedPlace> places;
    std::vector<Probe> probes;  // by text
    std::deque<std::string> words;  // the probes' texts; a deque keeps them where they are
};

std::uint64_t Head(std::string_view text) {
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        head = head << 8 | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    }
    return head;
}

bool operator<(const Probe& a, const Probe& b) { return a.head != b.head ? a.head < b.head : a.text < b.text; }

void AddProbes(const char* name, std::int32_t city, std::uint8_t variant, Index& index) {
    const char* end = name + std::strlen(name);
    const char* p = name;
    for (std::uint16_t depth = 0; p < end; ++depth) {
        std::optional<std::string> word = FirstWord(p);
        if (!word) break;
        const auto length = static_cast<std::uint16_t>(std::min<std::size_t>(word->size(), 0xFFFF));
        if (!IsAscii(*word)) {
            gchar* ascii = g_str_to_ascii(word->c_str(), nullptr);
            if (ascii && *word != ascii) index.probes.push_back({Head(ascii), index.words.emplace_back(ascii), city, depth, length, variant});
            g_free(ascii);
        }
        p += word->size();
        index.probes.push_back({Head(*word), index.words.emplace_back(std::move(*word)), city, depth, length, variant});
    }
}

const Index& TheIndex() {
    // Held by pointer: the probes point into the words, which must not move.
    static const std::unique_ptr<const Index> index = [] {
        auto owned = std::make_unique<Index>();
        Index& built = *owned;
        if (LibraryProblem()) return owned;
        const gint count = geonames_get_n_cities();
        built.places.resize(static_cast<std::size_t>(std::max(count, 0)));
        built.probes.reserve(static_cast<std::size_t>(count) * 2);
        for (gint i = 0; i < count; ++i) {
            GeonamesCity* city = geonames_get_city(i);
            if (!city) continue;
            // The fields the library's query reads: the id (its translations' key), the
            // English name and the population.
            GVariant* idField = g_variant_get_child_value(city, 0);
            GVariant* englishField = g_variant_get_child_value(city, 1);
            GVariant* populationField = g_variant_get_child_value(city, 7);
            const gchar* id = g_variant_get_string(idField, nullptr);
            const gchar* english = g_variant_get_string(englishField, nullptr);
            const guint32 population = g_variant_get_uint32(populationField);
            const gchar* translation = g_dgettext("geonames", id);
            const bool translated = g_strcmp0(translation, id) != 0;
            AddProbes(english, i, 0, built);
            if (translated) AddProbes(translation, i, 1, built);
            IndexedPlace& place = built.places[static_cast<std::size_t>(i)];
            const std::string_view shown = translated ? translation : english;
            if (IsAscii(shown)) {
                std::string word;
                for (char c : shown) {
                    if (IsAsciiAlnum(c)) {
                        word += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
                    } else if (!word.empty()) {
                        place.nameWords.push_back(std::move(word));
                        word.clear();
                    }
                }
                if (!word.empty()) place.nameWords.push_back(std::move(word));
            } else {
                place.nameWords = FoldedWords(shown);
            }
            place.population = population;
            g_variant_unref(populationField);
            g_variant_unref(englishField);
            g_variant_unref(idField);
            geonames_city_free(city);
        }
        std::sort(built.probes.begin(), built.probes.end());
        return owned;
    }();
    return *index;
}

}  // namespace

const std::vector<IndexedPlace>& IndexedPlaces() { return TheIndex().places; }

std::optional<std::vector<WeighedPlace>> LibraryMatches(std::string_view word) {
    // The library folds the query as it folds the names; a word it splits in two is
    // matched word by word, which only the library itself does.
    gchar** words = g_str_tokenize_and_fold(std::string(word).c_str(), nullptr, nullptr);
    const bool single = words && words[0] && !words[1];
    const std::string query = single ? words[0] : "";
    g_strfreev(words);
    if (!single) return std::nullopt;

    const Index& index = TheIndex();
    const auto first = std::lower_bound(index.probes.begin(), index.probes.end(), std::string_view(query),
                                        [](const Probe& p, std::string_view q) { return p.text < q; });
    struct Hit {
        std::int32_t city;
        std::uint8_t variant;
        std::uint16_t depth;
        std::uint16_t length;
    };
    std::vector<Hit> hits;
    for (auto p = first; p != index.probes.end() && p->text.starts_with(query); ++p) {
        hits.push_back({p->city, p->variant, p->depth, p->length});
    }
    // Per name the first word looked at that begins with the query counts.
    std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
        return std::tie(a.city, a.variant, a.depth) < std::tie(b.city, b.variant, b.depth);
    });
    struct Weighed {
        double weight;
        unsigned population;
        std::int32_t city;
    };
    std::vector<Weighed> weighed;
    for (std::size_t i = 0; i < hits.size(); ++i) {
        const Hit& h = hits[i];
        if (i > 0 && hits[i - 1].city == h.city && hits[i - 1].variant == h.variant) continue;
        const unsigned population = index.places[static_cast<std::size_t>(h.city)].population;
        // The library's weight, computed as it computes it: the share of the word the
        // query covers, times the population up to a million, one more for the first word.
        double weight = static_cast<double>(query.size()) / h.length;
        weight *= static_cast<double>(std::clamp(population, 1u, 1000000u)) / 1000000;
        if (h.depth == 0) weight += 1;
        if (!weighed.empty() && weighed.back().city == h.city) {
            weighed.back().weight = std::max(weighed.back().weight, weight);
        } else {
            weighed.push_back({weight, population, h.city});
        }
    }
    std::sort(weighed.begin(), weighed.end(), [](const Weighed& a, const Weighed& b) {
        if (a.weight != b.weight) return a.weight > b.weight;
        if (a.population != b.population) return a.population > b.population;
        return a.city < b.city;
    });
    std::vector<WeighedPlace> cities;
    cities.reserve(weighed.size());
    for (const Weighed& w : weighed) cities.push_back({w.city, w.weight});
    return cities;
}

}  // namespace orvanta::atlas
