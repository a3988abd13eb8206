// Zone look-ups on one core: the offset in force at a UTC instant (what every local time
// of the periods asks) and a local wall time read in a zone with its gaps and doubled
// times found (what a birth asks), each beside its floor, a bare binary search in the
// zone's transitions, and the offset beside QTimeZone, which the program used before.
// Prints the median of several runs. Instructions per call: run one section under
// callgrind, which counts only the section's loop,
//   valgrind --tool=callgrind --collect-atstart=no bench_zone 100000 offset
// and divide the "Collected" count by the calls (100000). Sections: offset, offset-floor,
// offset-qt, wall, wall-floor.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <QDateTime>
#include <QTimeZone>

#include "core/sky/birth_instant.h"
#include "core/zone/tz_database.h"

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#endif

namespace {

using orvanta::CivilDateTime;

constexpr std::int64_t kFrom = -5364662400;  // 1800-01-01
constexpr std::int64_t kTo = 17514144000;    // 2525-01-01
constexpr const char* kZones[] = {"Asia/Kolkata", "America/New_York", "Europe/London", "Australia/Sydney"};

// The floor: a zone's changes as two plain arrays, found by one binary search.
struct Table {
    std::vector<std::int64_t> times;
    std::vector<int> offsets;  // in force from times[i] on
    int before = 0;            // before times[0]
    int At(std::int64_t utc) const {
        const auto i = std::upper_bound(times.begin(), times.end(), utc) - times.begin();
        return i == 0 ? before : offsets[static_cast<std::size_t>(i - 1)];
    }
};

// The offsets at which `wall` (local seconds as if UTC) is read: what any reader must do.
int WallFloor(const Table& t, std::int64_t wall) {
    constexpr std::int64_t kWindow = 26 * 3600;
    int found = 0;
    const auto first = std::upper_bound(t.times.begin(), t.times.end(), wall - kWindow);
    int candidate = first == t.times.begin() ? t.before : *(t.offsets.begin() + (first - t.times.begin() - 1));
    for (auto i = first;; ++i) {
        if (t.At(wall - candidate) == candidate) found += candidate;
        if (i == t.times.end() || *i > wall + kWindow) break;
        candidate = t.offsets[static_cast<std::size_t>(i - t.times.begin())];
    }
    return found;
}

double MedianNanoseconds(int rounds, int count, const std::function<void(int)>& work) {
    std::vector<double> each;
    for (int r = 0; r < rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < count; ++i) work(i);
        const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
        each.push_back(elapsed.count() / count);
    }
    std::sort(each.begin(), each.end());
    return each[each.size() / 2];
}

// Instants spread over 1800..2524 by a fixed stride, the same for every section; each
// section asks 4,096 times in a row in one zone, as the periods of one birth do.
std::int64_t InstantOf(int i) { return kFrom + (static_cast<std::int64_t>(i) * 7'919'331'117) % (kTo - kFrom); }

CivilDateTime WallOf(int i) {
    return {1800 + (i * 37) % 600, 1 + i % 12, 1 + (i * 7) % 28, (i * 5) % 24, (i * 13) % 60, 0};
}

}  // namespace

int main(int argc, char** argv) {
    using namespace orvanta;
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200'000;
    const char* only = argc > 2 ? argv[2] : nullptr;
    constexpr int kRounds = 5;

    const zone::Database& database = zone::Database::System();
    std::vector<BirthInstant> births;
    std::vector<Table> tables;
    std::vector<QTimeZone> qzones;
    for (const char* id : kZones) {
        const auto read = InstantFromTimeZone({2000, 1, 1, 12, 0, 0}, id);
        const auto z = database.Zone(id);
        if (!read.instant || !z) {
            std::fprintf(stderr, "bench_zone: the tz database has no %s\n", id);
            return 1;
        }
        births.push_back(*read.instant);
        Table t;
        t.before = z->OffsetAt(kFrom - 30 * 86400);
        for (const zone::Transition& c : z->TransitionsBetween(kFrom - 30 * 86400, kTo + 30 * 86400)) {
            t.times.push_back(c.atUtc);
            t.offsets.push_back(c.offsetAfter);
        }
        tables.push_back(std::move(t));
        qzones.emplace_back(QByteArray(id));
    }

    long long checksum = 0;
    struct Section { const char* name; const char* what; std::function<void(int)> work; };
    const std::vector<Section> sections = {
        {"offset", "offset at a UTC instant (UtcOffsetAt)",
         [&](int i) { checksum += UtcOffsetAt(births[static_cast<std::size_t>(i >> 12) & 3], InstantOf(i)); }},
        {"offset-floor", "  floor: one binary search",
         [&](int i) { checksum += tables[static_cast<std::size_t>(i >> 12) & 3].At(InstantOf(i)); }},
        {"offset-qt", "  QTimeZone::offsetFromUtc",
         [&](int i) {
             checksum += qzones[static_cast<std::size_t>(i >> 12) & 3].offsetFromUtc(
                 QDateTime::fromSecsSinceEpoch(InstantOf(i), Qt::UTC));
         }},
        {"wall", "local time read in a zone (InstantFromTimeZone)",
         [&](int i) {
             const auto r = InstantFromTimeZone(WallOf(i), kZones[(i >> 12) & 3], Fold::Earlier);
             checksum += r.instant ? r.instant->utcOffsetSeconds : 1;
         }},
        {"wall-floor", "  floor: the offsets that read as it",
         [&](int i) {
             const CivilDateTime c = WallOf(i);
             const std::int64_t wall = DaysFromCivil(c.year, c.month, c.day) * 86400 + c.hour * 3600 + c.minute * 60;
             checksum += WallFloor(tables[static_cast<std::size_t>(i >> 12) & 3], wall);
         }},
    };
    if (only) {
        for (const Section& s : sections) {
            if (std::strcmp(s.name, only) != 0) continue;
            for (int i = 0; i < count; ++i) s.work(i);  // warm: the zones read, the caches filled
            CALLGRIND_TOGGLE_COLLECT;
            for (int i = 0; i < count; ++i) s.work(i);
            CALLGRIND_TOGGLE_COLLECT;
            std::printf("%s: %d calls (checksum %lld)\n", s.name, count, checksum);
            return 0;
        }
        std::fprintf(stderr, "bench_zone: no section %s\n", only);
        return 64;
    }
    std::printf("median of %d runs of %d calls each, instants 1800..2524 in %s, %s, %s, %s:\n", kRounds, count,
                kZones[0], kZones[1], kZones[2], kZones[3]);
    for (const Section& s : sections) {
        std::printf("  %-52s %8.1f ns\n", s.what, MedianNanoseconds(kRounds, count, s.work));
    }
    std::printf("(checksum %lld)\n", checksum);
    return 0;
}
