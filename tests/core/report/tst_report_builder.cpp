#include <QTest>

#include <string>

#include "core/report/report_builder.h"
#include "report_fixture.h"

using namespace orvanta;
using orvanta::testing::SampleBirth;
using orvanta::testing::SampleResults;
using orvanta::testing::SampleTexts;

namespace {

constexpr int kHeadPieces = 9;       // up to and including the Vimshottari introduction
constexpr int kPiecesPerRow = 5;
constexpr int kFirstTitle = kHeadPieces + 9 * kPiecesPerRow;  // 54
constexpr int kVedicHeading = kFirstTitle + 2 * 9;            // 72
constexpr int kTotalPieces = kVedicHeading + 2 + 2 * 7;       // 88

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

class TestReportBuilder : public QObject {
    Q_OBJECT
private slots:
    void pieceCount();
    void sampleChart_data();
    void sampleChart();
    void rowPadding_data();
    void rowPadding();
    void birthTexts_data();
    void birthTexts();
    void interpretationOrder_data();
    void interpretationOrder();
    void rowEmphasis();
};

void TestReportBuilder::pieceCount() {
    QCOMPARE(int(BuildReport(SampleBirth(), SampleResults(), SampleTexts()).size()), kTotalPieces);
}

// The report of the sample chart, piece by piece, as the report's step table lays it down.
void TestReportBuilder::sampleChart_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("colour");
    QTest::addColumn<bool>("emphasis");

    const QString crlf2 = "\r\n\r\n";
    QTest::newRow("heading") << 0 << "You Details" + crlf2 << true << 4 << false;
    QTest::newRow("name caption") << 1 << "Name : " << true << 1 << false;
    QTest::newRow("name") << 2 << "S K" + crlf2 << false << 2 << false;
    QTest::newRow("date caption") << 3 << "Date Of Birth : " << true << 1 << false;
    QTest::newRow("date") << 4 << "18/8/1981" + crlf2 << false << 2 << false;
    QTest::newRow("time caption") << 5 << "Time Of Birth : " << true << 1 << false;
    QTest::newRow("time") << 6 << "23:30" + crlf2 << false << 2 << false;
    QTest::newRow("vimshottari heading") << 7 << "Vimshottari Dasha" + crlf2 << true << 4 << false;
    QTest::newRow("vimshottari intro")
        << 8 << "Intro to the Vimshottari Dasha, see www.example.com for more." + crlf2 << false
        << 0 << false;

    QTest::newRow("row 0 title") << 9 << "Saturn Dasha          " << true << 1 << true;
    QTest::newRow("row 0 start caption") << 10 << "Start of Dasha : " << true << 1 << true;
    QTest::newRow("row 0 start") << 11 << "Aug-18-1981    " << false << 2 << true;
    QTest::newRow("row 0 end caption") << 12 << "End of Dasha : " << true << 1 << true;
    QTest::newRow("row 0 end") << 13 << "Mar-02-1993" + crlf2 << false << 2 << true;
    QTest::newRow("row 1 title") << 14 << "Mercury Dasha       " << true << 1 << true;
    QTest::newRow("row 7 end") << 48 << "Mar-02-2078" + crlf2 << false << 2 << true;
    QTest::newRow("row 8 title") << 49 << "Jupiter Dasha  " << true << 1 << true;
    QTest::newRow("row 8 start") << 51 << "Mar-02-2078    " << false << 2 << true;
    QTest::newRow("row 8 end, three breaks")
        << 53 << "Mar-02-2094\r\n\r\n\r\n" << false << 2 << true;

    QTest::newRow("first title") << 54 << "Surya Dasha\r\n" << true << 12 << true;
    QTest::newRow("first description")
        << 55 << "Description 0 of Surya Dasha." + crlf2 << true << 12 << true;
    QTest::newRow("last title") << 70 << "Sukra Dasha\r\n" << true << 12 << true;
    QTest::newRow("last description")
        << 71 << "Description 8 of Sukra Dasha." + crlf2 << true << 12 << true;

