#include <QtTest>

#include "tool_run.h"

using namespace Qt::StringLiterals;

using namespace orvanta::testing;

namespace {


// Periods of every level in reading order: each followed by its children.
void Flatten(const QJsonArray& periods, QList<QJsonObject>& out) {
    for (const QJsonValue& v : periods) {
        out << v.toObject();
        Flatten(v.toObject().value("periods").toArray(), out);
    }
}

QString Lords(const QJsonObject& period, const QString& separator) {
    QStringList lords;
    for (const QJsonValue& v : period.value("lords").toArray()) lords << v.toString();
    return lords.join(separator);
}

// RFC 4180: fields split by commas, records by CRLF, quoted fields with doubled quotes.
QList<QStringList> ParseCsv(const QByteArray& text, QString& error) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') { field += '"'; ++i; }
            else if (c == '"') quoted = false;
            else field += QChar::fromLatin1(c);
        } else if (c == '"' && field.isEmpty()) {
            quoted = true;
        } else if (c == ',') {
            record << field;
            field.clear();
        } else if (c == '\r') {
            if (i + 1 >= text.size() || text[i + 1] != '\n') { error = u"CR without LF"_s; return {}; }
            ++i;
            record << field;
            records << record;
            record.clear();
            field.clear();
        } else if (c == '\n') {
            error = u"LF without CR"_s;
            return {};
        } else {
            field += QChar::fromLatin1(c);
        }
    }
    if (!field.isEmpty() || !record.isEmpty()) error = u"last record without CRLF"_s;
    return records;
}

struct IcsEvent {
    QMap<QString, QStringList> properties;  // name -> values
};

// A strict reading of an iCalendar stream: every line ends in CRLF and is at most 75
// octets, folded lines begin with one blank, BEGIN/END nest, VCALENDAR carries VERSION
// 2.0 and PRODID, every VEVENT exactly one UID, DTSTAMP, DTSTART, DTEND and SUMMARY,
// times in UTC form with DTSTART before DTEND. An error is a sentence; empty when valid.
QString ValidateIcs(const QByteArray& text, QList<IcsEvent>& events) {
    if (!text.endsWith("\r\n")) return u"the stream does not end with CRLF"_s;
    QList<QByteArray> physical = text.chopped(2).split('\n');
    QList<QByteArray> lines;
    for (qsizetype n = 0; n < physical.size(); ++n) {
        QByteArray line = physical[n];
        if (n + 1 < physical.size()) {
            if (!line.endsWith('\r')) return u"line %1 ends in a bare LF"_s.arg(n + 1);
            line.chop(1);
        }
        if (line.contains('\r')) return u"line %1 holds a bare CR"_s.arg(n + 1);
        if (line.size() > 75) return u"line %1 is %2 octets long"_s.arg(n + 1).arg(line.size());
        if (line.startsWith(' ') || line.startsWith('\t')) {
            if (lines.isEmpty()) return u"the stream begins with a continuation"_s;
            lines.last() += line.mid(1);
        } else {
            lines << line;
        }
    }
    QStringList open;
    QMap<QString, int> calendarProperties;
    static const QRegularExpression utcTime(u"^\\d{8}T\\d{6}Z$"_s);
    for (const QByteArray& raw : lines) {
        const QString line = QString::fromUtf8(raw);
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0) return u"no name:value in \"%1\""_s.arg(line);
        const QString name = line.left(colon).section(';', 0, 0);
        const QString value = line.mid(colon + 1);
        if (name == "BEGIN"_L1) {
            if (open.isEmpty() != (value == "VCALENDAR"_L1)) return u"BEGIN:%1 out of place"_s.arg(value);
            open << value;
            if (value == "VEVENT"_L1) events << IcsEvent{};
            continue;
        }
        if (name == "END"_L1) {
            if (open.isEmpty() || open.last() != value) return u"END:%1 does not close %2"_s.arg(value, open.value(open.size() - 1));
            open.removeLast();
            if (value == "VEVENT"_L1) {
                const IcsEvent& e = events.last();
                for (const QString& required : {u"UID"_s, u"DTSTAMP"_s, u"DTSTART"_s, u"DTEND"_s, u"SUMMARY"_s}) {
                    if (e.properties.value(required).size() != 1) return u"an event has %1 %2"_s.arg(e.properties.value(required).size()).arg(required);
                }
                for (const QString& time : {u"DTSTAMP"_s, u"DTSTART"_s, u"DTEND"_s}) {
                    if (!utcTime.match(e.properties.value(time).first()).hasMatch()) return time + u" is not a UTC time"_s;
                }
                if (e.properties.value("DTSTART").first() >= e.properties.value("DTEND").first()) return u"an event ends before it starts"_s;
            }
            if (open.isEmpty() && value == "VCALENDAR"_L1) {
                if (calendarProperties.value("VERSION") != 1 || calendarProperties.value("PRODID") != 1) {
                    return u"VCALENDAR needs one VERSION and one PRODID"_s;
                }
            }
            continue;
        }
        if (open.isEmpty()) return u"a property outside VCALENDAR"_s;
        if (open.last() == "VEVENT"_L1) {
            events.last().properties[name] << value;
        } else {
            ++calendarProperties[name];
            if (name == "VERSION"_L1 && value != "2.0"_L1) return u"VERSION is not 2.0"_s;
        }
    }
    if (!open.isEmpty()) return u"%1 is not closed"_s.arg(open.last());
    return {};
}

