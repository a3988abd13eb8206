#include <QtTest>

#include "chart/computation_run.h"
#include "display/interpretation_texts.h"
#include "report/report_builder.h"
#include "report/rtf_writer.h"

#if defined(Q_OS_UNIX)
#include <csignal>
#include <unistd.h>
#endif
#include <cerrno>
#include <cstring>

#include "../report/small_file_system.h"

using namespace orvanta;

namespace {

struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Outcome Run(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(ORVANTA_CHART_PATH), arguments);
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// Runs the tool with its standard output going to `sink`: "/dev/full", or "closed pipe"
// for a pipe whose reading end is already closed (with SIGPIPE at its default, so that a
// tool that does not ignore it dies of it).
Outcome RunInto(const QStringList& arguments, const QString& sink) {
    QProcess process;
#if defined(Q_OS_UNIX)
    int pipeEnds[2] = {-1, -1};
    if (sink == "closed pipe") {
        if (::pipe(pipeEnds) != 0) return {};
        ::close(pipeEnds[0]);
        const int writeEnd = pipeEnds[1];
        process.setChildProcessModifier([writeEnd] {
            ::dup2(writeEnd, STDOUT_FILENO);
            std::signal(SIGPIPE, SIG_DFL);
        });
    } else {
        process.setStandardOutputFile(sink);
    }
#else
    process.setStandardOutputFile(sink);
#endif
    process.start(QStringLiteral(ORVANTA_CHART_PATH), arguments);
    process.waitForFinished(30000);
#if defined(Q_OS_UNIX)
    if (pipeEnds[1] >= 0) ::close(pipeEnds[1]);
#endif
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, {},
            process.readAllStandardError()};
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QJsonObject Json(const Outcome& o) { return QJsonDocument::fromJson(o.out).object(); }

}  // namespace

class TestOrvantaChart : public QObject {
    Q_OBJECT
private slots:
    void exitCodes_data();
    void exitCodes();
    void defaultsAsTheWindowStarts();
    void valueTakenAsItStands();
    void jsonMatchesTheRun();
    void reportIsWhatSaveWrites();
    void reportFileCannotBeWritten();
    void reportOnFullDisk();
    void outputThatDoesNotArrive_data();
    void outputThatDoesNotArrive();
};

void TestOrvantaChart::exitCodes_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");  // with --json, the error's message ("" for none)
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("focus");    // "null" for none
    QTest::newRow("defaults") << QStringList{} << 0 << "" << "" << "";
    QTest::newRow("unknown option") << QStringList{"--colour", "red"} << 64 << "" << "" << "";
    QTest::newRow("missing value") << QStringList{"--day"} << 64 << "" << "" << "";
    QTest::newRow("month not in the list") << QStringList{"--month", "august"} << 64 << "" << "" << "";
    QTest::newRow("leading zero is no list entry") << QStringList{"--day", "05"} << 64 << "" << "" << "";
    QTest::newRow("year outside the list") << QStringList{"--year", "1900"} << 64 << "" << "" << "";
    QTest::newRow("seconds are checked too") << QStringList{"--second", "60"} << 64 << "" << "" << "";
    QTest::newRow("zone hour too long") << QStringList{"--zone-hour", "-130"} << 64 << "" << "" << "";
    QTest::newRow("longitude minutes too long") << QStringList{"--lon-min", "100"} << 64 << "" << "" << "";
    QTest::newRow("refused name character")
        << QStringList{"--name", "R2"} << 2 << "Please Enter only Letters" << "information" << "txtName";
    QTest::newRow("Enter inside the name")
        << QStringList{"--name", "A\rB"} << 2 << "Please Enter only Letters" << "information" << "txtName";
    QTest::newRow("box length counts characters, not bytes")
        << QStringList{"--lat-min", QString::fromUtf8("5\u00E9")} << 2 << "Only Numbers Are Accepted" << "error" << "txtLatM";
    QTest::newRow("minus in latitude")
        << QStringList{"--lat-deg", "-5"} << 2 << "Only Numbers Are Accepted" << "error" << "txtLatD";
    QTest::newRow("zone hour checked before latitude")
        << QStringList{"--lat-min", "x", "--zone-hour", "a"} << 2 << "Only Numbers Are Accepted" << "error" << "txtZoneHour";
    QTest::newRow("blank name")
        << QStringList{"--name", "  "} << 2 << "Please Enter Name" << "error" << "txtName";
    QTest::newRow("zone 1-2")
        << QStringList{"--zone-hour", "1-2"} << 2 << "Please Enter Value Between 0 And 12 in the Zone Hour" << "error"
        << "txtZoneHour";
    QTest::newRow("zone -14")
        << QStringList{"--zone-hour=-14"} << 2 << "Please Enter Value Between 0 And 12 in the Zone Hour" << "error"
        << "txtZoneHour";
    QTest::newRow("empty latitude minutes")
        << QStringList{"--lat-min="} << 2 << "Please Enter Value Between 0 And 59 in the  Minute of Latitude" << "error"
        << "txtLatM";
    QTest::newRow("31 April")
        << QStringList{"--month", "April", "--day", "31"} << 2 << "Please Enter Correct Date Of Birth" << "information"
        << "null";
}

