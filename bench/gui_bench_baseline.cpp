// The baseline of the GUI benchmark: a bare Qt Widgets program that shows one empty window.

#include <QApplication>
#include <QWidget>

#include "gui_bench_common.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(640, 480);
    window.show();
    if (!gui_bench::WaitUntilShown(window)) return 1;
    gui_bench::ReportShown();
    return 0;
}
