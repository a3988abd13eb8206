#include <QtTest>

#include <sys/stat.h>

#include "../../tools/tool_run.h"

using namespace Qt::StringLiterals;
using namespace orvanta::testing;

// The tool's atlas options, run as a person would. Zone offsets from the tz database.
class TestPlaceOptions : public QObject {
    Q_OBJECT
private slots:
    void place_data();
    void place();
    void refusals_data();
    void refusals();
    void places();
    void damagedLibrary();
    void keptIndex_data();
    void keptIndex();
};

void TestPlaceOptions::place_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("sameAs");  // the explicit form options the place stands for
    QTest::addColumn<int>("utcOffsetSeconds");
    QTest::addColumn<bool>("daylightTime");

    QTest::newRow("Pune, the window's default time")
        << QStringList{"--place", "Pune"}
        << QStringList{"--lat-deg", "18", "--lat-min", "31", "--lon-deg", "73", "--lon-min", "51", "--zone-hour", "5",
                       "--zone-minute", "30"}
        << 19800 << false;
    QTest::newRow("Sydney, south with DST")
        << QStringList{"--place=Sydney, Australia", "--year", "1990", "--month", "January", "--day", "15"}
        << QStringList{"--year", "1990", "--month", "January", "--day", "15", "--lat-deg", "33", "--lat-min", "52",
                       "--south", "--lon-deg", "151", "--lon-min", "12", "--zone-hour", "10", "--zone-minute", "00",
                       "--dst"}
        << 39600 << true;
    QTest::newRow("New York's doubled 01:30, the later reading")
        << QStringList{"--place", "New York", "--fold", "later", "--year", "2021", "--month", "November", "--day", "7",
                       "--hour", "1"}
        << QStringList{"--year", "2021", "--month", "November", "--day", "7", "--hour", "1", "--lat-deg", "40",
                       "--lat-min", "43", "--lon-deg", "74", "--lon-min", "00", "--west", "--zone-hour", "5",
                       "--zone-minute", "00"}
        << -18000 << false;
}

void TestPlaceOptions::place() {
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, sameAs);
    QFETCH(int, utcOffsetSeconds);
    QFETCH(bool, daylightTime);

    const Outcome byPlace = Run(arguments + QStringList{"--json"});
    QCOMPARE(byPlace.exitCode, 0);
    QJsonObject chart = Json(byPlace);
    const QJsonObject place = chart.take("place"_L1).toObject();
    QCOMPARE(place.value("utcOffsetSeconds"_L1).toInt(), utcOffsetSeconds);
    QCOMPARE(place.value("daylightTime"_L1).toBool(), daylightTime);
    QCOMPARE(place.value("formFilled"_L1).toBool(), true);
    for (const char* member : {"name", "state", "country", "countryCode", "timeZone"}) {
        QVERIFY2(!place.value(QLatin1String(member)).toString().isEmpty(), member);
    }
    QVERIFY(place.value("standardOffsetSeconds"_L1).isDouble());
    QVERIFY(std::abs(place.value("latitude"_L1).toDouble()) > 1);

    const Outcome byHand = Run(sameAs + QStringList{"--json"});
    QCOMPARE(byHand.exitCode, 0);
    QCOMPARE(chart, Json(byHand));

    const Outcome text = Run(arguments);
    QCOMPARE(text.exitCode, 0);
    QVERIFY(text.out.startsWith("Place: "));
}

void TestPlaceOptions::refusals_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");  // part of standard error

    QTest::newRow("no match") << QStringList{"--place", "Xyzzyqq"} << 2 << "No place in the atlas matches";
    QTest::newRow("Madrid summer") << QStringList{"--place", "Madrid", "--month", "July"} << 2
                                   << "cannot use the zone in force here, UTC+02:00 (Europe/Madrid)";
    QTest::newRow("skipped local time")
        << QStringList{"--place", "New York", "--year", "1981", "--month", "April", "--day", "26", "--hour", "2"} << 2
        << "does not exist in America/New_York";
    QTest::newRow("doubled local time, no --fold")
        << QStringList{"--place", "New York", "--year", "2021", "--month", "November", "--day", "7", "--hour", "1"}
        << 2 << "occurs twice in America/New_York: first at UTC-04:00, then at UTC-05:00";
    QTest::newRow("coordinates given too") << QStringList{"--place", "Pune", "--lat-deg", "18"} << 64 << "--lat-deg";
    QTest::newRow("DST given too") << QStringList{"--place", "Pune", "--dst"} << 64 << "--dst";
    QTest::newRow("no value") << QStringList{"--place"} << 64 << "needs a value";
    QTest::newRow("both") << QStringList{"--place", "Pune", "--places", "Pune"} << 64 << "cannot be given together";
    QTest::newRow("listing finds nothing") << QStringList{"--places", "Xyzzyqq"} << 2 << "No place";
    QTest::newRow("closest names offered") << QStringList{"--place", "Banglore"} << 2
                                           << "the closest names are Bengaluru (Bangalore), Mangalore";
    QTest::newRow("more than a place name") << QStringList{"--places", QString(300, u'a')} << 2
                                            << "at most 16 words and 200 characters";
}

void TestPlaceOptions::refusals() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const Outcome out = Run(arguments);
    QCOMPARE(out.exitCode, exitCode);
    QVERIFY2(QString::fromUtf8(out.err).contains(message), out.err.constData());
    QVERIFY(out.out.isEmpty());
}

