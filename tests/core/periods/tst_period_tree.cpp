#include <QtTest>

#include <cmath>

#include "core/dasha/dasha.h"
#include "core/periods/period_tree.h"
#include "core/periods/uncertainty.h"

using namespace orvanta;

namespace {

constexpr double kDay = 86400;
constexpr double kJulianYear = 365.25 * kDay;  // 31,557,600 s

QString Chain(const PeriodTree& tree, const std::vector<int>& chain) {
    QStringList lords;
    for (const int i : chain) {
        const Period& p = tree.periods[static_cast<std::size_t>(i)];
        lords << QString::fromUtf8(DashaLord[static_cast<std::size_t>(p.lords[static_cast<std::size_t>(p.level - 1)])]);
    }
    return lords.join('/');
}

PeriodTree Tree(double moon, double yearDays, int levels) {
    PeriodRequest request;
    request.moonSiderealLongitude = moon;
    request.yearDays = yearDays;
    request.levels = levels;
    return BuildPeriodTree(request);
}

}  // namespace

class TestPeriodTree : public QObject {
    Q_OBJECT
private slots:
    void placeOfMoon_data();
    void placeOfMoon();
    void invariantsSweep();
    void workedBoundaries_data();
    void workedBoundaries();
    void roundingIndependentOfTheEpoch();
    void runningChain_data();
    void runningChain();
    void calendarAge_data();
    void calendarAge();
    void birthTimeWindow_data();
    void birthTimeWindow();
};

void TestPeriodTree::placeOfMoon_data() {
    QTest::addColumn<double>("moon");
    QTest::addColumn<int>("nakshatra");  // 0-based
    QTest::addColumn<int>("pada");
    QTest::addColumn<QString>("lord");
    QTest::addColumn<double>("fraction");
    // By hand: n = floor(moon * 3 / 40), f = moon * 3 / 40 - n, pada = floor(4 f) + 1, lord = n mod 9.
    QTest::newRow("0 deg: start of Aswini") << 0.0 << 0 << 1 << "Ketu" << 0.0;
    QTest::newRow("16.7 deg: Bharani, f 0.2525") << 16.7 << 1 << 2 << "Venus" << 0.2525;
    QTest::newRow("200 deg: start of Vishakha") << 200.0 << 15 << 1 << "Jupiter" << 0.0;
    QTest::newRow("100 deg: mid Pushya") << 100.0 << 7 << 3 << "Saturn" << 0.5;
    QTest::newRow("359.9 deg: end of Revati") << 359.9 << 26 << 4 << "Mercury" << 0.9925;
}

void TestPeriodTree::placeOfMoon() {
    QFETCH(double, moon);
    QFETCH(int, nakshatra);
    QFETCH(int, pada);
    QFETCH(QString, lord);
    QFETCH(double, fraction);
    const MoonPlace place = PlaceOfMoon(moon);
    QCOMPARE(place.nakshatra, nakshatra);
    QCOMPARE(place.pada, pada);
    QCOMPARE(QString::fromUtf8(DashaLord[static_cast<std::size_t>(place.lord)]), lord);
    QVERIFY2(std::abs(place.elapsedFraction - fraction) < 1e-12, qPrintable(QString::number(place.elapsedFraction, 'g', 17)));
}

