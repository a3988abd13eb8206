#include <QtTest>

#include "core/chart/computation_run.h"

using namespace orvanta;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QStringList Titles(const Results& r) {
    QStringList titles;
    for (const auto& t : r.dashaName) titles << Q(t);
    return titles;
}

QStringList Lords(const Results& r, std::size_t panel) {
    QStringList lords;
    for (const auto& l : r.subDashaLords[panel]) lords << Q(l);
    return lords;
}

std::string MoonText(int arcMinutes) {
    static constexpr std::string_view kCodes = "AriTauGemCanLeoVirLibScoSagCapAquPis";
    return std::to_string(arcMinutes % 1800 / 60) + "\u00B0 " + std::to_string(arcMinutes % 60) + "' 0\" " +
           std::string(kCodes.substr(static_cast<std::size_t>(3 * (arcMinutes / 1800)), 3));
}

BirthForm TypicalRequest() {
    return {.month = "January", .day = "1", .year = "2000", .hour = "12", .minute = "0", .zoneHour = "5",
            .zoneMinute = "30", .latD = "28", .latM = "39", .lonD = "77", .lonM = "13"};
}

}  // namespace

class TestComputationRun : public QObject {
    Q_OBJECT
private slots:
    void typicalRequest();
    void defaultForm();
    void rejectedFormComputesNothing();
    void unlistedTextComputesNothing();
    void zoneSignAndSecondsChangeNothing();
    void periodAtBirth_data();
    void periodAtBirth();
    void rowsWrapAfterMercury();
    void subDashaLords_data();
    void subDashaLords();
    void detailLabels_data();
    void detailLabels();
    void sweepEveryBirthDate();
};

void TestComputationRun::typicalRequest() {
    const RunOutcome outcome = RunChart(TypicalRequest());
    QVERIFY(!outcome.rejection);
    const ChartRun& c = outcome.chart;
    QCOMPARE(Q(c.positions.moonText), QString::fromUtf8("16° 42' 10\" Lib"));
    QCOMPARE(c.dasha.moonArcMinutes, 11802);
    QCOMPARE(c.dasha.nakshatraNumber, 15);
    const Results& r = c.results;
    QCOMPARE(Titles(r), (QStringList{"Rahu Dasha", "Jupiter Dasha", "Saturn Dasha", "Mercury Dasha", "Ketu Dasha",
                                     "Venus Dasha", "Sun Dasha", "Moon Dasha", "Mars Dasha"}));
    QCOMPARE(Q(r.dashaStarts[0]), QStringLiteral("Jan-01-2000"));
    QCOMPARE(Q(r.dashaEnd[0]), QStringLiteral("Jun-14-2004"));  // balance 4 years 5 months 13 days
    QCOMPARE(Q(r.dashaStarts[1]), QStringLiteral("Jun-14-2004"));
    QCOMPARE(Q(r.dashaEnd[1]), QStringLiteral("Jun-14-2020"));
    QCOMPARE(Q(r.subDashaCaption), QStringLiteral("Sub Dasha Of Rahu Dasha"));
    QCOMPARE(Q(r.nakshatra), QStringLiteral("Swati"));
    QCOMPARE(Q(r.rashi), QStringLiteral("Libra (Thula)"));
    QCOMPARE(Q(r.lord), QStringLiteral("Rahu"));
    QCOMPARE(Q(r.ayanamsha), QString::fromUtf8("-23° 51' 14\""));
    // A position text ending in "Pis": the sign's Indian name, the position keeps its blank.
    QCOMPARE(Q(r.lagna), QStringLiteral("Meena"));
    QCOMPARE(Q(r.lagnaPosition), QString::fromUtf8("13° 12' 29\" "));
    QCOMPARE(Q(r.julianDay), QStringLiteral("2451545"));
    // Rahu's table started 13 years 6 months 16 days before birth: Rahu, Jupiter, Saturn,
    // Mercury and Ketu within Rahu had ended, Venus was running.
    QCOMPARE(Q(r.dashaAtTimeOfBirth), QStringLiteral("Dasha At The Time Of Birth :- Rahu /Venus"));
    for (int n = 1; n <= 10; ++n) QVERIFY2(!r.cellVisible(n), qPrintable(QString::number(n)));
    QVERIFY(r.cellVisible(11));
    QCOMPARE(Q(r.cell(11)), QStringLiteral("Jan-01-2000"));
}

