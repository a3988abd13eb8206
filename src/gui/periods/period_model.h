#pragma once

#include <QAbstractItemModel>

#include <optional>
#include <vector>

#include "core/dasha/dasha.h"
#include "core/periods/period_export.h"

namespace orvanta {

// The period tree as rows of a tree view: each period a row under its parent, to the
// levels the report's tree holds: the lord of each (the whole chain as its tooltip),
// its start and end, duration and age, and for Maha and Antar periods the classic
// start and the days between, from the classic dasha table when the classic reading ran. The running chain is marked (bold, light orange).
class PeriodModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { Lords, Start, End, Duration, Age, ClassicStart, ClassicDifference, ColumnCount };
    // Item data for callers that want the instant itself: the start's UTC text
    // ("1981-08-18T18:00:00Z") and its index in PeriodTree::periods.
    static constexpr int UtcStartRole = Qt::UserRole + 1;
    static constexpr int PeriodIndexRole = Qt::UserRole + 2;
    static constexpr int RunningRole = Qt::UserRole + 3;

    PeriodModel(PreciseReport report, std::optional<DashaTable> classic, QObject* parent = nullptr);

    const PreciseReport& report() const { return report_; }
    // Marks the periods running at `at` (seconds from the tree's epoch).
    void setRunningAt(std::optional<double> at);
    const std::vector<int>& running() const { return running_; }
    QModelIndex indexOfPeriod(int period, int column = 0) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString text(int period, int column) const;

    PreciseReport report_;
    std::optional<DashaTable> classic_;
    std::vector<int> parents_;
    std::vector<int> running_;
};

}  // namespace orvanta