// Every period of four levels for Moons all round the zodiac and three year lengths.
void TestPeriodTree::invariantsSweep() {
    for (const double yearDays : {365.25, 360.0, 365.256363}) {
        for (double moon = 0.05; moon < 360; moon += 2.3) {
            const PeriodTree tree = Tree(moon, yearDays, 4);
            QCOMPARE(tree.periods.size(), std::size_t{9 + 81 + 729 + 6561});
            const double year = yearDays * kDay;
            const Period& first = tree.periods.front();
            QCOMPARE(first.lords[0], static_cast<std::int8_t>(tree.moon.lord));
            QVERIFY(first.start <= 0 && first.end > 0);  // birth falls in the birth lord's Maha Dasha
            QVERIFY(std::abs(tree.periods[8].end - first.start - 120 * year) < 1e-6);
            const auto checkSiblings = [&](int from, double start, double end, double span, int lead) {
                QCOMPARE(tree.periods[static_cast<std::size_t>(from)].start, start);
                QCOMPARE(tree.periods[static_cast<std::size_t>(from + 8)].end, end);
                for (int k = 0; k < 9; ++k) {
                    const Period& p = tree.periods[static_cast<std::size_t>(from + k)];
                    const int lord = (lead + k) % 9;
                    QCOMPARE(static_cast<int>(p.lords[static_cast<std::size_t>(p.level - 1)]), lord);
                    if (k < 8) QCOMPARE(p.end, tree.periods[static_cast<std::size_t>(from + k + 1)].start);  // one shared value
                    QVERIFY2(std::abs((p.end - p.start) - span * LordYears[static_cast<std::size_t>(lord)] / 120) < 1e-6,
                             qPrintable(QStringLiteral("moon %1 level %2 child %3").arg(moon).arg(p.level).arg(k)));
                }
            };
            checkSiblings(0, first.start, tree.periods[8].end, 120 * year, tree.moon.lord);
            for (const Period& parent : tree.periods) {
                if (parent.level < 4) {
                    QVERIFY(parent.firstChild > 0);
                    QCOMPARE(tree.periods[static_cast<std::size_t>(parent.firstChild)].level, parent.level + 1);
                    checkSiblings(parent.firstChild, parent.start, parent.end, parent.end - parent.start,
                                  parent.lords[static_cast<std::size_t>(parent.level - 1)]);
                } else {
                    QCOMPARE(parent.firstChild, -1);
                }
            }
        }
    }
}

void TestPeriodTree::workedBoundaries_data() {
    QTest::addColumn<double>("moon");
    QTest::addColumn<double>("yearDays");
    QTest::addColumn<QString>("chain");  // the period whose start is checked, found by its lords
    QTest::addColumn<double>("start");   // seconds from birth
    // By hand. Moon 16.7 deg: f = 0.2525 of Bharani (Venus, 20 years); Venus began
    // 0.2525 * 20 = 5.05 years before birth: 5.05 * 31,557,600 = 159,365,880 s.
    QTest::newRow("Venus Maha Dasha") << 16.7 << 365.25 << "Venus" << -159365880.0;
    // Then Sun (6 years) after Venus's 20: -159,365,880 + 20 * 31,557,600.
    QTest::newRow("Sun Maha Dasha") << 16.7 << 365.25 << "Sun" << 471786120.0;
    // Venus/Sun: after Venus/Venus, 20 * 20 / 120 years = 105,192,000 s.
    QTest::newRow("Venus / Sun") << 16.7 << 365.25 << "Venus/Sun" << -54173880.0;
    // Venus/Sun/Moon: after Sun/Sun, 20 * 6 / 120 * 6 / 120 years = 1,577,880 s.
    QTest::newRow("Venus / Sun / Moon") << 16.7 << 365.25 << "Venus/Sun/Moon" << -52596000.0;
    // Moon 200 deg opens Vishakha: Jupiter begins at birth; with 360-day years
    // Jupiter/Saturn begins 16 * 16 / 120 * 360 days = 66,355,200 s after it.
    QTest::newRow("Jupiter / Saturn, 360-day years") << 200.0 << 360.0 << "Jupiter/Saturn" << 66355200.0;
    // The cycle's last Maha Dasha, Rahu, begins 120 - 18 = 102 years of 360 days after birth.
    QTest::newRow("Rahu, 360-day years") << 200.0 << 360.0 << "Rahu" << 3172608000.0;
}

