#include <QtTest>

#include "core/chart/birth_form.h"

using namespace orvanta;

Q_DECLARE_METATYPE(orvanta::Control)
Q_DECLARE_METATYPE(orvanta::Icon)

namespace {

// A field of the form by the name of its box.
std::string& Field(BirthForm& form, const QString& box) {
    if (box == "txtName") return form.name;
    if (box == "txtZoneHour") return form.zoneHour;
    if (box == "txtZoneMinute") return form.zoneMinute;
    if (box == "txtLatD") return form.latD;
    if (box == "txtLatM") return form.latM;
    if (box == "txtLonD") return form.lonD;
    if (box == "txtLonM") return form.lonM;
    if (box == "cboMonth") return form.month;
    if (box == "cboDate") return form.day;
    if (box == "cboYear") return form.year;
    return form.second;
}

const QString kZone = "Please Enter Value Between 0 And 12 in the Zone Hour";
const QString kLonD = "Please Enter Value Between 0 And 179 in the Degree of Longitude";
const QString kLonM = "Please Enter Value Between 0 And 59 in the  Minute of Longitude";
const QString kLatD = "Please Enter Value Between 0 And 89 in the Degree of Latitude";
const QString kLatM = "Please Enter Value Between 0 And 59 in the  Minute of Latitude";
const QString kDate = "Please Enter Correct Date Of Birth";

}  // namespace

class TestBirthForm : public QObject {
    Q_OBJECT
private slots:
    void lists();
    void filterKey_data();
    void filterKey();
    void filterText_data();
    void filterText();
    void filterFormTextsStopsAtFirstRefusal();
    void unlistedText_data();
    void unlistedText();
    void unlistedTextSweep();
    void validate_data();
    void validate();
    void readBirthDetails_data();
    void readBirthDetails();
    void checkAndRead_data();
    void checkAndRead();
    void monthsReadInListOrder();
};

void TestBirthForm::lists() {
    QCOMPARE(MonthEntries().size(), 12u);
    QCOMPARE(QString::fromStdString(MonthEntries().front()), QStringLiteral("January"));
    QCOMPARE(QString::fromStdString(MonthEntries().back()), QStringLiteral("December"));
    QCOMPARE(QString::fromStdString(DayEntries().back()), QStringLiteral("31"));
    QCOMPARE(YearEntries().size(), 150u);
    QCOMPARE(QString::fromStdString(YearEntries().front()), QStringLiteral("1901"));
    QCOMPARE(QString::fromStdString(HourEntries().back()), QStringLiteral("23"));
    QCOMPARE(QString::fromStdString(MinuteEntries()[7]), QStringLiteral("7"));  // no leading zero
    QCOMPARE(MinuteEntries().size(), 60u);
}

void TestBirthForm::filterKey_data() {
    QTest::addColumn<Control>("box");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("reaches");  // -1: refused
    QTest::newRow("name: lower case is raised") << Control::txtName << int('s') << int('S');
    QTest::newRow("name: upper case") << Control::txtName << int('K') << int('K');
    QTest::newRow("name: blank") << Control::txtName << int(' ') << int(' ');
    QTest::newRow("name: Enter") << Control::txtName << 13 << 13;
    QTest::newRow("name: Backspace") << Control::txtName << 8 << 8;
    QTest::newRow("name: digit refused") << Control::txtName << int('1') << -1;
    QTest::newRow("name: hyphen refused") << Control::txtName << int('-') << -1;
    QTest::newRow("name: accented letter refused") << Control::txtName << 0xE9 << -1;
    QTest::newRow("zone hour: minus") << Control::txtZoneHour << int('-') << int('-');
    QTest::newRow("zone hour: digit") << Control::txtZoneHour << int('9') << int('9');
    QTest::newRow("zone hour: letter refused") << Control::txtZoneHour << int('a') << -1;
    QTest::newRow("zone hour: Enter refused") << Control::txtZoneHour << 13 << -1;
    QTest::newRow("zone minute: minus refused") << Control::txtZoneMinute << int('-') << -1;
    QTest::newRow("latitude deg: minus refused") << Control::txtLatD << int('-') << -1;
    QTest::newRow("latitude min: Backspace") << Control::txtLatM << 8 << 8;
    QTest::newRow("longitude deg: minus refused") << Control::txtLonD << int('-') << -1;
    QTest::newRow("longitude min: point refused") << Control::txtLonM << int('.') << -1;
    QTest::newRow("longitude min: digit") << Control::txtLonM << int('0') << int('0');
    QTest::newRow("city: anything") << Control::txtMCity << int('1') << int('1');
}

