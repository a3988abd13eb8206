#include "core/atlas/place_index.h"

// GLib's headers name struct members "signals", which Qt defines as a keyword: they come first.
#include <geonames.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <tuple>

#include "core/atlas/index_cache.h"
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

// The index as it is kept (Contents below), read back: every text is a view into `kept`.
struct Index {
    std::string kept;
    std::vector<IndexedPlace> places;
    std::vector<std::string_view> nameWords;  // the places' words, one after another
    std::vector<Probe> probes;                // by text
    std::optional<std::string> problem;
};

// What the library gives, before it is written as kept.
struct BuiltPlace {
    Place record;
    std::vector<std::string> nameWords;
};
struct BuiltIndex {
    std::vector<BuiltPlace> places;
    std::vector<Probe> probes;      // by text
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

void AddProbes(const char* name, std::int32_t city, std::uint8_t variant, BuiltIndex& index) {
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

std::string Utf8(const gchar* text) { return text ? std::string(text) : std::string(); }

Place LibraryPlace(GeonamesCity* city) {
    Place place;
    place.name = Utf8(geonames_city_get_name(city));
    place.state = Utf8(geonames_city_get_state(city));
    place.country = Utf8(geonames_city_get_country(city));
    place.countryCode = Utf8(geonames_city_get_country_code(city));
    place.latitude = geonames_city_get_latitude(city);
    place.longitude = geonames_city_get_longitude(city);
    place.timeZone = Utf8(geonames_city_get_timezone(city));
    place.population = geonames_city_get_population(city);
    return place;
}

void BuildFromLibrary(BuiltIndex& built) {
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
        const gchar* translation = g_dgettext("geonames", id);
        const bool translated = g_strcmp0(translation, id) != 0;
        AddProbes(english, i, 0, built);
        if (translated) AddProbes(translation, i, 1, built);
        BuiltPlace& place = built.places[static_cast<std::size_t>(i)];
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
        place.record = LibraryPlace(city);
        g_variant_unref(populationField);
        g_variant_unref(englishField);
        g_variant_unref(idField);
        geonames_city_free(city);
    }
    std::sort(built.probes.begin(), built.probes.end());
}

std::string Contents(const BuiltIndex& index) {
    FieldWriter out;
    out.U32(static_cast<std::uint32_t>(index.places.size()));
    for (const BuiltPlace& place : index.places) {
        const Place& r = place.record;
        for (const std::string* text : {&r.name, &r.state, &r.country, &r.countryCode, &r.timeZone}) out.Text(*text);
        out.F64(r.latitude);
        out.F64(r.longitude);
        out.U32(r.population);
        out.U16(static_cast<std::uint16_t>(place.nameWords.size()));
        for (const std::string& word : place.nameWords) out.Text(word);
    }
    out.U32(static_cast<std::uint32_t>(index.probes.size()));
    for (const Probe& probe : index.probes) {
        out.Text(probe.text);
        out.I32(probe.city);
        out.U16(probe.depth);
        out.U16(probe.length);
        out.U8(probe.variant);
    }
    return out.bytes();
}

// The index Contents wrote, when `kept` holds one whole: every probe of a place, in order.
bool ReadBack(std::string kept, Index& index) {
    index.kept = std::move(kept);
    FieldReader in(index.kept);
    const std::uint32_t count = in.U32();
    if (count > index.kept.size() / 16) return false;
    index.places.resize(count);
    std::vector<std::uint32_t> words(count + 1);
    for (std::uint32_t i = 0; i < count; ++i) {
        IndexedPlace& p = index.places[i];
        for (std::string_view* text : {&p.name, &p.state, &p.country, &p.countryCode, &p.timeZone}) *text = in.Text();
        p.latitude = in.F64();
        p.longitude = in.F64();
        p.population = in.U32();
        const std::uint16_t n = in.U16();
        for (std::uint16_t w = 0; w < n && !in.failed(); ++w) index.nameWords.push_back(in.Text());
        if (in.failed()) return false;
        words[i + 1] = static_cast<std::uint32_t>(index.nameWords.size());
    }
    for (std::uint32_t i = 0; i < count; ++i) {  // the words no longer move
        index.places[i].nameWords = std::span(index.nameWords).subspan(words[i], words[i + 1] - words[i]);
    }
    const std::uint32_t probes = in.U32();
    if (probes > index.kept.size() / 13) return false;
    index.probes.reserve(probes);
    for (std::uint32_t i = 0; i < probes && !in.failed(); ++i) {
        Probe probe{};
        probe.text = in.Text();
        probe.head = Head(probe.text);
        probe.city = in.I32();
        probe.depth = in.U16();
        probe.length = in.U16();
        probe.variant = in.U8();
        if (probe.city < 0 || static_cast<std::uint32_t>(probe.city) >= count || probe.length == 0) return false;
        if (!index.probes.empty() && probe < index.probes.back()) return false;
        index.probes.push_back(probe);
    }
    return !in.failed() && in.atEnd();
}

const Index& TheIndex() {
    // Made once and kept to the end of the run: the texts point into it.
    static const Index* const index = [] {
        const std::optional<std::uint64_t> key = IndexSourcesKey();
        const std::string path = key ? IndexCachePath() : std::string();
        if (!path.empty()) {
            if (std::optional<std::string> kept = ReadKeptIndex(path, *key)) {
                auto read = std::make_unique<Index>();
                if (ReadBack(std::move(*kept), *read)) return read.release();
            }
        }
        auto owned = std::make_unique<Index>();
        owned->problem = LibraryDataProblem();
        if (owned->problem) return owned.release();
        BuiltIndex built;
        BuildFromLibrary(built);
        std::string contents = Contents(built);
        if (!path.empty()) WriteKeptIndex(path, *key, contents);  // without it the next run builds again
        if (!ReadBack(std::move(contents), *owned)) owned->problem = "The place index could not be made.";
        return owned.release();
    }();
    return *index;
}

}  // namespace

const std::vector<IndexedPlace>& IndexedPlaces() { return TheIndex().places; }

std::optional<std::string> IndexProblem() { return TheIndex().problem; }

std::optional<std::size_t> KeptPlaceCount(std::string contents) {
    Index index;
    if (!ReadBack(std::move(contents), index)) return std::nullopt;
    return index.places.size();
}

// The places the library holds: it aborts the program when it cannot load them, so they
// are looked at first. The resource and its type are those of libgeonames 0.3.
std::optional<std::string> LibraryDataProblem() {
    static const std::optional<std::string> problem = [] () -> std::optional<std::string> {
        GError* error = nullptr;
        GBytes* bytes = g_resources_lookup_data("/com/lomiri/geonames/cities.compiled", G_RESOURCE_LOOKUP_FLAGS_NONE, &error);
        std::string reason;
        if (!bytes) {
            reason = error ? error->message : "no data";
        } else {
            GVariant* cities = g_variant_new_from_bytes(G_VARIANT_TYPE("a(sssssssudd)"), bytes, FALSE);
            if (!g_variant_is_normal_form(cities) || g_variant_n_children(cities) == 0) reason = "its data is damaged";
            g_variant_unref(cities);
            g_bytes_unref(bytes);
        }
        if (error) g_error_free(error);
        if (reason.empty()) return std::nullopt;
        return "The place library (libgeonames) cannot load its places (" + reason + "): reinstall it.";
    }();
    return problem;
}

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
