#include <QAbstractItemModelTester>
#include <QtTest>

#include "core/chart/computation_run.h"
#include "core/dasha/dasha.h"
#include "core/periods/period_view.h"
#include "gui/periods/period_model.h"

using namespace orvanta;

namespace {

struct Fixture {
    PeriodsBirth birth{ReadBirthDetails(BirthForm{}), 0, std::nullopt};
    ChartRun run = RunChart(BirthForm{}).chart;
    DashaTable classic = run.dasha;
    PreciseReport report = std::move(*ComputePeriods(birth, PeriodsSettings{}).report);
};

}  // namespace

class TestPeriodModel : public QObject {
    Q_OBJECT
private slots:
    void rowsAndLevels();
    void runningPeriod_data();
    void runningPeriod();
    void classicColumns();
};

// Qt's model tester walks the whole tree; the rows follow PeriodTree's levels.
void TestPeriodModel::rowsAndLevels() {
    Fixture f;
    PeriodModel model(f.report, f.classic);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 9);
    QModelIndex index;
    for (int level = 1; level <= kMaxPeriodLevels; ++level) {
        QCOMPARE(model.rowCount(index), 9);
        index = model.index(8, 0, index);  // the last child at every level
        const Period& p = f.report.chart.tree.periods[static_cast<std::size_t>(index.data(PeriodModel::PeriodIndexRole).toInt())];
        QCOMPARE(p.level, level);
        const QString chain = index.data(Qt::ToolTipRole).toString();
        QCOMPARE(chain.count(u'/'), level - 1);
        QVERIFY(chain.endsWith(" / " + index.data().toString()) || level == 1);
        QCOMPARE(model.indexOfPeriod(index.data(PeriodModel::PeriodIndexRole).toInt()), index);
    }
    QCOMPARE(model.rowCount(index), 0);
    QVERIFY(!model.parent(model.index(0, 0)).isValid());
}

void TestPeriodModel::runningPeriod_data() {
    QTest::addColumn<double>("yearsAfterBirth");
    QTest::addColumn<int>("chainLength");
    // A chain and none; the tree's running chain holds the instants in between and past the end.
    QTest::newRow("the birth instant") << 0.0 << 5;
    QTest::newRow("before the cycle") << -125.0 << 0;
}

void TestPeriodModel::runningPeriod() {
    QFETCH(double, yearsAfterBirth);
    QFETCH(int, chainLength);
    Fixture f;
    PeriodModel model(f.report, f.classic);
    const double at = yearsAfterBirth * 365.25 * 86400;
    model.setRunningAt(at);
    QCOMPARE(int(model.running().size()), chainLength);
    int marked = 0;
    for (int i = 0; i < int(f.report.chart.tree.periods.size()); ++i) {
        const bool running = model.indexOfPeriod(i).data(PeriodModel::RunningRole).toBool();
        if (!running) continue;
        ++marked;
        const Period& p = f.report.chart.tree.periods[static_cast<std::size_t>(i)];
        QVERIFY(p.start <= at && at < p.end);
        QVERIFY(model.indexOfPeriod(i, PeriodModel::End).data(Qt::BackgroundRole).isValid());
    }
    QCOMPARE(marked, chainLength);
    model.setRunningAt(std::nullopt);
    QVERIFY(model.running().empty());
}

// The classic columns are filled for Maha and Antar rows the results window shows, and
// the difference is the days from the classic date to the local date of the precise start.
void TestPeriodModel::classicColumns() {
    Fixture f;
    PeriodModel model(f.report, f.classic);
    int compared = 0;
    for (int m = 0; m < 9; ++m) {
        const QModelIndex maha = model.index(m, 0);
        QCOMPARE(maha.siblingAtColumn(PeriodModel::ClassicStart).data().toString(),
                 QString::fromStdString(f.run.results.dashaStarts[static_cast<std::size_t>(m)]));
        for (int a = 0; a < 9; ++a) {
            const QModelIndex antar = model.index(a, 0, maha);
            const Period& p = f.report.chart.tree.periods[static_cast<std::size_t>(antar.data(PeriodModel::PeriodIndexRole).toInt())];
            const QString classic = antar.siblingAtColumn(PeriodModel::ClassicStart).data().toString();
            const QString difference = antar.siblingAtColumn(PeriodModel::ClassicDifference).data().toString();
            QCOMPARE(model.index(0, PeriodModel::ClassicStart, antar).data().toString(), QString());
            if (difference.isEmpty()) {
                QVERIFY2(classic.isEmpty() || p.start < 0, qPrintable(classic));  // none, or begun before birth
                continue;
            }
            const QDate from = QDate::fromString(classic, "MMM-dd-yyyy");
            const QDate to = QDate::fromString(antar.siblingAtColumn(PeriodModel::Start).data().toString().left(10), Qt::ISODate);
            QVERIFY(from.isValid() && to.isValid());
            const qint64 days = from.daysTo(to);
            QCOMPARE(difference, (days > 0 ? "+" : "") + QString::number(days));
            ++compared;
        }
    }
    QVERIFY2(compared > 60, qPrintable(QString::number(compared)));
}

QTEST_MAIN(TestPeriodModel)
#include "tst_period_model.moc"
