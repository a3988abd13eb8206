#include <QtTest>

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QClipboard>
#include <QPrinter>
#include <QSpinBox>
#include <QTreeView>

#include <functional>

#include "../../core/report/small_file_system.h"
#include "../kit/gui_test_support.h"
#include "core/chart/computation_run.h"
#include "gui/display/frm_display.h"
#include "gui/periods/frm_periods.h"
#include "gui/periods/period_files.h"
#include "gui/periods/period_model.h"
#include "gui/periods/period_timeline.h"
#include "gui/report/saved_files.h"

using namespace orvanta;
using namespace orvanta::testing;

namespace {

constexpr std::int64_t kToday = 1767225600;  // 2026-01-01T00:00:00Z

// The bytes the table export writes for the birth and settings, from the one precise path.
QByteArray CoreCsv(const PeriodsBirth& birth, const PeriodsSettings& settings) {
    const PeriodsOutcome outcome = ComputePeriods(birth, settings);
    return outcome.report ? QByteArray::fromStdString(PreciseCsv(*outcome.report)) : "<refused>";
}

}  // namespace

class TestFrmPeriods : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallLook(); }
    void init() { RunPeriodsSettings() = {}; }
    void openedFromTheMenu();
    void exportWritesThePeriods();
    void settingsStayForTheRun();
    void failedWriteSaysWhy();
    void goToDateTakesWhatIsTyped_data();
    void goToDateTakesWhatIsTyped();
    void pdfHoldsTheShownRows();
    void printToFileOnAFullDisk();
    void keyboard();
    void fitsTheScreen();
    void runningLineAndExpandAll();

private:
    InterpretationTexts texts_ = LoadInterpretationTexts();
    QTemporaryDir dirOnDisk_;  // made before any test points TMPDIR elsewhere
};

void TestFrmPeriods::openedFromTheMenu() {
    const RunOutcome run = RunChart(BirthForm{});
    FrmDisplay display(run.chart, texts_);
    display.show();
    bool seen = false;
    OnModal("orvanta::FrmPeriods", [&](QWidget* widget) {
        auto* periods = static_cast<FrmPeriods*>(widget);
        seen = true;
        QCOMPARE(periods->parentWidget(), &display);
        periods->setToday(kToday);
        PeriodModel* model = periods->model();
        const PeriodTree& tree = model->report().chart.tree;
        const std::vector<int> chain = RunningChain(tree, TreeSeconds(tree, kToday), 5);
        QCOMPARE(model->running(), chain);
        QCOMPARE(int(chain.size()), 5);
        for (std::size_t i = 0; i + 1 < chain.size(); ++i) QVERIFY(periods->tree()->isExpanded(model->indexOfPeriod(chain[i])));
        QCOMPARE(periods->tree()->currentIndex(), model->indexOfPeriod(chain.back()));
        QVERIFY(model->indexOfPeriod(chain.back()).data(PeriodModel::RunningRole).toBool());

        // Every Maha and Antar bar names its period under the mouse, in order across.
        PeriodTimeline* timeline = periods->timeline();
        QSet<int> named;
        for (int y = 0; y < timeline->height(); y += 2) {
            int last = -1;
            for (int x = 0; x < timeline->width(); x += 2) {
                const int p = timeline->periodAt({x, y});
                if (p < 0) continue;
                QVERIFY(timeline->periodText(p).startsWith(QString::fromStdString(LordsText(tree.periods[std::size_t(p)], " / "))));
                QVERIFY(last < 0 || tree.periods[std::size_t(p)].start >= tree.periods[std::size_t(last)].start);
                last = p;
                named.insert(p);
            }
        }
        QVERIFY(named.contains(0) && named.contains(8));
        QVERIFY2(named.size() > 60, qPrintable(QString::number(named.size())));

        // Another ayanamsa moves the Moon and every boundary at once.
        const double moon = model->report().chart.sky.moonSiderealLongitude;
        const QString firstEnd = model->index(0, PeriodModel::End).data().toString();
        periods->findChild<QComboBox*>("cboAyanamsa")->setCurrentIndex(1);
        QCOMPARE(QString::fromStdString(periods->model()->report().provenance.ayanamsaName), QString("raman"));
        QVERIFY(periods->model()->report().chart.sky.moonSiderealLongitude != moon);
        QVERIFY(periods->model()->index(0, PeriodModel::End).data().toString() != firstEnd);
        QVERIFY(periods->model()->indexOfPeriod(periods->model()->running().back()).data(PeriodModel::RunningRole).toBool());

        // An uncertainty shows every start as a range.
        periods->findChild<QSpinBox*>("spnUncertainty")->setValue(30);
        QVERIFY(periods->model()->index(3, PeriodModel::Start).data().toString().contains(" .. "));
        QCOMPARE(periods->model()->report().window->minutes, 30);
        periods->reject();
    });
    display.findChild<QAction*>("mnuPrecisePeriods")->trigger();
    QVERIFY(seen);
    QVERIFY(display.isVisible());
    QCOMPARE(display.results(), run.chart.results);
}

