#include <QTest>

#include "core/base/calendar.h"

using namespace orvanta;

class TestCalendar : public QObject {
    Q_OBJECT
private slots:
    void knownDays_data();
    void knownDays();
    void everyDay();
};

// The Julian day at 0h of a date is its day count + 2440587.5. Rows "Meeus" are from
// J. Meeus, Astronomical Algorithms (2nd ed.), ch. 7 (examples 7.a and table 7.a); the
// others, the ends of the years the methods take, from Python's proleptic Gregorian
// ordinal (date.toordinal() + 1721424.5).
void TestCalendar::knownDays_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<double>("jd");
    QTest::addColumn<bool>("leap");
    QTest::newRow("Meeus 7.a Sputnik 1957-10-04") << 1957 << 10 << 4 << 2436115.5 << false;
    QTest::newRow("Meeus J2000 2000-01-01") << 2000 << 1 << 1 << 2451544.5 << true;
    QTest::newRow("Meeus 1987-01-27") << 1987 << 1 << 27 << 2446822.5 << false;
    QTest::newRow("Meeus 1988-06-19") << 1988 << 6 << 19 << 2447331.5 << true;
    QTest::newRow("Meeus 1900-01-01, century not leap") << 1900 << 1 << 1 << 2415020.5 << false;
    QTest::newRow("Meeus 1600-12-31, 400th year leap") << 1600 << 12 << 31 << 2305812.5 << true;
    QTest::newRow("1700-02-28, century not leap") << 1700 << 2 << 28 << 2342030.5 << false;
    QTest::newRow("1700-03-01 follows 02-28") << 1700 << 3 << 1 << 2342031.5 << false;
    QTest::newRow("first birth day 1800-01-01") << 1800 << 1 << 1 << 2378496.5 << false;
    QTest::newRow("first form day 1901-01-01") << 1901 << 1 << 1 << 2415385.5 << false;
    QTest::newRow("last form day 2050-12-31") << 2050 << 12 << 31 << 2470171.5 << false;
    QTest::newRow("2000-02-29") << 2000 << 2 << 29 << 2451603.5 << true;
    QTest::newRow("2100-03-01, century not leap") << 2100 << 3 << 1 << 2488128.5 << false;
    QTest::newRow("last birth day 2399-12-31") << 2399 << 12 << 31 << 2597640.5 << false;
    QTest::newRow("2400-02-29, 400th year leap") << 2400 << 2 << 29 << 2597700.5 << true;
    QTest::newRow("last period day 2519-12-31") << 2519 << 12 << 31 << 2641469.5 << false;
    QTest::newRow("2600-12-31, century not leap") << 2600 << 12 << 31 << 2671054.5 << false;
}

void TestCalendar::knownDays() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(double, jd);
    QFETCH(bool, leap);
    const auto days = static_cast<std::int64_t>(jd - 2440587.5);
    QCOMPARE(DaysFromCivil(year, month, day), days);
    QCOMPARE(CivilFromDays(days), (Date{year, month, day}));
    QCOMPARE(IsLeapYear(year), leap);
    QCOMPARE(DaysOfMonth(year, 2), leap ? 29 : 28);
    QCOMPARE(SecondsOfCivil({year, month, day, 23, 59, 59}), days * 86400 + 86399);
    const CivilDateTime back = CivilOfSeconds(days * 86400 - 1);  // the last second of the day before
    QCOMPARE(DaysFromCivil(back.year, back.month, back.day), days - 1);
    QCOMPARE(back.hour * 3600 + back.minute * 60 + back.second, 86399);
}

// Every day of 1700 to 2600: civil -> days -> civil reads back, each day count is its
// predecessor's + 1, and the days of each month are DaysOfMonth's.
void TestCalendar::everyDay() {
    std::int64_t expected = DaysFromCivil(1700, 1, 1);
    for (int year = 1700; year <= 2600; ++year) {
        int yearDays = 0;
        for (int month = 1; month <= 12; ++month) {
            QVERIFY(!IsCalendarDay(year, month, DaysOfMonth(year, month) + 1));
            for (int day = 1; day <= DaysOfMonth(year, month); ++day, ++expected, ++yearDays) {
                if (DaysFromCivil(year, month, day) != expected || CivilFromDays(expected) != Date{year, month, day}) {
                    QFAIL(qPrintable(QString::asprintf("%04d-%02d-%02d is not day %lld", year, month, day,
                                                       static_cast<long long>(expected))));
                }
            }
        }
        QCOMPARE(yearDays, IsLeapYear(year) ? 366 : 365);
    }
    QCOMPARE(expected, DaysFromCivil(2601, 1, 1));
}

QTEST_APPLESS_MAIN(TestCalendar)
#include "tst_calendar.moc"