void TestOrvantaChart::exitCodes() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(QString, icon);
    QFETCH(QString, focus);
    const Outcome plain = Run(arguments);
    QCOMPARE(plain.exitCode, exitCode);
    if (exitCode == 64) QVERIFY(plain.err.contains("Usage: orvanta-chart"));
    if (exitCode == 2) QCOMPARE(QString::fromUtf8(plain.err).trimmed(), "orvanta-chart: " + message);

    const Outcome json = Run(arguments + QStringList{"--json"});
    QCOMPARE(json.exitCode, exitCode);
    if (exitCode != 2) return;
    const QJsonObject error = Json(json).value("error").toObject();
    QCOMPARE(error.value("message").toString(), message);
    QCOMPARE(error.value("icon").toString(), icon);
    if (focus == "null") {
        QVERIFY(error.value("focus").isNull());
    } else {
        QCOMPARE(error.value("focus").toString(), focus);
    }
}

void TestOrvantaChart::defaultsAsTheWindowStarts() {
    const QJsonObject b = Json(Run({"--json"})).value("birthDetails").toObject();
    QCOMPARE(b.value("name").toString(), QStringLiteral("S K"));
    QCOMPARE(b.value("month").toInt(), 8);
    QCOMPARE(b.value("day").toInt(), 18);
    QCOMPARE(b.value("year").toInt(), 1981);
    QCOMPARE(b.value("hour").toInt(), 23);
    QCOMPARE(b.value("minute").toInt(), 30);
    QCOMPARE(b.value("zoneHours").toInt(), 5);
    QCOMPARE(b.value("zoneMinutes").toInt(), 30);
    QCOMPARE(b.value("longitudeDegrees").toInt(), 80);
    QCOMPARE(b.value("latitudeDegrees").toInt(), 23);
    QVERIFY(b.value("isEast").toBool());
    QVERIFY(!b.value("isSouth").toBool());
    QVERIFY(!b.value("dst").toBool());
}

void TestOrvantaChart::valueTakenAsItStands() {
    const Outcome separate = Run({"--zone-hour", "-5", "--json", "--name", "ravi  "});
    const Outcome joined = Run({"--zone-hour=-5", "--json", "--name=ravi  "});
    QCOMPARE(separate.exitCode, 0);
    QCOMPARE(separate.out, joined.out);
    const QJsonObject b = Json(separate).value("birthDetails").toObject();
    QCOMPARE(b.value("zoneHours").toInt(), 5);
    QCOMPARE(b.value("name").toString(), QStringLiteral("RAVI  "));  // raised, not trimmed
}

void TestOrvantaChart::jsonMatchesTheRun() {
    BirthForm form;
    form.month = "June"; form.day = "15"; form.year = "1975"; form.hour = "6"; form.minute = "45";
    form.zoneHour = "5"; form.zoneMinute = "0"; form.lonD = "74"; form.lonM = "0"; form.west = true;
    form.latD = "40"; form.latM = "43"; form.dst = true;
    const RunOutcome run = RunChart(form);
    const QJsonObject json = Json(Run({"--month", "June", "--day", "15", "--year", "1975", "--hour", "6", "--minute",
                                       "45", "--zone-hour", "5", "--zone-minute", "0", "--lon-deg", "74", "--lon-min",
                                       "0", "--west", "--lat-deg", "40", "--lat-min", "43", "--dst", "--json"}));
    const QJsonObject p = json.value("chartPositions").toObject();
    QCOMPARE(p.value("julianDay").toInteger(), 2442579);
    QCOMPARE(p.value("moonText").toString(), QString::fromUtf8("14° 33' 34\" Leo"));
    QCOMPARE(p.value("lagnaText").toString(), QString::fromUtf8("17° 18' 24\" Gem"));
    QCOMPARE(p.value("ayanamshaText").toString(), QString::fromUtf8("-23° 31' 8\""));

    const QJsonObject d = json.value("dashaTable").toObject();
    QCOMPARE(d.value("elapsedYears").toDouble(), run.chart.dasha.elapsedYears);  // reads back as the same double
    QCOMPARE(d.value("balanceYears").toDouble(), run.chart.dasha.balanceYears);
    QCOMPARE(d.value("birthDate").toString(), QStringLiteral("1975-06-15"));

    const QJsonObject r = json.value("results").toObject();
    const QJsonArray cells = r.value("subDasha").toArray();
    const QJsonArray visible = r.value("subDashaVisible").toArray();
    QCOMPARE(cells.size(), 162);
    for (int n = 1; n <= 162; ++n) {
        QCOMPARE(cells.at(n - 1).toString(), QString::fromStdString(run.chart.results.cell(n)));
        QCOMPARE(visible.at(n - 1).toBool(), run.chart.results.cellVisible(n));
    }
    QCOMPARE(r.value("dashaAtTimeOfBirth").toString(), QString::fromStdString(run.chart.results.dashaAtTimeOfBirth));
    QCOMPARE(r.value("subDashaLords").toArray().at(8).toArray().at(0).toString(),
             QString::fromStdString(run.chart.results.subDashaLords[8][0]));
}

