#include <QtTest>

#include "core/chart/computation_run.h"
#include "core/dasha/dasha.h"
#include "core/periods/period_view.h"

using namespace orvanta;

namespace {

// The form's start state: 18 August 1981, 23:30, zone 5:30 east, 23° N 80° E.
PeriodsBirth DefaultBirth() { return {ReadBirthDetails(BirthForm{}), 0, std::nullopt}; }

PreciseReport Report(const PeriodsBirth& birth, PeriodsSettings settings = {}) {
    PeriodsOutcome outcome = ComputePeriods(birth, settings);
    if (!outcome.report) qFatal("%s", outcome.error.c_str());
    return std::move(*outcome.report);
}

}  // namespace

class TestPeriodView : public QObject {
    Q_OBJECT
private slots:
    void arcText_data();
    void arcText();
    void classicStartMatchesTheResultsWindow_data();
    void classicStartMatchesTheResultsWindow();
    void classicDifference_data();
    void classicDifference();
    void parentsAndLevels();
    void refusals_data();
    void refusals();
    void nakshatraChange_data();
    void nakshatraChange();
    void instantDifference_data();
    void instantDifference();
};

void TestPeriodView::nakshatraChange_data() {
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("sentence");  // its opening; empty: no sentence
    // Kolkata, 4 May 1943 06:00 (UTC+06:30): orvanta-chart --precise --uncertainty 180 gives
    // nakshatraChangesAt 1943-05-03T21:32:28Z, the Moon leaving Ashwini (Ketu) for Bharani.
    QTest::newRow("crosses the edge before the birth")
        << 180 << "The Moon changes Nakshatra at 1943-05-04 04:02:28: a birth before then starts in Ketu, not Venus";
    QTest::newRow("stays in Bharani") << 90 << "";
}

// Where the window crosses into another Nakshatra, the other side's first lord and its
// next Maha Dashas are named; they start after the births they belong to.
void TestPeriodView::nakshatraChange() {
    QFETCH(int, minutes);
    QFETCH(QString, sentence);
    BirthDetails d = ReadBirthDetails(BirthForm{});
    d.year = 1943, d.month = 5, d.day = 4, d.hour = 6, d.minute = 0;
    const PeriodsBirth birth{d, 0, AttachedPlace{22.5667, 88.3667, "Asia/Kolkata"}};
    PeriodsSettings settings;
    settings.uncertaintyMinutes = minutes;
    settings.levels = 2;
    const PreciseReport report = Report(birth, settings);
    const auto text = NakshatraChangeText(report);
    QCOMPARE(text.has_value(), !sentence.isEmpty());
    if (!text) return;
    QVERIFY2(QString::fromStdString(*text).startsWith(sentence), text->c_str());
    const auto& other = *report.window->otherSide;
    QVERIFY(other.to <= *report.window->nakshatraChangesAt + 1);
    for (std::size_t i = 1; i < other.lords.size(); ++i) {
        QVERIFY(other.startEarliest[i] >= other.to - 1 && other.startEarliest[i] <= other.startLatest[i]);
        QVERIFY(other.startLatest[i] < other.startEarliest[i < 8 ? i + 1 : i] || i == 8);
    }
}

void TestPeriodView::instantDifference_data() {
    QTest::addColumn<int>("second");
    QTest::addColumn<QString>("zone");  // the attached place's; empty: none
    QTest::addColumn<QString>("sentence");  // what it says; empty: no sentence
    QTest::newRow("same instant") << 0 << "" << "";
    QTest::newRow("seconds") << 30 << "" << "30 s before these periods (1981-08-18T18:00:30Z): the classic reading takes no seconds.";
    QTest::newRow("another zone") << 0 << "Europe/Madrid" << "3 h 30 min before these periods (1981-08-18T21:30:00Z): it reads the zone boxes";
}

// The classic columns and the periods read different instants only where the form's
// seconds or the place's zone make them; the sentence then says by how much and why.
void TestPeriodView::instantDifference() {
    QFETCH(int, second);
    QFETCH(QString, zone);
    QFETCH(QString, sentence);
    PeriodsBirth birth = DefaultBirth();
    birth.second = second;
    if (!zone.isEmpty()) birth.place = AttachedPlace{23, 80, zone.toStdString()};
    PeriodsSettings settings;
    settings.levels = 1;
    const auto text = InstantDifference(birth, Report(birth, settings));
    QCOMPARE(text.has_value(), !sentence.isEmpty());
    if (text) QVERIFY2(QString::fromStdString(*text).contains(sentence), text->c_str());
}

void TestPeriodView::arcText_data() {
    QTest::addColumn<double>("longitude");
    QTest::addColumn<QString>("text");
    // By hand: 196.702861° = Libra (180°) + 16° 42' 10.2996".
    QTest::newRow("Libra, tenths rounded") << 196.702861 << u"16° 42′ 10.3″ Lib"_qs;
    QTest::newRow("59.96 arc-seconds carry into the minute") << 10.0 + 59.0 / 60 + 59.96 / 3600 << u"11° 00′ 00.0″ Ari"_qs;
    QTest::newRow("a hair below Taurus rounds into it") << 29.999999 << u"0° 00′ 00.0″ Tau"_qs;
    QTest::newRow("a hair below 360 is Aries 0") << 359.999999 << u"0° 00′ 00.0″ Ari"_qs;
}

