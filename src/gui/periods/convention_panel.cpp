#include "gui/periods/convention_panel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/dasha/dasha.h"
#include "gui/kit/appearance.h"

namespace orvanta {

namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString AyanamsaLabel(Ayanamsa ayanamsa) {
    for (const AyanamsaChoice& choice : kAyanamsaChoices) {
        if (choice.ayanamsa == ayanamsa) return Text(choice.label);
    }
    return Text(AyanamsaName(ayanamsa));
}

QString LordText(int lord) { return Text(DashaLord[static_cast<std::size_t>(lord)]); }

}  // namespace

ConventionPanel::ConventionPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnlConventions"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    toggle_ = new QPushButton(QStringLiteral("Compare &conventions"), this);
    toggle_->setObjectName(QStringLiteral("cmdCompareConventions"));
    toggle_->setCheckable(true);
    toggle_->setAutoDefault(false);
    toggle_->setFont(Verdana(8.25, true));
    PaintButton(toggle_);
    auto* top = new QHBoxLayout;
    top->addWidget(toggle_);
    top->addStretch(1);
    layout->addLayout(top);

    connect(toggle_, &QPushButton::toggled, this, [this](bool open) {
        if (open && !body_) BuildBody();
        if (body_) body_->setVisible(open);
        if (open && stale_) Refresh();
    });
}

// The table, the sensitivity sentences and "Use these settings", made when the panel is
// first opened: a window opened and never compared builds none of them.
void ConventionPanel::BuildBody() {
    body_ = new QWidget(this);
    auto* inner = new QVBoxLayout(body_);
    inner->setContentsMargins(0, 0, 0, 0);
    table_ = new QTableWidget(0, 8, body_);
    table_->setObjectName(QStringLiteral("tblConventions"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Ayanamsa"), QStringLiteral("Year"), QStringLiteral("Moon"),
                                       QStringLiteral("Birth lord"), QStringLiteral("Balance"),
                                       QStringLiteral("First Maha Dasha start"), QStringLiteral("Running today"),
                                       QStringLiteral("Difference")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setAlternatingRowColors(true);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setFont(Verdana(8.25));
    table_->setMinimumHeight(120);
    table_->setMaximumHeight(200);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    const QPalette rows = PeriodRows(table_->palette());
    table_->setPalette(rows);
    table_->horizontalHeader()->setPalette(rows);
    sensitivity_ = new QLabel(body_);
    sensitivity_->setObjectName(QStringLiteral("lblSensitivity"));
    sensitivity_->setWordWrap(true);
    sensitivity_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Paint(sensitivity_, look::PaleYellow, look::Brown);
    use_ = new QPushButton(QStringLiteral("&Use these settings"), body_);
    use_->setObjectName(QStringLiteral("cmdUseConvention"));
    use_->setAutoDefault(false);
    use_->setFont(Verdana(8.25, true));
    PaintButton(use_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(sensitivity_, 1);
    bottom->addWidget(use_, 0, Qt::AlignTop);
    inner->addWidget(table_, 1);
    inner->addLayout(bottom);
    static_cast<QBoxLayout*>(layout())->addWidget(body_, 1);

    connect(table_, &QAbstractItemView::activated, this, [this](const QModelIndex& index) { ChooseRow(index.row()); });
    connect(use_, &QPushButton::clicked, this, [this] { ChooseRow(table_->currentRow()); });
}

void ConventionPanel::setBirth(const PeriodsBirth& birth, const PeriodsSettings& settings, std::int64_t todayUtc) {
    birth_ = birth;
    settings_ = settings;
    todayUtc_ = todayUtc;
    stale_ = true;
    if (toggle_->isChecked()) Refresh();
}

void ConventionPanel::Refresh() {
    stale_ = false;
    conventions_.clear();
    table_->setRowCount(0);
    const ComparisonOutcome outcome = ComparePeriods(birth_, PreciseSettingsOf(settings_), todayUtc_);
    if (!outcome.comparison) {
        sensitivity_->setText(QString::fromStdString(outcome.error));
        use_->setEnabled(false);
        return;
    }
    const ConventionComparison& c = *outcome.comparison;
    table_->setRowCount(static_cast<int>(c.rows.size()));
    int current = -1;
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
        const ConventionRow& row = c.rows[i];
        const Convention& k = row.convention;
        conventions_.push_back(k);
        QString running;
        for (const int lord : row.runningLords) running += (running.isEmpty() ? QString() : QStringLiteral(" / ")) + LordText(lord);
        const QStringList cells{
            AyanamsaLabel(k.ayanamsa),
            QString::fromStdString(YearDaysText(k.yearDays)),
            Text(MoonPositionName(k.moonPosition)),
            LordText(row.birthLord),
            QStringLiteral("%1y %2m %3d").arg(row.balance.years).arg(row.balance.months).arg(row.balance.days),
            LordText(row.firstMahaLord) + QStringLiteral(" ") +
                QString::fromStdString(FormatLocal(c.line.birth, RoundedUtcSeconds(c.line.tree, row.firstMahaStart))),
            running.isEmpty() ? QStringLiteral("(outside the cycle)") : running,
            QString::fromStdString(DaysAndHours(row.differenceSeconds))};
        for (int column = 0; column < cells.size(); ++column) {
            table_->setItem(static_cast<int>(i), column, new QTableWidgetItem(cells[column]));
        }
        if (k.ayanamsa == settings_.ayanamsa && k.yearDays == settings_.yearDays &&
            k.moonPosition == settings_.moonPosition) {
            current = static_cast<int>(i);
        }
    }
    if (current >= 0) table_->selectRow(current);
    QStringList sentences;
    for (const std::string& sentence : c.sensitivity) sentences << QString::fromStdString(sentence);
    sensitivity_->setText(sentences.join(QLatin1Char('\n')));
    use_->setEnabled(true);
}

void ConventionPanel::ChooseRow(int row) {
    if (row < 0 || row >= static_cast<int>(conventions_.size())) return;
    emit conventionChosen(conventions_[static_cast<std::size_t>(row)]);
}

}  // namespace orvanta
