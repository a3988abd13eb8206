#include <QDateTime>
#include <QFile>
#include <QtTest>

#include "core/zone/fixed_offset.h"
#include "core/zone/tz_database.h"

using orvanta::zone::Database;

namespace {

qint64 Utc(const QString& iso) { return QDateTime::fromString(iso, Qt::ISODate).toSecsSinceEpoch(); }

const Database& System() { return Database::System(); }

}  // namespace

class TestTzDatabase : public QObject {
    Q_OBJECT
private slots:
    void zoneNames_data();
    void zoneNames();
    void transitions_data();
    void transitions();
    void damagedFiles();
    void fixedOffsets_data();
    void fixedOffsets();
    void fixedOffsetsReadBack();
};

// What a person may type for a zone: only the database's ids pass, as written; the rest
// gets the ids it may have meant (zone.tab, zone1970.tab, iso3166.tab and the TZ rules
// of the files, tzdata 2025b).
void TestTzDatabase::zoneNames_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QStringList>("suggested");
    QTest::newRow("Area/Location") << "Asia/Kolkata" << true << QStringList();
    QTest::newRow("a Link name (backward)") << "Asia/Calcutta" << true << QStringList();
    QTest::newRow("fixed offset") << "Etc/GMT+4" << true << QStringList();
    QTest::newRow("UTC") << "UTC" << true << QStringList();
    QTest::newRow("case differs") << "asia/kolkata" << false << QStringList{"Asia/Kolkata"};
    QTest::newRow("blank for underscore") << "America/New York" << false << QStringList{"America/New_York"};
    QTest::newRow("city part") << "Kolkata" << false << QStringList{"Asia/Kolkata"};
    QTest::newRow("city part, blanks and case") << " new  york " << false << QStringList{"America/New_York"};
    QTest::newRow("country name") << "India" << false << QStringList{"Asia/Kolkata"};
    QTest::newRow("country code") << "in" << false << QStringList{"Asia/Kolkata"};
    QTest::newRow("IST: three offsets") << "IST" << false
                                        << QStringList{"Asia/Kolkata", "Asia/Jerusalem", "Europe/Dublin"};
    // The third differs between releases of the database (British Columbia leaves PST in 2026).
    QTest::newRow("PST: the country of many zones before its neighbours")
        << "PST" << false << QStringList{"Asia/Manila", "America/Los_Angeles", "..."};
    QTest::newRow("BST") << "BST" << false << QStringList{"Europe/London"};
    QTest::newRow("UTC+4 is Etc/GMT-4") << "UTC+4" << false << QStringList{"Etc/GMT-4"};
    QTest::newRow("GMT-3 is Etc/GMT+3, not the city part of Etc/GMT-3") << "GMT-3" << false << QStringList{"Etc/GMT+3"};
    QTest::newRow("a word") << "Foo" << false << QStringList();
    QTest::newRow("empty") << "" << false << QStringList();
    QTest::newRow("10 KB") << QString(10240, QLatin1Char('x')) << false << QStringList();
    QTest::newRow("POSIX rule, +99 h") << "<+99>-99" << false << QStringList();
    QTest::newRow("POSIX rule, -5 h") << "XYZ5" << false << QStringList();
    QTest::newRow("unknown local time") << "Factory" << false << QStringList();
    QTest::newRow("the copy of the local zone") << "localtime" << false << QStringList();
    QTest::newRow("leap-second variant") << "right/UTC" << false << QStringList();
    QTest::newRow("a path out of the folder") << "../../../etc/passwd" << false << QStringList();
    QTest::newRow("an absolute path") << "/usr/share/zoneinfo/UTC" << false << QStringList();
}

void TestTzDatabase::zoneNames() {
    QFETCH(QString, text);
    QFETCH(bool, known);
    QFETCH(QStringList, suggested);
    const std::string id = text.toStdString();
    QCOMPARE(System().Knows(id), known);
    QCOMPARE(System().Zone(id) != nullptr, known);
    if (known) return;
    QStringList ids;
    for (const std::string& s : System().Suggest(id).ids) ids << QString::fromStdString(s);
    if (suggested.endsWith(QStringLiteral("..."))) {  // these first, and as many in all
        suggested.removeLast();
        QCOMPARE(ids.size(), suggested.size() + 1);
        ids.removeLast();
    }
    QCOMPARE(ids, suggested);
    const QString sentence = QString::fromStdString(System().UnknownZoneSentence(id));
    QVERIFY(sentence.size() < 300);
    QVERIFY(sentence.endsWith(QLatin1Char('.')));
    for (const QString& s : suggested) QVERIFY2(sentence.contains(s), qPrintable(sentence));
}

