#include <QTest>

#include <string>
#include <vector>

#include "core/report/report_builder.h"
#include "core/report/rtf_writer.h"
#include "report_fixture.h"
#include "rtf_reader.h"

using namespace orvanta;
using namespace orvanta::testing;

Q_DECLARE_METATYPE(std::vector<orvanta::ReportPiece>)

namespace {

RtfColour Rgb(int index) {
    const PaletteColour c = PaletteRgb(index);
    return {c.red, c.green, c.blue};
}

// The pieces merged into runs the way the reader merges them, line breaks as CRLF.
QList<RtfRun> ExpectedRuns(const std::vector<ReportPiece>& pieces) {
    QList<RtfRun> runs;
    for (const ReportPiece& piece : pieces) {
        if (piece.text.empty()) continue;
        QString text = QString::fromStdString(piece.text);
        text.replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
        const RtfRun run{text, piece.bold, Rgb(piece.colour), piece.rowEmphasis};
        if (!runs.isEmpty() && runs.last().bold == run.bold && runs.last().colour == run.colour &&
            runs.last().underline == run.underline)
            runs.last().text += text;
        else
            runs.append(run);
    }
    return runs;
}

// The body of a document made of one plain black piece.
std::string BodyOf(const std::string& rtf) {
    const std::string start = "\\fs20\\cf1 ";
    const std::string end = "\r\n}\r\n";
    const auto from = rtf.find(start);
    if (from == std::string::npos || !rtf.ends_with(end)) return "<malformed>";
    return rtf.substr(from + start.size(), rtf.size() - end.size() - from - start.size());
}

}  // namespace

class TestRtfWriter : public QObject {
    Q_OBJECT
private slots:
    void escaping_data();
    void escaping();
    void readBack_data();
    void readBack();
    void reportStructure();
};

// Exactly what one piece of text becomes inside the document.
void TestRtfWriter::escaping_data() {
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<QByteArray>("rtf");

    QTest::newRow("plain ASCII") << QByteArray("S K") << QByteArray("S K");
    QTest::newRow("leading and trailing blanks") << QByteArray("  S K  ") << QByteArray("  S K  ");
    QTest::newRow("backslash") << QByteArray("a\\b") << QByteArray("a\\\\b");
    QTest::newRow("braces") << QByteArray("{x}") << QByteArray("\\{x\\}");
    QTest::newRow("injected control word") << QByteArray("}\\par{\\rtf1 x")
                                           << QByteArray("\\}\\\\par\\{\\\\rtf1 x");
    QTest::newRow("CRLF") << QByteArray("x\r\ny") << QByteArray("x\r\n\\par y");
    QTest::newRow("lone LF and lone CR") << QByteArray("x\ny\rz")
                                         << QByteArray("x\r\n\\par y\r\n\\par z");
    QTest::newRow("blank after a break") << QByteArray("\r\n  y") << QByteArray("\r\n\\par   y");
    QTest::newRow("tab") << QByteArray("a\tb") << QByteArray("a\\tab b");
    QTest::newRow("control character") << QByteArray("a\x01" "b") << QByteArray("a\\u1?b");
    QTest::newRow("Latin-1 letter") << QByteArray("Jos\xC3\xA9") << QByteArray("Jos\\u233?");
    QTest::newRow("euro sign") << QByteArray("\xE2\x82\xAC") << QByteArray("\\u8364?");
    QTest::newRow("code unit above 0x7FFF") << QByteArray("\xEF\xBC\x81") << QByteArray("\\u-255?");
    QTest::newRow("surrogate pair") << QByteArray("\xF0\x9F\x98\x80")
                                    << QByteArray("\\u-10179?\\u-8704?");
    QTest::newRow("malformed UTF-8") << QByteArray("a\xFF" "b") << QByteArray("a\\u-3?b");
    QTest::newRow("question mark stays") << QByteArray("?") << QByteArray("?");
}