    QTest::newRow("vedic heading") << 72 << "Vedic Details" + crlf2 << true << 4 << true;
    QTest::newRow("vedic intro") << 73 << "Intro to the Vedic details." + crlf2 << false << 0 << true;
    QTest::newRow("ayanamsa caption") << 74 << "Ayanamsa : " << true << 1 << true;
    QTest::newRow("ayanamsa") << 75 << QString::fromUtf8("23\u00B0 35' 11\"") + crlf2 << false << 2 << true;
    QTest::newRow("lagna caption") << 76 << "Lagna/Asc : " << true << 1 << true;
    QTest::newRow("lagna") << 77 << "Taurus" + crlf2 << false << 2 << true;
    QTest::newRow("nakshatra caption") << 78 << "Nakshatra : " << true << 1 << true;
    QTest::newRow("nakshatra") << 79 << "Anuradha" + crlf2 << false << 2 << true;
    QTest::newRow("rashi caption") << 80 << "Rashi : " << true << 1 << true;
    QTest::newRow("rashi") << 81 << "Vrischika (Scorpio)" + crlf2 << false << 2 << true;
    QTest::newRow("julian day caption") << 82 << "Julian Day : " << true << 1 << true;
    QTest::newRow("julian day") << 83 << "2444835" + crlf2 << false << 2 << true;
    QTest::newRow("lord caption") << 84 << "Lord : " << true << 1 << true;
    QTest::newRow("lord") << 85 << "Saturn" + crlf2 << false << 2 << true;
    QTest::newRow("lagna position caption") << 86 << "Lagna Position : " << true << 1 << true;
    QTest::newRow("lagna position, last piece")
        << 87 << QString::fromUtf8("2\u00B0 51' 9\" Tau") + crlf2 << false << 2 << true;
}

void TestReportBuilder::sampleChart() {
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(bool, bold);
    QFETCH(int, colour);
    QFETCH(bool, emphasis);

    const auto report = BuildReport(SampleBirth(), SampleResults(), SampleTexts());
    QVERIFY(index < int(report.size()));
    const ReportPiece& piece = report[static_cast<std::size_t>(index)];
    QCOMPARE(Q(piece.text), text);
    QCOMPARE(piece.bold, bold);
    QCOMPARE(piece.colour, colour);
    QCOMPARE(piece.rowEmphasis, emphasis);
}

// The blanks after a title depend on the row, not on the lord standing in it.
void TestReportBuilder::rowPadding_data() {
    QTest::addColumn<int>("rotation");  // rows shifted by this many lords
    for (int rotation : {0, 1, 4, 8})
        QTest::addRow("rows rotated by %d", rotation) << rotation;
}

void TestReportBuilder::rowPadding() {
    QFETCH(int, rotation);
    const int padding[9] = {10, 7, 11, 8, 9, 8, 5, 5, 2};

    const Results sample = SampleResults();
    Results results = sample;
    for (std::size_t r = 0; r < 9; ++r)
        results.dashaName[r] = sample.dashaName[(r + static_cast<std::size_t>(rotation)) % 9];

    const auto report = BuildReport(SampleBirth(), results, SampleTexts());
    for (std::size_t r = 0; r < 9; ++r) {
        const std::string& title = report[kHeadPieces + kPiecesPerRow * r].text;
        const std::string& name = results.dashaName[r];
        QVERIFY2(title.starts_with(name), title.c_str());
        const std::string tail = title.substr(name.size());
        QCOMPARE(int(tail.size()), padding[r]);
        QCOMPARE(tail.find_first_not_of(' '), std::string::npos);
        // The next piece starts with its caption: no blank carried over.
        QCOMPARE(Q(report[kHeadPieces + kPiecesPerRow * r + 1].text), QString("Start of Dasha : "));
    }
}