void TestComputationRun::defaultForm() {
    const RunOutcome outcome = RunChart(BirthForm{});
    QVERIFY(!outcome.rejection);
    const Results& r = outcome.chart.results;
    QCOMPARE(Q(outcome.chart.dasha.birthLord), QStringLiteral("Saturn"));
    QCOMPARE(Titles(r), (QStringList{"Saturn Dasha", "Mercury Dasha", "Ketu Dasha", "Venus Dasha", "Sun Dasha",
                                     "Moon Dasha", "Mars Dasha", "Rahu Dasha", "Jupiter Dasha"}));
    QCOMPARE(Q(r.dashaStarts[0]), QStringLiteral("Aug-18-1981"));
    QCOMPARE(Q(r.subDashaCaption), QStringLiteral("Sub Dasha Of Saturn Dasha"));
    QCOMPARE(Lords(r, 0), (QStringList{"Saturn", "Mercury", "Ketu", "Venus", "Sun", "Moon", "Mars", "Rahu", "Jupiter"}));
    QCOMPARE(Lords(r, 1), (QStringList{"Mercury", "Ketu", "Venus", "Sun", "Moon", "Mars", "Rahu", "Jupiter", "Saturn"}));
    QCOMPARE(Q(r.dashaAtTimeOfBirth), QStringLiteral("Dasha At The Time Of Birth :- Saturn /Moon"));
}

void TestComputationRun::rejectedFormComputesNothing() {
    BirthForm form;
    form.latD = "90";
    const RunOutcome outcome = RunChart(form);
    QVERIFY(outcome.rejection.has_value());
    QCOMPARE(outcome.rejection->focus, Control::txtLatD);
    QVERIFY(outcome.chart.results == Results{});
    QVERIFY(outcome.chart.positions.moonText.empty());
}

void TestComputationRun::unlistedTextComputesNothing() {
    BirthForm form;
    form.latD = "90";  // would fail a check, but no text is read at all
    form.day = "100";
    const RunOutcome outcome = RunChart(form);
    QVERIFY(outcome.unlisted.has_value());
    QCOMPARE(outcome.unlisted->field, ListField::Day);
    QVERIFY(!outcome.rejection);
    QVERIFY(!outcome.computed());
    QVERIFY(outcome.chart.results == Results{});
    QVERIFY(outcome.chart.positions.moonText.empty());
}

void TestComputationRun::zoneSignAndSecondsChangeNothing() {
    BirthForm plus = TypicalRequest();
    BirthForm minus = plus;
    minus.zoneHour = "-5";
    minus.zoneMinute = "-30";
    minus.second = "59";
    const RunOutcome a = RunChart(plus);
    const RunOutcome b = RunChart(minus);
    QVERIFY(a.chart.birth == b.chart.birth);
    QVERIFY(a.chart.results == b.chart.results);
}

void TestComputationRun::periodAtBirth_data() {
    QTest::addColumn<int>("arcMinutes");
    QTest::addColumn<QString>("birth");
    QTest::addColumn<int>("hiddenUpTo");  // cells 1 .. hiddenUpTo are hidden
    QTest::addColumn<QString>("label");
    // Nothing elapsed: nothing hidden, the first sub-period's start is the birth date.
    QTest::newRow("nothing elapsed") << 0 << "1985-05-14" << 0 << "Dasha At The Time Of Birth :- Ketu /Ketu";
    // Ketu within Ketu (0-4-27) ends on the birth day itself: elapsed, hidden.
    QTest::newRow("a sub-period ending on the birth day is elapsed")
        << 47 << "1985-05-14" << 2 << "Dasha At The Time Of Birth :- Ketu /Venus";
    QTest::newRow("one arc-minute less, it is still running")
        << 46 << "1985-05-14" << 0 << "Dasha At The Time Of Birth :- Ketu /Ketu";
    QTest::newRow("almost all of Aswini elapsed")
        << 799 << "1985-05-14" << 16 << "Dasha At The Time Of Birth :- Ketu /Mercury";
    QTest::newRow("almost all of Revati elapsed")
        << 21599 << "1985-05-14" << 16 << "Dasha At The Time Of Birth :- Mercury /Saturn";
}

