#include "gui/grahas/frm_chart.h"

#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/kit/appearance.h"
#include "gui/kit/message_box.h"
#include "gui/report/saved_files.h"

namespace orvanta {

namespace {

QString Title(const QString& name) { return QStringLiteral("Birth Chart of %1").arg(name); }

// "Born 1981-08-18 23:30:00, zone 5:30 east (fixed UTC+05:30). Lahiri ayanamsa, Swiss Ephemeris 2.10."
QString Subtitle(const PreciseChart& chart) {
    QString ayanamsa;
    for (const AyanamsaChoice& choice : kAyanamsaChoices) {
        if (choice.ayanamsa == chart.ayanamsa) ayanamsa = QString::fromUtf8(choice.label.data(), static_cast<qsizetype>(choice.label.size()));
    }
    const EngineInfo engine = Engine();
    return QStringLiteral("Born %1, %2. %3 ayanamsa; %4 %5.")
        .arg(QString::fromStdString(FormatCivil(chart.birth.local)).replace(u'T', u' '),
             QString::fromStdString(chart.birth.zoneRule), ayanamsa, QString::fromStdString(engine.library),
             QString::fromStdString(engine.version));
}

// The lords of the Maha, Antar and Pratyantar Dashas running at an instant.
std::vector<int> LordsRunningAt(const PeriodTree& tree, std::int64_t utcSeconds) {
    std::vector<int> lords;
    for (const int i : RunningChain(tree, TreeSeconds(tree, utcSeconds), 3)) {
        const Period& period = tree.periods[static_cast<std::size_t>(i)];
        lords.push_back(period.lords[static_cast<std::size_t>(period.level - 1)]);
    }
    return lords;
}

QString RunningCaption(const PreciseChart& chart, std::int64_t utcSeconds) {
    const Date day = LocalDateOf(chart.birth, utcSeconds);
    return QStringLiteral("running on %1-%2-%3")
        .arg(day.year, 4, 10, QLatin1Char('0'))
        .arg(day.month, 2, 10, QLatin1Char('0'))
        .arg(day.day, 2, 10, QLatin1Char('0'));
}

}  // namespace

ChartChoices& RunChartChoices() {
    static ChartChoices choices;
    return choices;
}

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("chartView"));
    setMinimumSize(300, 160);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ChartView::setChart(const ChartDrawing* drawing, ChartStyle style) {
    drawing_ = drawing;
    style_ = style;
    update();
}

QSize ChartView::sizeHint() const { return {700, 340}; }

QRectF ChartView::square(bool navamsa) const {
    const double margin = 6;
    const double side = std::max(10.0, std::min((width() - 3 * margin) / 2, height() - 2 * margin));
    const double gap = (width() - 2 * side) / 3;
    return {navamsa ? 2 * gap + side : gap, (height() - side) / 2, side, side};
}

void ChartView::paintEvent(QPaintEvent*) {
    if (drawing_ == nullptr) return;
    QPainter painter(this);
    drawing_->paintChart(painter, square(false), style_, false);
    drawing_->paintChart(painter, square(true), style_, true);
}