QString IcsTime(const QString& isoUtc) {  // "1981-08-18T18:00:00Z" -> "19810818T180000Z"
    QString t = isoUtc;
    return t.remove('-').remove(':');
}

}  // namespace

class TestPreciseChart : public QObject {
    Q_OBJECT
private slots:
    void jsonMembers();
    void yearsOutsideTheForm();
    void refusals_data();
    void refusals();
    void classicFormatsUnchanged();
    void csvHoldsTheTree();
    void icsImports();
    void planets();
    void damagedFiles_data();
    void damagedFiles();
    void ephemerisOfTheBirth_data();
    void ephemerisOfTheBirth();
    void comparedRows_data();
    void comparedRows();
};

// The default birth (1981-08-18 23:30 at zone 5:30 east, JD 2444835.25 UT) against
// swetest -bj2444835.25 -ut -sid1 -p0t -fPls -head: "Sun 122.0849999 0.9618415",
// "true Node 97.9389355 -0.0565120".
void TestPreciseChart::planets() {
    const Outcome run = Run({"--precise", "--json", "--levels", "1", "--planets", "--node", "true"});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject precise = Json(run).value("precise").toObject();
    QCOMPARE(precise.value("node").toString(), u"true"_s);
    const QJsonArray planets = precise.value("planets").toArray();
    const QStringList names = {u"Sun"_s,   u"Moon"_s,  u"Mars"_s,   u"Mercury"_s, u"Jupiter"_s,
                               u"Venus"_s, u"Saturn"_s, u"Rahu"_s, u"Ketu"_s};
    QCOMPARE(planets.size(), names.size());
    const QStringList members = {u"name"_s,  u"siderealLongitude"_s, u"sign"_s,     u"degreesInSign"_s, u"speed"_s,
                                 u"retrograde"_s, u"nakshatraNumber"_s, u"nakshatra"_s, u"pada"_s,  u"lord"_s,
                                 u"house"_s, u"navamsaSign"_s, u"dignity"_s};
    for (qsizetype i = 0; i < planets.size(); ++i) {
        const QJsonObject p = planets[i].toObject();
        QCOMPARE(p.value("name").toString(), names[i]);
        for (const QString& member : members) QVERIFY2(p.contains(member), qPrintable(names[i] + u' ' + member));
    }
    const QJsonObject sun = planets[0].toObject(), rahu = planets[7].toObject(), ketu = planets[8].toObject();
    QVERIFY(std::fabs(sun.value("siderealLongitude").toDouble() - 122.0849999) < 0.01 / 3600);
    QVERIFY(std::fabs(sun.value("speed").toDouble() - 0.9618415) < 1.5e-7);
    QCOMPARE(sun.value("sign").toString(), u"Leo"_s);
    QCOMPARE(sun.value("dignity").toString(), u"moolatrikona"_s);  // Leo 2°
    QVERIFY(std::fabs(rahu.value("siderealLongitude").toDouble() - 97.9389355) < 0.01 / 3600);
    QVERIFY(std::fabs(rahu.value("speed").toDouble() + 0.0565120) < 1.5e-7);
    QCOMPARE(ketu.value("sign").toString(), u"Cap"_s);
    QCOMPARE(Run({"--precise", "--planets", "--format", "csv"}).exitCode, 64);
    QVERIFY(Run({"--precise", "--levels", "1", "--planets"}).out.contains("Planets (sidereal"));
}

