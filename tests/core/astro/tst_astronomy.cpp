#include <QtTest>

#include "core/astro/astronomy.h"
#include "core/astro/chart_positions.h"

using namespace orvanta;

namespace {

// Case A: 1 January 2000, 12:00, zone 5 h 30 min, 77° 13' east, 28° 39' north.
BirthDetails CaseA() {
    BirthDetails b;
    b.month = 1; b.day = 1; b.year = 2000; b.hour = 12; b.minute = 0;
    b.zoneHours = 5; b.zoneMinutes = 30;
    b.longitudeDegrees = 77; b.longitudeMinutes = 13; b.isEast = true;
    b.latitudeDegrees = 28; b.latitudeMinutes = 39; b.isSouth = false;
    return b;
}

// Case B: 15 June 1975, 06:45, zone 5 h, 74° 0' west, 40° 43' north, daylight saving.
BirthDetails CaseB() {
    BirthDetails b;
    b.month = 6; b.day = 15; b.year = 1975; b.hour = 6; b.minute = 45;
    b.zoneHours = 5; b.zoneMinutes = 0;
    b.longitudeDegrees = 74; b.longitudeMinutes = 0; b.isEast = false;
    b.latitudeDegrees = 40; b.latitudeMinutes = 43; b.dst = true;
    return b;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

class TestAstronomy : public QObject {
    Q_OBJECT
private slots:
    void julianDay_data();
    void julianDay();
    void birthTime_data();
    void birthTime();
    void ayanamsha_data();
    void ayanamsha();
    void formats_data();
    void formats();
    void moon_data();
    void moon();
    void nakshatraBoundaries_data();
    void nakshatraBoundaries();
    void lagna_data();
    void lagna();
    void latitudeSignMatters();
    void ascendantRunsThroughAllSigns();
};

void TestAstronomy::julianDay_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<double>("jd");
    QTest::newRow("J2000") << 2000 << 1 << 1 << 2451545.0;
    QTest::newRow("first input day") << 1901 << 1 << 1 << 2415386.0;
    QTest::newRow("last input day") << 2050 << 12 << 31 << 2470172.0;
    QTest::newRow("case B") << 1975 << 6 << 15 << 2442579.0;
    QTest::newRow("leap day 2000") << 2000 << 2 << 29 << 2451604.0;
    QTest::newRow("last Julian-calendar day") << 1582 << 10 << 4 << 2299160.0;
    // The switch to the Gregorian rule is strictly above 2299171: that day itself stays Julian.
    QTest::newRow("threshold day stays Julian") << 1582 << 10 << 15 << 2299171.0;
    QTest::newRow("first day past the threshold") << 1582 << 10 << 16 << 2299162.0;
}

void TestAstronomy::julianDay() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(double, jd);
    QCOMPARE(JulianDayNumber(month, day, year), jd);
}

void TestAstronomy::birthTime_data() {
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("zoneHours");
    QTest::addColumn<int>("zoneMinutes");
    QTest::addColumn<int>("lonDeg");
    QTest::addColumn<int>("lonMin");
    QTest::addColumn<bool>("east");
    QTest::addColumn<bool>("dst");
    QTest::addColumn<double>("zone");
    QTest::addColumn<double>("universalTime");
    QTest::newRow("5:30 east, noon") << 12 << 0 << 5 << 30 << 77 << 13 << true << false << 5.5 << 6.5;
    QTest::newRow("5:30 east, noon, DST") << 12 << 0 << 5 << 30 << 77 << 13 << true << true << 6.5 << 5.5;
    QTest::newRow("5 west, 06:45, DST") << 6 << 45 << 5 << 0 << 74 << 0 << false << true << 4.0 << 10.75;
    QTest::newRow("02:00 east, before UT midnight") << 2 << 0 << 5 << 30 << 77 << 13 << true << false << 5.5 << -3.5;
    QTest::newRow("0°0' east counts as west") << 12 << 0 << 1 << 0 << 0 << 0 << true << false << 1.0 << 13.0;
    QTest::newRow("0°0' east, DST lowers the zone") << 12 << 0 << 1 << 0 << 0 << 0 << true << true << 0.0 << 12.0;
}

void TestAstronomy::birthTime() {
    QFETCH(int, hour);
    QFETCH(int, minute);
    QFETCH(int, zoneHours);
    QFETCH(int, zoneMinutes);
    QFETCH(int, lonDeg);
    QFETCH(int, lonMin);
    QFETCH(bool, east);
    QFETCH(bool, dst);
    QFETCH(double, zone);
    QFETCH(double, universalTime);
    BirthDetails b;
    b.hour = static_cast<std::int16_t>(hour);
    b.minute = static_cast<std::int16_t>(minute);
    b.zoneHours = static_cast<std::int16_t>(zoneHours);
    b.zoneMinutes = static_cast<std::int16_t>(zoneMinutes);
    b.longitudeDegrees = static_cast<std::int16_t>(lonDeg);
    b.longitudeMinutes = static_cast<std::int16_t>(lonMin);
    b.isEast = east;
    b.dst = dst;
    const BirthTime t = ReadBirthTime(b);
    QCOMPARE(t.zone, zone);
    QCOMPARE(t.universalTime, universalTime);
}

