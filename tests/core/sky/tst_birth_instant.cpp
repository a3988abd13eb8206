#include <QDateTime>
#include <QTimeZone>
#include <QtTest>

#include "core/sky/birth_instant.h"

using orvanta::BirthInstant;
using orvanta::CivilDateTime;
using orvanta::Fold;

Q_DECLARE_METATYPE(orvanta::Fold)

namespace {

CivilDateTime Civil(const QString& text) {  // "YYYY-MM-DDTHH:MM:SS"
    return {text.mid(0, 4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt(),
            text.mid(11, 2).toInt(), text.mid(14, 2).toInt(), text.mid(17, 2).toInt()};
}

qint64 UtcSeconds(const QString& isoUtc) { return QDateTime::fromString(isoUtc, Qt::ISODate).toSecsSinceEpoch(); }

}  // namespace

class TestBirthInstant : public QObject {
    Q_OBJECT
private slots:
    void classicZone_data();
    void classicZone();
    void classicZoneRefusals();
    void timeZone_data();
    void timeZone();
    void timeZoneRefusals_data();
    void timeZoneRefusals();
    void quarterHourSweep_data();
    void quarterHourSweep();
    void offsetLaterInLife();
};

// The classic rule: offset = +zone east, -zone west, one hour more with DST either way;
// a longitude of 0 deg 0 min reads as west.
void TestBirthInstant::classicZone_data() {
    QTest::addColumn<QString>("local");
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<bool>("dst");
    QTest::addColumn<bool>("east");
    QTest::addColumn<QString>("utc");
    QTest::addColumn<QString>("rule");
    QTest::newRow("5:30 east, noon") << "2000-01-01T12:00:00" << 5 << 30 << false << true << "2000-01-01T06:30:00Z"
                                     << "zone 5:30 east (fixed UTC+05:30)";
    QTest::newRow("5:30 east, DST") << "2000-01-01T12:00:00" << 5 << 30 << true << true << "2000-01-01T05:30:00Z"
                                    << "zone 5:30 east with DST (fixed UTC+06:30)";
    QTest::newRow("5:00 west, DST, 06:45:10") << "1975-06-15T06:45:10" << 5 << 0 << true << false
                                              << "1975-06-15T10:45:10Z" << "zone 5:00 west with DST (fixed UTC-04:00)";
    QTest::newRow("02:00 east, previous UTC day") << "1981-08-18T02:00:00" << 5 << 30 << false << true
                                                  << "1981-08-17T20:30:00Z" << "zone 5:30 east (fixed UTC+05:30)";
    QTest::newRow("0 deg 0 min chosen east reads west, DST")
        << "1990-07-01T12:00:00" << 2 << 0 << true << orvanta::ClassicZoneIsEast(0, 0, true) << "1990-07-01T13:00:00Z"
        << "zone 2:00 west with DST (fixed UTC-01:00)";
    QTest::newRow("0 deg 1 min east stays east")
        << "1990-07-01T12:00:00" << 2 << 0 << true << orvanta::ClassicZoneIsEast(0, 1, true) << "1990-07-01T09:00:00Z"
        << "zone 2:00 east with DST (fixed UTC+03:00)";
    QTest::newRow("13 h east over new year") << "2399-12-31T23:59:59" << 13 << 0 << false << true
                                             << "2399-12-31T10:59:59Z" << "zone 13:00 east (fixed UTC+13:00)";
    QTest::newRow("first day, west") << "1800-01-01T00:00:00" << 4 << 0 << false << false << "1800-01-01T04:00:00Z"
                                     << "zone 4:00 west (fixed UTC-04:00)";
}

void TestBirthInstant::classicZone() {
    QFETCH(QString, local);
    QFETCH(int, hours);
    QFETCH(int, minutes);
    QFETCH(bool, dst);
    QFETCH(bool, east);
    QFETCH(QString, utc);
    QFETCH(QString, rule);
    const auto result = orvanta::InstantFromClassicZone(Civil(local), hours, minutes, dst, east);
    QVERIFY2(result.instant.has_value(), result.error.c_str());
    const BirthInstant& b = *result.instant;
    QCOMPARE(b.utcSeconds, UtcSeconds(utc));
    QCOMPARE(b.utcOffsetSeconds, int(UtcSeconds(local + "Z") - UtcSeconds(utc)));
    QCOMPARE(b.julianDayUT, 2440587.5 + double(b.utcSeconds) / 86400.0);
    QCOMPARE(QString::fromStdString(b.zoneRule), rule);
    QVERIFY(b.timeZone.empty());
    QCOMPARE(orvanta::UtcOffsetAt(b, b.utcSeconds + 400LL * 86400 * 365), b.utcOffsetSeconds);
}

void TestBirthInstant::classicZoneRefusals() {
    const auto noon = Civil("2000-01-01T12:00:00");
    // Julian day 2451545.0 begins at 2000-01-01 12:00 UTC.
    QCOMPARE(orvanta::InstantFromClassicZone(noon, 0, 0, false, false).instant->julianDayUT, 2451545.0);
    for (const auto& [h, m] : {std::pair{24, 0}, {-1, 0}, {5, 60}, {5, -30}}) {
        const auto r = orvanta::InstantFromClassicZone(noon, h, m, false, true);
        QVERIFY(!r.instant);
        QVERIFY(!r.error.empty());
    }
    for (const char* text : {"1799-12-31T23:59:59", "2400-01-01T00:00:00", "2100-02-29T12:00:00",
                             "2000-04-31T12:00:00", "2000-01-01T24:00:00", "2000-01-01T12:60:00",
                             "2000-01-01T12:00:60"}) {
        const auto r = orvanta::InstantFromClassicZone(Civil(text), 5, 30, false, true);
        QVERIFY2(!r.instant, text);
        QVERIFY(!r.error.empty());
    }
    QVERIFY(orvanta::InstantFromClassicZone(Civil("2000-02-29T12:00:00"), 5, 30, false, true).instant);
}

// Expected offsets: the tz database (asia, europe, northamerica, australasia files).
void TestBirthInstant::timeZone_data() {
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("local");
    QTest::addColumn<Fold>("fold");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("rule");
    QTest::newRow("India war time 1943") << "Asia/Kolkata" << "1943-07-15T08:20:00" << Fold::Refuse << 23400
                                         << "Asia/Kolkata: UTC+06:30";
    QTest::newRow("India 2000") << "Asia/Kolkata" << "2000-01-01T12:00:00" << Fold::Refuse << 19800
                                << "Asia/Kolkata: IST, UTC+05:30";
    QTest::newRow("India 1800 local mean time") << "Asia/Kolkata" << "1800-01-01T12:00:00" << Fold::Refuse << 21208
                                                << "Asia/Kolkata: LMT, UTC+05:53:28";
    QTest::newRow("London double summer time 1941") << "Europe/London" << "1941-06-15T12:00:00" << Fold::Refuse
                                                    << 7200 << "Europe/London: BDST, UTC+02:00";
    QTest::newRow("New York war time, January 1944") << "America/New_York" << "1944-01-15T12:00:00" << Fold::Refuse
                                                     << -14400 << "America/New_York: EWT, UTC-04:00";
    QTest::newRow("New York 2399") << "America/New_York" << "2399-12-31T12:00:00" << Fold::Refuse << -18000
                                   << "America/New_York: EST, UTC-05:00";
    QTest::newRow("New York doubled, earlier") << "America/New_York" << "2021-11-07T01:30:00" << Fold::Earlier
                                               << -14400 << "America/New_York: EDT, UTC-04:00";
    QTest::newRow("New York doubled, later") << "America/New_York" << "2021-11-07T01:30:00" << Fold::Later << -18000
                                             << "America/New_York: EST, UTC-05:00";
    QTest::newRow("New York single, fold ignored") << "America/New_York" << "2021-11-07T02:30:00" << Fold::Later
                                                   << -18000 << "America/New_York: EST, UTC-05:00";
    QTest::newRow("Kathmandu 1985") << "Asia/Kathmandu" << "1985-06-01T12:00:00" << Fold::Refuse << 19800
                                    << "Asia/Kathmandu: UTC+05:30";
    QTest::newRow("Kathmandu 1986") << "Asia/Kathmandu" << "1986-06-01T12:00:00" << Fold::Refuse << 20700
                                    << "Asia/Kathmandu: UTC+05:45";
    QTest::newRow("Apia last second west of the date line")
        << "Pacific/Apia" << "2011-12-29T23:59:59" << Fold::Refuse << -36000 << "Pacific/Apia: UTC-10:00";
    QTest::newRow("Apia first second east of it") << "Pacific/Apia" << "2011-12-31T00:00:00" << Fold::Refuse << 50400
                                                  << "Pacific/Apia: UTC+14:00";
    // A fixed offset: the hour New York skips and the one it doubles are read once.
    QTest::newRow("fixed, AAF zone * at 5e27") << "UTC+00:21:48" << "1839-01-19T01:00:00" << Fold::Refuse << 1308
                                               << "fixed UTC+00:21:48";
    QTest::newRow("fixed, no gap") << "UTC-05:00" << "2021-03-14T02:30:00" << Fold::Refuse << -18000
                                   << "fixed UTC-05:00";
    QTest::newRow("fixed, no fold") << "UTC-04:00" << "2021-11-07T01:30:00" << Fold::Refuse << -14400
                                    << "fixed UTC-04:00";
}

void TestBirthInstant::timeZone() {
    QFETCH(QString, zone);
    QFETCH(QString, local);
    QFETCH(Fold, fold);
    QFETCH(int, offset);
    QFETCH(QString, rule);
    const auto result = orvanta::InstantFromTimeZone(Civil(local), zone.toStdString(), fold);
    QVERIFY2(result.instant.has_value(), result.error.c_str());
    const BirthInstant& b = *result.instant;
    QCOMPARE(b.utcOffsetSeconds, offset);
    QCOMPARE(b.utcSeconds, UtcSeconds(local + "Z") - offset);
    QCOMPARE(QString::fromStdString(b.timeZone), zone);
    QCOMPARE(QString::fromStdString(b.zoneRule), rule);
    QCOMPARE(orvanta::UtcOffsetAt(b, b.utcSeconds), offset);
}

void TestBirthInstant::timeZoneRefusals_data() {
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("local");
    QTest::addColumn<QString>("error");
    QTest::newRow("New York spring gap") << "America/New_York" << "2021-03-14T02:30:00"
                                         << "The local time 2021-03-14 02:30:00 does not exist in America/New_York: "
                                            "the clocks skipped it (UTC-05:00 before, UTC-04:00 after).";
    QTest::newRow("New York autumn fold") << "America/New_York" << "2021-11-07T01:30:00"
                                          << "The local time 2021-11-07 01:30:00 occurs twice in America/New_York: "
                                             "first at UTC-04:00, then at UTC-05:00; choose the earlier or the later "
                                             "one.";
    QTest::newRow("New York spring gap 2399, from the zone's rule") << "America/New_York" << "2399-03-14T02:00:00"
        << "The local time 2399-03-14 02:00:00 does not exist in America/New_York: the clocks skipped it "
           "(UTC-05:00 before, UTC-04:00 after).";
    QTest::newRow("Kathmandu's skipped quarter hour")
        << "Asia/Kathmandu" << "1986-01-01T00:10:00"
        << "The local time 1986-01-01 00:10:00 does not exist in Asia/Kathmandu: the clocks skipped it "
           "(UTC+05:30 before, UTC+05:45 after).";
    QTest::newRow("Apia's skipped day") << "Pacific/Apia" << "2011-12-30T12:00:00"
                                        << "The local time 2011-12-30 12:00:00 does not exist in Pacific/Apia: the "
                                           "clocks skipped it (UTC-10:00 before, UTC+14:00 after).";
    QTest::newRow("unknown zone") << "Mars/Olympus_Mons" << "2000-01-01T12:00:00"
                                  << "There is no time zone \"Mars/Olympus_Mons\" in the tz database; give an "
                                     "Area/Location id such as Asia/Kolkata, or Etc/GMT+4 for a fixed UTC-04:00.";
    QTest::newRow("a POSIX TZ rule is no zone id") << "XYZ5" << "2000-01-01T12:00:00"
        << "There is no time zone \"XYZ5\" in the tz database; give an Area/Location id such as Asia/Kolkata, or "
           "Etc/GMT+4 for a fixed UTC-04:00.";
    QTest::newRow("before 1800") << "Asia/Kolkata" << "1799-12-31T12:00:00"
                                 << "The date 1799-12-31 is outside the years 1800 to 2399.";
    QTest::newRow("not a date") << "Asia/Kolkata" << "2023-02-29T12:00:00" << "There is no date 2023-02-29 in the calendar.";
}

void TestBirthInstant::timeZoneRefusals() {
    QFETCH(QString, zone);
    QFETCH(QString, local);
    QFETCH(QString, error);
    const auto result = orvanta::InstantFromTimeZone(Civil(local), zone.toStdString());
    QVERIFY(!result.instant);
    QCOMPARE(QString::fromStdString(result.error), error);
}

// Every quarter hour of a year: a reading is refused exactly when the zone skips or
// doubles it, and an accepted one reads back as the same wall clock.
void TestBirthInstant::quarterHourSweep_data() {
    QTest::addColumn<QString>("zone");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<int>("doubled");
    QTest::newRow("New York 2021, one-hour shifts") << "America/New_York" << 4 << 4;
    QTest::newRow("Lord Howe 2021, half-hour shifts") << "Australia/Lord_Howe" << 2 << 2;
    QTest::newRow("Kolkata 2021, none") << "Asia/Kolkata" << 0 << 0;
}

void TestBirthInstant::quarterHourSweep() {
    QFETCH(QString, zone);
    QFETCH(int, skipped);
    QFETCH(int, doubled);
    const QTimeZone qzone(zone.toUtf8());
    int seenSkipped = 0;
    int seenDoubled = 0;
    const qint64 start = UtcSeconds("2021-01-01T00:00:00Z");
    for (qint64 wall = start; wall < start + 365 * 86400; wall += 900) {
        const QDateTime w = QDateTime::fromSecsSinceEpoch(wall, Qt::UTC);
        const CivilDateTime local{w.date().year(), w.date().month(), w.date().day(), w.time().hour(),
                                  w.time().minute(), 0};
        const auto r = orvanta::InstantFromTimeZone(local, zone.toStdString());
        if (r.instant) {
            QCOMPARE(r.instant->utcSeconds + qzone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(r.instant->utcSeconds,
                                                                                              Qt::UTC)),
                     wall);
            continue;
        }
        const bool isDoubled = r.error.find("occurs twice") != std::string::npos;
        (isDoubled ? seenDoubled : seenSkipped)++;
        if (isDoubled) {
            const auto earlier = orvanta::InstantFromTimeZone(local, zone.toStdString(), Fold::Earlier);
            const auto later = orvanta::InstantFromTimeZone(local, zone.toStdString(), Fold::Later);
            QVERIFY(earlier.instant && later.instant);
            QVERIFY(earlier.instant->utcSeconds < later.instant->utcSeconds);
        }
    }
    QCOMPARE(seenSkipped, skipped);
    QCOMPARE(seenDoubled, doubled);
}

void TestBirthInstant::offsetLaterInLife() {
    const auto b = orvanta::InstantFromTimeZone(Civil("2021-07-01T12:00:00"), "America/New_York");
    QVERIFY(b.instant);
    QCOMPARE(orvanta::UtcOffsetAt(*b.instant, UtcSeconds("2021-12-01T12:00:00Z")), -18000);
    QCOMPARE(orvanta::UtcOffsetAt(*b.instant, UtcSeconds("1944-06-01T12:00:00Z")), -14400);
    const auto k = orvanta::InstantFromTimeZone(Civil("1943-07-15T08:20:00"), "Asia/Kolkata");
    QVERIFY(k.instant);
    QCOMPARE(orvanta::UtcOffsetAt(*k.instant, UtcSeconds("1950-01-01T00:00:00Z")), 19800);
}

QTEST_APPLESS_MAIN(TestBirthInstant)
#include "tst_birth_instant.moc"
