#include <QTest>

#include "core/birthfile/birth_record.h"
#include "core/periods/precise_chart.h"

using namespace orvanta;
using namespace orvanta::birthfile;

Q_DECLARE_METATYPE(BirthRecord)

namespace {

std::string Utc(const ExchangedBirth& birth) { return FormatUtc(SecondsOfCivil(birth.local) - birth.utcOffsetSeconds); }

std::string Coordinates(const BirthForm& f) {
    return f.latD + ":" + f.latM + (f.south ? "S " : "N ") + f.lonD + ":" + f.lonM + (f.west ? "W" : "E");
}

BirthRecord PuneRecord() {
    BirthRecord record;
    record.form.name = "ASHA RAO";
    record.form.month = "March";
    record.form.day = "7";
    record.form.year = "1990";
    record.form.hour = "6";
    record.form.minute = "5";
    record.form.second = "42";
    record.form.zoneHour = "5";
    record.form.zoneMinute = "30";
    record.form.latD = "18";
    record.form.latM = "31";
    record.form.lonD = "73";
    record.form.lonM = "51";
    return record;
}

}  // namespace

class TstBirthFile : public QObject {
    Q_OBJECT
private slots:
    void readExamples_data();
    void readExamples();
    void roundTrip_data();
    void roundTrip();
    void hostileFiles_data();
    void hostileFiles();
};

void TstBirthFile::readExamples_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("date");         // month day year h:m:s as the form's lists hold them
    QTest::addColumn<QString>("zone");         // the zone boxes and DST; empty when the form cannot hold the zone
    QTest::addColumn<QString>("coordinates");
    QTest::addColumn<QString>("placeZone");    // the attached place's zone, empty when none is attached
    QTest::addColumn<QString>("utc");
    QTest::addColumn<bool>("writtenBack");  // writing the birth again gives the same bytes

    // The public .jhd example: 15 June 1985 10:30:00 at Ujjain, UTC+05:30.
    QTest::newRow("jhd Ujjain, CRLF")
        << "Ujjain.jhd"
        << QByteArray("6\r\n15\r\n1985\r\n10.300000000000000\r\n-5.300000\r\n-75.450000\r\n23.300000\r\n0.000000\r\n"
                      "-5.500000\r\n-5.500000\r\n0\r\n105\r\nUjjain\r\nIndia\r\n1\r\n1013.250000\r\n20.000000\r\n1\r\n")
        << "June 15 1985 10:30:0" << "5:30" << "23:30N 75:45E" << "" << "1985-06-15T05:00:00Z" << true;
    QTest::newRow("jhd LF, lines after the latitude cut, blanks")
        << "Ujjain.jhd" << QByteArray(" 6\n15 \n1985\n10.3015\n-5.3\n-75.4512\n23.3\n\n")
        << "June 15 1985 10:30:15" << "5:30" << "23:30N 75:45E" << "UTC+05:30" << "1985-06-15T05:00:15Z" << false;
    // The AAF definition's record example: no Julian day, zone "1he" without minutes.
    QTest::newRow("aaf Ferber, CET")
        << "ferber.aaf" << QByteArray("#A93:Ferber,Tobias,m,27.9.1970,11:04,Kandel/Pfalz,D\n#B93:*,49n05,8e11,1he,0\n#ZNAM:CET\n")
        << "September 27 1970 11:4:0" << "1:00" << "49:05N 8:11E" << "" << "1970-09-27T10:04:00Z" << false;
    // The definition's local-mean-time #B93 line (Paul Cezanne, Aix-en-Provence): 5°27' E
    // is 21 min 48 s ahead of Greenwich.
    QTest::newRow("aaf Cezanne, local mean time")
        << "cezanne.aaf" << QByteArray("#A93:Cezanne,Paul,m,19.1.1839,1:00,Aix-en-Provence,F\n#B93:2392758.526528,43n31,5e27,*,L\n")
        << "January 19 1839 1:0:0" << "" << "43:31N 5:27E" << "UTC+00:21:48" << "1839-01-19T00:38:12Z" << false;
    // The definition's second #B93 example, 1983 in CET with one hour of summer time;
    // the date and time come from the Julian day alone.
    QTest::newRow("aaf Julian day only, DST 1")
        << "x.aaf" << QByteArray("#A93:*,*,*,*,*,*,*\r\n#B93:2445445.131907,48n24,11e45,1he00,1\r\n")
        << "April 20 1983 17:9:57" << "1:00 DST" << "48:24N 11:45E" << "" << "1983-04-20T15:09:57Z" << false;
    QTest::newRow("aaf Julian day outweighs the time")
        << "x.aaf" << QByteArray("#A93:X,Y,m,20.4.1983,17:00,A,D\n#B93:2445445.131907,48n24,11e45,1he00,1\n")
        << "April 20 1983 17:9:57" << "1:00 DST" << "48:24N 11:45E" << "" << "1983-04-20T15:09:57Z" << false;
    QTest::newRow("aaf zone with seconds, west, south")
        << "x.aaf" << QByteArray("#A93:Y,X,f,1.2.1900,23:59:59,Lima,PE\n#B93:*,12s03,77w02:30,5w08:10,0\n")
        << "February 1 1900 23:59:59" << "" << "12:03S 77:03W" << "UTC-05:08:10" << "1900-02-02T05:08:09Z" << false;
}

