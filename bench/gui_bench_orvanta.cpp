// The program side of the GUI benchmark: starts exactly as the desktop program does
// (look, single-instance check, birth-details window) and reports when its window is
// shown; then times runs from the press of "Get My Vimshottari Dasha Reading" to the
// results window shown, returning with "&Back" between runs.

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "gui/chart/frm_main.h"
#include "gui/chart/single_instance.h"
#include "gui/display/frm_display.h"
#include "gui/kit/appearance.h"
#include "gui/kit/message_box.h"
#include "gui_bench_common.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("orvanta"));
    orvanta::InstallAppearance(app);
    const orvanta::SingleInstance instance;
    if (!instance.isFirst()) {
        std::fprintf(stderr, "the program is already running; close it before benchmarking\n");
        return 2;
    }
    orvanta::FrmMain main;
    main.show();
    if (!gui_bench::WaitUntilShown(main)) return 1;
    gui_bench::ReportShown();

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 0;
    if (runs == 0) return 0;
    auto* button = main.findChild<QPushButton*>(QStringLiteral("cmdRashi"));
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        button->click();
        orvanta::FrmDisplay* display = main.resultsWindow();
        if (!display || !gui_bench::WaitUntilShown(*display)) return 1;
        ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        display->cmdOK_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!gui_bench::WaitUntilShown(main)) return 1;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("runs=%d first_ms=%.2f median_ms=%.2f max_ms=%.2f peak_kb=%ld\n", runs, ms.front(),
                ms[ms.size() / 2], ms.back(), gui_bench::PeakMemoryKb());
    return 0;
}