void TestPreciseChart::jsonMembers() {
    const Outcome run = Run({"--precise", "--json", "--levels", "2", "--uncertainty", "30", "--on", "2000-01-01T12:00"});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject json = Json(run);
    QVERIFY(json.contains("birthDetails") && json.contains("dashaTable") && json.contains("results"));
    const QJsonObject p = json.value("precise").toObject();
    QCOMPARE(p.value("engine").toObject().value("library").toString(), u"Swiss Ephemeris"_s);
    QVERIFY(QStringList({"files", "moshier"}).contains(p.value("engine").toObject().value("ephemeris").toString()));
    QVERIFY(!p.value("engine").toObject().value("version").toString().isEmpty());
    QCOMPARE(p.value("ayanamsa").toObject().value("name").toString(), u"lahiri"_s);
    const double ayanamsa = p.value("ayanamsa").toObject().value("degrees").toDouble();
    QVERIFY2(ayanamsa > 23.5 && ayanamsa < 23.7, qPrintable(QString::number(ayanamsa)));  // Lahiri in 1981: 23.6 deg

    // The window's start state: 18 August 1981 23:30 at zone 5:30 east is 18:00 UTC.
    const QJsonObject birth = p.value("birth").toObject();
    QCOMPARE(birth.value("local").toString(), u"1981-08-18T23:30:00"_s);
    QVERIFY(birth.value("timeZone").isNull());
    QCOMPARE(birth.value("utcOffsetSeconds").toInt(), 19800);
    QCOMPARE(birth.value("utc").toString(), u"1981-08-18T18:00:00Z"_s);
    QCOMPARE(birth.value("julianDayUT").toDouble(), 2444835.25);
    QVERIFY(birth.value("deltaTSeconds").toDouble() > 50 && birth.value("deltaTSeconds").toDouble() < 53);

    const QJsonObject moon = p.value("moon").toObject();
    const double longitude = moon.value("siderealLongitude").toDouble();
    QCOMPARE(moon.value("nakshatraNumber").toInt(), int(std::floor(longitude * 3 / 40)) + 1);
    for (const char* key : {"nakshatra", "pada", "lord", "elapsedFraction"}) QVERIFY2(moon.contains(key), key);
    QVERIFY(p.value("ascendant").toObject().contains("siderealLongitude"));
    QCOMPARE(p.value("ascendant").toObject().value("signCode").toString().size(), 3);
    QCOMPARE(p.value("yearDays").toDouble(), 365.25);
    QCOMPARE(p.value("levels").toInt(), 2);

    const QJsonArray mahas = p.value("periods").toArray();
    QCOMPARE(mahas.size(), 9);
    QCOMPARE(mahas.at(0).toObject().value("lords").toArray().at(0).toString(), moon.value("lord").toString());
    QVERIFY(mahas.at(0).toObject().value("ageAtStart").isNull());  // began before birth
    for (qsizetype m = 0; m < 9; ++m) {
        const QJsonObject maha = mahas.at(m).toObject();
        const QJsonArray children = maha.value("periods").toArray();
        QCOMPARE(children.size(), 9);
        QCOMPARE(Lords(children.at(3).toObject(), "/").section('/', 0, 0), Lords(maha, "/"));
        for (const QJsonValue& c : children) {
            const QJsonObject child = c.toObject();
            QVERIFY(child.value("startEarliest").toString() <= child.value("start").toString());
            QVERIFY(child.value("start").toString() <= child.value("startLatest").toString());
            QVERIFY(child.value("startLocal").toString().endsWith("+05:30"));
        }
    }
    // Mercury follows Saturn, opening on 8 June 1989 local: 18 August 1981 + 7 years
    // 9 months is 18 May 1989, and 21 days more.
    const QJsonObject mercury = mahas.at(1).toObject();
    QCOMPARE(Lords(mercury, "/"), u"Mercury"_s);
    QVERIFY(mercury.value("startLocal").toString().startsWith("1989-06-08"));
    const QJsonObject age = mercury.value("ageAtStart").toObject();
    QCOMPARE(age.value("years").toInt(), 7);
    QCOMPARE(age.value("months").toInt(), 9);
    QCOMPARE(age.value("days").toInt(), 21);

    const QJsonObject running = p.value("runningOn").toObject();
    QCOMPARE(running.value("at").toString(), u"2000-01-01T12:00:00"_s);
    const QJsonArray chain = running.value("periods").toArray();
    QCOMPARE(chain.size(), 2);
    // 2000-01-01 12:00 at +05:30 is 06:30 UTC, inside each period of the chain.
    for (const QJsonValue& v : chain) {
        QVERIFY(v.toObject().value("start").toString() <= "2000-01-01T06:30:00Z"_L1);
        QVERIFY(v.toObject().value("end").toString() > "2000-01-01T06:30:00Z"_L1);
    }
    QCOMPARE(Lords(chain.at(1).toObject(), "/").section('/', 0, 0), Lords(chain.at(0).toObject(), "/"));
    const QJsonObject uncertainty = p.value("uncertainty").toObject();
    QCOMPARE(uncertainty.value("minutes").toInt(), 30);
    QVERIFY(uncertainty.contains("nakshatraChangesAt"));
}

