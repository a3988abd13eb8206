// The birth-details window's Open, Save and Save As: a file fills the form, a bad file
// leaves it exactly as it was, a failed save keeps the old file.

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "../../core/report/small_file_system.h"
#include "../kit/gui_test_support.h"
#include "gui/chart/birth_files.h"
#include "gui/chart/frm_main.h"
#include "gui/periods/period_files.h"

using namespace orvanta;
using namespace orvanta::testing;

namespace {

const QByteArray kTwoPeople = "#A93:Cezanne,Paul,m,19.1.1839,1:00,Aix-en-Provence,F\n#B93:2392758.526528,43n31,5e27,*,L\n"
                              "#A93:Ferber,Tobias,m,27.9.1970,11:04,Kandel/Pfalz,D\n#B93:*,49n05,8e11,1he,0\n";

}  // namespace

class TstBirthFiles : public QObject {
    Q_OBJECT
private slots:
    void menuItems();
    void openFile_data();
    void openFile();
    void saveAndOpenAgain();
    void failedSaveKeepsTheOldFile();
};

void TstBirthFiles::menuItems() {
    FrmMain main;
    QCOMPARE(main.files()->openAction()->shortcut(), QKeySequence(QKeySequence::Open));
    QCOMPARE(main.files()->saveAction()->shortcut(), QKeySequence(QKeySequence::Save));
    // The access keys of the File menu's items are each the only one of their letter.
    QMap<QChar, int> keys;
    for (QAction* action : main.findChild<QMenu*>("mnuFile")->actions()) {
        const qsizetype amp = action->text().indexOf('&');
        if (amp >= 0) ++keys[action->text().at(amp + 1).toLower()];
    }
    for (const QChar key : {QChar('o'), QChar('s'), QChar('a')}) QCOMPARE(keys.value(key), 1);
}

void TstBirthFiles::openFile_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("choice");      // the record chosen from the list; -1 cancels
    QTest::addColumn<QString>("name");    // the Name box after; empty: the form stays as it was
    QTest::addColumn<QString>("message"); // a part of the message shown, or empty for none

    QTest::newRow(".jhd fills the form") << "UJJAIN.jhd"
                                         << QByteArray("6\r\n15\r\n1985\r\n10.3\r\n-5.3\r\n-75.45\r\n23.3\r\n") << 0
                                         << "UJJAIN" << "";
    QTest::newRow("one of two people chosen") << "two.aaf" << kTwoPeople << 1 << "TOBIAS FERBER" << "";
    QTest::newRow("the list cancelled") << "two.aaf" << kTwoPeople << -1 << "" << "";
    QTest::newRow("a year the form cannot hold") << "two.aaf" << kTwoPeople << 0 << "" << "1839";
#ifdef ORVANTA_HAVE_ATLAS
    // A local mean time is attached as its exact offset, not refused as an unknown zone.
    QTest::newRow("a local mean time attached")
        << "lmt.aaf" << QByteArray("#A93:Cezanne,Paula,f,19.1.1905,1:00,Aix,F\n#B93:2416864.526528,43n31,5e27,*,L\n") << 0
        << "PAULA CEZANNE" << "UTC+00:21:48; the precise periods can";
#endif
    QTest::newRow("month 13") << "bad.jhd" << QByteArray("13\n15\n1985\n10.3\n-5.3\n-75.45\n23.3\n") << 0 << ""
                              << "bad.jhd, line 1";
}

void TstBirthFiles::openFile() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, contents);
    QFETCH(int, choice);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(fileName);
    QVERIFY(WriteAll(path, contents));
    FrmMain main;
    main.files()->chooseRecord = [&](const QStringList&) -> std::optional<int> {
        if (choice < 0) return std::nullopt;
        return choice;
    };
    const BirthForm before = main.ReadForm();
    MessageRecorder messages;
    QCOMPARE(main.files()->openFile(path), !name.isEmpty());
    if (name.isEmpty()) {
        QVERIFY(main.ReadForm() == before);
    } else {
        QCOMPARE(QString::fromStdString(main.ReadForm().name), name);
    }
    QCOMPARE(messages.shown.empty(), message.isEmpty());
    if (!message.isEmpty()) {
        QVERIFY2(QString::fromStdString(messages.shown.front().message.text).contains(message),
                 messages.shown.front().message.text.c_str());
    }
}

void TstBirthFiles::saveAndOpenAgain() {
    QTemporaryDir dir;
    FrmMain main;
    main.findChild<QLineEdit*>("txtLatM")->setText("7");
    main.findChild<QLineEdit*>("txtMCity")->setText("Nagpur");
    const BirthForm typed = main.ReadForm();
    MessageRecorder messages;
    // The precise settings chosen in the run are saved with the birth and come back with it.
    const PeriodsSettings chosen{Ayanamsa::Raman, 360, MoonPosition::Geometric, 30, 4};
    RunPeriodsSettings() = chosen;
    QVERIFY(main.files()->saveFile(dir.filePath("sk.orvanta")));
    RunPeriodsSettings() = PeriodsSettings{};
    FrmMain other;
    QVERIFY(other.files()->openFile(dir.filePath("sk.orvanta")));
    QVERIFY(other.ReadForm() == typed);
    QVERIFY(RunPeriodsSettings() == chosen);
    RunPeriodsSettings() = PeriodsSettings{};
    QCOMPARE(other.findChild<QLineEdit*>("txtMCity")->text(), QStringLiteral("Nagpur"));
    QVERIFY(messages.shown.empty());
}

void TstBirthFiles::failedSaveKeepsTheOldFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("kept.jhd");
    QVERIFY(WriteAll(path, "old"));
    FrmMain main;
    main.findChild<QLineEdit*>("txtLatD")->setText("95");  // the form's checks refuse it, so no .jhd can hold it
    MessageRecorder messages;
    QVERIFY(!main.files()->saveFile(path));
    QCOMPARE(ReadAll(path), QByteArray("old"));
    QCOMPARE(messages.shown.size(), std::size_t(1));
    QVERIFY(!main.files()->saveFile(dir.filePath("no such folder/x.orvanta")));
    QCOMPARE(messages.shown.size(), std::size_t(2));
}

QTEST_MAIN(TstBirthFiles)
#include "tst_birth_files.moc"