void TestRtfWriter::escaping() {
    QFETCH(QByteArray, utf8);
    QFETCH(QByteArray, rtf);
    const std::string out = WriteRtf({{utf8.toStdString(), false, 0, false}});
    QCOMPARE(QByteArray::fromStdString(BodyOf(out)), rtf);
}

// Whatever goes in comes back out of an independent reader with the same text and
// the same formatting runs.
void TestRtfWriter::readBack_data() {
    QTest::addColumn<std::vector<ReportPiece>>("pieces");

    QTest::newRow("sample report") << BuildReport(SampleBirth(), SampleResults(), SampleTexts());

    BirthDetails tricky = SampleBirth();
    tricky.name = "  {Jos\xC3\xA9} \\b0\\cf3 \xF0\x9F\x98\x80  ";
    InterpretationTexts texts = SampleTexts();
    texts.dashaDescriptions[3] = "}}}{{\\rtf1\\ansi injected\r\nsecond line \xE0\xA4\xB0\xE0\xA4\xBE";
    QTest::newRow("report with hostile texts") << BuildReport(tricky, SampleResults(), texts);

    // Digits straight after a colour change must not join the control word.
    QTest::newRow("digits after a control word") << std::vector<ReportPiece>{
        {"Date : ", true, 1, false}, {"5/8/1981", false, 2, false}, {"12", false, 4, true}};
    QTest::newRow("formatting switched back and forth") << std::vector<ReportPiece>{
        {"a", true, 12, true}, {"b", false, 12, false}, {"c", true, 0, true}, {"d", false, 0, false}};
    QTest::newRow("empty pieces skipped") << std::vector<ReportPiece>{
        {"", true, 4, true}, {"x", false, 0, false}, {"", true, 1, false}};
    QTest::newRow("out-of-range colour read as black") << std::vector<ReportPiece>{
        {"x", false, 99, false}, {"y", false, -1, false}};
    QTest::newRow("nothing") << std::vector<ReportPiece>{};
}

void TestRtfWriter::readBack() {
    QFETCH(std::vector<ReportPiece>, pieces);
    const std::string rtf = WriteRtf(pieces);
    const RtfDocument doc = ReadRtf(rtf);
    QVERIFY2(doc.ok, qPrintable(doc.error));
    QCOMPARE(doc.runs, ExpectedRuns(pieces));
}

void TestRtfWriter::reportStructure() {
    const auto pieces = BuildReport(SampleBirth(), SampleResults(), SampleTexts());
    const std::string rtf = WriteRtf(pieces);
    const RtfDocument doc = ReadRtf(rtf);
    QVERIFY2(doc.ok, qPrintable(doc.error));

    QCOMPARE(doc.fonts, QStringList{"Verdana"});
    QCOMPARE(doc.defaultFont, 0);
    QCOMPARE(doc.fontSize, 20);
    // The automatic entry, then the five palette entries the report uses, in palette order.
    const QList<RtfColour> colours{{-1, -1, -1}, {0, 0, 0},   {0, 0, 128},
                                   {0, 128, 0},  {128, 0, 0}, {255, 0, 0}};
    QCOMPARE(doc.colours, colours);

    // One \par per CRLF of the report.
    int breaks = 0;
    for (const ReportPiece& piece : pieces)
        for (std::size_t at = piece.text.find("\r\n"); at != std::string::npos;
             at = piece.text.find("\r\n", at + 2))
            ++breaks;
    int pars = 0;
    for (std::size_t at = rtf.find("\\par "); at != std::string::npos; at = rtf.find("\\par ", at + 1))
        ++pars;
    QCOMPARE(pars, breaks);

    // The underline comes on at the first Maha Dasha row and is never cleared.
    QCOMPARE(rtf.find("\\ulnone"), std::string::npos);
    const auto ul = rtf.find("\\ul");
    QVERIFY(ul != std::string::npos);
    QVERIFY(rtf.find("Vimshottari Dasha") < ul);
    QVERIFY(rtf.find("Saturn Dasha") > ul);
}

QTEST_APPLESS_MAIN(TestRtfWriter)
#include "tst_rtf_writer.moc"