void TstBirthFile::readExamples() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, contents);
    const FileReading reading = ReadBirthFile(fileName.toStdString(), contents.toStdString());
    QVERIFY2(!reading.problem, reading.problem ? reading.problem->text.c_str() : "");
    QCOMPARE(reading.records.size(), std::size_t(1));
    const ReadRecord& read = reading.records.front();
    const BirthForm& f = read.record.form;
    QFETCH(QString, date);
    QFETCH(QString, zone);
    QFETCH(QString, coordinates);
    QFETCH(QString, placeZone);
    QFETCH(QString, utc);
    QCOMPARE(QString::fromStdString(f.month + " " + f.day + " " + f.year + " " + f.hour + ":" + f.minute + ":" + f.second),
             date);
    QCOMPARE(read.zoneInForm, !zone.isEmpty());
    if (read.zoneInForm) QCOMPARE(QString::fromStdString(f.zoneHour + ":" + f.zoneMinute + (f.dst ? " DST" : "")), zone);
    QCOMPARE(QString::fromStdString(Coordinates(f)), coordinates);
    QCOMPARE(read.record.place.has_value(), !placeZone.isEmpty());
    if (read.record.place) QCOMPARE(QString::fromStdString(read.record.place->timeZone), placeZone);
    QVERIFY(read.exchanged);
    QCOMPARE(QString::fromStdString(Utc(*read.exchanged)), utc);
    QFETCH(bool, writtenBack);
    if (writtenBack) QCOMPARE(QByteArray::fromStdString(WriteJhdFile(*read.exchanged)), contents);
}

void TstBirthFile::roundTrip_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<BirthRecord>("record");
    QTest::addColumn<QString>("leftOut");  // a part of what the save says it left out, or empty

    BirthRecord full = PuneRecord();
    full.form.name = "ASHA RAO ";
    full.form.latM = "5";  // as typed: the own format keeps "5" apart from "05"
    full.form.dst = true;
    full.form.south = true;
    full.form.west = true;
    full.place = RecordPlace{"Pune", "Maharashtra", "India", "IN", 18.51957, 73.85535, "Asia/Kolkata"};
    full.settings = PeriodsSettings{Ayanamsa::Raman, 365.256363, MoonPosition::Geometric, 45, 4};
    full.note = "Twin; \\ born first =\nsecond line";
    full.city = "Pune";
    full.country = "India";
    QTest::newRow("own: everything, exactly") << int(FileFormat::Own) << full << "";

    BirthRecord placed = PuneRecord();
    placed.place = RecordPlace{"Pune", "Maharashtra", "India", "IN", 18.51957, 73.85535, "Asia/Kolkata"};
    placed.settings = PeriodsSettings{};
    QTest::newRow("jhd: to the second") << int(FileFormat::Jhd) << placed << "the zone name Asia/Kolkata";
    BirthRecord summer = PuneRecord();
    summer.form.zoneHour = "1";
    summer.form.zoneMinute = "00";
    summer.form.dst = true;
    summer.form.lonD = "0";
    summer.form.lonM = "07";
    summer.form.west = true;
    summer.note = "from the parish book";
    QTest::newRow("aaf: DST west of Greenwich") << int(FileFormat::Aaf) << summer << "";
}