void TestPreciseChart::yearsOutsideTheForm() {
    const QJsonObject json = Json(Run({"--precise", "--json", "--year", "1850", "--levels", "1"}));
    QVERIFY(!json.contains("birthDetails") && !json.contains("dashaTable") && !json.contains("results"));
    const QJsonObject birth = json.value("precise").toObject().value("birth").toObject();
    QCOMPARE(birth.value("local").toString(), u"1850-08-18T23:30:00"_s);
    QCOMPARE(birth.value("utc").toString(), u"1850-08-18T18:00:00Z"_s);  // zone 5:30 east
    // Kolkata kept local mean time then (+5:53:28), and Howrah Mean Time (+5:53:20) from
    // 1854 to 1870, when the second Maha Dasha of this birth begins: offsets with seconds.
    const QJsonObject kolkata = Json(Run({"--precise", "--json", "--year", "1850", "--levels", "1", "--time-zone", "Asia/Kolkata"}))
                                    .value("precise").toObject();
    QCOMPARE(kolkata.value("birth").toObject().value("timeZone").toString(), u"Asia/Kolkata"_s);
    QCOMPARE(kolkata.value("birth").toObject().value("utcOffsetSeconds").toInt(), 21208);
    const QJsonObject second = kolkata.value("periods").toArray().at(1).toObject();
    QVERIFY2(second.value("startLocal").toString().endsWith("+05:53:20"), qPrintable(second.value("startLocal").toString()));
    const QByteArray text = Run({"--precise", "--year", "2399", "--levels", "1"}).out;
    QVERIFY(text.startsWith("Precise method\n"));
}