// The results window's table export writes the periods of the one precise path for the
// birth it holds, an atlas place's zone included, to the chosen level.
void TestFrmPeriods::exportWritesThePeriods() {
    const RunOutcome run = RunChart(BirthForm{});
    FrmDisplay display(run.chart, texts_);
    const PeriodsBirth birth{run.chart.birth, 0, AttachedPlace{23, 80, "Asia/Kolkata"}};
    display.setPreciseBirth(birth);
    display.show();
    QTemporaryDir dir;
    const QString path = dir.filePath("periods.csv");
    bool chosen = false;
    OnModal("QInputDialog", [&](QWidget* widget) {
        auto* levels = static_cast<QInputDialog*>(widget);
        levels->setTextValue(levels->comboBoxItems().at(0));
        OnModal("QFileDialog", [&](QWidget* files) {
            chosen = true;
            ChooseInFileDialog(files, path);
        });
        levels->accept();
    });
    display.findChild<QAction*>("mnuExportTable")->trigger();
    QVERIFY(chosen);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    PeriodsSettings settings;
    settings.levels = 1;
    const QByteArray written = file.readAll();
    QCOMPARE(written, CoreCsv(birth, settings));
    QCOMPARE(written.count('\n'), 1 + 9);
}

// The settings chosen in the periods window are those of its next opening and of the
// results window's exports, for the rest of the run.
void TestFrmPeriods::settingsStayForTheRun() {
    const RunOutcome run = RunChart(BirthForm{});
    FrmDisplay display(run.chart, texts_);
    display.show();
    OnModal("orvanta::FrmPeriods", [](QWidget* periods) {
        periods->findChild<QComboBox*>("cboAyanamsa")->setCurrentIndex(1);
        auto* years = periods->findChild<QComboBox*>("cboYearDays");
        years->setCurrentIndex(years->findData(360.0));
        periods->findChild<QSpinBox*>("spnUncertainty")->setValue(20);
        static_cast<QDialog*>(periods)->reject();
    });
    display.findChild<QAction*>("mnuPrecisePeriods")->trigger();
    QString shown;
    OnModal("orvanta::FrmPeriods", [&](QWidget* periods) {
        shown = periods->findChild<QComboBox*>("cboAyanamsa")->currentText() + "," +
                periods->findChild<QComboBox*>("cboYearDays")->currentData().toString() + "," +
                QString::number(periods->findChild<QSpinBox*>("spnUncertainty")->value());
        static_cast<QDialog*>(periods)->reject();
    });
    display.findChild<QAction*>("mnuPrecisePeriods")->trigger();
    QCOMPARE(shown, QString("Raman,360,20"));

    QTemporaryDir dir;
    const QString path = dir.filePath("periods.csv");
    OnModal("QInputDialog", [&](QWidget* widget) {
        auto* levels = static_cast<QInputDialog*>(widget);
        levels->setTextValue(levels->comboBoxItems().at(1));
        OnModal("QFileDialog", [&](QWidget* files) {
            ChooseInFileDialog(files, path);
        });
        levels->accept();
    });
    display.findChild<QAction*>("mnuExportTable")->trigger();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    PeriodsSettings chosen;
    chosen.ayanamsa = Ayanamsa::Raman;
    chosen.yearDays = 360;
    chosen.uncertaintyMinutes = 20;
    chosen.levels = 2;
    QCOMPARE(file.readAll(), CoreCsv({run.chart.birth, 0, std::nullopt}, chosen));
}

