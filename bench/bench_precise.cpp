// Precise charts on one core: the birth instant, the Swiss Ephemeris Moon and
// ascendant, and the period tree to three levels. Prints the median of several
// batches in charts per second; the target is at least 20,000.

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/periods/precise_chart.h"

namespace {

using namespace orvanta;

struct Rate {
    double byClock = 0;
    double byProcessor = 0;  // the machine may be shared: processor time counts this program's share only
};

Rate ChartsPerSecond(const std::vector<PreciseRequest>& requests, int count, double& checksum) {
    const std::clock_t processorStart = std::clock();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        const PreciseOutcome outcome = ComputePreciseChart(requests[static_cast<std::size_t>(i) % requests.size()]);
        if (outcome.chart) checksum += outcome.chart->tree.periods[static_cast<std::size_t>(i) % 819].end;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const double processor = static_cast<double>(std::clock() - processorStart) / CLOCKS_PER_SEC;
    return {count / elapsed.count(), count / processor};
}

Rate Median(std::vector<Rate> values) {
    Rate median;
    std::sort(values.begin(), values.end(), [](Rate a, Rate b) { return a.byClock < b.byClock; });
    median.byClock = values[values.size() / 2].byClock;
    std::sort(values.begin(), values.end(), [](Rate a, Rate b) { return a.byProcessor < b.byProcessor; });
    median.byProcessor = values[values.size() / 2].byProcessor;
    return median;
}

}  // namespace

int main(int argc, char** argv) {
    const int perBatch = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20'000;
    constexpr int kBatches = 7;
    constexpr std::array<const char*, 4> kZones = {"Asia/Kolkata", "Europe/London", "America/New_York", "Australia/Sydney"};

    // A spread of births over 1800 .. 2399, both hemispheres and all six ayanamsas.
    std::vector<PreciseRequest> classic;
    std::vector<PreciseRequest> named;
    for (int i = 0; i < 997; ++i) {
        PreciseRequest r;
        r.local = {1800 + (i * 37) % 600, 1 + i % 12, 1 + (i * 7) % 28, i % 24, (i * 13) % 60, (i * 29) % 60};
        r.zoneHours = (i * 3) % 12;
        r.zoneMinutes = (i % 4) * 15;
        r.dst = i % 5 == 0;
        r.east = i % 2 == 0;
        r.latitude = -60 + (i * 17) % 120;
        r.longitude = r.east ? (i * 11) % 180 : -((i * 11) % 180);
        r.ayanamsa = static_cast<Ayanamsa>(i % 6);
        r.levels = 3;
        classic.push_back(r);
        r.timeZone = kZones[static_cast<std::size_t>(i) % kZones.size()];
        r.fold = Fold::Earlier;
        named.push_back(r);
    }

    double checksum = 0;
    ChartsPerSecond(classic, perBatch / 10, checksum);  // warm the ephemeris files' cache
    std::vector<Rate> classicRates;
    std::vector<Rate> namedRates;
    for (int b = 0; b < kBatches; ++b) {
        classicRates.push_back(ChartsPerSecond(classic, perBatch, checksum));
        namedRates.push_back(ChartsPerSecond(named, perBatch, checksum));
    }
    const Rate classicRate = Median(classicRates);
    const Rate namedRate = Median(namedRates);
    std::printf("median of %d batches of %d charts (instant, Moon, ascendant, three levels)\n", kBatches, perBatch);
    std::printf("  classic zone: %7.0f per second (%6.1f us) by the clock, %7.0f (%6.1f us) by processor time\n",
                classicRate.byClock, 1e6 / classicRate.byClock, classicRate.byProcessor, 1e6 / classicRate.byProcessor);
    std::printf("  IANA zone:    %7.0f per second (%6.1f us) by the clock, %7.0f (%6.1f us) by processor time\n",
                namedRate.byClock, 1e6 / namedRate.byClock, namedRate.byProcessor, 1e6 / namedRate.byProcessor);
    std::printf("ephemeris: %s (checksum %.0f)\n", Engine().ephemeris.c_str(), checksum);
    std::printf("target: 20000 charts per second by processor time, classic zone: %s\n",
                classicRate.byProcessor >= 20'000 ? "met" : "NOT met");
    return 0;
}
