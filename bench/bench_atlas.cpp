// Place searches on one core: a whole search as the birth-place window and --places run
// it (the library's matches for the first word, narrowed by the rest), beside its floor,
// the index look-up of that first word alone, and beside the place library's own scan,
// which every search ran before the index. The first search of a run reads the index kept
// by an earlier run back, or builds it where there is none (remove
// ~/.cache/orvanta/places-bench_atlas.bin to time that); that first call is timed once.
// Then `orvanta-chart --places Pune` as a whole process beside a plain `--json` run,
// interleaved. Prints medians of several rounds over the queries.
// Instructions per query: run one section under callgrind, which counts only its loop,
//   valgrind --tool=callgrind --collect-atstart=no bench_atlas 10 query
// and divide the "Collected" count by the calls (10 rounds of the queries). Sections:
// query, index, library.

// GLib's headers name struct members "signals", which Qt defines as a keyword: they come first.
#include <geonames.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/atlas/index_cache.h"
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

// Milliseconds of one run of the tool with `arguments`, its output thrown away.
double ProcessMilliseconds(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), ORVANTA_CHART_PATH);
    arguments.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, ORVANTA_CHART_PATH, &actions, nullptr, const_cast<char* const*>(arguments.data()), environ) != 0) {
        return -1;
    }
    int status = 0;
    waitpid(child, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace orvanta::atlas;
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const char* only = argc > 2 ? argv[2] : nullptr;
    const std::string kept = IndexCachePath();
    const auto written = [&] {
        std::error_code error;
        return std::filesystem::last_write_time(kept, error);
    };
    const auto before = written();
    std::size_t checksum = 0;
    const auto first = std::chrono::steady_clock::now();
    checksum += SearchPlaces("Pune").size();
    const std::chrono::duration<double, std::milli> built = std::chrono::steady_clock::now() - first;
    const bool readBack = !kept.empty() && written() == before && before != std::filesystem::file_time_type::min();
    if (const auto problem = LibraryProblem()) {
        std::fprintf(stderr, "bench_atlas: %s\n", problem->c_str());
        return 1;
    }
    std::vector<std::string> firstWords;
    for (const std::string& q : kQueries) firstWords.push_back(ParseSearch(q).words.front());

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
    std::printf("%d places; the first search of the run, the index %s: %.1f ms\n", PlaceCount(),
                readBack ? "read back from the kept file" : "built (and kept)", built.count());
    std::printf("median of %d rounds over %zu queries, per query:\n", rounds, kQueries.size());
    for (const Section& s : sections) {
        std::printf("  %-58s %10.1f us\n", s.what, MedianMicroseconds(rounds, s.work, kQueries.size()));
    }
    ProcessMilliseconds({"--places", "Pune"});  // the tool's index kept, when it was not
    std::vector<double> places, plain;
    for (int r = 0; r < 3 * rounds; ++r) {
        places.push_back(ProcessMilliseconds({"--places", "Pune"}));
        plain.push_back(ProcessMilliseconds({"--json"}));
    }
    std::sort(places.begin(), places.end());
    std::sort(plain.begin(), plain.end());
    const double p = places[places.size() / 2], j = plain[plain.size() / 2];
    std::printf("whole process, median of %zu: --places Pune %.1f ms, --json %.1f ms (%.1fx)\n", places.size(), p, j,
                p / j);
    std::printf("(checksum %zu)\n", checksum);
    return 0;
}