void TestPeriodView::arcText() {
    QFETCH(double, longitude);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(ArcText(longitude)), text);
}

void TestPeriodView::classicStartMatchesTheResultsWindow_data() {
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("year");
    // The Moon of each birth stands at another point of its Nakshatra, so the first
    // table hides none, some or most of its sub-periods.
    QTest::newRow("the form's start state") << "August" << "1981";
    QTest::newRow("January 1950") << "January" << "1950";
    QTest::newRow("March 2001") << "March" << "2001";
    QTest::newRow("November 2030") << "November" << "2030";
}

// The classic start of every Maha and Antar period is the date the results window shows
// in the row and cell of its lords, and none where that cell is hidden as elapsed.
void TestPeriodView::classicStartMatchesTheResultsWindow() {
    QFETCH(QString, month);
    QFETCH(QString, year);
    BirthForm form;
    form.month = month.toStdString();
    form.year = year.toStdString();
    const ChartRun run = RunChart(form).chart;
    const PreciseReport report = Report({run.birth, 0, std::nullopt});
    int shown = 0, hidden = 0;
    for (const Period& p : report.chart.tree.periods) {
        const auto start = ClassicStart(run.dasha, p);
        if (p.level > 2) {
            QVERIFY(!start);
            continue;
        }
        int r = 0;
        while (run.results.dashaName[std::size_t(r)] != LordTitles[std::size_t(p.lords[0])]) ++r;
        if (p.level == 1) {
            QVERIFY(start);
            QCOMPARE(FormatDisplayDate(*start), std::string(run.results.dashaStarts[std::size_t(r)]));
            ++shown;
            continue;
        }
        int s = 0;
        while (run.results.subDashaLords[std::size_t(r)][std::size_t(s)] != DashaLord[std::size_t(p.lords[1])]) ++s;
        const int n = Results::CellIndex(r, s + 1, false);
        QCOMPARE(start.has_value(), run.results.cellVisible(n));
        if (start) QCOMPARE(FormatDisplayDate(*start), std::string(run.results.cell(n)));
        ++(start ? shown : hidden);
    }
    QCOMPARE(shown + hidden, 90);
}

void TestPeriodView::classicDifference_data() {
    QTest::addColumn<int>("expected");
    QTest::newRow("classic a day early") << 1;
    QTest::newRow("same day") << 0;
    QTest::newRow("classic ten days late") << -10;
    QTest::newRow("classic a leap year early") << 366;
}

// The difference counts local calendar days of the birth zone: the precise start's
// local date minus the classic date.
void TestPeriodView::classicDifference() {
    QFETCH(int, expected);
    const PreciseReport report = Report(DefaultBirth());
    const Period& second = report.chart.tree.periods[1];
    const Date local = LocalDateOf(report.chart.birth, RoundedUtcSeconds(report.chart.tree, second.start));
    const Date classic = AddDays(local, -expected);
    DashaTable table{};
    table.mahaStart[static_cast<std::size_t>(second.lords[0])] = classic;
    const auto start = ClassicStart(table, second);
    QVERIFY(start);
    QCOMPARE(*start, classic);
    QCOMPARE(DaysFromClassic(report, second, *start), std::optional<long>(expected));
}

void TestPeriodView::parentsAndLevels() {
    const PreciseReport report = Report(DefaultBirth());
    const PeriodTree& tree = report.chart.tree;
    QCOMPARE(tree.request.levels, kMaxPeriodLevels);
    const std::vector<int> parents = ParentsOf(tree);
    QCOMPARE(parents.size(), tree.periods.size());
    for (std::size_t i = 0; i < tree.periods.size(); ++i) {
        const Period& p = tree.periods[i];
        if (parents[i] < 0) {
            QCOMPARE(p.level, 1);
            continue;
        }
        const Period& up = tree.periods[static_cast<std::size_t>(parents[i])];
        QCOMPARE(p.level, up.level + 1);
        QVERIFY(p.start >= up.start && p.end <= up.end);
    }
}

void TestPeriodView::refusals_data() {
    QTest::addColumn<int>("uncertainty");
    QTest::addColumn<int>("levels");
    QTest::addColumn<QString>("zone");
    QTest::newRow("uncertainty above six hours") << 361 << 5 << "";
    QTest::newRow("no level") << 0 << 0 << "";
    QTest::newRow("an unknown zone") << 0 << 5 << "Mars/Olympus_Mons";
}

void TestPeriodView::refusals() {
    QFETCH(int, uncertainty);
    QFETCH(int, levels);
    QFETCH(QString, zone);
    PeriodsBirth birth = DefaultBirth();
    if (!zone.isEmpty()) birth.place = AttachedPlace{23, 80, zone.toStdString()};
    PeriodsSettings settings;
    settings.uncertaintyMinutes = uncertainty;
    settings.levels = levels;
    const PeriodsOutcome outcome = ComputePeriods(birth, settings);
    QVERIFY(!outcome.report);
    QVERIFY(!outcome.error.empty());
}

QTEST_APPLESS_MAIN(TestPeriodView)
#include "tst_period_view.moc"