FrmChart::FrmChart(const PreciseChart& chart, const QString& name, std::vector<int> marked, const QString& caption,
                   QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      chart_(chart), name_(name), marked_(std::move(marked)), caption_(caption) {
    setObjectName(QStringLiteral("frmChart"));
    setWindowTitle(QString::fromLatin1(kWindowCaption) + QStringLiteral(" - Birth Chart"));
    setModal(true);
    BuildWindow();
    Recompute();
}

FrmChart::~FrmChart() = default;

void FrmChart::BuildWindow() {
    setAutoFillBackground(true);
    Paint(this, look::White, look::Brown);
    setFont(Verdana(8.25));
    auto* layout = new QVBoxLayout(this);

    auto* heading = new QLabel(Title(name_), this);
    heading->setObjectName(QStringLiteral("lblHeading"));
    heading->setFont(Verdana(12, true, true));
    heading->setAlignment(Qt::AlignHCenter);
    Paint(heading, look::Yellow, look::Brown);
    layout->addWidget(heading);

    auto* settings = new QHBoxLayout;
    cboStyle_ = new QComboBox(this);
    cboStyle_->setObjectName(QStringLiteral("cboStyle"));
    cboStyle_->addItems({QStringLiteral("South Indian"), QStringLiteral("North Indian")});
    cboStyle_->setCurrentIndex(RunChartChoices().style == ChartStyle::SouthIndian ? 0 : 1);
    cboNode_ = new QComboBox(this);
    cboNode_->setObjectName(QStringLiteral("cboNode"));
    cboNode_->addItems({QStringLiteral("Mean node"), QStringLiteral("True node")});
    cboNode_->setCurrentIndex(RunChartChoices().node == Node::Mean ? 0 : 1);
    for (QComboBox* box : {cboStyle_, cboNode_}) Paint(box, look::Black, look::PaleYellow);
    settings->addWidget(Caption(QStringLiteral("&Style:"), cboStyle_, this));
    settings->addWidget(cboStyle_);
    settings->addSpacing(12);
    settings->addWidget(Caption(QStringLiteral("&Node:"), cboNode_, this));
    settings->addWidget(cboNode_);
    settings->addSpacing(12);
    lblLegend_ = new QLabel(this);
    lblLegend_->setObjectName(QStringLiteral("lblLegend"));
    lblLegend_->setFont(Verdana(8.25, true));
    lblLegend_->setWordWrap(true);
    Paint(lblLegend_, look::Yellow, look::Brown);
    settings->addWidget(lblLegend_, 1);
    layout->addLayout(settings);

    view_ = new ChartView(this);
    layout->addWidget(view_, 3);

    table_ = new QTableWidget(kGrahas, static_cast<int>(ChartTableHeadings().size()), this);
    table_->setObjectName(QStringLiteral("tblGrahas"));
    table_->setHorizontalHeaderLabels(ChartTableHeadings());
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setTabKeyNavigation(false);
    table_->setAlternatingRowColors(false);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    Paint(table_, look::Black, look::White);
    // One line a row, all nine in view where the screen has room for them.
    const int row = table_->fontMetrics().height() + 4;
    table_->verticalHeader()->setDefaultSectionSize(row);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->setMinimumHeight(4 * row);
    table_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    tableHeight_ = table_->horizontalHeader()->sizeHint().height() + kGrahas * row + 2 * table_->frameWidth();
    layout->addWidget(table_, 2);

    auto* buttons = new QHBoxLayout;
    QPushButton* pdf = Button("cmdSavePdf", QStringLiteral("Save as &PDF..."), this);
    QPushButton* print = Button("cmdPrint", QStringLiteral("P&rint..."), this);
    QPushButton* close = Button("cmdClose", QStringLiteral("&Close"), this);
    buttons->addStretch(1);
    for (QPushButton* b : {pdf, print, close}) buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(pdf, &QPushButton::clicked, this, &FrmChart::cmdSavePdf_Click);
    connect(print, &QPushButton::clicked, this, &FrmChart::cmdPrint_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(cboStyle_, &QComboBox::currentIndexChanged, this, [this](int index) {
        RunChartChoices().style = index == 0 ? ChartStyle::SouthIndian : ChartStyle::NorthIndian;
        ShowChart();
    });
    connect(cboNode_, &QComboBox::currentIndexChanged, this, [this](int index) {
        RunChartChoices().node = index == 0 ? Node::Mean : Node::True;
        Recompute();
    });
    table_->setMaximumHeight(tableHeight_);
    setTabOrder(cboStyle_, cboNode_);
    setTabOrder(cboNode_, table_);
    setTabOrder(table_, pdf);
    setTabOrder(pdf, print);
    setTabOrder(print, close);
    cboStyle_->setFocus();
    // Roomy where the screen allows it, never beyond it.
    QSize size(880, 720);
    if (const QScreen* screen = this->screen()) size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 40));
    resize(size.expandedTo(minimumSizeHint()));
}

