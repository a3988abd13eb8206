#include <QtTest>

#include "tool_run.h"

#include "core/chart/computation_run.h"
#include "core/display/interpretation_texts.h"
#include "core/report/report_builder.h"
#include "core/report/rtf_writer.h"

#if defined(Q_OS_UNIX)
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif
#include <cerrno>
#include <cstring>

#include "../core/report/small_file_system.h"

using namespace orvanta;

using namespace orvanta::testing;

namespace {

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

}  // namespace

class TestOrvantaChart : public QObject {
    Q_OBJECT
private slots:
    void exitCodes_data();
    void exitCodes();
    void valueTakenAsItStands();
    void jsonMatchesTheRun();
    void reportIsWhatSaveWrites();
    void reportFileCannotBeWritten();
    void reportOnFullDisk();
    void outputThatDoesNotArrive_data();
    void outputThatDoesNotArrive();
    void batchRowsAreTheirJsonRuns_data();
    void batchRowsAreTheirJsonRuns();
    void batchRefusesItsArguments();
    void batchInputThatCannotBeRead_data();
    void batchInputThatCannotBeRead();
    void batchStopsOnAWholeLine();
};

void TestOrvantaChart::exitCodes_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");  // with --json, the error's message ("" for none)
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("focus");    // "null" for none
    // The wiring in a row of each kind; the rules are the birth form's tables.
    QTest::newRow("defaults") << QStringList{} << 0 << "" << "" << "";
    QTest::newRow("unknown option") << QStringList{"--colour", "red"} << 64 << "" << "" << "";
    QTest::newRow("missing value") << QStringList{"--day"} << 64 << "" << "" << "";
    QTest::newRow("month not in the list") << QStringList{"--month", "august"} << 64 << "" << "" << "";
    QTest::newRow("zone hour too long") << QStringList{"--zone-hour", "-130"} << 64 << "" << "" << "";
    QTest::newRow("longitude minutes too long") << QStringList{"--lon-min", "100"} << 64 << "" << "" << "";
    QTest::newRow("refused name character")
        << QStringList{"--name", "R2"} << 2 << "Please Enter only Letters" << "information" << "txtName";
    QTest::newRow("box length counts characters, not bytes")
        << QStringList{"--lat-min", QString::fromUtf8("5\u00E9")} << 2 << "Only Numbers Are Accepted" << "error" << "txtLatM";
    QTest::newRow("zone hour checked before latitude")
        << QStringList{"--lat-min", "x", "--zone-hour", "a"} << 2 << "Only Numbers Are Accepted" << "error" << "txtZoneHour";
    QTest::newRow("zone -14")
        << QStringList{"--zone-hour=-14"} << 2 << "Please Enter Value Between 0 And 12 in the Zone Hour" << "error"
        << "txtZoneHour";
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
    if (exitCode == 64) QVERIFY(plain.err.startsWith("orvanta-chart: ") && plain.err.count('\n') == 1 && plain.err.contains("--help"));
    if (exitCode == 2) QCOMPARE(QString::fromUtf8(plain.err).trimmed(), "orvanta-chart: " + message);

    const Outcome json = Run(arguments + QStringList{"--json"});
    QCOMPARE(json.exitCode, exitCode);
    const QJsonObject error = Json(json).value("error").toObject();
    QCOMPARE(error.value("status").toInt(), exitCode);
    if (exitCode != 2) return;
    QCOMPARE(error.value("message").toString(), message);
    QCOMPARE(error.value("icon").toString(), icon);
    if (focus == "null") {
        QVERIFY(error.value("focus").isNull());
    } else {
        QCOMPARE(error.value("focus").toString(), focus);
    }
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
    const RunOutcome run = RunChart({.month = "June", .day = "15", .year = "1975", .hour = "6", .minute = "45",
                                     .zoneHour = "5", .zoneMinute = "0", .dst = true, .latD = "40", .latM = "43",
                                     .lonD = "74", .lonM = "0", .west = true});
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
    QCOMPARE(ReadAll(path), QByteArray::fromStdString(rtf));
}