void TestAstronomy::ayanamsha_data() {
    QTest::addColumn<double>("jd");
    QTest::addColumn<double>("universalTime");
    QTest::addColumn<double>("t2000");
    QTest::addColumn<double>("a2000");
    QTest::addColumn<double>("t1900");
    QTest::addColumn<double>("a1900");
    QTest::addColumn<QString>("text");
    QTest::newRow("2000-01-01 06:30 UT") << 2451545.0 << 6.5 << -0.0000062742 << -23.8537178 << 0.9999937258
                                       << -23.8539801 << QString::fromUtf8("-23° 51' 14\"");
    QTest::newRow("1975-06-15 10:45 UT") << 2442579.0 << 10.75 << -0.2454771 << -23.5184146 << 0.7545229
                                       << -23.5190154 << QString::fromUtf8("-23° 31' 8\"");
}

void TestAstronomy::ayanamsha() {
    QFETCH(double, jd);
    QFETCH(double, universalTime);
    QFETCH(double, t2000);
    QFETCH(double, a2000);
    QFETCH(double, t1900);
    QFETCH(double, a1900);
    QFETCH(QString, text);
    // The worked values are given to 7 decimals (10 for the small T).
    QVERIFY(qAbs(T2000(jd, universalTime) - t2000) < 5e-8);
    QVERIFY(qAbs(T1900(jd, universalTime) - t1900) < 5e-8);
    QVERIFY(qAbs(Ayanamsha2000(T2000(jd, universalTime)) - a2000) < 5e-8);
    QVERIFY(qAbs(Ayanamsha1900(T1900(jd, universalTime)) - a1900) < 5e-8);
    QCOMPARE(Q(FormatSignedAngle(Ayanamsha1900(T1900(jd, universalTime)))), text);
}

void TestAstronomy::formats_data() {
    QTest::addColumn<bool>("signed_");
    QTest::addColumn<double>("angle");
    QTest::addColumn<QString>("text");
    QTest::newRow("A: 45.5") << false << 45.5 << QString::fromUtf8("15° 30' 0\" Tau");
    QTest::newRow("A: seconds truncated, never 30°") << false << 29.99999 << QString::fromUtf8("29° 59' 59\" Ari");
    QTest::newRow("A: a sign boundary belongs to the next sign") << false << 30.0 << QString::fromUtf8("0° 0' 0\" Tau");
    QTest::newRow("A: last sign") << false << 359.5 << QString::fromUtf8("29° 30' 0\" Pis");
    QTest::newRow("A: 360 wraps to Aries") << false << 360.0 << QString::fromUtf8("0° 0' 0\" Ari");
    QTest::newRow("B: negative") << true << -23.85398 << QString::fromUtf8("-23° 51' 14\"");
    QTest::newRow("B: between -1 and 0 shows no minus") << true << -0.5 << QString::fromUtf8("0° 30' 0\"");
    QTest::newRow("B: positive") << true << 12.25 << QString::fromUtf8("12° 15' 0\"");
}

void TestAstronomy::formats() {
    QFETCH(bool, signed_);
    QFETCH(double, angle);
    QFETCH(QString, text);
    QCOMPARE(Q(signed_ ? FormatSignedAngle(angle) : FormatSignPosition(angle)), text);
}

void TestAstronomy::moon_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<double>("t");
    QTest::addColumn<double>("tropical");
    QTest::addColumn<double>("sidereal");
    QTest::addColumn<QString>("moonText");
    QTest::addColumn<QString>("nakshatra");
    QTest::addColumn<QString>("rashi");
    QTest::newRow("case A") << 0 << -0.0000062742 << 220.5565136 << 196.7027958
                            << QString::fromUtf8("16° 42' 10\" Lib") << "Swati" << "Libra (Thula)";
    QTest::newRow("case B") << 1 << -0.2454771 << 158.0780050 << 134.5595904
                            << QString::fromUtf8("14° 33' 34\" Leo") << "Purbha Phalguni" << "Leo (Simha)";
}

