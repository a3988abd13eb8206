// orvanta-chart's birth files: --open of each format, --record, --save and --batch of
// an AAF file, as the tool's exit status and what it writes.

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "../core/report/small_file_system.h"
#include "tool_run.h"

using namespace orvanta::testing;

namespace {

const QByteArray kTwoPeople = "#A93:Cezanne,Paul,m,19.1.1839,1:00,Aix-en-Provence,F\n#B93:2392758.526528,43n31,5e27,*,L\n"
                              "#A93:Ferber,Tobias,m,27.9.1970,11:04,Kandel/Pfalz,D\n#B93:*,49n05,8e11,1he,0\n";

// The first AAF record saved in the own format: the zone boxes keep 5:30, the place the
// local mean time.
const QByteArray kSavedMeanTime =
    "orvanta-birth 1\nname = PAULA CEZANNE\nmonth = January\nday = 19\nyear = 1905\nhour = 1\nminute = 0\n"
    "second = 0\nzone-hour = 5\nzone-minute = 30\ndst = no\nlat-deg = 43\nlat-min = 31\nlat-dir = N\nlon-deg = 5\n"
    "lon-min = 27\nlon-dir = E\nplace-time-zone = UTC+00:21:48\nplace-latitude = 43.5166666666666666\n"
    "place-longitude = 5.45\n";

}  // namespace

class TstBirthFileOptions : public QObject {
    Q_OBJECT
private slots:
    void open_data();
    void open();
    void savedFileGivesTheSameChart_data();
    void savedFileGivesTheSameChart();
    void batchOfAaf();

private:
    QTemporaryDir dir_;
};

void TstBirthFileOptions::open_data() {
    QTest::addColumn<QStringList>("arguments");  // "FILE" stands for the file written
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");  // on standard output when 0, else on either stream

    QTest::newRow("several people listed") << QStringList{"--open", "FILE"} << kTwoPeople << 2 << "2  TOBIAS FERBER";
    QTest::newRow("one chosen") << QStringList{"--open", "FILE", "--record", "2"} << kTwoPeople << 0
                                << "Name: TOBIAS FERBER";
    QTest::newRow("no such record") << QStringList{"--open", "FILE", "--record", "3"} << kTwoPeople << 64 << "holds 2";
    QTest::newRow("local mean time needs --precise") << QStringList{"--open", "FILE", "--record", "1"} << kTwoPeople << 2
                                                     << "cannot hold";
    QTest::newRow("local mean time with --precise")
        << QStringList{"--open", "FILE", "--record", "1", "--precise"} << kTwoPeople << 0 << "1839-01-19T00:38:12Z";
    QTest::newRow("own file, a local mean time: not the boxes' zone")
        << QStringList{"--open", "FILE"} << kSavedMeanTime << 2 << "cannot hold";
    QTest::newRow("own file, a local mean time with --precise")
        << QStringList{"--open", "FILE", "--precise"} << kSavedMeanTime << 0 << "1905-01-19T00:38:12Z";
    QTest::newRow("a bad file names its line") << QStringList{"--open", "FILE"}
                                               << QByteArray("6\n15\n1985\n10.3\n-5.3\n-75.45\n95\n") << 2 << "line 7";
    QTest::newRow("--save needs a known extension") << QStringList{"--save", "x.txt"} << QByteArray() << 64 << "x.txt";
}

void TstBirthFileOptions::open() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, contents);
    QFETCH(int, status);
    QFETCH(QString, says);
    const QString path = dir_.filePath("birth.aaf");
    QVERIFY(WriteAll(path, contents));
    arguments.replaceInStrings("FILE", path);
    const Outcome outcome = Run(arguments);
    QCOMPARE(outcome.exitCode, status);
    const QByteArray said = status == 0 ? outcome.out : outcome.out + outcome.err;
    QVERIFY2(said.contains(says.toUtf8()), said.constData());
}

void TstBirthFileOptions::savedFileGivesTheSameChart_data() {
    QTest::addColumn<QString>("fileName");
    QTest::newRow("own") << "sk.orvanta";
    QTest::newRow("jhd") << "S K.jhd";
    QTest::newRow("aaf") << "sk.aaf";
}

void TstBirthFileOptions::savedFileGivesTheSameChart() {
    QFETCH(QString, fileName);
    const QStringList birth = {"--name", "S K", "--day", "3", "--hour", "4", "--minute", "59", "--second", "31",
                               "--zone-hour", "4", "--zone-minute", "00", "--west", "--lat-min", "07"};
    const QString path = dir_.filePath(fileName);
    const Outcome direct = Run(birth + QStringList{"--precise", "--save", path});
    QCOMPARE(direct.exitCode, 0);
    const Outcome opened = Run({"--open", path, "--precise"});
    QCOMPARE(opened.exitCode, 0);
    QCOMPARE(opened.out, direct.out);
}

void TstBirthFileOptions::batchOfAaf() {
    const QString path = dir_.filePath("people.aaf");
    const QByteArray contents = "#A93:Ferber,Tobias,m,27.9.1970,11:04,Kandel/Pfalz,D\n#B93:*,49n05,8e11,1he,0\n"
                                "#COM:first\n#A93:Rao,Asha,f,7.3.1990,6:05:42,Pune,IND\n#B93:*,18n31,73e51,5he30,0\n";
    QVERIFY(WriteAll(path, contents));
    const Outcome batch = Run({"--batch", path});
    QCOMPARE(batch.exitCode, 0);
    const QList<QByteArray> lines = batch.out.trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(QJsonDocument::fromJson(lines[1]).object()["birthDetails"].toObject()["name"].toString(), QString("ASHA RAO"));
    QCOMPARE(Run({"--batch", dir_.filePath("missing.aaf")}).exitCode, 66);
    // A local mean time goes to its row as the exact offset: the UT of the file's #B93
    // Julian day 2392758.526528, the classic members left out.
    const QString cezanne = dir_.filePath("cezanne.aaf");
    QVERIFY(WriteAll(cezanne, kTwoPeople));
    const Outcome precise = Run({"--batch", cezanne, "--precise"});
    QCOMPARE(precise.exitCode, 0);
    const QJsonObject row = QJsonDocument::fromJson(precise.out.split('\n').first()).object();
    QCOMPARE(row["precise"].toObject()["birth"].toObject()["utc"].toString(), QString("1839-01-19T00:38:12Z"));
    QVERIFY(!row.contains("results"));
}

QTEST_APPLESS_MAIN(TstBirthFileOptions)
#include "tst_birth_file_options.moc"