void TestFrmPeriods::failedWriteSaysWhy() {
    MessageRecorder messages;
    QTemporaryDir dir;
    const QString path = dir.filePath("no such folder/periods.ics");
    QVERIFY(!SaveFileOrSay(nullptr, path, "BEGIN:VCALENDAR\r\n", "calendar"));
    QCOMPARE(int(messages.shown.size()), 1);
    const QString text = QString::fromStdString(messages.shown[0].message.text);
    QVERIFY2(text.startsWith("The calendar could not be saved as ") && text.contains("\n\n") &&
                 text.size() > text.indexOf("\n\n") + 2,
             qPrintable(text));
    QCOMPARE(messages.shown[0].message.icon, Icon::Error);
    QVERIFY(!QFile::exists(path));
}

void TestFrmPeriods::goToDateTakesWhatIsTyped_data() {
    QTest::addColumn<QString>("keys");  // typed over the selected proposal; "^V" pastes, "<" is Left, "#" Backspace
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("reached");  // empty: refused with a message
    QTest::newRow("typed") << "2001-09-11 08:46:00" << "" << "2001-09-11 08:46:00";
    QTest::newRow("pasted") << "^V" << "2001-09-11 08:46:00" << "2001-09-11 08:46:00";
    QTest::newRow("edited with the arrows") << "2001-09-11 08:46:00<<<<<<##09" << "" << "2001-09-11 09:46:00";
    QTest::newRow("no seconds") << "1999-12-31 23:59" << "" << "1999-12-31 23:59:00";
    QTest::newRow("not a day of the calendar") << "2001-02-30 08:46:00" << "" << "";
    QTest::newRow("the order of the date box") << "09/11/2001 08:46" << "" << "";
    QTest::newRow("outside the 120 years") << "1700-01-01 00:00" << "" << "";
}

// The go-to box reads the date and time as typed: over the selected proposal, pasted,
// or edited with the arrow keys, and the deepest period running then is selected; an
// impossible one is refused and the dialog stays, one outside the cycle is refused after.
void TestFrmPeriods::goToDateTakesWhatIsTyped() {
    QFETCH(QString, keys);
    QFETCH(QString, clipboard);
    QFETCH(QString, reached);
    MessageRecorder messages;
    const RunOutcome run = RunChart(BirthForm{});
    std::string error;
    auto periods = FrmPeriods::Create({run.chart.birth, 0, std::nullopt}, run.chart.dasha, nullptr, error);
    QVERIFY(periods);
    periods->setToday(kToday);
    periods->show();
    if (!clipboard.isEmpty()) QGuiApplication::clipboard()->setText(clipboard);
    bool stayed = false;
    OnModal("QDialog", [&](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>("txtGoTo");
        for (const QChar c : keys) {
            if (c == u'^') continue;
            if (c == u'V' && keys.startsWith(u'^')) QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            else if (c == u'<') QTest::keyClick(edit, Qt::Key_Left);
            else if (c == u'#') QTest::keyClick(edit, Qt::Key_Backspace);
            else QTest::keyClicks(edit, QString(c));
        }
        QTest::keyClick(edit, Qt::Key_Return);
        stayed = dialog->isVisible();
        if (stayed) static_cast<QDialog*>(dialog)->reject();
    });
    const QModelIndex before = periods->tree()->currentIndex();
    periods->cmdGoToDate_Click();
    QCOMPARE(stayed, reached.isEmpty() && !keys.startsWith("1700"));
    QCOMPARE(int(messages.shown.size()), reached.isEmpty() ? 1 : 0);
    if (reached.isEmpty()) {
        QCOMPARE(periods->tree()->currentIndex(), before);
        return;
    }
    const QModelIndex current = periods->tree()->currentIndex();
    const auto period = static_cast<std::size_t>(current.data(PeriodModel::PeriodIndexRole).toInt());
    QCOMPARE(periods->model()->report().chart.tree.periods.at(period).level, 5);
    QVERIFY(current.siblingAtColumn(PeriodModel::Start).data().toString() <= reached);
    QVERIFY(current.siblingAtColumn(PeriodModel::End).data().toString() > reached);
}