void TestPeriodTree::workedBoundaries() {
    QFETCH(double, moon);
    QFETCH(double, yearDays);
    QFETCH(QString, chain);
    QFETCH(double, start);
    const PeriodTree tree = Tree(moon, yearDays, 3);
    bool found = false;
    for (std::size_t i = 0; i < tree.periods.size(); ++i) {
        const Period& p = tree.periods[i];
        QStringList lords;
        for (int l = 0; l < p.level; ++l) lords << QString::fromUtf8(DashaLord[static_cast<std::size_t>(p.lords[static_cast<std::size_t>(l)])]);
        if (lords.join('/') != chain) continue;
        found = true;
        QVERIFY2(std::abs(p.start - start) < 1e-3, qPrintable(QString::number(p.start, 'f', 6)));
        QCOMPARE(RoundedUtcSeconds(tree, p.start), static_cast<std::int64_t>(start));
    }
    QVERIFY(found);
}

// The whole seconds written must not depend on which instant the times count from:
// the birth tree counts from the birth, the birth-time window's trees from minutes away.
void TestPeriodTree::roundingIndependentOfTheEpoch() {
    constexpr std::int64_t kBirth = 1'234'567'890;
    for (double moon = 0.3; moon < 360; moon += 7.7) {
        PeriodRequest atBirth;
        atBirth.epochUtcSeconds = kBirth;
        atBirth.moonSiderealLongitude = moon;
        PeriodRequest shifted = atBirth;
        shifted.epochUtcSeconds = kBirth - 21600;
        shifted.birthSeconds = 21600;
        const PeriodTree a = BuildPeriodTree(atBirth);
        const PeriodTree b = BuildPeriodTree(shifted);
        for (std::size_t i = 0; i < a.periods.size(); ++i) {
            const double fraction = a.periods[i].start - std::floor(a.periods[i].start);
            if (std::abs(fraction - 0.5) < 1e-5) continue;  // a tie: either second is as near
            QCOMPARE(RoundedUtcSeconds(a, a.periods[i].start), RoundedUtcSeconds(b, b.periods[i].start));
        }
    }
}

void TestPeriodTree::runningChain_data() {
    QTest::addColumn<double>("at");
    QTest::addColumn<QString>("chain");
    // Moon 200 deg, 360-day years: Jupiter from birth; its children Jupiter, Saturn, ...
    QTest::newRow("at birth") << 0.0 << "Jupiter/Jupiter/Jupiter";
    QTest::newRow("a boundary belongs to the period it opens") << 66355200.0 << "Jupiter/Saturn/Saturn";
    QTest::newRow("half a second before it") << 66355199.5 << "Jupiter/Jupiter/Rahu";
    QTest::newRow("before the cycle") << -1.0 << "";
    QTest::newRow("the cycle's end") << 120 * 360 * kDay << "";
}

void TestPeriodTree::runningChain() {
    QFETCH(double, at);
    QFETCH(QString, chain);
    const PeriodTree tree = Tree(200, 360, 3);
    QCOMPARE(Chain(tree, RunningChain(tree, at, 3)), chain);
    QCOMPARE(Chain(tree, RunningChain(tree, at, 1)), chain.section('/', 0, 0));
}

void TestPeriodTree::calendarAge_data() {
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<QDate>("on");
    QTest::addColumn<int>("years");  // -1: no age
    QTest::addColumn<int>("months");
    QTest::addColumn<int>("days");
    QTest::newRow("the birth day") << QDate(1981, 8, 18) << QDate(1981, 8, 18) << 0 << 0 << 0;
    // 18 Feb 1990 is 8 years 6 months on; 28-day February, 11 more days to 1 March.
    QTest::newRow("across February") << QDate(1981, 8, 18) << QDate(1990, 3, 1) << 8 << 6 << 11;
    QTest::newRow("31 January + 1 month ends February") << QDate(2000, 1, 31) << QDate(2000, 2, 29) << 0 << 1 << 0;
    QTest::newRow("then a day into March") << QDate(2000, 1, 31) << QDate(2000, 3, 1) << 0 << 1 << 1;
    QTest::newRow("29 February + 1 year") << QDate(2000, 2, 29) << QDate(2001, 2, 28) << 1 << 0 << 0;
    QTest::newRow("a day short of a month") << QDate(2000, 5, 10) << QDate(2000, 6, 9) << 0 << 0 << 30;
    QTest::newRow("before birth") << QDate(2000, 5, 10) << QDate(2000, 5, 9) << -1 << 0 << 0;
}

