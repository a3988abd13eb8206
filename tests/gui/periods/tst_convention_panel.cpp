#include <QtTest>

#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>

#include "core/chart/computation_run.h"
#include "gui/periods/convention_panel.h"
#include "gui/periods/frm_periods.h"
#include "gui/periods/period_model.h"

using namespace orvanta;

// The comparison panel of the periods window: a row chosen becomes the window's settings,
// and the table follows the settings the window shows.
class TestConventionPanel : public QObject {
    Q_OBJECT
private slots:
    void rowBecomesTheSettings();
};

void TestConventionPanel::rowBecomesTheSettings() {
    const RunOutcome run = RunChart(BirthForm{});
    std::string error;
    const std::unique_ptr<FrmPeriods> periods = FrmPeriods::Create({run.chart.birth, 0, {}}, run.chart.dasha, nullptr, error);
    QVERIFY2(periods, error.c_str());
    periods->setToday(1767225600);  // 2026-01-01T00:00:00Z
    ConventionPanel* panel = periods->conventions();
    QVERIFY(!panel->table());  // folded: nothing built, nothing computed
    panel->toggle()->click();
    QCOMPARE(panel->table()->rowCount(), 40);
    QCOMPARE(panel->table()->currentRow(), 0);  // lahiri, julian, apparent: the window's own

    // raman, savana 360, geometric
    const auto& rows = panel->conventions();
    const auto chosen = std::find_if(rows.begin(), rows.end(), [](const Convention& c) {
        return c.ayanamsa == Ayanamsa::Raman && c.yearDays == 360 && c.moonPosition == MoonPosition::Geometric;
    });
    QVERIFY(chosen != rows.end());
    const int row = static_cast<int>(chosen - rows.begin());
    panel->table()->selectRow(row);
    panel->findChild<QPushButton*>("cmdUseConvention")->click();
    QCOMPARE(periods->settings().ayanamsa, Ayanamsa::Raman);
    QCOMPARE(periods->settings().yearDays, 360.0);
    QCOMPARE(periods->settings().moonPosition, MoonPosition::Geometric);
    QCOMPARE(periods->findChild<QComboBox*>("cboMoon")->currentText(), QString("geometric"));
    const PreciseReport& shown = periods->model()->report();
    QCOMPARE(shown.provenance.moonPosition, std::string("geometric"));
    QCOMPARE(shown.chart.tree.request.yearDays, 360.0);
    // The table now measures from the chosen settings: that row differs by nothing.
    QCOMPARE(panel->table()->currentRow(), row);
    QCOMPARE(panel->table()->item(row, 7)->text(), QString("+0 d 0.00 h"));
}

QTEST_MAIN(TestConventionPanel)
#include "tst_convention_panel.moc"
