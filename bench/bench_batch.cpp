// The batch: orvanta-chart --batch on 100,000 generated classic rows and on 5,000
// precise rows (Asia/Kolkata, three levels) with --jobs 1 and 2, the output thrown away,
// each beside its floor in the same run: the charts alone for the same rows, in this
// process. Prints rows per second, the median of three runs each.

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
#include "core/periods/precise_chart.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Rows per second of the tool on a batch file, --jobs 1 and 2.
void TimeTheTool(const char* what, int rows, const std::string& path, QStringList options) {
    for (const char* jobs : {"1", "2"}) {
        std::vector<double> rates;
        for (int round = 0; round < 3; ++round) {
            QProcess tool;
            tool.setStandardOutputFile(QProcess::nullDevice());
            const auto start = Clock::now();
            tool.start(QStringLiteral(ORVANTA_CHART_PATH),
                       QStringList{"--batch", QString::fromStdString(path), "--jobs", jobs} + options);
            tool.waitForFinished(600000);
            rates.push_back(rows / std::chrono::duration<double>(Clock::now() - start).count());
            if (tool.exitCode() != 0) std::printf("(the tool failed: status %d)\n", tool.exitCode());
        }
        std::printf("%s batch, %d rows: orvanta-chart --jobs %s  %9.0f rows/s\n", what, rows, jobs, Median(rates));
    }
}

// Precise rows: the tool beside the precise charts of the same births computed here.
void PreciseRows(const QTemporaryDir& dir) {
    using namespace orvanta;
    constexpr int kRows = 5'000;
    const std::string path = dir.filePath("precise.csv").toStdString();
    std::ofstream csv(path);
    csv << "name,month,day,year,hour,minute,second,time-zone,lat-deg,lon-deg,levels\n";
    std::vector<PreciseRequest> requests;
    for (int i = 0; i < kRows; ++i) {
        PreciseRequest r;
        r.local = {1901 + (i * 37) % 150, 1 + i % 12, 1 + (i * 7) % 28, i % 24, (i * 13) % 60, (i * 29) % 60};
        r.timeZone = "Asia/Kolkata";
        r.fold = Fold::Refuse;
        r.latitude = (i * 17) % 60;
        r.longitude = (i * 11) % 180;
        r.levels = 3;
        csv << "S K," << MonthEntries()[static_cast<std::size_t>(r.local.month - 1)] << ',' << r.local.day << ','
            << r.local.year << ',' << r.local.hour << ',' << r.local.minute << ',' << r.local.second
            << ",Asia/Kolkata," << r.latitude << ',' << r.longitude << ",3\n";
        requests.push_back(std::move(r));
    }
    csv.close();
    std::vector<double> floor;
    for (int round = 0; round < 3; ++round) {
        double checksum = 0;
        const auto start = Clock::now();
        for (const PreciseRequest& r : requests) {
            if (const PreciseOutcome outcome = ComputePreciseChart(r); outcome.chart) checksum += outcome.chart->sky.moonSiderealLongitude;
        }
        floor.push_back(kRows / std::chrono::duration<double>(Clock::now() - start).count());
        if (checksum == 0) std::printf("(no chart)\n");
    }
    std::printf("precise batch, %d rows: the charts alone  %9.0f rows/s\n", kRows, Median(floor));
    TimeTheTool("precise", kRows, path, {"--precise"});
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

    TimeTheTool("classic", rows, path, {});
    PreciseRows(dir);
    return 0;
}
