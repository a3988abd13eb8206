#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "../kit/gui_test_support.h"
#include "core/atlas/place_search.h"
#include "gui/atlas/frm_birth_place.h"
#include "gui/chart/frm_main.h"
#include "gui/chart/place_attachment.h"
#include "gui/kit/appearance.h"
#include "gui/periods/frm_periods.h"
#include "gui/periods/period_model.h"

using namespace orvanta;

namespace {

QString Text(const FrmMain& main, const char* box) { return main.findChild<QLineEdit*>(box)->text(); }
bool Checked(const FrmMain& main, const char* button) { return main.findChild<QAbstractButton*>(button)->isChecked(); }
QString Status(const FrmMain& main) { return main.findChild<QLabel*>("lblPlace")->text(); }

// Runs `drive` on the birth-place window once it is open and modal.
void WhenOpen(std::function<void(FrmBirthPlace*)> drive, bool& seen) {
    QTimer::singleShot(0, [drive, &seen] {
        auto* window = qobject_cast<FrmBirthPlace*>(QApplication::activeModalWidget());
        QVERIFY(window);
        seen = true;
        drive(window);
    });
}

void TypeAndWait(FrmBirthPlace* window, const QString& text) {
    QSignalSpy shown(window, &FrmBirthPlace::matchesShown);
    QTest::keyClicks(window->findChild<QLineEdit*>("txtPlaceSearch"), text);
    QVERIFY(shown.wait(10000));
}

Place First(const char* query) { return atlas::SearchPlaces(query, 1).at(0); }

}  // namespace

// The window as a person uses it: search, take a match, read the form back.
class TestFrmBirthPlace : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallAppearance(*qApp); }
    void searchAndTake();
    void escapeLeavesTheFormAsItWas();
    void followsDateAndDetachesOnEdit();
    void zoneTheFormCannotHold_data();
    void zoneTheFormCannotHold();
    void longQueryKeepsTheWindowsSize();
    void misspellingOffersTheClosestNames();
    void newerSearchWins();
    void doubledTimeIsAsked();
};

void TestFrmBirthPlace::searchAndTake() {
    FrmMain main;
    main.show();
    bool seen = false;
    QStringList zoneCells;
    WhenOpen([&](FrmBirthPlace* window) {
        TypeAndWait(window, QStringLiteral("poona"));
        auto* table = window->findChild<QTableWidget*>("grdPlaces");
        QCOMPARE(table->rowCount(), 1);
        for (int column = 0; column < table->columnCount(); ++column) zoneCells << table->item(0, column)->text();
        QTest::keyClick(table, Qt::Key_Return);
    }, seen);
    QTest::mouseClick(main.findChild<QPushButton*>("cmdAtlas"), Qt::LeftButton);
    QVERIFY(seen);
    QCOMPARE(zoneCells, (QStringList{"Pune", "Maharashtra", "India", "18°31' N", "73°51' E", "Asia/Kolkata",
                                     "UTC+05:30", "No"}));

    QCOMPARE(Text(main, "txtLatD"), u"18"_qs);
    QCOMPARE(Text(main, "txtLatM"), u"31"_qs);
    QCOMPARE(Text(main, "txtLonD"), u"73"_qs);
    QCOMPARE(Text(main, "txtLonM"), u"51"_qs);
    QCOMPARE(Text(main, "txtZoneHour"), u"5"_qs);
    QCOMPARE(Text(main, "txtZoneMinute"), u"30"_qs);
    QVERIFY(!Checked(main, "chkDST"));
    QVERIFY(Checked(main, "optLat_0"));
    QVERIFY(Checked(main, "optLong_0"));
    QCOMPARE(Status(main), u"Pune, Maharashtra, India · Asia/Kolkata · UTC+05:30 on Aug-18-1981 23:30"_qs);
    QVERIFY(main.attachedPlace());
    QCOMPARE(main.attachedPlace()->timeZone, std::string("Asia/Kolkata"));
    QCOMPARE(main.attachedPlace()->latitude, 18.51957);
}

void TestFrmBirthPlace::escapeLeavesTheFormAsItWas() {
    FrmMain main;
    main.show();
    const BirthForm before = main.ReadForm();
    bool seen = false;
    WhenOpen([&](FrmBirthPlace* window) {
        TypeAndWait(window, QStringLiteral("Springfield, Illinois"));
        QCOMPARE(window->matches().size(), std::size_t{1});
        QTest::keyClick(window->findChild<QTableWidget*>("grdPlaces"), Qt::Key_Escape);
    }, seen);
    main.findChild<QAction*>("mnuFindPlace")->trigger();
    QVERIFY(seen);
    QVERIFY(main.ReadForm() == before);
    QVERIFY(!main.attachedPlace());
}

