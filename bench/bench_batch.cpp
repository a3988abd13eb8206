// The classic batch: orvanta-chart --batch on 100,000 generated rows with --jobs 1 and
// 2 (the output thrown away), beside its floor in the same run: the chart
// runs alone for the same rows, in this process. Prints rows per second, the median of
// three runs each.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/chart/computation_run.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    using namespace orvanta;
    const int rows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100'000;
    std::vector<BirthForm> forms;
    QTemporaryDir dir;
    const std::string path = dir.filePath("rows.csv").toStdString();
    std::ofstream csv(path);
    csv << "name,month,day,year,hour,minute,lon-deg,west\n";
    for (int i = 0; i < rows; ++i) {
        BirthForm form;
        form.month = MonthEntries()[static_cast<std::size_t>(i % 12)];
        form.day = std::to_string(1 + (i * 7) % 28);
        form.year = std::to_string(1901 + (i * 37) % 150);
        form.hour = std::to_string(i % 24);
        form.minute = std::to_string((i * 13) % 60);
        form.lonD = std::to_string((i * 11) % 180);
        form.west = i % 2 == 1;
        csv << form.name << ',' << form.month << ',' << form.day << ',' << form.year << ',' << form.hour << ','
            << form.minute << ',' << form.lonD << ',' << (form.west ? "true" : "false") << '\n';
        forms.push_back(form);
    }
    csv.close();

    std::vector<double> floor;
    for (int round = 0; round < 3; ++round) {
        std::size_t checksum = 0;
        const auto start = Clock::now();
        for (const BirthForm& form : forms) checksum += static_cast<std::size_t>(RunChart(form).chart.dasha.moonArcMinutes);
        floor.push_back(rows / std::chrono::duration<double>(Clock::now() - start).count());
        if (checksum == 0) std::printf("(no chart)\n");
    }
    std::printf("classic batch, %d rows: the chart runs alone  %9.0f rows/s\n", rows, Median(floor));

    for (const char* jobs : {"1", "2"}) {
        std::vector<double> rates;
        for (int round = 0; round < 3; ++round) {
            QProcess tool;
            tool.setStandardOutputFile(QProcess::nullDevice());
            const auto start = Clock::now();
            tool.start(QStringLiteral(ORVANTA_CHART_PATH), {"--batch", QString::fromStdString(path), "--jobs", jobs});
            tool.waitForFinished(600000);
            rates.push_back(rows / std::chrono::duration<double>(Clock::now() - start).count());
            if (tool.exitCode() != 0) std::printf("(the tool failed: status %d)\n", tool.exitCode());
        }
        std::printf("classic batch, %d rows: orvanta-chart --jobs %s  %9.0f rows/s\n", rows, jobs, Median(rates));
    }
    return 0;
}