// "Save as PDF..." writes the timeline and the rows as the tree shows them: the nine
// Maha Dashas and the expanded running chain; a full temporary folder changes nothing.
void TestFrmPeriods::pdfHoldsTheShownRows() {
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty()) QSKIP("pdftotext is not installed");
    const SmallFileSystem temporary("size=64k");
    if (!temporary.mounted()) QSKIP(qPrintable(temporary.whyNot()));
    QVERIFY(temporary.Fill(0));
    const QByteArray tmpdir = qgetenv("TMPDIR");
    qputenv("TMPDIR", temporary.filePath({}).toLocal8Bit());
    const auto restore = qScopeGuard([&] { qputenv("TMPDIR", tmpdir); });
    const RunOutcome run = RunChart(BirthForm{});
    std::string error;
    auto periods = FrmPeriods::Create({run.chart.birth, 0, std::nullopt}, run.chart.dasha, nullptr, error);
    QVERIFY(periods);
    periods->setToday(kToday);
    periods->show();
    const QString pdf = dirOnDisk_.filePath("periods.pdf");
    OnModal("QFileDialog", [&](QWidget* files) {
        QCOMPARE(static_cast<QFileDialog*>(files)->defaultSuffix(), QString("pdf"));
        ChooseInFileDialog(files, pdf);
    });
    MessageRecorder messages;
    periods->cmdSavePdf_Click();
    QVERIFY(messages.shown.empty());
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    QProcess process;
    process.start(pdftotext, {"-layout", pdf, "-"});
    QVERIFY(process.waitForFinished(60000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    PeriodModel* model = periods->model();
    for (int m = 0; m < 9; ++m) QVERIFY(text.contains(model->index(m, PeriodModel::Start).data().toString()));
    const QModelIndex deepest = model->indexOfPeriod(model->running().back(), PeriodModel::Start);
    QVERIFY(text.contains(deepest.data().toString()));
    // A row the tree does not show is not printed: the middle Antar of a Maha Dasha
    // that is not running.
    const int running = model->indexOfPeriod(model->running().front()).row();
    const QModelIndex collapsed = model->index(running == 0 ? 1 : 0, 0);
    QVERIFY(!periods->tree()->isExpanded(collapsed));
    QVERIFY(!text.contains(model->index(4, PeriodModel::Start, collapsed).data().toString()));
}

// Printing to a file onto a full disk: one message, the old file kept whole.
void TestFrmPeriods::printToFileOnAFullDisk() {
    const SmallFileSystem disk("size=64k");
    if (!disk.mounted()) QSKIP(qPrintable(disk.whyNot()));
    const QString pdf = disk.filePath("periods.pdf");
    const QByteArray old("%PDF-1.4 printed before");
    QFile existing(pdf);
    QVERIFY(existing.open(QIODevice::WriteOnly) && existing.write(old) == old.size());
    existing.close();
    QVERIFY(disk.Fill(0));
    const RunOutcome run = RunChart(BirthForm{});
    std::string error;
    auto periods = FrmPeriods::Create({run.chart.birth, 0, std::nullopt}, run.chart.dasha, nullptr, error);
    QVERIFY(periods);
    periods->show();
    MessageRecorder messages;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    OnModal("QPrintDialog", [](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); });
    QVERIFY(!periods->printWithDialog(printer));
    QCOMPARE(int(messages.shown.size()), 1);
    QVERIFY2(QString::fromStdString(messages.shown[0].message.text).startsWith("The PDF could not be saved"),
             messages.shown[0].message.text.c_str());
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), old);
}