void TestPreciseChart::refusals_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");  // part of the JSON error's message; "" for none
    QTest::newRow("unknown ayanamsa") << QStringList{"--ayanamsa", "sidereal"} << 2 << "ayanamsa";
    QTest::newRow("year too short") << QStringList{"--year-days", "299.9"} << 64 << "from 300 to 400";
    QTest::newRow("year length -0") << QStringList{"--year-days", "-0"} << 64 << "from 300 to 400";
    QTest::newRow("year length 1e308") << QStringList{"--year-days", "1e308"} << 64 << "from 300 to 400";
    QTest::newRow("year length no number") << QStringList{"--year-days", "long"} << 64 << "";
    QTest::newRow("unknown zone") << QStringList{"--time-zone", "Atlantis/Capital"} << 2 << "Atlantis/Capital";
    QTest::newRow("doubled local time")
        << QStringList{"--time-zone", "Europe/London", "--month", "October", "--day", "25", "--hour", "1"} << 2 << "twice";
    QTest::newRow("doubled, the later one")
        << QStringList{"--time-zone", "Europe/London", "--month", "October", "--day", "25", "--hour", "1", "--fold", "later"} << 0 << "";
    QTest::newRow("before 1800") << QStringList{"--year", "1799"} << 64 << "from 1800 to 2399";
    QTest::newRow("after 2399") << QStringList{"--year", "2400"} << 64 << "from 1800 to 2399";
    QTest::newRow("29 February 1800: no leap year")
        << QStringList{"--year", "1800", "--month", "February", "--day", "29"} << 2 << "Please Enter Correct Date Of Birth";
    QTest::newRow("uncertainty too wide") << QStringList{"--uncertainty", "361"} << 64 << "from 0 to 360";
    QTest::newRow("levels 6") << QStringList{"--levels", "6"} << 64 << "";
    QTest::newRow("no such date to look at") << QStringList{"--on", "2001-02-29"} << 64 << "";
    QTest::newRow("unknown format") << QStringList{"--format", "xml"} << 64 << "";
    QTest::newRow("fold without zone") << QStringList{"--fold", "earlier"} << 64 << "";
    QTest::newRow("year 0 to look at, zone boxes") << QStringList{"--on", "0000-01-01"} << 64 << "from 1800-01-01";
    QTest::newRow("year 0 to look at, zone id") << QStringList{"--on", "0000-01-01", "--time-zone", "UTC"} << 64
                                                << "from 1800-01-01";
    QTest::newRow("2450 to look at, zone id") << QStringList{"--on", "2450-06-01", "--time-zone", "Asia/Kolkata"} << 0 << "";
    QTest::newRow("zone id and zone hours") << QStringList{"--time-zone", "Asia/Kolkata", "--zone-hour", "5"} << 64
                                            << "--zone-hour cannot be given with it";
    QTest::newRow("zone id and DST") << QStringList{"--dst", "--time-zone=Europe/London"} << 64
                                     << "--dst cannot be given with it";
    QTest::newRow("unknown Moon position") << QStringList{"--moon", "true"} << 64 << "";
    QTest::newRow("unknown year name") << QStringList{"--year-days", "lunar"} << 64 << "";
    QTest::newRow("comparison as a calendar") << QStringList{"--compare", "--format", "ics"} << 64 << "";
    QTest::newRow("comparison with a time window") << QStringList{"--compare", "--uncertainty", "10"} << 64 << "";
    QTest::newRow("a fixed offset is no zone id") << QStringList{"--time-zone", "UTC+05:30"} << 2 << "\"UTC+05:30\"";
    QTest::newRow("offset and zone id") << QStringList{"--utc-offset", "+05:30", "--time-zone", "Asia/Kolkata"} << 64
                                        << "both name the zone";
    QTest::newRow("offset and zone hours") << QStringList{"--utc-offset=+05:30", "--zone-hour", "5"} << 64
                                           << "--zone-hour cannot be given with it";
    QTest::newRow("offset beyond 16 h") << QStringList{"--utc-offset", "+16:00:01"} << 64 << "within 16 hours";
}

void TestPreciseChart::refusals() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const Outcome run = Run(QStringList{"--precise", "--json", "--levels", "1"} + arguments);
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 2) QVERIFY2(Json(run).value("error").toObject().value("message").toString().contains(message), run.out.constData());
    if (exitCode == 64) QVERIFY(Json(run).value("error").toObject().value("message").toString().contains(message));
    // Without --precise the new options are no options at all.
    if (arguments.first().startsWith("--") && arguments.first() != "--year"_L1 && arguments.first() != "--month"_L1 &&
        arguments.first() != "--format"_L1) {
        QCOMPARE(Run(arguments).exitCode, 64);
    }
}

void TestPreciseChart::classicFormatsUnchanged() {
    const QStringList birth{"--month", "June", "--day", "15", "--year", "1975", "--west", "--dst"};
    const Outcome json = Run(birth + QStringList{"--json"});
    QCOMPARE(json.exitCode, 0);
    QCOMPARE(Run(birth + QStringList{"--format", "json"}).out, json.out);
    QCOMPARE(Run(birth + QStringList{"--format=text"}).out, Run(birth).out);
    // With --precise the classic members stay as they were, the precise one comes after them.
    const QByteArray precise = Run(birth + QStringList{"--json", "--precise", "--levels", "1"}).out;
    QVERIFY(precise.startsWith(json.out.chopped(2)));  // without the closing brace and newline
    QVERIFY(precise.mid(json.out.size() - 2).startsWith(", \"precise\": {"));
}

