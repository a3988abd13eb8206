// Place searches on one core: a whole search as the birth-place window and --places run
// it (the library's matches for the first word, narrowed by the rest), beside its floor,
// the index look-up of that first word alone, and beside the place library's own scan,
// which every search ran before the index. The index is built by the first search of a
// run; that first call is timed once. Prints medians of several rounds over the queries.
// Instructions per query: run one section under callgrind, which counts only its loop,
//   valgrind --tool=callgrind --collect-atstart=no bench_atlas 10 query
// and divide the "Collected" count by the calls (10 rounds of the queries). Sections:
// query, index, library.

// GLib's headers name struct members "signals", which Qt defines as a keyword: they come first.
#include <geonames.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/atlas/place_index.h"
#include "core/atlas/place_search.h"

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#endif

namespace {

// What people type: a name, a name being typed, a state, a code, a short prefix, and a
// misspelling the closest names answer.
const std::vector<std::string> kQueries = {"Pune",     "Springfield, IL", "sao paulo", "new york", "Lond",
                                           "Delhi India", "a",            "Mumbai",    "Banglore"};

double MedianMicroseconds(int rounds, const std::function<void()>& work, std::size_t calls) {
    std::vector<double> each;
    for (int r = 0; r < rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
        each.push_back(elapsed.count() / static_cast<double>(calls));
    }
    std::sort(each.begin(), each.end());
    return each[each.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    using namespace orvanta::atlas;
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const char* only = argc > 2 ? argv[2] : nullptr;
    if (const auto problem = LibraryProblem()) {
        std::fprintf(stderr, "bench_atlas: %s\n", problem->c_str());
        return 1;
    }
    std::vector<std::string> firstWords;
    for (const std::string& q : kQueries) firstWords.push_back(ParseSearch(q).words.front());

    std::size_t checksum = 0;
    const auto first = std::chrono::steady_clock::now();
    checksum += SearchPlaces("Pune").size();
    const std::chrono::duration<double, std::milli> built = std::chrono::steady_clock::now() - first;

    struct Section { const char* name; const char* what; std::function<void()> work; };
    const std::vector<Section> sections = {
        {"query", "a whole search (SearchPlaces, ClosestNames where none)",
         [&] {
             for (const std::string& q : kQueries) {
                 const std::size_t found = SearchPlaces(q).size();
                 checksum += found > 0 ? found : ClosestNames(q).size();
             }
         }},
        {"index", "  floor: the index look-up of the first word",
         [&] {
             for (const std::string& w : firstWords) checksum += LibraryMatches(w)->size();
         }},
        {"library", "  before: the library's scan for the first word",
         [&] {
             for (const std::string& w : firstWords) {
                 guint length = 0;
                 gint* found = geonames_query_cities_sync(w.c_str(), GEONAMES_QUERY_DEFAULT, &length, nullptr, nullptr);
                 checksum += length;
                 g_free(found);
             }
         }},
    };
    if (only) {
        for (const Section& s : sections) {
            if (std::strcmp(s.name, only) != 0) continue;
            s.work();  // warm
            CALLGRIND_TOGGLE_COLLECT;
            for (int r = 0; r < rounds; ++r) s.work();
            CALLGRIND_TOGGLE_COLLECT;
            std::printf("%s: %zu calls (checksum %zu)\n", s.name, kQueries.size() * static_cast<std::size_t>(rounds),
                        checksum);
            return 0;
        }
        std::fprintf(stderr, "bench_atlas: no section %s\n", only);
        return 64;
    }
    std::printf("%d places; the first search of the run, the index built: %.1f ms\n", PlaceCount(), built.count());
    std::printf("median of %d rounds over %zu queries, per query:\n", rounds, kQueries.size());
    for (const Section& s : sections) {
        std::printf("  %-58s %10.1f us\n", s.what, MedianMicroseconds(rounds, s.work, kQueries.size()));
    }
    std::printf("(checksum %zu)\n", checksum);
    return 0;
}
