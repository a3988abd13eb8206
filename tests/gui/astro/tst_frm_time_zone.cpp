// The time-zone picker: its 71 rows, and what a double-click or "&Quit" writes into the
// two zone boxes of the birth-details window.

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "../kit/gui_test_support.h"
#include "core/astro/time_zones.h"
#include "gui/astro/frm_time_zone.h"

using namespace orvanta;

class TestFrmTimeZone : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::InstallLook(); }
    void rows();
    void doubleClick_data();
    void doubleClick();
    void doubleClickWithNoRowSelected();
    void quit();
};

void TestFrmTimeZone::rows() {
    QLineEdit hour, minute;
    FrmTimeZone picker(&hour, &minute);
    QCOMPARE(picker.windowTitle(), QStringLiteral("Orvanta v1.75"));
    QCOMPARE(picker.findChild<QPushButton*>("cmdQuit")->text(), QStringLiteral("&Quit"));
    auto* list = picker.findChild<QListWidget*>("lstTimeZone");
    QCOMPARE(list->count(), 71);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Alaska/Hawaii Daylight Time,AHDT,-9.0"));
    QCOMPARE(list->item(34)->text(), QStringLiteral("Indian Time, IST, +5.3"));
    QCOMPARE(list->item(70)->text(), QStringLiteral("Yukon War Time,YWT,-8.0"));
    QCOMPARE(list->font().family(), QStringLiteral("Verdana"));
    QVERIFY(picker.isModal());
}

void TestFrmTimeZone::doubleClick_data() {
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("minute");
    QTest::newRow("India: both negative, minute longer than its box takes")
        << "Indian Time, IST, +5.3" << "-5" << "-30";
    QTest::newRow("Newfoundland: half hour west") << "Newfoundland Standard Time,NST,-3.5" << "3" << "30";
    QTest::newRow("Greenwich") << "Greenwich Mean Time,GMT,0.0" << "0" << "0";
    QTest::newRow("New Zealand summer: thirteen hours") << "New Zealand Std Summer Time,NZST,+13.0" << "-13" << "0";
    QTest::newRow("last row") << "Yukon War Time,YWT,-8.0" << "8" << "0";
}

void TestFrmTimeZone::doubleClick() {
    QFETCH(QString, row);
    QFETCH(QString, hour);
    QFETCH(QString, minute);

    // Two boxes standing in for the birth-details window's (its own are exercised in its tests).
    QWidget owner;
    QLineEdit zoneHour(QStringLiteral("5"), &owner), zoneMinute(QStringLiteral("30"), &owner);
    FrmTimeZone picker(&zoneHour, &zoneMinute, &owner);
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    auto* list = picker.findChild<QListWidget*>("lstTimeZone");
    const auto items = list->findItems(row, Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    list->scrollToItem(items[0]);
    const QPoint centre = list->visualItemRect(items[0]).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(zoneHour.text(), hour);
    QCOMPARE(zoneMinute.text(), minute);
    QVERIFY2(!picker.isVisible(), "the picker closes after the double-click");
    QCOMPARE(picker.result(), int(QDialog::Accepted));
}

void TestFrmTimeZone::doubleClickWithNoRowSelected() {
    QLineEdit zoneHour(QStringLiteral("7")), zoneMinute(QStringLiteral("15"));
    FrmTimeZone picker(&zoneHour, &zoneMinute);
    picker.show();
    QVERIFY(picker.findChild<QListWidget*>("lstTimeZone")->selectedItems().isEmpty());
    picker.lstTimeZone_DblClick();
    QCOMPARE(zoneHour.text(), QStringLiteral("7"));
    QCOMPARE(zoneMinute.text(), QStringLiteral("15"));
    QVERIFY(!picker.isVisible());
}

void TestFrmTimeZone::quit() {
    QLineEdit zoneHour(QStringLiteral("5")), zoneMinute(QStringLiteral("30"));
    FrmTimeZone picker(&zoneHour, &zoneMinute);
    picker.show();
    auto* list = picker.findChild<QListWidget*>("lstTimeZone");
    list->setCurrentRow(34);  // a row selected, then Quit: nothing is written
    QTest::mouseClick(picker.findChild<QPushButton*>("cmdQuit"), Qt::LeftButton);
    QCOMPARE(zoneHour.text(), QStringLiteral("5"));
    QCOMPARE(zoneMinute.text(), QStringLiteral("30"));
    QVERIFY(!picker.isVisible());
}

QTEST_MAIN(TestFrmTimeZone)
#include "tst_frm_time_zone.moc"