void TestPeriodTree::calendarAge() {
    QFETCH(QDate, birth);
    QFETCH(QDate, on);
    QFETCH(int, years);
    QFETCH(int, months);
    QFETCH(int, days);
    const auto age = AgeOn({birth.year(), birth.month(), birth.day()}, {on.year(), on.month(), on.day()});
    if (years < 0) {
        QVERIFY(!age);
        return;
    }
    QVERIFY(age);
    QCOMPARE(*age, (CalendarAge{years, months, days}));
}

void TestPeriodTree::birthTimeWindow_data() {
    QTest::addColumn<double>("moon");      // at birth, moving 13.2 deg a day
    QTest::addColumn<int>("minutes");
    QTest::addColumn<double>("changesAt"); // seconds from birth; NaN: the Moon stays in its Nakshatra
    QTest::addColumn<double>("spread");    // latest - earliest start of every period, s
    QTest::addColumn<double>("tolerance"); // s
    // 100 deg: mid Pushya (Saturn, 19 years). An hour moves the Moon 0.55 deg, f by
    // 0.55 * 3 / 40 = 0.04125, each start by 0.04125 * 19 * 31,557,600 - 3,600 = 24,729,669 s.
    QTest::newRow("an hour in mid Pushya") << 100.0 << 60 << qQNaN() << 2 * 24729669.0 << 1.0;
    // 13.2 deg: Aswini ends after (40/3 - 13.2) / 13.2 days = 872.727 s; the window
    // keeps [-60 min, 872.727 s] in Aswini (Ketu, 7 years): f moves by
    // 4472.727 / 86400 * 13.2 * 3 / 40 = 0.05125 and the starts by 0.05125 * 7 years - 4472.727 s.
    // The edge is found to a millisecond, and there a millisecond moves a start by 2.5 s.
    QTest::newRow("Aswini ends inside the window")
        << 13.2 << 60 << 872.727 << (3600 + 872.727) / kDay * 13.2 * 3 / 40 * 7 * kJulianYear - (3600 + 872.727) << 3.0;
    // Zero minutes: a window of one instant.
    QTest::newRow("no uncertainty") << 100.0 << 0 << qQNaN() << 0.0 << 1e-9;
}

void TestPeriodTree::birthTimeWindow() {
    QFETCH(double, moon);
    QFETCH(int, minutes);
    QFETCH(double, changesAt);
    QFETCH(double, spread);
    QFETCH(double, tolerance);
    constexpr double kEpochJd = 2440587.5;  // the tree's epoch, 1970-01-01T00:00:00Z
    const MoonFunction synthetic = [moon](double jd) { return std::fmod(moon + 13.2 * (jd - kEpochJd), 360.0); };
    const PeriodTree tree = Tree(moon, 365.25, 2);
    const BirthTimeWindow window = BirthTimeUncertainty(tree, synthetic, minutes);
    QCOMPARE(window.startEarliest.size(), tree.periods.size());
    if (std::isnan(changesAt)) {
        QVERIFY(!window.nakshatraChangesAt);
    } else {
        QVERIFY(window.nakshatraChangesAt);
        QVERIFY2(std::abs(*window.nakshatraChangesAt - changesAt) <= 1.5, qPrintable(QString::number(*window.nakshatraChangesAt)));
    }
    for (std::size_t i = 0; i < tree.periods.size(); ++i) {
        QVERIFY(window.startEarliest[i] <= tree.periods[i].start && tree.periods[i].start <= window.startLatest[i]);
        // The Moon function reads time through a Julian day, good to about 40 microseconds.
        QVERIFY2(std::abs(window.startLatest[i] - window.startEarliest[i] - spread) <= tolerance,
                 qPrintable(QString::number(window.startLatest[i] - window.startEarliest[i], 'f', 3)));
    }
}

QTEST_GUILESS_MAIN(TestPeriodTree)
#include "tst_period_tree.moc"