void TestBirthForm::filterKey() {
    QFETCH(Control, box);
    QFETCH(int, key);
    QFETCH(int, reaches);
    const auto result = FilterKey(box, static_cast<char32_t>(key));
    QCOMPARE(result ? int(*result) : -1, reaches);
    if (reaches < 0) {
        const Message m = KeyRefusedMessage(box);
        QCOMPARE(m.focus, box);
        if (box == Control::txtName) {
            QCOMPARE(QString::fromStdString(m.text), QStringLiteral("Please Enter only Letters"));
            QCOMPARE(m.icon, Icon::Information);
        } else {
            QCOMPARE(QString::fromStdString(m.text), QStringLiteral("Only Numbers Are Accepted"));
            QCOMPARE(m.icon, Icon::Error);
        }
    }
}

void TestBirthForm::filterText_data() {
    QTest::addColumn<Control>("box");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<bool>("refused");
    QTest::newRow("name raised") << Control::txtName << QByteArray("s k") << QByteArray("S K") << false;
    QTest::newRow("name keeps blanks") << Control::txtName << QByteArray("  ravi  ") << QByteArray("  RAVI  ") << false;
    QTest::newRow("Enter inside text refused") << Control::txtName << QByteArray("ab\rcd") << QByteArray("ABCD") << true;
    QTest::newRow("Backspace inside text refused") << Control::txtName << QByteArray("ab\bc") << QByteArray("ABC") << true;
    QTest::newRow("name with digits") << Control::txtName << QByteArray("r2d2") << QByteArray("RD") << true;
    QTest::newRow("name with UTF-8") << Control::txtName << QByteArray("Jos\xC3\xA9") << QByteArray("JOS") << true;
    QTest::newRow("zone hour keeps minus") << Control::txtZoneHour << QByteArray("-13") << QByteArray("-13") << false;
    QTest::newRow("zone hour refuses blank") << Control::txtZoneHour << QByteArray(" 5") << QByteArray("5") << true;
    QTest::newRow("zone minute refuses minus") << Control::txtZoneMinute << QByteArray("-3") << QByteArray("3") << true;
    QTest::newRow("latitude digits") << Control::txtLatD << QByteArray("07") << QByteArray("07") << false;
    QTest::newRow("country takes anything") << Control::txtMCountry << QByteArray("C\xC3\xB4te 1") << QByteArray("C\xC3\xB4te 1") << false;
}

void TestBirthForm::filterText() {
    QFETCH(Control, box);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, result);
    QFETCH(bool, refused);
    const FilteredText filtered = FilterText(box, text.toStdString());
    QCOMPARE(QByteArray::fromStdString(filtered.text), result);
    QCOMPARE(filtered.refused, refused);
}

void TestBirthForm::filterFormTextsStopsAtFirstRefusal() {
    BirthForm form;
    form.name = "ravi";
    form.zoneMinute = "3x";
    form.lonD = "a";
    const BirthForm before = form;
    const auto message = FilterFormTexts(form);
    QVERIFY(message.has_value());
    QCOMPARE(message->focus, Control::txtZoneMinute);  // the zone minute comes before the longitude
    QVERIFY(form == before);                           // nothing changed

    BirthForm good;
    good.name = "ravi k";
    QVERIFY(!FilterFormTexts(good).has_value());
    QCOMPARE(QString::fromStdString(good.name), QStringLiteral("RAVI K"));
}

void TestBirthForm::unlistedText_data() {
    // Number texts are swept below; a row here names the list found and the texts the sweep
    // does not reach.
    QTest::addColumn<QString>("list");  // as ListFieldName writes it
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("listed");
    QTest::newRow("month entry") << "month" << "December" << true;
    QTest::newRow("unknown month") << "month" << "Foo" << false;
    QTest::newRow("month in lower case") << "month" << "august" << false;
    QTest::newRow("day 100") << "day" << "100" << false;
    QTest::newRow("day -2") << "day" << "-2" << false;
    QTest::newRow("day with a blank") << "day" << " 5" << false;
    QTest::newRow("year 1900") << "year" << "1900" << false;
    QTest::newRow("hour 24") << "hour" << "24" << false;
    QTest::newRow("empty minute") << "minute" << "" << false;
    QTest::newRow("second 60, never read but listed") << "second" << "60" << false;
    QTest::newRow("minute +5") << "minute" << "+5" << false;
    QTest::newRow("month with a trailing blank") << "month" << "May " << false;
    QTest::newRow("month cut short") << "month" << "Jun" << false;
    QTest::newRow("month with a letter more") << "month" << "Julyy" << false;
}

