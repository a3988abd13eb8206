#include "gui/periods/period_model.h"

#include <QBrush>
#include <QFont>

#include <algorithm>

#include "core/dasha/dasha.h"
#include "core/periods/period_view.h"
#include "gui/kit/appearance.h"

namespace orvanta {

namespace {

constexpr std::array<const char*, PeriodModel::ColumnCount> kHeadings = {
    "Lord", "Start", "End", "Duration", "Age at start", "Classic start", "Days from classic"};

}  // namespace

PeriodModel::PeriodModel(PreciseReport report, std::optional<DashaTable> classic, QObject* parent)
    : QAbstractItemModel(parent), report_(std::move(report)), classic_(std::move(classic)),
      parents_(ParentsOf(report_.chart.tree)) {}

void PeriodModel::setRunningAt(std::optional<double> at) {
    const std::vector<int> before = running_;
    running_ = at ? RunningChain(report_.chart.tree, *at, report_.chart.tree.request.levels) : std::vector<int>{};
    for (const auto& chain : {before, running_}) {
        for (const int p : chain) emit dataChanged(indexOfPeriod(p, 0), indexOfPeriod(p, ColumnCount - 1));
    }
}

QModelIndex PeriodModel::indexOfPeriod(int period, int column) const {
    if (period < 0 || static_cast<std::size_t>(period) >= report_.chart.tree.periods.size()) return {};
    const int parent = parents_[static_cast<std::size_t>(period)];
    const int first = parent < 0 ? 0 : report_.chart.tree.periods[static_cast<std::size_t>(parent)].firstChild;
    return createIndex(period - first, column, static_cast<quintptr>(period));
}

QModelIndex PeriodModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || row >= kLords || column < 0 || column >= ColumnCount) return {};
    int first = 0;
    if (parent.isValid()) {
        first = report_.chart.tree.periods[parent.internalId()].firstChild;
        if (first < 0) return {};
    } else if (report_.chart.tree.periods.empty()) {
        return {};
    }
    return createIndex(row, column, static_cast<quintptr>(first + row));
}

QModelIndex PeriodModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) return {};
    return indexOfPeriod(parents_[child.internalId()], 0);
}

int PeriodModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return report_.chart.tree.periods.empty() ? 0 : kLords;
    if (parent.column() != 0) return 0;
    return report_.chart.tree.periods[parent.internalId()].firstChild < 0 ? 0 : kLords;
}

int PeriodModel::columnCount(const QModelIndex&) const { return ColumnCount; }

QString PeriodModel::text(int i, int column) const {
    const Period& p = report_.chart.tree.periods[static_cast<std::size_t>(i)];
    switch (column) {
    case Lords:  // the tree's indentation shows the outer lords
        return QString::fromUtf8(DashaLord[static_cast<std::size_t>(p.lords[static_cast<std::size_t>(p.level - 1)])].data());
    case Start:
        if (report_.window) {
            return QString::fromStdString(LocalText(report_, report_.window->startEarliest[static_cast<std::size_t>(i)]) +
                                          " .. " +
                                          LocalText(report_, report_.window->startLatest[static_cast<std::size_t>(i)]));
        }
        return QString::fromStdString(LocalText(report_, p.start));
    case End:
        return QString::fromStdString(LocalText(report_, p.end));
    case Duration:
        return QString::fromStdString(DurationText(report_, p));
    case Age:
        return QString::fromStdString(AgeText(report_, p));
    case ClassicStart:
        if (!classic_) return {};
        if (const auto date = orvanta::ClassicStart(*classic_, p)) return QString::fromStdString(FormatDisplayDate(*date));
        return {};
    case ClassicDifference:
        if (!classic_) return {};
        if (const auto date = orvanta::ClassicStart(*classic_, p)) {
            if (const std::optional<long> days = DaysFromClassic(report_, p, *date)) {
                return (*days > 0 ? QStringLiteral("+") : QString()) + QString::number(*days);
            }
        }
        return {};
    default:
        return {};
    }
}

QVariant PeriodModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto i = static_cast<int>(index.internalId());
    const bool running = std::find(running_.begin(), running_.end(), i) != running_.end();
    switch (role) {
    case Qt::DisplayRole:
        return text(i, index.column());
    case Qt::ToolTipRole:
        if (index.column() == Lords) {
            return QString::fromStdString(LordsText(report_.chart.tree.periods[static_cast<std::size_t>(i)], " / "));
        }
        if (index.column() == Start || index.column() == End) {
            const Period& p = report_.chart.tree.periods[static_cast<std::size_t>(i)];
            const double at = index.column() == Start ? p.start : p.end;
            return QString::fromStdString(FormatLocal(report_.chart.birth, RoundedUtcSeconds(report_.chart.tree, at)) +
                                          "  (" + FormatUtc(RoundedUtcSeconds(report_.chart.tree, at)) + ")");
        }
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == Lords ? QVariant() : QVariant(Qt::AlignCenter);
    case Qt::FontRole:
        if (running) {
            QFont font = Verdana(8.25, true);
            return font;
        }
        return {};
    case Qt::BackgroundRole:
        return running ? QVariant(QBrush(QColor(look::LightOrange))) : QVariant();
    case Qt::ForegroundRole:
        return running ? QVariant(QBrush(QColor(look::Black))) : QVariant();
    case UtcStartRole:
        return QString::fromStdString(
            FormatUtc(RoundedUtcSeconds(report_.chart.tree, report_.chart.tree.periods[static_cast<std::size_t>(i)].start)));
    case PeriodIndexRole:
        return i;
    case RunningRole:
        return running;
    default:
        return {};
    }
}

QVariant PeriodModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount) return {};
    return QString::fromLatin1(kHeadings[static_cast<std::size_t>(section)]);
}

}  // namespace orvanta