void TstBirthFile::roundTrip() {
    QFETCH(int, format);
    QFETCH(BirthRecord, record);
    const auto fileFormat = static_cast<FileFormat>(format);
    const FileWriting written = WriteBirthFile(fileFormat, {record});
    QVERIFY2(!written.refusal, written.refusal ? written.refusal->c_str() : "");
    QFETCH(QString, leftOut);
    std::string said;
    for (const std::string& part : written.leftOut) said += part + "; ";
    QVERIFY2(leftOut.isEmpty() ? fileFormat != FileFormat::Own || said.empty() : said.find(leftOut.toStdString()) != std::string::npos,
             said.c_str());
    const FileReading reading = ReadBirthFile("ASHA RAO.jhd", written.contents);
    QVERIFY2(!reading.problem, reading.problem ? reading.problem->text.c_str() : "");
    QCOMPARE(reading.format, std::optional<FileFormat>(fileFormat));
    QCOMPARE(reading.records.size(), std::size_t(1));
    if (fileFormat == FileFormat::Own) {
        QVERIFY(reading.records.front().record == record);
        // A later version's file, with a member this one does not know, opens with what it knows.
        std::string later = written.contents;
        later.replace(0, later.find('\n'), "orvanta-birth 2");
        later += "aspect-grid = on\n";
        const FileReading laterReading = ReadBirthFile("later.orvanta", later);
        QVERIFY(!laterReading.problem);
        QVERIFY(laterReading.records.front().record == record);
        return;
    }
    // The exchange formats carry the birth to the second of time and of arc.
    const ExchangedBirth before = *ExchangeOf(record).birth;
    const ExchangedBirth after = *reading.records.front().exchanged;
    QCOMPARE(after.name, before.name);
    QCOMPARE(Utc(after), Utc(before));
    QCOMPARE(FormatCivil(after.local), FormatCivil(before.local));
    QCOMPARE(after.utcOffsetSeconds, before.utcOffsetSeconds);
    QVERIFY(std::fabs(after.latitude - before.latitude) * 3600 <= 0.5);
    QVERIFY(std::fabs(after.longitude - before.longitude) * 3600 <= 0.5);
    if (fileFormat == FileFormat::Aaf) {
        QCOMPARE(after.dstSeconds, before.dstSeconds);
        QCOMPARE(after.note, before.note);
    }
    if (!record.place) QVERIFY(reading.records.front().record.form == record.form);
}

void TstBirthFile::hostileFiles_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("says");

    QTest::newRow("empty") << QByteArray() << 0 << "neither";
    QTest::newRow("not a format") << QByteArray("Dear Sir,\nthe chart you sent\n") << 0 << "neither";
    QTest::newRow("not UTF-8") << QByteArray("orvanta-birth 1\nname = J\xE9R\xD4ME\n") << 2 << "not UTF-8";
    QTest::newRow("enormous") << QByteArray(5 * 1024 * 1024, '6') << 0 << "larger than";
    QTest::newRow("jhd cut off") << QByteArray("6\r\n15\r\n1985\r\n10.3\r\n") << 5 << "ends before the zone";
    QTest::newRow("jhd month 13") << QByteArray("13\n15\n1985\n10.3\n-5.3\n-75.45\n23.3\n") << 1 << "month 13";
    QTest::newRow("jhd 31 June") << QByteArray("6\n31\n1985\n10.3\n-5.3\n-75.45\n23.3\n") << 2 << "day 31";
    QTest::newRow("jhd zone 40 h") << QByteArray("6\n15\n1985\n10.3\n-40.0\n-75.45\n23.3\n") << 5 << "not a time zone";
    QTest::newRow("jhd 75 minutes") << QByteArray("6\n15\n1985\n10.75\n-5.3\n-75.45\n23.3\n") << 4 << "time of day";
    QTest::newRow("jhd latitude 95") << QByteArray("6\n15\n1985\n10.3\n-5.3\n-75.45\n95.0\n") << 7 << "latitude";
    QTest::newRow("aaf month 13") << QByteArray("#A93:X,Y,m,1.13.1970,11:04,A,B\n#B93:*,49n05,8e11,1he,0\n") << 1 << "month 13";
    QTest::newRow("aaf zone 40 h") << QByteArray("#A93:X,Y,m,1.1.1970,11:04,A,B\n#B93:*,49n05,8e11,40he00,0\n") << 2 << "zone";
    QTest::newRow("aaf second record cut off")
        << QByteArray("#A93:X,Y,m,1.1.1970,11:04,A,B\n#B93:*,49n05,8e11,1he00,0\n#A93:Z,W,f,2.2.1971,1:00,A,B\n") << 3
        << "no #B93";
    QTest::newRow("own cut off") << QByteArray("orvanta-birth 1\nname = A\nmonth = May\n") << 3 << "\"day\"";
    QTest::newRow("own month 13") << QByteArray::fromStdString(WriteOwnFile(PuneRecord())).replace("March", "13") << 3
                                  << "month";
    QTest::newRow("own zone not in the tz database")
        << QByteArray::fromStdString(WriteOwnFile(PuneRecord()) + "place-time-zone = Asia/Atlantis\nplace-latitude = 1\nplace-longitude = 2\n")
        << 18 << "Asia/Atlantis";
}

void TstBirthFile::hostileFiles() {
    QFETCH(QByteArray, contents);
    const FileReading reading = ReadBirthFile("bad.txt", contents.toStdString());
    QVERIFY(reading.problem);
    QVERIFY(reading.records.empty());
    QFETCH(int, line);
    QFETCH(QString, says);
    QCOMPARE(reading.problem->line, line);
    QVERIFY2(reading.problem->text.find(says.toStdString()) != std::string::npos, reading.problem->text.c_str());
}

QTEST_APPLESS_MAIN(TstBirthFile)
#include "tst_birth_file.moc"