void TestBirthForm::unlistedTextSweep() {
    // Every number text up to five digits, with and without a leading zero, is listed
    // exactly when its list holds it.
    const std::array<std::pair<std::string BirthForm::*, const std::vector<std::string>*>, 5> lists = {{
        {&BirthForm::day, &DayEntries()},
        {&BirthForm::year, &YearEntries()},
        {&BirthForm::hour, &HourEntries()},
        {&BirthForm::minute, &MinuteEntries()},
        {&BirthForm::second, &MinuteEntries()},
    }};
    for (const auto& [field, entries] : lists) {
        for (int n = -1; n <= 10100; ++n) {
            for (const std::string& text : {std::to_string(n), "0" + std::to_string(n)}) {
                BirthForm form;
                form.*field = text;
                const bool listed = std::find(entries->begin(), entries->end(), text) != entries->end();
                if (FindUnlistedText(form).has_value() == listed) QFAIL(text.c_str());
            }
        }
    }
}

void TestBirthForm::unlistedText() {
    QFETCH(QString, list);
    QFETCH(QString, text);
    QFETCH(bool, listed);
    struct List {
        ListField field;
        std::string BirthForm::*text;
    };
    constexpr std::array<List, 6> kLists = {{{ListField::Month, &BirthForm::month},
                                             {ListField::Day, &BirthForm::day},
                                             {ListField::Year, &BirthForm::year},
                                             {ListField::Hour, &BirthForm::hour},
                                             {ListField::Minute, &BirthForm::minute},
                                             {ListField::Second, &BirthForm::second}}};
    const auto entry = std::find_if(kLists.begin(), kLists.end(),
                                    [&](const List& l) { return QString::fromUtf8(ListFieldName(l.field)) == list; });
    QVERIFY(entry != kLists.end());
    BirthForm form;
    form.*(entry->text) = text.toStdString();
    const std::optional<UnlistedText> found = FindUnlistedText(form);
    QCOMPARE(found.has_value(), !listed);
    if (found) {
        QCOMPARE(found->field, entry->field);
        QCOMPARE(QString::fromStdString(found->text), text);
    }
    form.month = "Foo";  // the first list in order is the one named
    QCOMPARE(FindUnlistedText(form).value().field, ListField::Month);
}

