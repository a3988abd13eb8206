// The cost of the nine grahas beside a precise chart, on one core: the precise chart
// alone (instant, Moon, ascendant, three levels of periods), then the same with the nine
// from the mean node and from the true node. Prints the median of several batches in
// microseconds a chart and the ratio to the chart alone; the aim is at most 2.
//
// `bench_grahas N` times batches of N charts; `bench_grahas N chart|mean|true` runs N
// charts of one kind once, for counting instructions under callgrind:
//   valgrind --tool=callgrind bench_grahas 2000 chart   (and mean), the difference / 2000.

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <vector>

#include "core/grahas/grahas.h"

namespace {

using namespace orvanta;

enum class Kind { Chart, Mean, True };

std::vector<PreciseRequest> Births() {
    std::vector<PreciseRequest> births;
    for (int i = 0; i < 997; ++i) {  // 1800 .. 2399, both hemispheres, the six ayanamsas
        PreciseRequest r;
        r.local = {1800 + (i * 37) % 600, 1 + i % 12, 1 + (i * 7) % 28, i % 24, (i * 13) % 60, (i * 29) % 60};
        r.zoneHours = (i * 3) % 12;
        r.zoneMinutes = (i % 4) * 15;
        r.east = i % 2 == 0;
        r.latitude = -60 + (i * 17) % 120;
        r.longitude = r.east ? (i * 11) % 180 : -((i * 11) % 180);
        r.ayanamsa = static_cast<Ayanamsa>(i % 6);
        births.push_back(r);
    }
    return births;
}

// Processor microseconds a chart (the machine may be shared).
double Run(const std::vector<PreciseRequest>& births, int count, Kind kind, double& checksum) {
    const std::clock_t start = std::clock();
    for (int i = 0; i < count; ++i) {
        const PreciseOutcome outcome = ComputePreciseChart(births[static_cast<std::size_t>(i) % births.size()]);
        if (!outcome.chart) continue;
        checksum += outcome.chart->sky.moonSiderealLongitude;
        if (kind == Kind::Chart) continue;
        const GrahaOutcome grahas = ComputeGrahas(*outcome.chart, kind == Kind::Mean ? Node::Mean : Node::True);
        if (grahas.chart) checksum += grahas.chart->grahas[static_cast<std::size_t>(i) % kGrahas].longitude;
    }
    return 1e6 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC / count;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5'000;
    const std::vector<PreciseRequest> births = Births();
    double checksum = 0;
    if (argc > 2) {
        const std::string_view kind = argv[2];
        Run(births, count, kind == "mean" ? Kind::Mean : kind == "true" ? Kind::True : Kind::Chart, checksum);
        std::printf("%d charts (%s), checksum %.3f\n", count, argv[2], checksum);
        return 0;
    }
    Run(births, count / 10, Kind::Mean, checksum);  // warm the ephemeris files' cache
    constexpr int kBatches = 7;
    std::array<std::vector<double>, 3> times;
    for (int b = 0; b < kBatches; ++b) {
        for (int k = 0; k < 3; ++k) times[static_cast<std::size_t>(k)].push_back(Run(births, count, static_cast<Kind>(k), checksum));
    }
    const double chart = Median(times[0]), mean = Median(times[1]), trueNode = Median(times[2]);
    std::printf("median of %d batches of %d births, processor time a chart:\n", kBatches, count);
    std::printf("  precise chart alone       %7.1f us\n", chart);
    std::printf("  with the nine, mean node  %7.1f us  (%.2f x)\n", mean, mean / chart);
    std::printf("  with the nine, true node  %7.1f us  (%.2f x)\n", trueNode, trueNode / chart);
    std::printf("ephemeris: %s (checksum %.0f); aim: at most 2 x the chart alone: %s\n", Engine().ephemeris.c_str(),
                checksum, std::max(mean, trueNode) <= 2 * chart ? "met" : "NOT met");
    return 0;
}