void TestComputationRun::periodAtBirth() {
    QFETCH(int, arcMinutes);
    QFETCH(QString, birth);
    QFETCH(int, hiddenUpTo);
    QFETCH(QString, label);
    const QDate b = QDate::fromString(birth, Qt::ISODate);
    const DashaTable dasha = CalculateDasha({b.year(), b.month(), b.day()}, MoonText(arcMinutes)).value();
    Results r;
    HandOverDasha(dasha, r);
    QCOMPARE(Q(r.dashaAtTimeOfBirth), label);
    for (int n = 1; n <= 162; ++n) QCOMPARE(r.cellVisible(n), n > hiddenUpTo);
    // The sub-period running at birth starts on the birth date.
    QCOMPARE(Q(r.cell(hiddenUpTo + 1)), b.toString("MMM-dd-yyyy"));
    // Every table ends on its row's end date, character for character.
    for (int row = 0; row < 9; ++row) QCOMPARE(Q(r.cell(18 * row + 18)), Q(r.dashaEnd[static_cast<std::size_t>(row)]));
}

void TestComputationRun::rowsWrapAfterMercury() {
    const DashaTable dasha = CalculateDasha({1990, 1, 10}, MoonText(8 * 800 + 10)).value();
    Results r;
    HandOverDasha(dasha, r);
    QCOMPARE(Titles(r), (QStringList{"Mercury Dasha", "Ketu Dasha", "Venus Dasha", "Sun Dasha", "Moon Dasha",
                                     "Mars Dasha", "Rahu Dasha", "Jupiter Dasha", "Saturn Dasha"}));
    QCOMPARE(Lords(r, 0), (QStringList{"Mercury", "Ketu", "Venus", "Sun", "Moon", "Mars", "Rahu", "Jupiter", "Saturn"}));
}

void TestComputationRun::subDashaLords_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("lords");  // empty: the panel keeps its labels
    QTest::newRow("Ketu") << "Ketu Dasha" << QStringList{"Ketu", "Venus", "Sun", "Moon", "Mars", "Rahu", "Jupiter", "Saturn", "Mercury"};
    QTest::newRow("Sun") << "Sun Dasha" << QStringList{"Sun", "Moon", "Mars", "Rahu", "Jupiter", "Saturn", "Mercury", "Ketu", "Venus"};
    QTest::newRow("Saturn") << "Saturn Dasha" << QStringList{"Saturn", "Mercury", "Ketu", "Venus", "Sun", "Moon", "Mars", "Rahu", "Jupiter"};
    QTest::newRow("other case") << "saturn Dasha" << QStringList{};
    QTest::newRow("trailing blank") << "Saturn Dasha " << QStringList{};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestComputationRun::subDashaLords() {
    QFETCH(QString, title);
    QFETCH(QStringList, lords);
    Results r;
    for (auto& panel : r.subDashaLords) panel.fill("old");
    r.dashaName.fill("Venus Dasha");
    r.dashaName[4] = title.toStdString();
    LoadSubDashaLords(r);
    QCOMPARE(Lords(r, 4), lords.isEmpty() ? QStringList(9, "old") : lords);
    QCOMPARE(Q(r.subDashaLords[3][0]), QStringLiteral("Venus"));
}

void TestComputationRun::detailLabels_data() {
    QTest::addColumn<QString>("lagnaText");
    QTest::addColumn<QString>("lagna");  // "(old)": the label keeps its previous text
    QTest::addColumn<QString>("position");
    const char* codes[] = {"Ari", "Tau", "Gem", "Can", "Leo", "Vir", "Lib", "Sco", "Sag", "Cap", "Aqu", "Pis"};
    const char* names[] = {"Mesha", "Vrishabha", "Mithuna", "Kataka", "Simha", "Kanya",
                           "Thula", "Vrishcika", "Dhanush", "Makara", "Kumbha", "Meena"};
    for (int i = 0; i < 12; ++i) {
        const QString text = QString::fromUtf8("%1° 5' 9\" %2").arg(i * 2).arg(QLatin1String(codes[i]));
        QTest::newRow(codes[i]) << text << names[i] << QString::fromUtf8("%1° 5' 9\" ").arg(i * 2);
    }
    QTest::newRow("unknown code keeps the old name") << QString::fromUtf8("1° 2' 3\" Xyz") << "(old)"
                                                     << QString::fromUtf8("1° 2' 3\" ");
    QTest::newRow("codes compare exactly") << QString::fromUtf8("1° 2' 3\" pis") << "(old)"
                                           << QString::fromUtf8("1° 2' 3\" ");
}