void TestOrvantaChart::reportIsWhatSaveWrites() {
    const Outcome out = Run({"--name", "a b", "--report", "-"});
    QCOMPARE(out.exitCode, 0);
    BirthForm form;
    form.name = "A B";
    const RunOutcome run = RunChart(form);
    const std::string rtf = WriteRtf(BuildReport(run.chart.birth, run.chart.results, LoadInterpretationTexts()));
    QCOMPARE(out.out, QByteArray::fromStdString(rtf));

    QTemporaryDir dir;
    const QString path = dir.filePath("chart.rtf");
    QCOMPARE(Run({"--name", "a b", "--report", path}).exitCode, 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray::fromStdString(rtf));
}

void TestOrvantaChart::reportFileCannotBeWritten() {
    QTemporaryDir dir;
    QFile blocker(dir.filePath("not-a-folder"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const Outcome out = Run({"--report", dir.filePath("not-a-folder/chart.rtf")});
    QCOMPARE(out.exitCode, 73);
    QVERIFY(out.err.startsWith("orvanta-chart: cannot write the report to "));
    QVERIFY(out.out.isEmpty());
    QCOMPARE(Run({"--json", "--report", "-"}).exitCode, 64);
    if (QFileInfo::exists("/dev/full")) QCOMPARE(Run({"--report", "/dev/full"}).exitCode, 73);
}

// On a file system with no room left the old report stays as it was, nothing is left
// beside it, and the tool says so and exits 73.
void TestOrvantaChart::reportOnFullDisk() {
    const testing::SmallFileSystem disk("size=64k");
    if (!disk.mounted()) QSKIP(qPrintable(disk.whyNot()));
    const QString path = disk.filePath("report.rtf");
    const QByteArray old("{\\rtf1 kept}");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(old), old.size());
    }
    QVERIFY(disk.Fill(0));
    const QStringList before = QDir(disk.filePath({})).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    const Outcome out = Run({"--report", path});
    QCOMPARE(out.exitCode, 73);
    QVERIFY2(out.err.contains(std::strerror(ENOSPC)), out.err.constData());
    QCOMPARE(ReadFile(path), old);
    QCOMPARE(QDir(disk.filePath({})).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
}

void TestOrvantaChart::outputThatDoesNotArrive_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("sink");
    QTest::newRow("json on a full disk") << QStringList{"--json"} << "/dev/full";
    QTest::newRow("text layout on a full disk") << QStringList{} << "/dev/full";
    QTest::newRow("report on a full disk") << QStringList{"--report", "-"} << "/dev/full";
    QTest::newRow("help on a full disk") << QStringList{"--help"} << "/dev/full";
    QTest::newRow("refusal as json on a full disk") << QStringList{"--json", "--name", "R2"} << "/dev/full";
    QTest::newRow("json into a closed pipe") << QStringList{"--json"} << "closed pipe";
    QTest::newRow("report into a closed pipe") << QStringList{"--report", "-"} << "closed pipe";
}

void TestOrvantaChart::outputThatDoesNotArrive() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, sink);
#if !defined(Q_OS_UNIX)
    QSKIP("needs /dev/full and POSIX pipes");
#endif
    if (sink == "/dev/full" && !QFileInfo::exists(sink)) QSKIP("this system has no /dev/full");
    const Outcome out = RunInto(arguments, sink);
    QCOMPARE(out.exitCode, 74);
    QVERIFY2(out.err.startsWith("orvanta-chart: cannot write to standard output: "), out.err.constData());
}

QTEST_GUILESS_MAIN(TestOrvantaChart)
#include "tst_orvanta_chart.moc"