void TestAstronomy::moon() {
    QFETCH(int, which);
    QFETCH(double, t);
    QFETCH(double, tropical);
    QFETCH(double, sidereal);
    QFETCH(QString, moonText);
    QFETCH(QString, nakshatra);
    QFETCH(QString, rashi);
    const BirthDetails birth = which == 0 ? CaseA() : CaseB();
    const BirthTime time = ReadBirthTime(birth);
    const double t2000 = T2000(JulianDayNumber(birth.month, birth.day, birth.year), time.universalTime);
    QVERIFY(qAbs(t2000 - t) < 5e-8);
    QVERIFY(qAbs(MoonTropicalLongitude(t2000) - tropical) < 5e-7);
    QVERIFY(qAbs(MoonTropicalLongitude(t2000) + Ayanamsha2000(t2000) - sidereal) < 5e-7);

    ChartPositions positions;
    ComputeMoonPlace(birth, positions);
    QCOMPARE(Q(positions.moonText), moonText);
    QCOMPARE(Q(positions.moonNakshatraName), nakshatra);
    QCOMPARE(Q(positions.moonRashiName), rashi);

    // The latitude takes no part in the Moon.
    BirthDetails south = birth;
    south.isSouth = true;
    south.latitudeDegrees = 10;
    ChartPositions other;
    ComputeMoonPlace(south, other);
    QCOMPARE(Q(other.moonText), moonText);
}

void TestAstronomy::nakshatraBoundaries_data() {
    QTest::addColumn<double>("sidereal");
    QTest::addColumn<QString>("name");
    QTest::newRow("just past 13°20'") << 13.3334 << "Bharani";
    QTest::newRow("just before 13°20'") << 13.3333 << "Aswini";
    QTest::newRow("0° Aries") << 0.0 << "Aswini";
    QTest::newRow("exactly 120° begins Magha") << 120.0 << "Magha";
    QTest::newRow("last of Revati") << 359.99 << "Revati";
}

void TestAstronomy::nakshatraBoundaries() {
    QFETCH(double, sidereal);
    QFETCH(QString, name);
    QCOMPARE(QString::fromUtf8(NakshatraOf(sidereal).data(), static_cast<qsizetype>(NakshatraOf(sidereal).size())), name);
}

void TestAstronomy::lagna_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<double>("julianDay");
    QTest::addColumn<double>("theta");
    QTest::addColumn<double>("tropical");
    QTest::addColumn<QString>("ayanamshaText");
    QTest::addColumn<QString>("lagnaText");
    QTest::newRow("case A") << 0 << 2451545.0 << 274.951660 << 7.0621497 << QString::fromUtf8("-23° 51' 14\"")
                            << QString::fromUtf8("13° 12' 29\" Pis");
    QTest::newRow("case B") << 1 << 2442579.0 << 350.345218 << 100.8258380 << QString::fromUtf8("-23° 31' 8\"")
                            << QString::fromUtf8("17° 18' 24\" Gem");
}

void TestAstronomy::lagna() {
    QFETCH(int, which);
    QFETCH(double, julianDay);
    QFETCH(double, theta);
    QFETCH(double, tropical);
    QFETCH(QString, ayanamshaText);
    QFETCH(QString, lagnaText);
    const BirthDetails birth = which == 0 ? CaseA() : CaseB();
    const BirthTime time = ReadBirthTime(birth);
    const double t = T1900(julianDay, time.universalTime);
    QVERIFY(qAbs(LocalSiderealAngle(t, time.universalTime, time.signedLongitude) - theta) < 5e-6);
    QVERIFY(qAbs(TropicalAscendant(t, time.universalTime, time.signedLongitude, time.signedLatitude) - tropical) < 5e-7);

    ChartPositions positions;
    ComputeLagna(birth, positions);
    QCOMPARE(positions.julianDay, julianDay);
    QCOMPARE(Q(positions.ayanamshaText), ayanamshaText);
    QCOMPARE(Q(positions.lagnaText), lagnaText);
}

void TestAstronomy::latitudeSignMatters() {
    BirthDetails north = CaseB();
    BirthDetails south = north;
    south.isSouth = true;
    ChartPositions a;
    ChartPositions b;
    ComputeLagna(north, a);
    ComputeLagna(south, b);
    QVERIFY(a.lagnaText != b.lagnaText);
}

void TestAstronomy::ascendantRunsThroughAllSigns() {
    // At a fixed place and date the ascendant passes through all twelve signs in a day,
    // about two hours each.
    BirthDetails birth = CaseA();
    QSet<QString> codes;
    QString previous;
    int changes = 0;
    for (int minutes = 0; minutes < 24 * 60; minutes += 10) {
        birth.hour = static_cast<std::int16_t>(minutes / 60);
        birth.minute = static_cast<std::int16_t>(minutes % 60);
        ChartPositions p;
        ComputeLagna(birth, p);
        const QString code = Q(p.lagnaText).right(3);
        if (!previous.isEmpty() && code != previous) ++changes;
        previous = code;
        codes.insert(code);
    }
    QCOMPARE(codes.size(), 12);
    QVERIFY(changes >= 11 && changes <= 13);
}

QTEST_APPLESS_MAIN(TestAstronomy)
#include "tst_astronomy.moc"