// Tab reaches every control, the access keys their controls, and the tree opens and
// closes by the arrow keys.
void TestFrmPeriods::keyboard() {
    const RunOutcome run = RunChart(BirthForm{});
    std::string error;
    auto periods = FrmPeriods::Create({run.chart.birth, 0, std::nullopt}, run.chart.dasha, nullptr, error);
    QVERIFY(periods);
    periods->show();
    QApplication::setActiveWindow(periods.get());
    QVERIFY(QTest::qWaitForWindowActive(periods.get()));
    auto* ayanamsa = periods->findChild<QComboBox*>("cboAyanamsa");
    ayanamsa->setFocus();
    QSet<QString> reached;
    for (int i = 0; i < 24; ++i) {
        reached.insert(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (const char* name : {"cboAyanamsa", "cboYearDays", "spnUncertainty", "treePeriods", "cmdGoToDate",
                             "cmdExpandAll", "cmdCollapseAll", "cmdExportCalendar", "cmdExportTable", "cmdSavePdf", "cmdPrint", "cmdClose"}) {
        QVERIFY2(reached.contains(name), name);
    }
    const QList<std::pair<Qt::Key, QString>> keys = {
        {Qt::Key_A, "cboAyanamsa"}, {Qt::Key_Y, "cboYearDays"}, {Qt::Key_U, "spnUncertainty"}, {Qt::Key_E, "treePeriods"}};
    for (const auto& [key, name] : keys) {
        QTest::keyClick(periods.get(), key, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget()->objectName().isEmpty() ? QApplication::focusWidget()->parentWidget()->objectName()
                                                                     : QApplication::focusWidget()->objectName(),
                 name);
    }
    QTreeView* tree = periods->tree();
    tree->collapseAll();
    tree->setCurrentIndex(tree->model()->index(0, 0));
    QTest::keyClick(tree, Qt::Key_Right);
    QVERIFY(tree->isExpanded(tree->model()->index(0, 0)));
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(tree->currentIndex(), tree->model()->index(0, 0, tree->model()->index(0, 0)));
    QTest::keyClick(tree, Qt::Key_Left);
    QTest::keyClick(tree, Qt::Key_Left);
    QCOMPARE(tree->currentIndex(), tree->model()->index(0, 0));
    QTest::keyClick(tree, Qt::Key_Left);
    QVERIFY(!tree->isExpanded(tree->model()->index(0, 0)));
}

// The window opens within the screen's free area, whatever that is (the offscreen
// screen is smaller than the window's designed size).
void TestFrmPeriods::fitsTheScreen() {
    const RunOutcome run = RunChart(BirthForm{});
    std::string error;
    auto periods = FrmPeriods::Create({run.chart.birth, 0, std::nullopt}, run.chart.dasha, nullptr, error);
    QVERIFY(periods);
    periods->show();
    QVERIFY(QTest::qWaitForWindowExposed(periods.get()));
    const QRect free = periods->screen()->availableGeometry();
    QVERIFY2(free.contains(periods->geometry()), qPrintable(QString("%1x%2 on %3x%4").arg(periods->width()).arg(
                                                        periods->height()).arg(free.width()).arg(free.height())));
}

// One line names the periods running today at every level, and those on the date gone
// to; Expand All opens the deepest levels.
void TestFrmPeriods::runningLineAndExpandAll() {
    const RunOutcome run = RunChart(BirthForm{});
    std::string error;
    auto periods = FrmPeriods::Create({run.chart.birth, 0, std::nullopt}, run.chart.dasha, nullptr, error);
    QVERIFY(periods);
    periods->setToday(kToday);
    QVERIFY(periods->goToLocal({2000, 1, 1, 12, 0, 0}));
    const QStringList lines = periods->runningLine().split(u'\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].startsWith("Today, 2026-01-01: ") && lines[1].startsWith("On 2000-01-01 12:00:00: "), qPrintable(lines.join('|')));
    for (const QString& line : lines) {
        for (const char* level : {" Maha \u00b7 ", " Antar \u00b7 ", " Pratyantar \u00b7 ", " Sookshma \u00b7 "}) {
            QVERIFY2(line.contains(QString::fromUtf8(level)), qPrintable(line));
        }
        QVERIFY2(line.endsWith(" Prana"), qPrintable(line));
    }
    PeriodModel* model = periods->model();
    const QModelIndex sookshma = model->index(8, 0, model->index(8, 0, model->index(8, 0, model->index(8, 0))));
    QVERIFY(!periods->tree()->isExpanded(sookshma));
    QTest::mouseClick(periods->findChild<QPushButton*>("cmdExpandAll"), Qt::LeftButton);
    QVERIFY(periods->tree()->isExpanded(sookshma));
    QTest::mouseClick(periods->findChild<QPushButton*>("cmdCollapseAll"), Qt::LeftButton);
    QVERIFY(!periods->tree()->isExpanded(model->index(0, 0)));
}

QTEST_MAIN(TestFrmPeriods)
#include "tst_frm_periods.moc"
