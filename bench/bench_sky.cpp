// Skies (Moon, ascendant, ayanamsa, Delta T) and birth instants per second on one core,
// the median of several runs. Prints its figures; run it pinned to one core.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

#include "core/sky/birth_instant.h"
#include "core/sky/ephemeris.h"

#include <swephexp.h>

namespace {

struct Rate { double wall; double cpu; };  // calls per second

// Runs `work` `count` times per round; the median rates by the wall clock and by the
// processor time this process was given (on a busy machine the two part).
Rate MedianRate(int rounds, int count, const std::function<void(int)>& work) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int r = 0; r < rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        for (int i = 0; i < count; ++i) work(i);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        wall.push_back(count / elapsed.count());
        cpu.push_back(count / (static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC));
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

void Print(const char* what, Rate rate) {
    std::printf("  %-44s %8.0f per second (%6.2f us) by the clock, %8.0f (%6.2f us) by processor time\n", what,
                rate.wall, 1e6 / rate.wall, rate.cpu, 1e6 / rate.cpu);
}

// Births spread over 1800..2399 (about 219,000 days).
double Spread(int i) { return 2378496.5 + (i * 7919.37) - 219000.0 * static_cast<int>((i * 7919.37) / 219000.0); }

}  // namespace

int main(int argc, char** argv) {
    using namespace orvanta;
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20'000;
    constexpr int kRounds = 5;
    const orvanta::EngineInfo engine = Engine();
    std::printf("%s %s, ephemeris %s\n", engine.library.c_str(), engine.version.c_str(), engine.ephemeris.c_str());

    // Births spread over 1800..2399 (about 219,000 days) and over the globe.
    double checksum = 0;
    const Rate skies = MedianRate(kRounds, count, [&](int i) {
        const double jd = 2378496.5 + (i * 7919.37) - 219000.0 * static_cast<int>((i * 7919.37) / 219000.0);
        const Sky s = ComputeSky(jd, -60 + (i * 13) % 120, -180 + (i * 37) % 360, static_cast<Ayanamsa>(i % 6));
        checksum += s.moonSiderealLongitude + s.ascendantSiderealLongitude;
    });
    // The batch's default, and beside it the floor: the library's own four calls for the
    // same births, without the files' checks, the lock or the result's texts.
    const Rate lahiri = MedianRate(kRounds, count, [&](int i) {
        const Sky s = ComputeSky(Spread(i), -60 + (i * 13) % 120, -180 + (i * 37) % 360, Ayanamsa::Lahiri);
        checksum += s.moonSiderealLongitude + s.ascendantSiderealLongitude;
    });
    const Rate calls = MedianRate(kRounds, count, [&](int i) {
        const double jd = Spread(i);
        double xx[6] = {}, cusps[13] = {}, ascmc[10] = {}, ayanamsaDegrees = 0;
        char serr[AS_MAXCH] = {};
        swe_calc_ut(jd, SE_MOON, SEFLG_SWIEPH | SEFLG_SIDEREAL, xx, serr);
        swe_houses_ex(jd, SEFLG_SIDEREAL, -60 + (i * 13) % 120, -180 + (i * 37) % 360, 'O', cusps, ascmc);
        swe_get_ayanamsa_ex_ut(jd, SEFLG_SWIEPH, &ayanamsaDegrees, serr);
        checksum += xx[0] + ascmc[0] + ayanamsaDegrees + swe_deltat_ex(jd, SEFLG_SWIEPH, serr);
    });
    const Rate moons = MedianRate(kRounds, count, [&](int i) {
        checksum += MoonSiderealLongitude(2378496.5 + i * 10.9573, Ayanamsa::Lahiri);
    });
    const Rate classic = MedianRate(kRounds, count, [&](int i) {
        const auto r = InstantFromClassicZone({1800 + i % 600, 1 + i % 12, 1 + i % 28, i % 24, i % 60, 0}, 5, 30,
                                              false, true);
        checksum += r.instant ? r.instant->julianDayUT : 0;
    });
    const char* zones[] = {"Asia/Kolkata", "America/New_York", "Europe/London", "Australia/Sydney"};
    const Rate iana = MedianRate(kRounds, count, [&](int i) {
        const auto r = InstantFromTimeZone({1800 + i % 600, 1 + i % 12, 1 + i % 28, i % 24, i % 60, 0}, zones[i % 4],
                                           Fold::Earlier);
        checksum += r.instant ? r.instant->julianDayUT : 0;
    });
    std::printf("median of %d runs of %d calls each:\n", kRounds, count);
    Print("skies (Moon, ascendant, ayanamsa, Delta T):", skies);
    Print("skies, Lahiri (the batch's default):", lahiri);
    Print("  floor: the library's four calls alone:", calls);
    Print("Moon only:", moons);
    Print("instants, classic zone:", classic);
    Print("instants, IANA zone:", iana);
    std::printf("(checksum %.3f)\n", checksum);
    return 0;
}