void TestPreciseChart::csvHoldsTheTree() {
    const QStringList birth{"--precise", "--levels", "3", "--month", "March", "--day", "2", "--year", "1990", "--second", "41",
                            "--time-zone", "Asia/Kolkata", "--uncertainty", "10"};
    const Outcome csv = Run(birth + QStringList{"--format", "csv"});
    QCOMPARE(csv.exitCode, 0);
    QString error;
    const QList<QStringList> records = ParseCsv(csv.out, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(records.first(), (QStringList{"level", "lords", "start", "end", "startLocal", "endLocal", "startEarliest", "startLatest"}));
    QList<QJsonObject> periods;
    Flatten(Json(Run(birth + QStringList{"--json"})).value("precise").toObject().value("periods").toArray(), periods);
    QCOMPARE(periods.size(), 9 + 81 + 729);
    QCOMPARE(records.size(), periods.size() + 1);
    for (qsizetype i = 0; i < periods.size(); ++i) {
        const QStringList& r = records[i + 1];
        const QJsonObject& p = periods[i];
        QCOMPARE(r.size(), 8);
        QCOMPARE(r[0].toInt(), p.value("lords").toArray().size());
        QCOMPARE(r[1], Lords(p, "/"));
        QCOMPARE(r[2], p.value("start").toString());
        QCOMPARE(r[3], p.value("end").toString());
        QCOMPARE(r[4], p.value("startLocal").toString());
        QCOMPARE(r[5], p.value("endLocal").toString());
        QCOMPARE(r[6], p.value("startEarliest").toString());
        QCOMPARE(r[7], p.value("startLatest").toString());
    }
    // The text layout: one line per period, indented two blanks a level.
    const QList<QByteArray> lines = Run(birth).out.split('\n');
    static const QRegularExpression periodLine(u"^( *)[A-Z][a-z]+ +\\d{4}-\\d\\d-\\d\\dT[0-9:]{8}\\+05:30  "_s);
    QList<qsizetype> perIndent(4);
    for (const QByteArray& line : lines) {
        const QRegularExpressionMatch m = periodLine.match(QString::fromUtf8(line));
        if (m.hasMatch() && m.capturedLength(1) <= 6) ++perIndent[m.capturedLength(1) / 2];
    }
    QCOMPARE(perIndent, (QList<qsizetype>{9, 81, 729, 0}));
}

void TestPreciseChart::icsImports() {
    const QStringList birth{"--precise", "--levels", "2", "--year", "1960", "--time-zone", "America/New_York", "--lat-deg", "40",
                            "--lat-min", "43", "--lon-deg", "74", "--west", "--format", "ics"};
    const Outcome first = Run(birth);
    QCOMPARE(first.exitCode, 0);
    QList<IcsEvent> events;
    const QString error = ValidateIcs(first.out, events);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QList<QJsonObject> periods;
    Flatten(Json(Run(birth + QStringList{"--format", "json"})).value("precise").toObject().value("periods").toArray(), periods);
    QCOMPARE(events.size(), periods.size());
    QStringList uids;
    for (qsizetype i = 0; i < events.size(); ++i) {
        QCOMPARE(events[i].properties.value("SUMMARY").first(), "S K: " + Lords(periods[i], " / "));
        QCOMPARE(events[i].properties.value("DTSTART").first(), IcsTime(periods[i].value("start").toString()));
        QCOMPARE(events[i].properties.value("DTEND").first(), IcsTime(periods[i].value("end").toString()));
        uids << events[i].properties.value("UID").first();
    }
    QCOMPARE(QSet<QString>(uids.begin(), uids.end()).size(), uids.size());

    // Other settings, the same events: the identifiers follow the person and the lords.
    QList<IcsEvent> again;
    QVERIFY(ValidateIcs(Run(birth + QStringList{"--ayanamsa", "raman", "--year-days", "360"}).out, again).isEmpty());
    QStringList againUids;
    for (const IcsEvent& event : again) againUids << event.properties.value("UID").first();
    QCOMPARE(QSet<QString>(againUids.begin(), againUids.end()), QSet<QString>(uids.begin(), uids.end()));
    QList<IcsEvent> otherBirth;
    QVERIFY(ValidateIcs(Run(birth + QStringList{"--minute", "31"}).out, otherBirth).isEmpty());
    QVERIFY(otherBirth.first().properties.value("UID").first() != uids.first());
}

// A copy of the installed data files, one damaged as the row says, given by SE_EPHE_PATH:
// never a chart from it, and a refusal that names the file; without the Moon's file the
// Moon comes from the theory and the provenance says so.
void TestPreciseChart::damagedFiles_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");  // besides the damaged file's path
    QTest::newRow("bytes changed") << "xor" << 2 << "damaged";
    QTest::newRow("truncated") << "truncate" << 2 << "damaged";
    QTest::newRow("empty") << "empty" << 2 << "damaged";
    QTest::newRow("a folder in its place") << "folder" << 2 << "cannot be read";
    QTest::newRow("missing") << "remove" << 0 << "";
    QTest::newRow("undamaged copy") << "none" << 0 << "";
}

