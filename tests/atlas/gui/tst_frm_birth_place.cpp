#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "atlas/gui/frm_birth_place.h"
#include "chart/gui/place_attachment.h"
#include "atlas/place_search.h"
#include "kit/gui/appearance.h"
#include "chart/gui/frm_main.h"
#include "../../kit/gui/gui_test_support.h"

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
    void zoneTheFormCannotHold();
    void longQueryKeepsTheWindowsSize();
    void misspellingOffersTheClosestNames();
    void newerSearchWins();
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

void TestFrmBirthPlace::zoneTheFormCannotHold() {
    FrmMain main;
    main.show();
    testing::MessageRecorder messages;
    bool seen = false;
    WhenOpen([&](FrmBirthPlace* window) {
        TypeAndWait(window, QStringLiteral("Madrid, Spain"));
        QTest::keyClick(window->findChild<QLineEdit*>("txtPlaceSearch"), Qt::Key_Return);
    }, seen);
    QTest::mouseClick(main.findChild<QPushButton*>("cmdAtlas"), Qt::LeftButton);
    QVERIFY(seen);
    QCOMPARE(messages.shown.size(), std::size_t{1});
    QCOMPARE(messages.shown.front().message.text, main.atlas()->take(First("Madrid, Spain")).value());
    QCOMPARE(messages.shown.front().message.icon, Icon::Information);
    QCOMPARE(Text(main, "txtLatD"), u"40"_qs);
    QVERIFY(Checked(main, "optLong_1"));
    QCOMPARE(Text(main, "txtZoneHour"), u"5"_qs);  // left as it was
    QCOMPARE(Text(main, "txtZoneMinute"), u"30"_qs);
    QVERIFY(!Checked(main, "chkDST"));
    QVERIFY(Status(main).endsWith(u"UTC+02:00 (Europe/Madrid); the precise periods can."_qs));
    QCOMPARE(main.attachedPlace()->timeZone, std::string("Europe/Madrid"));
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