// Every change of UTC offset in a year of each zone, from `zdump -v -c FROM,TO ZONE`
// (tzcode 2025b): the file's own transitions, the TZ rule after the file's end, and
// years after the table read from the rule one by one.
void TestTzDatabase::transitions_data() {
    QTest::addColumn<QString>("zone");
    QTest::addColumn<int>("year");
    QTest::addColumn<QStringList>("changes");  // "UT before after ABBR isdst", the state from UT on
    QTest::newRow("New York 2021") << "America/New_York" << 2021
                                   << QStringList{"2021-03-14T07:00:00 -18000 -14400 EDT 1",
                                                  "2021-11-07T06:00:00 -14400 -18000 EST 0"};
    QTest::newRow("New York 2399, TZ rule") << "America/New_York" << 2399
                                            << QStringList{"2399-03-14T07:00:00 -18000 -14400 EDT 1",
                                                           "2399-11-07T06:00:00 -14400 -18000 EST 0"};
    QTest::newRow("New York 2999, after the table") << "America/New_York" << 2999
                                                    << QStringList{"2999-03-10T07:00:00 -18000 -14400 EDT 1",
                                                                   "2999-11-03T06:00:00 -14400 -18000 EST 0"};
    QTest::newRow("London double summer time 1941") << "Europe/London" << 1941
        << QStringList{"1941-05-04T01:00:00 3600 7200 BDST 1", "1941-08-10T01:00:00 7200 3600 BST 1"};
    QTest::newRow("Lord Howe half hour 2021") << "Australia/Lord_Howe" << 2021
        << QStringList{"2021-04-03T15:00:00 39600 37800 +1030 0", "2021-10-02T15:30:00 37800 39600 +11 1"};
    QTest::newRow("Dublin, daylight saving in winter") << "Europe/Dublin" << 2021
        << QStringList{"2021-03-28T01:00:00 0 3600 IST 0", "2021-10-31T01:00:00 3600 0 GMT 1"};
    QTest::newRow("Apia skips a day 2011") << "Pacific/Apia" << 2011
        << QStringList{"2011-04-02T14:00:00 -36000 -39600 -11 0", "2011-09-24T14:00:00 -39600 -36000 -10 1",
                       "2011-12-30T10:00:00 -36000 50400 +14 1"};
    QTest::newRow("Kolkata war time 1942") << "Asia/Kolkata" << 1942
        << QStringList{"1942-05-14T17:30:00 23400 19800 IST 0", "1942-08-31T18:30:00 19800 23400 +0630 1"};
    QTest::newRow("Casablanca 2019, Ramadan in the file's table") << "Africa/Casablanca" << 2019
        << QStringList{"2019-05-05T02:00:00 3600 0 +00 1", "2019-06-09T02:00:00 0 3600 +01 0"};
    QTest::newRow("Sydney 2390, southern rule") << "Australia/Sydney" << 2390
        << QStringList{"2390-03-31T16:00:00 39600 36000 AEST 0", "2390-10-06T16:00:00 36000 39600 AEDT 1"};
    QTest::newRow("Sydney 2800, the table's last year") << "Australia/Sydney" << 2800
        << QStringList{"2800-04-01T16:00:00 39600 36000 AEST 0", "2800-09-30T16:00:00 36000 39600 AEDT 1"};
}

void TestTzDatabase::transitions() {
    QFETCH(QString, zone);
    QFETCH(int, year);
    QFETCH(QStringList, changes);
    const auto z = System().Zone(zone.toStdString());
    QVERIFY(z);
    const std::int64_t from = Utc(QString("%1-01-01T00:00:00Z").arg(year));
    const std::int64_t to = Utc(QString("%1-01-01T00:00:00Z").arg(year + 1)) - 1;
    const auto found = z->TransitionsBetween(from, to);
    QCOMPARE(found.size(), std::size_t(changes.size()));
    for (qsizetype i = 0; i < changes.size(); ++i) {
        const QStringList f = changes[i].split(QLatin1Char(' '));
        const std::int64_t at = Utc(f[0] + "Z");
        const auto& t = found[static_cast<std::size_t>(i)];
        QCOMPARE(t.atUtc, at);
        QCOMPARE(t.offsetBefore, f[1].toInt());
        QCOMPARE(t.offsetAfter, f[2].toInt());
        QCOMPARE(z->OffsetAt(at - 1), f[1].toInt());
        const auto state = z->StateAt(at);
        QCOMPARE(state.utcOffsetSeconds, f[2].toInt());
        QCOMPARE(QString::fromUtf8(state.abbreviation.data(), qsizetype(state.abbreviation.size())), f[3]);
        QCOMPARE(state.daylightTime, f[4] == "1");
    }
}

