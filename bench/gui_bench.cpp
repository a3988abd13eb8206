// GUI benchmark harness. Starts the bare Qt Widgets baseline and the desktop program's
// benchmark twin in turns, timing each from process start to its window shown, and
// reports the medians, the peak memory of both, and the time of a run from the press of
// the button to the results window shown. Targets: start-up and peak memory within 1.5
// times the baseline's, a run under 30 ms.
//
// Usage: gui_bench [rounds]   (the two programs are looked for beside this one)

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Start {
    double ms = 0;
    long peakKb = -1;
};

bool Measure(const QString& program, const QStringList& arguments, Start& start, QByteArray* rest = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForStarted(10000)) return false;
    QByteArray out;
    while (!out.contains("shown")) {
        if (!process.waitForReadyRead(20000)) return false;
        out += process.readAllStandardOutput();
    }
    start.ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const auto match = QRegularExpression(QStringLiteral("shown peak_kb=(-?\\d+)")).match(QString::fromLatin1(out));
    if (match.hasMatch()) start.peakKb = match.captured(1).toLong();
    if (!process.waitForFinished(120000)) return false;
    out += process.readAllStandardOutput();
    if (rest) *rest = out;
    return process.exitCode() == 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const QDir here(QCoreApplication::applicationDirPath());
    const QString baseline = here.filePath(QStringLiteral("gui_bench_baseline"));
    const QString program = here.filePath(QStringLiteral("gui_bench_orvanta"));

    std::vector<double> baselineMs, programMs;
    long baselineKb = 0, programKb = 0;
    for (int round = 0; round < rounds + 1; ++round) {  // round 0 warms the file cache
        Start b, p;
        if (!Measure(baseline, {}, b) || !Measure(program, {}, p)) {
            std::fprintf(stderr, "a program failed to start or to show its window\n");
            return 1;
        }
        if (round == 0) continue;
        baselineMs.push_back(b.ms);
        programMs.push_back(p.ms);
        baselineKb = std::max(baselineKb, b.peakKb);
        programKb = std::max(programKb, p.peakKb);
    }
    Start withRuns;
    QByteArray runReport;
    if (!Measure(program, {QStringLiteral("200")}, withRuns, &runReport)) {
        std::fprintf(stderr, "the runs failed\n");
        return 1;
    }

    const double b = Median(baselineMs), p = Median(programMs);
    std::printf("start-up to window shown (median of %d): baseline %.1f ms, program %.1f ms, ratio %.2f (target <= 1.5)\n",
                rounds, b, p, p / b);
    if (baselineKb > 0) {
        std::printf("peak memory at window shown: baseline %ld kB, program %ld kB, ratio %.2f (target <= 1.5)\n",
                    baselineKb, programKb, static_cast<double>(programKb) / static_cast<double>(baselineKb));
    }
    const QString report = QString::fromLatin1(runReport);
    const auto runs = QRegularExpression(QStringLiteral("runs=.*")).match(report);
    std::printf("press to results shown: %s (target median < 30 ms)\n", qPrintable(runs.captured(0).trimmed()));
    return 0;
}