void FrmChart::Recompute() {
    GrahaOutcome outcome = ComputeGrahas(chart_, RunChartChoices().node);
    if (!outcome.chart) {
        error_ = outcome.error;
        if (drawing_) ShowMessage(this, {error_, Icon::Error});  // the node changed: the chart shown goes
        drawing_.reset();
        view_->setChart(nullptr, RunChartChoices().style);
        table_->clearContents();
        lblLegend_->clear();
        return;
    }
    error_.clear();
    drawing_ = std::make_unique<ChartDrawing>(*outcome.chart, marked_, caption_);
    ShowChart();
}

void FrmChart::ShowChart() {
    if (!drawing_) return;
    view_->setChart(drawing_.get(), RunChartChoices().style);
    lblLegend_->setText(drawing_->legend());
    for (int r = 0; r < kGrahas; ++r) {
        const GrahaPlace& place = drawing_->chart().grahas[static_cast<std::size_t>(r)];
        const QStringList cells = ChartTableRow(place);
        const std::optional<QRgb> mark = drawing_->markOf(place.graha);
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (mark) {
                item->setBackground(QColor(*mark));
                QFont bold = table_->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            table_->setItem(r, c, item);
        }
    }
}

bool FrmChart::paintDocument(QPagedPaintDevice& device) const {
    if (!drawing_) return false;
    QPainter painter(&device);
    if (!painter.isActive()) return false;
    drawing_->paintPage(painter, QRectF(0, 0, device.width(), device.height()), RunChartChoices().style, Title(name_),
                        Subtitle(chart_));
    return painter.end();
}

void FrmChart::cmdSavePdf_Click() {
    const auto path = ChooseSavePath(this, QStringLiteral("PDF document (*.pdf)"), QStringLiteral("pdf"));
    if (!path) return;
    QPrinter printer(QPrinter::HighResolution);  // the page size of the system's locale
    printer.setPageOrientation(QPageLayout::Landscape);
    SavePdfOrSay(
        this, *path, printer.pageLayout(), printer.resolution(), windowTitle(),
        [this](QPagedPaintDevice& device) { return paintDocument(device); }, "chart", "PDF");
}

void FrmChart::cmdPrint_Click() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QString::fromLatin1(kProgramTitle));
    if (dialog.exec() != QDialog::Accepted) return;
    paintDocument(printer);
}

void OpenBirthChart(QWidget* parent, const PreciseChart& chart, const QString& name, std::vector<int> marked,
                    const QString& caption) {
    FrmChart dialog(chart, name, std::move(marked), caption, parent);
    if (!dialog.valid()) {
        ShowMessage(parent, {dialog.error(), Icon::Error});
        return;
    }
    dialog.exec();
}

void OpenBirthChartAt(QWidget* parent, const PeriodsBirth& birth, std::int64_t nowUtcSeconds) {
    const PeriodsOutcome outcome = ComputePeriods(birth, PeriodsSettings{});
    if (!outcome.report) {
        ShowMessage(parent, {outcome.error, Icon::Error});
        return;
    }
    OpenBirthChartAt(parent, outcome.report->chart, QString::fromStdString(birth.details.name), nowUtcSeconds);
}

void OpenBirthChartAt(QWidget* parent, const PreciseChart& chart, const QString& name, std::int64_t nowUtcSeconds) {
    OpenBirthChart(parent, chart, name, LordsRunningAt(chart.tree, nowUtcSeconds), RunningCaption(chart, nowUtcSeconds));
}

bool PaintBirthChartPage(QPainter& painter, QPagedPaintDevice& device, const PreciseChart& chart, const QString& name,
                         std::int64_t nowUtcSeconds) {
    const GrahaOutcome outcome = ComputeGrahas(chart, RunChartChoices().node);
    if (!outcome.chart) return false;
    const ChartDrawing drawing(*outcome.chart, LordsRunningAt(chart.tree, nowUtcSeconds),
                               RunningCaption(chart, nowUtcSeconds));
    drawing.paintPage(painter, QRectF(0, 0, device.width(), device.height()), RunChartChoices().style, Title(name),
                      Subtitle(chart));
    device.newPage();
    return true;
}

}  // namespace orvanta