void TestFrmBirthPlace::followsDateAndDetachesOnEdit() {
    FrmMain main;
    main.show();
    main.atlas()->take(First("New York"));
    QCOMPARE(Text(main, "txtZoneHour"), u"5"_qs);
    QVERIFY(Checked(main, "chkDST"));  // Aug-18-1981: daylight time
    QVERIFY(Checked(main, "optLong_1"));

    main.findChild<QComboBox*>("cboMonth")->setCurrentText(QStringLiteral("January"));
    QVERIFY(!Checked(main, "chkDST"));
    QCOMPARE(Status(main), u"New York, New York, United States of America · America/New_York · UTC-05:00 on "
                           "Jan-18-1981 23:30"_qs);
    QVERIFY(main.attachedPlace());

    QLineEdit* minutes = main.findChild<QLineEdit*>("txtLatM");
    minutes->setFocus();
    QTest::keyClick(minutes, Qt::Key_Backspace);
    QVERIFY(!main.attachedPlace());
    QVERIFY(Status(main).contains(QStringLiteral("entered by hand")));
    main.findChild<QComboBox*>("cboMonth")->setCurrentText(QStringLiteral("July"));
    QVERIFY(!Checked(main, "chkDST"));  // no longer follows the place
}

void TestFrmBirthPlace::zoneTheFormCannotHold_data() {
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("when");  // month, day, year, hour, minute, second
    QTest::addColumn<QString>("offset");
    QTest::addColumn<QString>("firstEnd");  // orvanta-chart --precise --place, the same birth
    QTest::newRow("Madrid, west of Greenwich at UTC+01:00")
        << "Madrid, Spain" << QStringList{"January", "15", "1990", "12", "0", "30"} << "UTC+01:00"
        << "1995-02-23 03:17:11";
    QTest::newRow("Amsterdam, mean time of 1930") << "Amsterdam, Netherlands"
                                                  << QStringList{"June", "1", "1930", "10", "0", "0"}
                                                  << "UTC+01:19:32" << "1935-06-11 06:38:58";
}

// The place is taken with its zone, the classic reading is refused while it is
// attached, and the precise periods open from the form read in the place's zone.
void TestFrmBirthPlace::zoneTheFormCannotHold() {
    QFETCH(QString, query);
    QFETCH(QStringList, when);
    QFETCH(QString, offset);
    QFETCH(QString, firstEnd);
    FrmMain main;
    main.show();
    const std::array<const char*, 6> lists = {"cboMonth", "cboDate", "cboYear", "cboHH", "cboMM", "cboSS"};
    for (std::size_t i = 0; i < lists.size(); ++i) main.findChild<QComboBox*>(lists[i])->setCurrentText(when[int(i)]);
    testing::MessageRecorder messages;
    bool seen = false;
    WhenOpen([&](FrmBirthPlace* window) {
        TypeAndWait(window, query);
        QTest::keyClick(window->findChild<QLineEdit*>("txtPlaceSearch"), Qt::Key_Return);
    }, seen);
    QTest::mouseClick(main.findChild<QPushButton*>("cmdAtlas"), Qt::LeftButton);
    QVERIFY(seen);
    QCOMPARE(messages.shown.size(), std::size_t{1});
    const std::string sentence = messages.shown.front().message.text;
    QVERIFY2(QString::fromStdString(sentence).contains(offset), sentence.c_str());
    QCOMPARE(Text(main, "txtZoneHour"), u"5"_qs);  // left as it was
    QCOMPARE(Text(main, "txtZoneMinute"), u"30"_qs);
    QVERIFY(main.attachedPlace());

    main.cmdRashi_Click();
    QCOMPARE(messages.shown.size(), std::size_t{2});
    QCOMPARE(messages.shown.back().message.text, sentence);
    QVERIFY(!main.resultsWindow());

    bool opened = false;
    testing::OnModal("orvanta::FrmPeriods", [&](QWidget* widget) {
        auto* periods = static_cast<FrmPeriods*>(widget);
        opened = true;
        const QModelIndex first = periods->model()->index(0, 0);
        QCOMPARE(first.siblingAtColumn(PeriodModel::End).data().toString(), firstEnd);
        for (int m = 0; m < 9; ++m) {
            QVERIFY(periods->model()->index(m, PeriodModel::ClassicStart).data().toString().isEmpty());
        }
        QVERIFY2(periods->notes().contains(u"classic columns are empty"_qs), qPrintable(periods->notes()));
        periods->reject();
    });
    main.findChild<QAction*>("mnuPrecisePeriods")->trigger();
    QVERIFY(opened);
    QCOMPARE(messages.shown.size(), std::size_t{2});

    // A coordinate typed by hand detaches the place: the form is the person's again.
    main.findChild<QLineEdit*>("txtLatM")->setText(QStringLiteral("26"));
    main.cmdRashi_Click();
    QVERIFY(main.resultsWindow());
}