// A zone file that is not whole is not read: the zone is refused, never read as UTC.
void TestTzDatabase::damagedFiles() {
    QFile file(QStringLiteral("/usr/share/zoneinfo/America/New_York"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    const auto read = [](const QByteArray& bytes) {
        return orvanta::zone::TimeZone::FromTzif("x", std::string_view(bytes.constData(), std::size_t(bytes.size())));
    };
    QVERIFY(read(whole));
    for (const qsizetype keep : {qsizetype(0), qsizetype(43), whole.size() / 2, whole.size() - 1}) {
        QVERIFY2(!read(whole.left(keep)), qPrintable(QString::number(keep)));
    }
    QByteArray badMagic = whole;
    badMagic[0] = 'X';
    QVERIFY(!read(badMagic));
    QByteArray badRule = whole;
    badRule[badRule.size() - 3] = '%';  // inside the TZ rule "EST5EDT,M3.2.0,M11.1.0"
    QVERIFY(!read(badRule));
}

// The one text of a fixed offset, and the --utc-offset form; -1 for a text refused.
void TestTzDatabase::fixedOffsets_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("withUtc");  // FixedOffsetOf, else ReadUtcOffset
    QTest::addColumn<int>("offset");
    QTest::newRow("AAF 5e27, zone *: 4 min a degree") << "UTC+00:21:48" << true << 1308;
    QTest::newRow("India") << "UTC+05:30" << true << 19800;
    QTest::newRow("west, seconds") << "UTC-04:56:02" << true << -17762;
    QTest::newRow("16 h, the AAF zones' bound") << "UTC-16:00" << true << -57600;
    QTest::newRow("beyond it") << "UTC+16:00:01" << true << -1;
    QTest::newRow("zero seconds written") << "UTC+05:30:00" << true << -1;
    QTest::newRow("minus zero") << "UTC-00:00" << true << -1;
    QTest::newRow("one-digit hour") << "UTC+5:30" << true << -1;
    QTest::newRow("lower case") << "utc+05:30" << true << -1;
    QTest::newRow("a zone id") << "Etc/GMT-5" << true << -1;
    QTest::newRow("by hand, seconds") << "+00:21:48" << false << 1308;
    QTest::newRow("by hand, zero seconds") << "-03:00:00" << false << -10800;
    QTest::newRow("by hand, 60 minutes") << "+05:60" << false << -1;
    QTest::newRow("by hand, no sign") << "05:30" << false << -1;
    QTest::newRow("by hand, with UTC") << "UTC+05:30" << false << -1;
    QTest::newRow("by hand, trailing blank") << "+05:30 " << false << -1;
}

void TestTzDatabase::fixedOffsets() {
    QFETCH(QString, text);
    QFETCH(bool, withUtc);
    QFETCH(int, offset);
    const std::string t = text.toStdString();
    const std::optional<int> read = withUtc ? orvanta::zone::FixedOffsetOf(t) : orvanta::zone::ReadUtcOffset(t);
    QCOMPARE(read.value_or(-1), offset);
    if (read) QVERIFY(!System().Knows(t));  // never taken for a database id
}

// Every offset to the second within 16 hours has its one text, read back as itself.
void TestTzDatabase::fixedOffsetsReadBack() {
    for (int offset = -orvanta::zone::kMostFixedOffsetSeconds; offset <= orvanta::zone::kMostFixedOffsetSeconds; ++offset) {
        const std::string text = orvanta::zone::FixedOffsetText(offset);
        if (orvanta::zone::FixedOffsetOf(text) != offset) QFAIL(text.c_str());
    }
}

QTEST_APPLESS_MAIN(TestTzDatabase)
#include "tst_tz_database.moc"