void TestBirthForm::validate_data() {
    QTest::addColumn<QStringList>("changes");  // "box=text" pairs applied to the default form
    QTest::addColumn<QString>("message");      // empty: the form passes
    QTest::addColumn<Icon>("icon");
    QTest::addColumn<Control>("focus");
    const Icon E = Icon::Error;
    const Icon I = Icon::Information;
    QTest::newRow("defaults pass") << QStringList{} << "" << E << Control::None;
    QTest::newRow("empty name") << QStringList{"txtName="} << "Please Enter Name" << E << Control::txtName;
    QTest::newRow("blank name") << QStringList{"txtName=   "} << "Please Enter Name" << E << Control::txtName;
    QTest::newRow("name first, date wrong too") << QStringList{"txtName=", "cboMonth=April", "cboDate=31"}
                                                << "Please Enter Name" << E << Control::txtName;
    QTest::newRow("zone 12") << QStringList{"txtZoneHour=12"} << "" << E << Control::None;
    QTest::newRow("zone 13") << QStringList{"txtZoneHour=13"} << kZone << E << Control::txtZoneHour;
    QTest::newRow("zone -12") << QStringList{"txtZoneHour=-12"} << "" << E << Control::None;
    QTest::newRow("zone -13, the picker's") << QStringList{"txtZoneHour=-13"} << "" << E << Control::None;
    QTest::newRow("zone -14") << QStringList{"txtZoneHour=-14"} << kZone << E << Control::txtZoneHour;
    QTest::newRow("zone -99") << QStringList{"txtZoneHour=-99"} << kZone << E << Control::txtZoneHour;
    QTest::newRow("zone empty") << QStringList{"txtZoneHour="} << kZone << E << Control::txtZoneHour;
    QTest::newRow("zone -") << QStringList{"txtZoneHour=-"} << kZone << E << Control::txtZoneHour;
    QTest::newRow("zone --") << QStringList{"txtZoneHour=--"} << kZone << E << Control::txtZoneHour;
    QTest::newRow("zone ---") << QStringList{"txtZoneHour=---"} << kZone << E << Control::txtZoneHour;
    QTest::newRow("zone 1-2") << QStringList{"txtZoneHour=1-2"} << kZone << E << Control::txtZoneHour;
    QTest::newRow("zone --1") << QStringList{"txtZoneHour=--1"} << kZone << E << Control::txtZoneHour;
    QTest::newRow("zone -0") << QStringList{"txtZoneHour=-0"} << "" << E << Control::None;
    QTest::newRow("zone 012") << QStringList{"txtZoneHour=012"} << "" << E << Control::None;
    QTest::newRow("longitude 179") << QStringList{"txtLonD=179"} << "" << E << Control::None;
    QTest::newRow("longitude 180") << QStringList{"txtLonD=180"} << kLonD << E << Control::txtLonD;
    QTest::newRow("longitude empty") << QStringList{"txtLonD="} << kLonD << E << Control::txtLonD;
    QTest::newRow("longitude minutes 59") << QStringList{"txtLonM=59"} << "" << E << Control::None;
    QTest::newRow("longitude minutes 60") << QStringList{"txtLonM=60"} << kLonM << E << Control::txtLonM;
    QTest::newRow("latitude 89") << QStringList{"txtLatD=89"} << "" << E << Control::None;
    QTest::newRow("latitude 90") << QStringList{"txtLatD=90"} << kLatD << E << Control::txtLatD;
    QTest::newRow("latitude minutes 60") << QStringList{"txtLatM=60"} << kLatM << E << Control::txtLatM;
    QTest::newRow("latitude minutes empty") << QStringList{"txtLatM="} << kLatM << E << Control::txtLatM;
    QTest::newRow("longitude before latitude") << QStringList{"txtLatD=90", "txtLonM=60"} << kLonM << E << Control::txtLonM;
    QTest::newRow("zone minutes are not checked") << QStringList{"txtZoneMinute="} << "" << E << Control::None;
    QTest::newRow("29 Feb 2000") << QStringList{"cboMonth=February", "cboDate=29", "cboYear=2000"} << "" << E << Control::None;
    QTest::newRow("29 Feb 1904") << QStringList{"cboMonth=February", "cboDate=29", "cboYear=1904"} << "" << E << Control::None;
    QTest::newRow("29 Feb 1981") << QStringList{"cboMonth=February", "cboDate=29", "cboYear=1981"} << kDate << I << Control::None;
    QTest::newRow("30 Feb 2000") << QStringList{"cboMonth=February", "cboDate=30", "cboYear=2000"} << kDate << I << Control::None;
    QTest::newRow("31 April") << QStringList{"cboMonth=April", "cboDate=31"} << kDate << I << Control::None;
    QTest::newRow("31 November") << QStringList{"cboMonth=November", "cboDate=31"} << kDate << I << Control::None;
    QTest::newRow("31 May") << QStringList{"cboMonth=May", "cboDate=31"} << "" << E << Control::None;
    QTest::newRow("30 April") << QStringList{"cboMonth=April", "cboDate=30"} << "" << E << Control::None;
}

void TestBirthForm::validate() {
    QFETCH(QStringList, changes);
    QFETCH(QString, message);
    QFETCH(Icon, icon);
    QFETCH(Control, focus);
    BirthForm form;
    for (const QString& change : changes) {
        const qsizetype eq = change.indexOf('=');
        Field(form, change.left(eq)) = change.mid(eq + 1).toStdString();
    }
    const auto result = ValidateBirthDetails(form);
    if (message.isEmpty()) {
        QVERIFY2(!result, result ? result->text.c_str() : "");
        return;
    }
    QVERIFY(result.has_value());
    QCOMPARE(QString::fromStdString(result->text), message);
    QCOMPARE(result->icon, icon);
    QCOMPARE(result->focus, focus);
}