void TestPreciseChart::damagedFiles() {
    QFETCH(QString, damage);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const QDir installed(u"/usr/share/libswe/ephe"_s);
    if (!installed.exists(u"semo_18.se1"_s)) QSKIP("the library's data files are not installed");
    QTemporaryDir folder;
    for (const QString& name : {u"semo_18.se1"_s, u"sepl_18.se1"_s}) {
        QVERIFY(QFile::copy(installed.filePath(name), folder.filePath(name)));
    }
    const QString moonFile = folder.filePath(u"semo_18.se1"_s);
    QFile file(moonFile);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    if (damage == "xor"_L1) {
        for (qsizetype i = bytes.size() / 2; i < bytes.size() / 2 + 64; ++i) bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
        file.seek(0);
        file.write(bytes);
    } else if (damage == "truncate"_L1) {
        file.resize(bytes.size() / 2);
    } else if (damage == "empty"_L1) {
        file.resize(0);
    }
    file.close();
    if (damage == "folder"_L1 || damage == "remove"_L1) QVERIFY(QFile::remove(moonFile));
    if (damage == "folder"_L1) QVERIFY(QDir().mkdir(moonFile));

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"SE_EPHE_PATH"_s, folder.path());
    process.setProcessEnvironment(environment);
    // 1943-05-04 06:10 Kolkata: a Moon in the middle of the file's years.
    process.start(QStringLiteral(ORVANTA_CHART_PATH),
                  {"--precise", "--json", "--levels", "1", "--year", "1943", "--month", "May", "--day", "4"});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), exitCode);
    const QJsonObject json = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    if (exitCode != 0) {
        const QString said = json.value("error").toObject().value("message").toString();
        QVERIFY2(said.contains(moonFile) && said.contains(message), qPrintable(said));
        return;
    }
    const QString ephemeris = json.value("precise").toObject().value("engine").toObject().value("ephemeris").toString();
    QCOMPARE(ephemeris, damage == "remove"_L1 ? u"moshier"_s : u"files"_s);
}

// The ephemeris named is the one that answered for the birth: the basic set's planet file
// starts at 1800-01-01 0h UT, and 05:30 in Kolkata (local mean time, UTC+05:53:28) is before.
// Delta T: swetest at the same Julian day (UT), from its theory (-emos) for the first row.
void TestPreciseChart::ephemerisOfTheBirth_data() {
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("ephemeris");
    QTest::addColumn<double>("deltaT");
    // swetest -bj2378496.4837037 -ut -p1 -emos: delta t 18.122725 sec
    QTest::newRow("1799-12-31T23:36:32Z") << "5" << "moshier" << 18.122725;
    // swetest -bj2378496.5253704 -ut -p1: delta t 18.604655 sec (18.123675 with -emos)
    QTest::newRow("1800-01-01T00:36:32Z") << "6" << "files" << 18.604655;
}

