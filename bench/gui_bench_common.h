#pragma once

// Shared by the two programs the GUI benchmark starts: how "shown" is decided and how
// peak memory is read, so that both are measured the same way.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>

#if defined(Q_OS_UNIX)
#include <sys/resource.h>
#endif

namespace gui_bench {

// Processes events until the window is on screen and its first frame has been painted.
inline bool WaitUntilShown(QWidget& window, int timeoutMs = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed())) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QCoreApplication::processEvents();  // the paint that follows the exposure
    return true;
}

// Peak resident memory of this process in kilobytes; -1 where the platform does not tell.
inline long PeakMemoryKb() {
#if defined(Q_OS_MACOS)
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<long>(usage.ru_maxrss / 1024);  // bytes there
#elif defined(Q_OS_UNIX)
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#else
    return -1;
#endif
}

// The line the harness waits for: printed the moment the window is shown.
inline void ReportShown() {
    std::printf("shown peak_kb=%ld\n", PeakMemoryKb());
    std::fflush(stdout);
}

}  // namespace gui_bench