void TestOrvantaChart::reportFileCannotBeWritten() {
    QTemporaryDir dir;
    QVERIFY(WriteAll(dir.filePath("not-a-folder"), {}));
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
    QVERIFY(WriteAll(path, old));
    QVERIFY(disk.Fill(0));
    const QStringList before = QDir(disk.filePath({})).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    const Outcome out = Run({"--report", path});
    QCOMPARE(out.exitCode, 73);
    QVERIFY2(out.err.contains(std::strerror(ENOSPC)), out.err.constData());
    QCOMPARE(ReadAll(path), old);
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

// Each CSV row (after the header) against the tool run with that row's options and --json.
void TestOrvantaChart::batchRowsAreTheirJsonRuns_data() {
    QTest::addColumn<QStringList>("options");  // --precise here goes to the batch run too
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::newRow("classic rows, missing columns take their defaults, quoting")
        << QStringList{}
        << QByteArray("name,day,month,year,hour,west,dst,zone-hour\r\n"
                      "S K,18,August,1981,23,false,false,5\r\n"
                      "\"A ,B\",1,January,2000,12,true,true,-5\r\n"  // comma inside quotes: refused letter
                      "\"A \"\"B\"\"\",1,January,2000,12,true,,5\n"  // doubled quotes
                      "\"RAMA\r\nK\",1,January,2000,12,,,5\n"         // a line break inside quotes
                      "X,29,February,1981,0,false,false,0\n"          // refused by the date check
                      "\"HARI\",\"1\",\"May\",1950,\"0\",true,false,12\n"
                      ",,,,,,,\n")                                   // empty cells: the defaults
        << QList<QStringList>{
               {"--name=S K", "--day=18", "--month=August", "--year=1981", "--hour=23", "--zone-hour=5"},
               {"--name=A ,B", "--day=1", "--month=January", "--year=2000", "--hour=12", "--west", "--dst", "--zone-hour=-5"},
               {"--name=A \"B\"", "--day=1", "--month=January", "--year=2000", "--hour=12", "--west", "--zone-hour=5"},
               {"--name=RAMA\r\nK", "--day=1", "--month=January", "--year=2000", "--hour=12", "--zone-hour=5"},
               {"--name=X", "--day=29", "--month=February", "--year=1981", "--hour=0", "--zone-hour=0"},
               {"--name=HARI", "--day=1", "--month=May", "--year=1950", "--hour=0", "--west", "--zone-hour=12"},
               {}};
    QTest::newRow("precise rows")
        << QStringList{"--precise"}
        << QByteArray("year,month,day,hour,minute,second,time-zone,levels\n"
                      "1943,May,4,6,10,30,Asia/Kolkata,2\n"
                      "1850,March,1,12,0,0,Europe/London,1\n"    // the precise chart alone
                      "1981,August,18,23,30,0,Mars/Olympus,1\n"  // a zone the method refuses
                      ",,,,,,,\n")
        << QList<QStringList>{{"--year=1943", "--month=May", "--day=4", "--hour=6", "--minute=10", "--second=30",
                               "--time-zone=Asia/Kolkata", "--levels=2"},
                              {"--year=1850", "--month=March", "--day=1", "--hour=12", "--minute=0", "--second=0",
                               "--time-zone=Europe/London", "--levels=1"},
                              {"--year=1981", "--month=August", "--day=18", "--hour=23", "--minute=30", "--second=0",
                               "--time-zone=Mars/Olympus", "--levels=1"},
                              {}};
}

void TestOrvantaChart::batchRowsAreTheirJsonRuns() {
    QFETCH(QStringList, options);
    QFETCH(QByteArray, csv);
    QFETCH(QList<QStringList>, rows);
    QTemporaryDir dir;
    const QString path = dir.filePath("rows.csv");
    QVERIFY(WriteAll(path, csv));
    for (const QString& jobs : {QStringLiteral("1"), QStringLiteral("2")}) {
        const Outcome batch = Run(QStringList{"--batch", path, "--jobs", jobs} + options);
        QCOMPARE(batch.exitCode, 0);
        QList<QByteArray> lines = batch.out.split('\n');
        QCOMPARE(lines.takeLast(), QByteArray());  // every line ends with a line break
        QCOMPARE(lines.size(), rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const Outcome single = Run(rows[i] + options + QStringList{"--json"});
            QVERIFY2(single.exitCode == 0 || single.exitCode == 2, single.err.constData());
            QCOMPARE(lines[i] + '\n', single.out);
        }
    }
}

void TestOrvantaChart::batchRefusesItsArguments() {
    QTemporaryDir dir;
    const QString path = dir.filePath("rows.csv");
    QVERIFY(WriteAll(path, "day,west,month\n32,false,May\n1,maybe,May\n1,false\n\"1,true,May\n"));
    // Rows the tool would not take as arguments write their message with status 64.
    const Outcome rows = Run({"--batch", path});
    QCOMPARE(rows.exitCode, 0);
    const QList<QByteArray> lines = rows.out.split('\n');
    QCOMPARE(lines.size(), 5);
    const QString unlisted = Json(Run({"--day", "32", "--json"})).value("error").toObject().value("message").toString();
    const QStringList messages = {unlisted, "line 3: west: \"maybe\" is neither true nor false",
                                  "line 4: 2 fields, the header has 3", "line 5: a quoted field is not closed"};
    for (qsizetype i = 0; i < messages.size(); ++i) {
        const QJsonObject error = QJsonDocument::fromJson(lines[i]).object().value("error").toObject();
        QCOMPARE(error.value("message").toString(), messages[i]);
        QCOMPARE(error.value("status").toInt(), 64);
    }
    QCOMPARE(Run({"--batch", dir.filePath("none.csv")}).exitCode, 66);
    QCOMPARE(Run({"--batch", path, "--day", "1"}).exitCode, 64);                 // details come from the file
    QCOMPARE(Run({"--batch", path, "--jobs", "0"}).exitCode, 64);
    QVERIFY(WriteAll(path, "day,levels\n1,2\n"));  // a precise column without --precise
    const Outcome header = Run({"--batch", path});
    QCOMPARE(header.exitCode, 64);
    QVERIFY2(header.err.contains("the column levels needs --precise"), header.err.constData());
    QCOMPARE(header.out, QByteArray());
#if defined(Q_OS_UNIX)
    if (QFileInfo::exists("/dev/full")) {
        QVERIFY(WriteAll(path, "day\n1\n2\n"));
        const Outcome full = RunInto({"--batch", path}, "/dev/full");
        QCOMPARE(full.exitCode, 74);
    }
#endif
}

// Inputs the batch cannot read end with status 66 or 64 and one line saying why.
void TestOrvantaChart::batchInputThatCannotBeRead_data() {
    QTest::addColumn<QString>("input");  // a path, or "<" and the path standard input reads
    QTest::addColumn<QByteArray>("csv");  // written to the path when not empty
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("a folder") << "." << QByteArray() << 66 << QByteArray("cannot read .: Is a directory");
    QTest::newRow("standard input a folder") << "<." << QByteArray() << 66
                                             << QByteArray("cannot read standard input: Is a directory");
#if defined(Q_OS_LINUX)
    QTest::newRow("a file whose reads fail") << "/proc/self/mem" << QByteArray() << 66
                                             << QByteArray("cannot read /proc/self/mem: Input/output error");
#endif
    QTest::newRow("a header quote never closed") << "rows.csv" << QByteArray("name,\"day\n1,2\n3,4\n") << 64
                                                 << QByteArray("rows.csv: the header has a quoted field that is not closed");
}

void TestOrvantaChart::batchInputThatCannotBeRead() {
    QFETCH(QString, input);
    QFETCH(QByteArray, csv);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, message);
    QTemporaryDir dir;
    QProcess process;
    process.setWorkingDirectory(dir.path());
    if (!csv.isEmpty()) QVERIFY(WriteAll(dir.filePath(input), csv));
    const bool fromInput = input.startsWith('<');
#if defined(Q_OS_UNIX)
    if (fromInput) {
        const QByteArray path = dir.path().toLocal8Bit();
        process.setChildProcessModifier([path] { ::dup2(::open(path.constData(), O_RDONLY), STDIN_FILENO); });
    }
#else
    if (fromInput) QSKIP("needs a folder as standard input");
#endif
    process.start(QStringLiteral(ORVANTA_CHART_PATH), {"--batch", fromInput ? "-" : input});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
    QCOMPARE(process.readAllStandardError(), "orvanta-chart: " + message + "\n");
}