void TestPreciseChart::ephemerisOfTheBirth() {
    QFETCH(QString, hour);
    QFETCH(QString, ephemeris);
    QFETCH(double, deltaT);
    if (ephemeris == "moshier"_L1 && QFile::exists(QStringLiteral("/usr/share/libswe/ephe/sepl_12.se1")))
        QSKIP("the standard set's files for 1200-1800 are installed: the files answer for this instant");
    const Outcome run = Run({"--precise", "--json", "--levels", "1", "--year", "1800", "--month", "January", "--day",
                             "1", "--hour", hour, "--minute", "30", "--time-zone", "Asia/Kolkata"});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject precise = Json(run).value("precise").toObject();
    QCOMPARE(precise.value("engine").toObject().value("ephemeris").toString(), ephemeris);
    QVERIFY(std::fabs(precise.value("birth").toObject().value("deltaTSeconds").toDouble() - deltaT) < 1e-6);
}

// A row of --compare is the run with that convention on its own line: the birth lord, the
// balance (the age at the first Maha Dasha start after birth), that start and the periods
// running on --on; its difference is from the line's own start.
void TestPreciseChart::comparedRows_data() {
    QTest::addColumn<QStringList>("option");
    QTest::addColumn<QString>("ayanamsa");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("moon");
    QTest::newRow("the line itself") << QStringList{} << "lahiri" << "julian" << "apparent";
    QTest::newRow("ayanamsa") << QStringList{"--ayanamsa", "raman"} << "raman" << "julian" << "apparent";
    QTest::newRow("year, by its days") << QStringList{"--year-days", "360"} << "lahiri" << "savana" << "apparent";
    QTest::newRow("year, by its name") << QStringList{"--year-days", "sidereal"} << "lahiri" << "sidereal" << "apparent";
    QTest::newRow("Moon position") << QStringList{"--moon", "geometric"} << "lahiri" << "julian" << "geometric";
}

void TestPreciseChart::comparedRows() {
    QFETCH(QStringList, option);
    QFETCH(QString, ayanamsa);
    QFETCH(QString, year);
    QFETCH(QString, moon);
    const QStringList birth{"--precise", "--year", "1943", "--month", "May", "--day", "4", "--hour", "6", "--minute",
                            "10", "--second", "30", "--time-zone", "Asia/Kolkata", "--on", "2025-01-01", "--format",
                            "json"};
    const Outcome compared = Run(birth + QStringList{"--compare"});
    QCOMPARE(compared.exitCode, 0);
    QJsonObject row;
    for (const QJsonValue& v : Json(compared).value("compare").toObject().value("rows").toArray()) {
        const QJsonObject r = v.toObject();
        if (r.value("ayanamsa") == ayanamsa && r.value("yearName") == year && r.value("moon") == moon) row = r;
    }
    QVERIFY(!row.isEmpty());
    const auto firstAfterBirth = [](const QJsonObject& json) {
        for (const QJsonValue& v : json.value("precise").toObject().value("periods").toArray()) {
            if (!v.toObject().value("ageAtStart").isNull()) return v.toObject();
        }
        return QJsonObject();
    };
    const Outcome own = Run(birth + option);
    QCOMPARE(own.exitCode, 0);
    const QJsonObject precise = Json(own).value("precise").toObject();
    const QJsonObject first = firstAfterBirth(Json(own));
    QCOMPARE(row.value("birthLord").toString(), precise.value("moon").toObject().value("lord").toString());
    QCOMPARE(row.value("balance").toObject(), first.value("ageAtStart").toObject());
    const QJsonObject maha = row.value("firstMahaDasha").toObject();
    QCOMPARE(maha.value("lord").toString(), first.value("lords").toArray().first().toString());
    QCOMPARE(maha.value("start").toString(), first.value("start").toString());
    const QJsonArray running = precise.value("runningOn").toObject().value("periods").toArray();
    QCOMPARE(row.value("runningOn").toArray(), running.last().toObject().value("lords").toArray());
    const QJsonObject line = firstAfterBirth(Json(Run(birth)));
    const qint64 difference = QDateTime::fromString(line.value("start").toString(), Qt::ISODate)
                                  .secsTo(QDateTime::fromString(first.value("start").toString(), Qt::ISODate));
    QCOMPARE(row.value("differenceSeconds").toInteger(), difference);
}

QTEST_GUILESS_MAIN(TestPreciseChart)
#include "tst_precise_chart.moc"