void TestComputationRun::detailLabels() {
    QFETCH(QString, lagnaText);
    QFETCH(QString, lagna);
    QFETCH(QString, position);
    ChartPositions positions;
    positions.lagnaText = lagnaText.toStdString();
    positions.julianDay = 2444835;
    positions.moonNakshatraName = "Hasta";
    DashaTable dasha;
    dasha.birthLord = "Moon";
    Results r;
    r.lagna = "(old)";
    HandOverDetails(positions, dasha, r);
    QCOMPARE(Q(r.lagna), lagna);
    QCOMPARE(Q(r.lagnaPosition), position);
    QCOMPARE(Q(r.julianDay), QStringLiteral("2444835"));
    QCOMPARE(Q(r.nakshatra), QStringLiteral("Hasta"));
    QCOMPARE(Q(r.lord), QStringLiteral("Moon"));
}

void TestComputationRun::sweepEveryBirthDate() {
    // Every birth date of the input years, at a few times and places: nothing fails,
    // and the results keep their invariants.
    struct Place {
        const char* hour;
        const char* zone;
        const char* lonD;
        bool west;
        bool south;
        bool dst;
    };
    const Place places[] = {{"0", "-13", "179", false, false, true},
                            {"12", "5", "77", false, true, false},
                            {"23", "12", "120", true, false, true}};
    const auto& months = MonthEntries();
    int runs = 0;
    for (int year = 1901; year <= 2050; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= QDate(year, month, 1).daysInMonth(); ++day) {
                const Place& place = places[(year + month + day) % 3];
                BirthForm form;
                form.year = std::to_string(year);
                form.month = months[static_cast<std::size_t>(month - 1)];
                form.day = std::to_string(day);
                form.hour = place.hour;
                form.zoneHour = place.zone;
                form.lonD = place.lonD;
                form.west = place.west;
                form.south = place.south;
                form.dst = place.dst;
                const RunOutcome outcome = RunChart(form);
                if (outcome.rejection) QFAIL(qPrintable(Q(outcome.rejection->text)));
                const Results& r = outcome.chart.results;
                const int b = outcome.chart.dasha.birthLordIndex;
                bool ok = Q(r.dashaStarts[0]) == QDate(year, month, day).toString("MMM-dd-yyyy");
                for (std::size_t row = 0; row < 9; ++row) {
                    ok = ok && r.dashaName[row] == LordTitles[(static_cast<std::size_t>(b) + row) % 9];
                    ok = ok && r.dashaStarts[row].size() == 11 && r.dashaEnd[row].size() == 11;
                    ok = ok && r.cell(static_cast<int>(18 * row + 18)) == r.dashaEnd[row];
                    if (row > 0) ok = ok && r.dashaStarts[row] == r.dashaEnd[row - 1];
                }
                for (int n = 1; n <= 162; ++n) {
                    ok = ok && r.cell(n).size() == 11 && (n <= 18 || r.cellVisible(n));
                }
                ok = ok && r.cellVisible(17) && r.cellVisible(18);  // the ninth runs on past birth
                const double jd = outcome.chart.positions.julianDay;
                ok = ok && jd >= 2415386 && jd <= 2470172 && !r.lagna.empty() &&
                     r.dashaAtTimeOfBirth.view().starts_with("Dasha At The Time Of Birth :- ");
                if (!ok) QFAIL(qPrintable(QStringLiteral("%1-%2-%3").arg(year).arg(month).arg(day)));
                ++runs;
            }
        }
    }
    QCOMPARE(runs, 54787);
}

QTEST_APPLESS_MAIN(TestComputationRun)
#include "tst_computation_run.moc"