// The person's details go in as typed: the name with its blanks, the date as
// day/month/year and the time as hour:minute, all without leading zeros.
void TestReportBuilder::birthTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("minute");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");

    QTest::newRow("5 August 1981 07:05") << "S K" << 5 << 8 << 1981 << 7 << 5 << "5/8/1981" << "7:5";
    QTest::newRow("midnight on the first day") << "A" << 1 << 1 << 1901 << 0 << 0 << "1/1/1901" << "0:0";
    QTest::newRow("last day of the range") << "Z" << 31 << 12 << 2050 << 23 << 59 << "31/12/2050"
                                           << "23:59";
    QTest::newRow("blanks around the name kept") << "  S K  " << 18 << 8 << 1981 << 23 << 30
                                                 << "18/8/1981" << "23:30";
    QTest::newRow("empty name") << "" << 10 << 10 << 2000 << 10 << 10 << "10/10/2000" << "10:10";
    QTest::newRow("name with RTF characters") << "O'Neil {\\par}" << 2 << 3 << 1950 << 12 << 0
                                              << "2/3/1950" << "12:0";
}

void TestReportBuilder::birthTexts() {
    QFETCH(QString, name);
    QFETCH(int, day);
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(int, hour);
    QFETCH(int, minute);
    QFETCH(QString, date);
    QFETCH(QString, time);

    BirthDetails birth = SampleBirth();
    birth.name = name.toStdString();
    birth.day = static_cast<std::int16_t>(day);
    birth.month = static_cast<std::int16_t>(month);
    birth.year = static_cast<std::int16_t>(year);
    birth.hour = static_cast<std::int16_t>(hour);
    birth.minute = static_cast<std::int16_t>(minute);

    const auto report = BuildReport(birth, SampleResults(), SampleTexts());
    QCOMPARE(Q(report[2].text), name + "\r\n\r\n");
    QCOMPARE(Q(report[4].text), date + "\r\n\r\n");
    QCOMPARE(Q(report[6].text), time + "\r\n\r\n");
}

// The interpretations follow the tables' index order whatever the chart's sequence.
void TestReportBuilder::interpretationOrder_data() {
    QTest::addColumn<int>("rotation");
    for (int rotation : {0, 3, 7})
        QTest::addRow("rows rotated by %d", rotation) << rotation;
}

void TestReportBuilder::interpretationOrder() {
    QFETCH(int, rotation);
    const Results sample = SampleResults();
    Results results = sample;
    for (std::size_t r = 0; r < 9; ++r)
        results.dashaName[r] = sample.dashaName[(r + static_cast<std::size_t>(rotation)) % 9];

    const auto report = BuildReport(SampleBirth(), results, SampleTexts());
    const char* titles[] = {"Surya", "Chandra", "Kuja", "Rahu", "Guru",
                            "Sani",  "Budha",   "Ketu", "Sukra"};
    for (std::size_t i = 0; i < 9; ++i) {
        const ReportPiece& title = report[kFirstTitle + 2 * i];
        const ReportPiece& description = report[kFirstTitle + 2 * i + 1];
        QCOMPARE(Q(title.text), QString(titles[i]) + " Dasha\r\n");
        QVERIFY(description.text.starts_with("Description " + std::to_string(i) + " "));
        // The description keeps the title's formatting: bold bright red.
        QVERIFY(description.bold);
        QCOMPARE(description.colour, 12);
    }
    QCOMPARE(Q(report[kVedicHeading].text), QString("Vedic Details\r\n\r\n"));
}

// Off before the first Maha Dasha row, on from it to the very end.
void TestReportBuilder::rowEmphasis() {
    const auto report = BuildReport(SampleBirth(), SampleResults(), SampleTexts());
    for (std::size_t i = 0; i < report.size(); ++i)
        QCOMPARE(report[i].rowEmphasis, i >= kHeadPieces);
}

QTEST_APPLESS_MAIN(TestReportBuilder)
#include "tst_report_builder.moc"
