// Whole chart runs, from the form's texts to the results window's contents, on one
// core. Prints runs per second; the target is at least 500,000.

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/chart/computation_run.h"

int main(int argc, char** argv) {
    using namespace orvanta;
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200'000;

    // A spread of births so that every lord, table and calendar path takes part.
    std::vector<BirthForm> forms;
    for (int i = 0; i < 997; ++i) {
        BirthForm form;
        form.year = std::to_string(1901 + (i * 37) % 150);
        form.month = MonthEntries()[static_cast<std::size_t>(i % 12)];
        form.day = std::to_string(1 + (i * 7) % 28);
        form.hour = std::to_string(i % 24);
        form.minute = std::to_string((i * 13) % 60);
        form.lonD = std::to_string((i * 11) % 180);
        form.west = i % 2 == 1;
        form.dst = i % 5 == 0;
        forms.push_back(form);
    }

    std::size_t checksum = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        const RunOutcome outcome = RunChart(forms[static_cast<std::size_t>(i) % forms.size()]);
        checksum += outcome.chart.results.subDasha[static_cast<std::size_t>(i) % 162].size() +
                    static_cast<std::size_t>(outcome.chart.dasha.moonArcMinutes);
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const double perSecond = rounds / elapsed.count();
    std::printf("chart runs: %d in %.3f s: %.0f runs per second, %.2f us per run (checksum %zu)\n", rounds,
                elapsed.count(), perSecond, 1e6 / perSecond, checksum);
    std::printf("target: 500000 runs per second: %s\n", perSecond >= 500'000 ? "met" : "NOT met");
    return 0;
}