// SIGTERM while the rows go to a pipe: what was written ends on a whole line.
void TestOrvantaChart::batchStopsOnAWholeLine() {
#if !defined(Q_OS_UNIX)
    QSKIP("needs SIGTERM");
#else
    QTemporaryDir dir;
    QFile file(dir.filePath("rows.csv"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("day\n");
    for (int i = 0; i < 200000; ++i) file.write(i % 2 ? "1\n" : "2\n");
    file.close();
    QProcess process;
    process.start(QStringLiteral(ORVANTA_CHART_PATH), {"--batch", file.fileName(), "--jobs", "2"});
    QByteArray out;
    while (out.size() < 3000000 && process.waitForReadyRead(30000)) out += process.readAllStandardOutput();
    QVERIFY(out.size() >= 3000000);
    process.terminate();
    QVERIFY(process.waitForFinished(30000));
    out += process.readAllStandardOutput();
    QCOMPARE(process.exitCode(), 128 + SIGTERM);
    QVERIFY(out.endsWith('\n'));
    QVERIFY(out.size() < 200000 * 8000);  // it stopped early
    QVERIFY(!QJsonDocument::fromJson(out.sliced(out.lastIndexOf('\n', out.size() - 2) + 1)).isNull());
#endif
}

QTEST_GUILESS_MAIN(TestOrvantaChart)
#include "tst_orvanta_chart.moc"