void TestPlaceOptions::places() {
    const Outcome json = Run({"--places", "Springfield, Illinois", "--json"});
    QCOMPARE(json.exitCode, 0);
    const QJsonArray places = Json(json).value("places"_L1).toArray();
    QVERIFY(!places.isEmpty());
    for (const QJsonValue& p : places) QCOMPARE(p.toObject().value("state"_L1).toString(), u"Illinois"_s);

    const Outcome text = Run({"--places", "Pune"});
    QCOMPARE(text.exitCode, 0);
    const QList<QByteArray> fields = text.out.trimmed().split('\t');
    QCOMPARE(fields.size(), 7);
    QCOMPARE(fields.front(), "Pune");
    QCOMPARE(fields.back(), "Asia/Kolkata");
}

// A copy of the place library whose data is damaged: one line on standard error, status
// 69, nothing on standard output (the library itself would abort).
void TestPlaceOptions::damagedLibrary() {
#if !defined(Q_OS_LINUX)
    QSKIP("loads a damaged copy of the library through LD_LIBRARY_PATH");
#else
    QFile library;
    for (const char* folder : {"/usr/lib/x86_64-linux-gnu", "/usr/lib/aarch64-linux-gnu", "/usr/lib64", "/usr/lib"}) {
        library.setFileName(QString::fromLatin1(folder) + u"/libgeonames.so.0"_s);
        if (library.open(QIODevice::ReadOnly)) break;
    }
    if (!library.isOpen()) QSKIP("no libgeonames.so.0 in the system's library folders");
    QByteArray bytes = library.readAll();
    const qsizetype data = bytes.indexOf("GVariant");  // the places' resource
    QVERIFY(data > 0);
    bytes.replace(data, 8, "XXXXXXXX");
    QTemporaryDir dir;
    QFile copy(dir.filePath("libgeonames.so.0"));
    QVERIFY(copy.open(QIODevice::WriteOnly) && copy.write(bytes) == bytes.size());
    copy.close();
    for (const QStringList& arguments : {QStringList{"--places", "Pune", "--json"}, QStringList{"--place", "Pune"}}) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LD_LIBRARY_PATH", dir.path());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(ORVANTA_CHART_PATH), arguments);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 69);
        // With --json the error object goes to standard output, else one line to standard error.
        const QByteArray said = arguments.contains("--json") ? process.readAllStandardOutput() : process.readAllStandardError();
        const QByteArray start = arguments.contains("--json")
                                     ? "{\"error\": {\"message\": \"The place library (libgeonames) cannot load its places"
                                     : "orvanta-chart: The place library (libgeonames) cannot load its places";
        QVERIFY2(said.startsWith(start) && said.count('\n') == 1, said.constData());
    }
#endif
}

// The place index kept between runs: a run that reads it back answers as a run that
// builds the index from the library; a kept file that is damaged, cut short or made for
// other settings is not read but written anew.
void TestPlaceOptions::keptIndex_data() {
    QTest::addColumn<QString>("change");
    QTest::newRow("read back as written") << u"none"_s;
    QTest::newRow("a byte of the places changed") << u"flip"_s;
    QTest::newRow("cut short") << u"cut"_s;
    QTest::newRow("emptied") << u"empty"_s;
    QTest::newRow("made with another key") << u"key"_s;
    QTest::newRow("another locale's settings") << u"locale"_s;
    QTest::newRow("a pipe in its place") << u"pipe"_s;
}

void TestPlaceOptions::keptIndex() {
    QFETCH(QString, change);
    const QStringList search{"--places", "Sao Paulo", "--json"};
    QProcessEnvironment uncached = QProcessEnvironment::systemEnvironment();
    uncached.insert("XDG_CACHE_HOME", "/dev/null/none");  // no folder can be made there
    QTemporaryDir home;
    QProcessEnvironment cached = uncached;
    cached.insert("XDG_CACHE_HOME", home.path());
    const Outcome built = Run(search, uncached);
    QCOMPARE(built.exitCode, 0);
    QVERIFY(built.out.contains("S\u00e3o Paulo") || built.out.contains("São Paulo"));

    QCOMPARE(Run(search, cached).out, built.out);
    QFile kept(home.filePath("orvanta/places-orvanta-chart.bin"));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    const QByteArray written = kept.readAll();
    kept.close();
    QVERIFY(written.size() > 1'000'000);

    QByteArray changed = written;
    QProcessEnvironment second = cached;
    if (change == "flip"_L1) changed[changed.size() / 2] = static_cast<char>(changed[changed.size() / 2] ^ 0x20);
    if (change == "cut"_L1) changed.chop(100);
    if (change == "empty"_L1) changed.clear();
    if (change == "key"_L1) changed[8] = static_cast<char>(changed[8] ^ 1);
    if (change == "locale"_L1) second.insert("LANGUAGE", "fr:de");
    if (change == "pipe"_L1) {
        QVERIFY(kept.remove() && mkfifo(QFile::encodeName(kept.fileName()).constData(), 0600) == 0);
    } else {
        QVERIFY(kept.open(QIODevice::WriteOnly) && kept.write(changed) == changed.size());
        kept.close();
    }

    const Outcome again = Run(search, second);
    QCOMPARE(again.exitCode, 0);
    QCOMPARE(again.out, change == "locale"_L1 ? Run(search, [&] {
        QProcessEnvironment e = second;
        e.insert("XDG_CACHE_HOME", "/dev/null/none");
        return e;
    }()).out : built.out);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    const QByteArray after = kept.readAll();
    if (change == "locale"_L1) {
        QVERIFY(after != written);  // written anew under the other settings' key
    } else {
        QCOMPARE(after, written);
    }
}

QTEST_GUILESS_MAIN(TestPlaceOptions)
#include "tst_place_options.moc"
