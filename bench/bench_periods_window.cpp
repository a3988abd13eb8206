// The precise periods window of the default birth (the birth-details window's start
// state), opened as the program opens it: created, computed to five levels and shown,
// until its first frame is painted. Prints the first opening and the median of the rest.
// Runs offscreen unless a platform is chosen. Instructions of one opening (after a first
// that loads fonts and styles): run it under callgrind, which counts only that opening,
//   valgrind --tool=callgrind --collect-atstart=no bench_periods_window 1 callgrind

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/chart/computation_run.h"
#include "gui/kit/appearance.h"
#include "gui/periods/frm_periods.h"
#include "gui_bench_common.h"

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#endif

namespace {

// One opening: false when the window could not be made or shown.
bool OpenOnce(const orvanta::RunOutcome& run, bool counted) {
    std::string error;
    if (counted) CALLGRIND_TOGGLE_COLLECT;
    std::unique_ptr<orvanta::FrmPeriods> window =
        orvanta::FrmPeriods::Create({run.chart.birth, 0, std::nullopt}, run.chart.dasha, nullptr, error);
    const bool shown = window && (window->show(), gui_bench::WaitUntilShown(*window));
    if (counted) CALLGRIND_TOGGLE_COLLECT;
    if (!shown) std::fprintf(stderr, "bench_periods_window: the window did not open%s%s\n", error.empty() ? "" : ": ",
                             error.c_str());
    return shown;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("orvanta"));
    orvanta::InstallAppearance(app);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const bool callgrind = argc > 2 && std::strcmp(argv[2], "callgrind") == 0;

    const orvanta::RunOutcome run = orvanta::RunChart(orvanta::BirthForm{});
    if (callgrind) {
        if (!OpenOnce(run, false) || !OpenOnce(run, true)) return 1;
        std::printf("one opening counted\n");
        return 0;
    }
    std::vector<double> ms;
    for (int i = 0; i <= runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        if (!OpenOnce(run, false)) return 1;
        ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    const double first = ms.front();
    ms.erase(ms.begin());
    std::sort(ms.begin(), ms.end());
    std::printf("periods window of the default birth, opened and shown: first %.2f ms, median of %d %.2f ms "
                "(min %.2f, max %.2f)\n",
                first, runs, ms[ms.size() / 2], ms.front(), ms.back());
    return 0;
}