void TestBirthForm::readBirthDetails_data() {
    QTest::addColumn<QString>("zoneHour");
    QTest::addColumn<QString>("zoneMinute");
    QTest::addColumn<bool>("west");
    QTest::addColumn<int>("zoneHours");
    QTest::addColumn<int>("zoneMinutes");
    QTest::newRow("typed") << "5" << "30" << false << 5 << 30;
    QTest::newRow("minus dropped") << "-5" << "30" << false << 5 << 30;
    QTest::newRow("the picker's Indian time") << "-5" << "-30" << false << 5 << 30;
    QTest::newRow("the picker's -13") << "-13" << "0" << false << 13 << 0;
    QTest::newRow("empty minutes read as 0") << "3" << "" << true << 3 << 0;
    QTest::newRow("leading zeros") << "012" << "05" << true << 12 << 5;
}

void TestBirthForm::readBirthDetails() {
    QFETCH(QString, zoneHour);
    QFETCH(QString, zoneMinute);
    QFETCH(bool, west);
    QFETCH(int, zoneHours);
    QFETCH(int, zoneMinutes);
    BirthForm form;
    form.zoneHour = zoneHour.toStdString();
    form.zoneMinute = zoneMinute.toStdString();
    form.west = west;
    form.second = "45";  // never read
    const BirthDetails b = ReadBirthDetails(form);
    QCOMPARE(int(b.zoneHours), zoneHours);
    QCOMPARE(int(b.zoneMinutes), zoneMinutes);
    QCOMPARE(b.isEast, !west);
    // The rest of the default form.
    QCOMPARE(QString::fromStdString(b.name), QStringLiteral("S K"));
    QCOMPARE(int(b.month), 8);
    QCOMPARE(int(b.day), 18);
    QCOMPARE(int(b.year), 1981);
    QCOMPARE(int(b.hour), 23);
    QCOMPARE(int(b.minute), 30);
    QCOMPARE(int(b.latitudeDegrees), 23);
    QCOMPARE(int(b.latitudeMinutes), 0);
    QCOMPARE(int(b.longitudeDegrees), 80);
    QCOMPARE(int(b.longitudeMinutes), 0);
    QVERIFY(!b.isSouth);
    QVERIFY(!b.dst);
}

void TestBirthForm::checkAndRead_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");  // empty: the form passes
    QTest::addColumn<int>("value");        // what the box reads as when the form passes
    // Texts a caller can put into a form by itself; the window's key filter keeps them out.
    QTest::newRow("longitude with blanks around") << "txtLonD" << " 7 " << "" << 7;
    QTest::newRow("latitude minutes in five digits") << "txtLatM" << "00059" << "" << 59;
    QTest::newRow("zone minutes in six digits") << "txtZoneMinute" << "000045" << "" << 45;
    QTest::newRow("zone hour with blanks around") << "txtZoneHour" << " -5 " << "" << 5;
    QTest::newRow("longitude minutes far past the cap") << "txtLonM" << "99999999999" << kLonM << 0;
    QTest::newRow("refused: nothing is read") << "txtLatD" << "90" << kLatD << 0;
}

void TestBirthForm::checkAndRead() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(int, value);
    BirthForm form;
    Field(form, box) = text.toStdString();
    const BirthReading reading = CheckAndReadBirthDetails(form);
    QCOMPARE(reading.refusal ? QString::fromStdString(reading.refusal->text) : QString(), message);
    QVERIFY(ValidateBirthDetails(form) == reading.refusal);
    if (reading.refusal) {
        QVERIFY(reading.birth == BirthDetails{});
        return;
    }
    QVERIFY(ReadBirthDetails(form) == reading.birth);
    const BirthDetails& b = reading.birth;
    const int read = box == "txtLonD"         ? b.longitudeDegrees
                     : box == "txtLonM"       ? b.longitudeMinutes
                     : box == "txtLatM"       ? b.latitudeMinutes
                     : box == "txtZoneMinute" ? b.zoneMinutes
                                              : b.zoneHours;
    QCOMPARE(read, value);
}

void TestBirthForm::monthsReadInListOrder() {
    for (std::size_t i = 0; i < MonthEntries().size(); ++i) {
        BirthForm form;
        form.month = MonthEntries()[i];
        QVERIFY2(!FindUnlistedText(form), form.month.c_str());
        QCOMPARE(int(CheckAndReadBirthDetails(form).birth.month), int(i) + 1);
    }
}

QTEST_APPLESS_MAIN(TestBirthForm)
#include "tst_birth_form.moc"