// A local time that occurs twice at the place is asked about, the offsets on the
// buttons; the reading chosen is the one the form and the periods take.
void TestFrmBirthPlace::doubledTimeIsAsked() {
    FrmMain main;
    main.show();
    const std::array<std::pair<const char*, const char*>, 5> when = {
        {{"cboMonth", "November"}, {"cboDate", "7"}, {"cboYear", "2021"}, {"cboHH", "1"}, {"cboMM", "30"}}};
    for (const auto& [list, entry] : when) main.findChild<QComboBox*>(list)->setCurrentText(entry);
    QStringList buttons;
    testing::OnModal("QMessageBox", [&](QWidget* box) {
        for (const char* name : {"cmdFoldEarlier", "cmdFoldLater"}) buttons << box->findChild<QPushButton*>(name)->text();
        QTest::mouseClick(box->findChild<QPushButton*>("cmdFoldLater"), Qt::LeftButton);
    });
    QVERIFY(!main.atlas()->take(First("New York")));
    QCOMPARE(buttons, (QStringList{"UTC-04:00 (the first)", "UTC-05:00 (the second)"}));
    QCOMPARE(main.atlas()->fold(), Fold::Later);
    QCOMPARE(Text(main, "txtZoneHour"), u"5"_qs);
    QVERIFY(!Checked(main, "chkDST"));
    QVERIFY(Status(main).contains(u"UTC-05:00"_qs));

    // Declined: nothing is taken.
    FrmMain other;
    other.show();
    for (const auto& [list, entry] : when) other.findChild<QComboBox*>(list)->setCurrentText(entry);
    testing::OnModal("QMessageBox", [](QWidget* box) { static_cast<QDialog*>(box)->reject(); });
    other.atlas()->take(First("New York"));
    QVERIFY(!other.attachedPlace());
}

// 500 characters typed: the window keeps its width and says why nothing is searched.
void TestFrmBirthPlace::longQueryKeepsTheWindowsSize() {
    FrmBirthPlace window(std::nullopt);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QSize before = window.size();
    QSignalSpy shown(&window, &FrmBirthPlace::matchesShown);
    window.search(QString(500, QLatin1Char('x')));
    QVERIFY(shown.count() == 1 || shown.wait(10000));
    QCoreApplication::processEvents();
    QCOMPARE(window.size(), before);
    QVERIFY(window.findChild<QLabel*>("lblPlaceHint")->text().contains(u"at most 16 words and 200 characters"_qs));
    QVERIFY(window.findChild<QPushButton*>("cmdCancelPlace")->geometry().right() < window.width());
}

void TestFrmBirthPlace::misspellingOffersTheClosestNames() {
    FrmBirthPlace window(std::nullopt);
    QSignalSpy shown(&window, &FrmBirthPlace::matchesShown);
    window.search(QStringLiteral("Banglore"));
    QVERIFY(shown.wait(10000));
    QVERIFY(!window.matches().empty());
    QCOMPARE(window.matches().front().name, std::string("Bengaluru"));
    QVERIFY(window.findChild<QLabel*>("lblPlaceHint")->text().contains(u"Bengaluru (Bangalore)"_qs));
}

// A search started while another runs: only the newest text's answer is shown.
void TestFrmBirthPlace::newerSearchWins() {
    FrmBirthPlace window(std::nullopt);
    QSignalSpy shown(&window, &FrmBirthPlace::matchesShown);
    window.search(QStringLiteral("a"));
    window.search(QStringLiteral("Springfield, IL"));
    QVERIFY(shown.wait(10000));
    QTest::qWait(300);
    QCOMPARE(shown.count(), 1);
    QCOMPARE(window.matches().size(), std::size_t{1});
    QCOMPARE(window.matches().front().state, std::string("Illinois"));
}

QTEST_MAIN(TestFrmBirthPlace)
#include "tst_frm_birth_place.moc"
