#include "periods/gui/frm_periods.h"

#include <QComboBox>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTreeView>
#include <QVBoxLayout>

#include <array>

#include "kit/gui/appearance.h"
#include "kit/gui/message_box.h"
#include "dasha/dasha.h"
#include "periods/gui/convention_panel.h"
#include "periods/gui/period_files.h"
#include "periods/gui/period_model.h"
#include "periods/gui/period_timeline.h"

namespace orvanta {

namespace {

QPushButton* Button(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFont(Verdana(8.25, true));
    button->setAutoDefault(false);
    PaintButton(button);
    return button;
}

QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(Verdana(8.25, true));
    Paint(label, look::LightOrange, look::Brown);
    label->setBuddy(buddy);
    return label;
}

QString YearDaysLabel(double days) { return QString::fromStdString(YearDaysText(days)); }

// The rows the tree shows, in reading order: a period's children only when it is
// expanded.
void VisibleRows(const QTreeView& tree, const QModelIndex& parent, std::vector<QModelIndex>& rows) {
    const QAbstractItemModel* model = tree.model();
    for (int r = 0; r < model->rowCount(parent); ++r) {
        const QModelIndex index = model->index(r, 0, parent);
        rows.push_back(index);
        if (tree.isExpanded(index)) VisibleRows(tree, index, rows);
    }
}

}  // namespace

std::unique_ptr<FrmPeriods> FrmPeriods::Create(const PeriodsBirth& birth, const Results& classic, QWidget* parent,
                                               std::string& error) {
    PeriodsOutcome outcome = ComputePeriods(birth, PeriodsSettings{});
    if (!outcome.report) {
        error = outcome.error;
        return nullptr;
    }
    return std::unique_ptr<FrmPeriods>(new FrmPeriods(birth, classic, std::move(*outcome.report), parent));
}

FrmPeriods::FrmPeriods(const PeriodsBirth& birth, const Results& classic, PreciseReport report, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      birth_(birth), classic_(classic), todayUtc_(QDateTime::currentSecsSinceEpoch()) {
    setObjectName(QStringLiteral("frmPeriods"));
    setWindowTitle(QString::fromLatin1(kWindowCaption) + QStringLiteral(" - Precise Periods"));
    setModal(true);
    BuildWindow();
    ShowReport(std::move(report));
}

FrmPeriods::~FrmPeriods() = default;

void FrmPeriods::BuildWindow() {
    setAutoFillBackground(true);
    Paint(this, look::White, look::Brown);
    setFont(Verdana(8.25));
    auto* layout = new QVBoxLayout(this);

    auto* heading = new QLabel(QStringLiteral("Precise Periods of %1").arg(QString::fromStdString(birth_.details.name)),
                               this);
    heading->setObjectName(QStringLiteral("lblHeading"));
    heading->setFont(Verdana(12, true, true));
    heading->setAlignment(Qt::AlignHCenter);
    Paint(heading, look::Yellow, look::Brown);
    layout->addWidget(heading);

    auto* settings = new QHBoxLayout;
    cboAyanamsa_ = new QComboBox(this);
    cboAyanamsa_->setObjectName(QStringLiteral("cboAyanamsa"));
    for (const AyanamsaChoice& choice : kAyanamsaChoices) {
        cboAyanamsa_->addItem(QString::fromUtf8(choice.label.data(), static_cast<int>(choice.label.size())));
    }
    cboYearDays_ = new QComboBox(this);
    cboYearDays_->setObjectName(QStringLiteral("cboYearDays"));
    for (const double days : kYearDayChoices) cboYearDays_->addItem(YearDaysLabel(days), days);
    cboMoon_ = new QComboBox(this);
    cboMoon_->setObjectName(QStringLiteral("cboMoon"));
    cboMoon_->addItems({QStringLiteral("apparent"), QStringLiteral("geometric")});  // MoonPosition's order
    spnUncertainty_ = new QSpinBox(this);
    spnUncertainty_->setObjectName(QStringLiteral("spnUncertainty"));
    spnUncertainty_->setRange(0, kMaxUncertaintyMinutes);
    spnUncertainty_->setSuffix(QStringLiteral(" min"));
    spnUncertainty_->setPrefix(QStringLiteral("\u00b1 "));
    for (QWidget* box : std::initializer_list<QWidget*>{cboAyanamsa_, cboYearDays_, cboMoon_, spnUncertainty_}) {
        Paint(box, look::Black, look::PaleYellow);
    }
    lblZone_ = new QLabel(this);
    lblZone_->setObjectName(QStringLiteral("lblZone"));
    lblZone_->setFont(Verdana(8.25, true));
    Paint(lblZone_, look::PaleYellow, look::Brown);
    settings->addWidget(Caption(QStringLiteral("&Ayanamsa"), cboAyanamsa_, this));
    settings->addWidget(cboAyanamsa_);
    settings->addSpacing(12);
    settings->addWidget(Caption(QStringLiteral("&Year length"), cboYearDays_, this));
    settings->addWidget(cboYearDays_);
    settings->addSpacing(12);
    settings->addWidget(Caption(QStringLiteral("&Moon"), cboMoon_, this));
    settings->addWidget(cboMoon_);
    settings->addSpacing(12);
    settings->addWidget(Caption(QStringLiteral("Birth time &uncertainty"), spnUncertainty_, this));
    settings->addWidget(spnUncertainty_);
    settings->addSpacing(12);
    settings->addWidget(Caption(QStringLiteral("Zone"), nullptr, this));
    settings->addWidget(lblZone_, 1);
    layout->addLayout(settings);
    connect(cboAyanamsa_, &QComboBox::currentIndexChanged, this, &FrmPeriods::settingChanged);
    connect(cboYearDays_, &QComboBox::currentIndexChanged, this, &FrmPeriods::settingChanged);
    connect(cboMoon_, &QComboBox::currentIndexChanged, this, &FrmPeriods::settingChanged);
    connect(spnUncertainty_, &QSpinBox::valueChanged, this, &FrmPeriods::settingChanged);

    timeline_ = new PeriodTimeline(this);
    layout->addWidget(timeline_);

    auto* middle = new QHBoxLayout;
    auto* treeColumn = new QVBoxLayout;
    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("treePeriods"));
    tree_->setUniformRowHeights(true);
    tree_->setAlternatingRowColors(true);
    tree_->setAllColumnsShowFocus(true);
    tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree_->setFont(Verdana(8.25));
    {
        QPalette palette = tree_->palette();
        palette.setColor(QPalette::Base, QColor(look::PaleYellow));
        palette.setColor(QPalette::AlternateBase, QColor(look::PaleYellow).darker(106));
        palette.setColor(QPalette::Text, QColor(look::Black));
        palette.setColor(QPalette::WindowText, QColor(look::Brown));  // the branch arrows
        palette.setColor(QPalette::Highlight, QColor(look::Brown));
        palette.setColor(QPalette::HighlightedText, QColor(look::PaleYellow));
        palette.setColor(QPalette::Button, QColor(look::LightOrange));
        palette.setColor(QPalette::ButtonText, QColor(look::Black));
        tree_->setPalette(palette);
        tree_->header()->setPalette(palette);
    }
    treeColumn->addWidget(Caption(QStringLiteral("P&eriods (local time of the birth zone)"), tree_, this));
    treeColumn->addWidget(tree_, 1);
    middle->addLayout(treeColumn, 1);

    auto* frame = new CaptionFrame(QStringLiteral("Provenance"), this);
    frame->setObjectName(QStringLiteral("fraProvenance"));
    frame->setCaptionStyle(Verdana(9.75, true), look::PaleCyan);
    Paint(frame, look::White, look::Brown);
    provenanceFrame_ = frame;
    provenance_ = new QGridLayout(frame);
    provenance_->setContentsMargins(10, frame->captionHeight() + 6, 10, 10);
    provenance_->setVerticalSpacing(4);
    middle->addWidget(frame);
    layout->addLayout(middle, 1);
    conventions_ = new ConventionPanel(this);
    layout->addWidget(conventions_);
    connect(conventions_, &ConventionPanel::conventionChosen, this, [this](const Convention& chosen) {
        const QSignalBlocker a(cboAyanamsa_), y(cboYearDays_), m(cboMoon_);
        for (std::size_t i = 0; i < kAyanamsaChoices.size(); ++i) {
            if (kAyanamsaChoices[i].ayanamsa == chosen.ayanamsa) cboAyanamsa_->setCurrentIndex(static_cast<int>(i));
        }
        cboYearDays_->setCurrentIndex(cboYearDays_->findData(chosen.yearDays));
        cboMoon_->setCurrentIndex(static_cast<int>(chosen.moonPosition));
        settingChanged();
    });

    auto* buttons = new QHBoxLayout;
    QPushButton* goTo = Button("cmdGoToDate", QStringLiteral("&Go to date..."), this);
    QPushButton* calendar = Button("cmdExportCalendar", QStringLiteral("Export Ca&lendar (.ics)..."), this);
    QPushButton* table = Button("cmdExportTable", QStringLiteral("Export &Table (CSV)..."), this);
    QPushButton* pdf = Button("cmdSavePdf", QStringLiteral("Save as &PDF..."), this);
    QPushButton* print = Button("cmdPrint", QStringLiteral("P&rint..."), this);
    QPushButton* close = Button("cmdClose", QStringLiteral("&Close"), this);
    for (QPushButton* b : {goTo, calendar, table}) buttons->addWidget(b);
    buttons->addStretch(1);
    for (QPushButton* b : {pdf, print, close}) buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(goTo, &QPushButton::clicked, this, &FrmPeriods::cmdGoToDate_Click);
    connect(calendar, &QPushButton::clicked, this, &FrmPeriods::cmdExportCalendar_Click);
    connect(table, &QPushButton::clicked, this, &FrmPeriods::cmdExportTable_Click);
    connect(pdf, &QPushButton::clicked, this, &FrmPeriods::cmdSavePdf_Click);
    connect(print, &QPushButton::clicked, this, &FrmPeriods::cmdPrint_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    const std::array<QWidget*, 12> order = {cboAyanamsa_, cboYearDays_, cboMoon_, spnUncertainty_,
                                            tree_,        goTo,         calendar, table,
                                            pdf,          print,        close,    conventions_->toggle()};
    for (std::size_t i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
    resize(1120, 720);
}

void FrmPeriods::ShowReport(PreciseReport report) {
    PeriodModel* old = model_;
    QItemSelectionModel* oldSelection = tree_->selectionModel();
    model_ = new PeriodModel(std::move(report), classic_, this);
    tree_->setModel(model_);  // the view does not delete the old selection model
    delete oldSelection;
    delete old;
    timeline_->setReport(&model_->report());
    lblZone_->setText(QString::fromStdString(ZoneText(birth_)));
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree_->header()->setStretchLastSection(true);
    ShowProvenance();
    MarkToday();
    conventions_->setBirth(birth_, settings_, todayUtc_);
}

void FrmPeriods::ShowProvenance() {
    while (QLayoutItem* item = provenance_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    int row = 0;
    for (const auto& [caption, value] : ProvenanceLines(model_->report())) {
        auto* c = new QLabel(QString::fromStdString(caption), provenanceFrame_);
        c->setFont(Verdana(8.25, true));
        Paint(c, look::LightOrange, look::Brown);
        auto* v = new QLabel(QString::fromStdString(value), provenanceFrame_);
        v->setObjectName(QStringLiteral("lblProvenance_") + QString::number(row));
        v->setTextInteractionFlags(Qt::TextSelectableByMouse);
        v->setWordWrap(true);
        v->setMaximumWidth(260);
        Paint(v, look::PaleYellow, look::Brown);
        provenance_->addWidget(c, row, 0, Qt::AlignTop);
        provenance_->addWidget(v, row, 1, Qt::AlignTop);
        ++row;
    }
    provenance_->setRowStretch(row, 1);
}

void FrmPeriods::setToday(std::int64_t utcSeconds) {
    todayUtc_ = utcSeconds;
    MarkToday();
    conventions_->setBirth(birth_, settings_, todayUtc_);
}

void FrmPeriods::MarkToday() {
    const double today = TreeSeconds(model_->report().chart.tree, todayUtc_);
    model_->setRunningAt(today);
    timeline_->setToday(today);
    tree_->collapseAll();
    const std::vector<int>& chain = model_->running();
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) tree_->expand(model_->indexOfPeriod(chain[i]));
    if (!chain.empty()) {
        const QModelIndex last = model_->indexOfPeriod(chain.back());
        tree_->setCurrentIndex(last);
        tree_->scrollTo(last);
    }
}

void FrmPeriods::settingChanged() {
    PeriodsSettings next = settings_;
    next.ayanamsa = kAyanamsaChoices[static_cast<std::size_t>(std::max(0, cboAyanamsa_->currentIndex()))].ayanamsa;
    next.yearDays = cboYearDays_->currentData().toDouble();
    next.moonPosition = static_cast<MoonPosition>(std::max(0, cboMoon_->currentIndex()));
    next.uncertaintyMinutes = spnUncertainty_->value();
    PeriodsOutcome outcome = ComputePeriods(birth_, next);
    if (!outcome.report) {
        ShowMessage(this, {outcome.error, Icon::Error});
        // The controls go back to the settings the tree shows.
        const QSignalBlocker a(cboAyanamsa_), y(cboYearDays_), m(cboMoon_), u(spnUncertainty_);
        for (std::size_t i = 0; i < kAyanamsaChoices.size(); ++i) {
            if (kAyanamsaChoices[i].ayanamsa == settings_.ayanamsa) cboAyanamsa_->setCurrentIndex(static_cast<int>(i));
        }
        cboYearDays_->setCurrentIndex(cboYearDays_->findData(settings_.yearDays));
        cboMoon_->setCurrentIndex(static_cast<int>(settings_.moonPosition));
        spnUncertainty_->setValue(settings_.uncertaintyMinutes);
        return;
    }
    settings_ = next;
    ShowReport(std::move(*outcome.report));
}

bool FrmPeriods::goToLocal(CivilDateTime local) {
    const PreciseReport& report = model_->report();
    const UtcResult utc = UtcOfLocal(report.chart.birth, local, Fold::Earlier);
    if (!utc.utcSeconds) {
        ShowMessage(this, {utc.error, Icon::Error});
        return false;
    }
    const std::vector<int> chain =
        RunningChain(report.chart.tree, TreeSeconds(report.chart.tree, *utc.utcSeconds), report.chart.tree.request.levels);
    if (chain.empty()) {
        ShowMessage(this, {"No period runs on " + FormatCivil(local) + ": it lies outside the 120 years of the cycle.",
                           Icon::Information});
        return false;
    }
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) tree_->expand(model_->indexOfPeriod(chain[i]));
    const QModelIndex last = model_->indexOfPeriod(chain.back());
    tree_->setCurrentIndex(last);
    tree_->scrollTo(last, QAbstractItemView::PositionAtCenter);
    tree_->setFocus(Qt::OtherFocusReason);
    return true;
}

void FrmPeriods::cmdGoToDate_Click() {
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("dlgGoToDate"));
    dialog.setWindowTitle(QString::fromLatin1(kProgramTitle));
    Paint(&dialog, look::White, look::Brown);
    auto* layout = new QVBoxLayout(&dialog);
    auto* edit = new QDateTimeEdit(&dialog);
    edit->setObjectName(QStringLiteral("dtmGoTo"));
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    edit->setDateTimeRange(QDateTime(QDate(1700, 1, 1), QTime(0, 0)), QDateTime(QDate(2599, 12, 31), QTime(23, 59, 59)));
    const BirthInstant& birth = model_->report().chart.birth;
    const CivilDateTime now = CivilOfSeconds(todayUtc_ + UtcOffsetAt(birth, todayUtc_));
    edit->setDateTime(QDateTime(QDate(now.year, now.month, now.day), QTime(now.hour, now.minute, now.second)));
    Paint(edit, look::Black, look::PaleYellow);
    layout->addWidget(Caption(QStringLiteral("&Local time of the birth zone:"), edit, &dialog));
    layout->addWidget(edit);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    for (QAbstractButton* b : box->buttons()) PaintButton(b);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return;
    const QDateTime chosen = edit->dateTime();
    goToLocal({chosen.date().year(), chosen.date().month(), chosen.date().day(), chosen.time().hour(),
               chosen.time().minute(), chosen.time().second()});
}

void FrmPeriods::paintDocument(QPagedPaintDevice& device) const {
    QPainter painter(&device);
    if (!painter.isActive()) return;
    const QRect page(0, 0, device.width(), device.height());
    QFont font = Verdana(8);
    painter.setFont(font);
    const int line = painter.fontMetrics().height() * 5 / 4;
    const PreciseReport& report = model_->report();
    int y = 0;

    painter.setFont(Verdana(12, true));
    painter.setPen(QColor(look::Brown));
    painter.drawText(QRect(0, y, page.width(), 2 * line), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Precise Periods of %1").arg(QString::fromStdString(birth_.details.name)));
    y += 2 * line;
    painter.setFont(font);
    painter.setPen(QColor(look::Black));
    QString settings = QStringLiteral("Born %1, %2.  %3 ayanamsa, year of %4")
                           .arg(QString::fromStdString(FormatCivil(report.chart.birth.local)).replace(u'T', u' '),
                                QString::fromStdString(ZoneText(birth_)), cboAyanamsa_->currentText(),
                                YearDaysLabel(settings_.yearDays));
    if (settings_.uncertaintyMinutes > 0) {
        settings += QStringLiteral(", birth time within %1 minutes").arg(settings_.uncertaintyMinutes);
    }
    painter.drawText(QRect(0, y, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter, settings + u'.');
    y += line;
    const QRect timeline(0, y + line / 2, page.width(), 6 * painter.fontMetrics().height() + 24);
    timeline_->paintTimeline(painter, timeline);
    y = timeline.bottom() + line;

    painter.setPen(QColor(look::Black));
    const auto lines = ProvenanceLines(report);
    const int half = static_cast<int>(lines.size() + 1) / 2;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const int x = i < half ? 0 : page.width() / 2;
        const int rowY = y + (i % half) * line;
        painter.setFont(Verdana(8, true));
        painter.drawText(QRect(x, rowY, page.width() / 8, line), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromStdString(lines[static_cast<std::size_t>(i)].first));
        painter.setFont(font);
        painter.drawText(QRect(x + page.width() / 8, rowY, page.width() * 3 / 8, line), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromStdString(lines[static_cast<std::size_t>(i)].second));
    }
    y += half * line + line;

    // The tree's rows as they are expanded, the headings again on every page.
    static constexpr std::array<int, PeriodModel::ColumnCount> kShares = {20, 17, 17, 12, 12, 12, 10};  // percent
    std::array<int, PeriodModel::ColumnCount + 1> left{};
    for (std::size_t c = 0; c < kShares.size(); ++c) left[c + 1] = left[c] + page.width() * kShares[c] / 100;
    const int indent = painter.fontMetrics().horizontalAdvance(QStringLiteral("MM"));
    const auto headings = [&] {
        painter.setFont(Verdana(8, true));
        painter.fillRect(QRect(0, y, page.width(), line), QColor(look::LightOrange));
        for (int c = 0; c < PeriodModel::ColumnCount; ++c) {
            painter.drawText(QRect(left[c] + 4, y, left[c + 1] - left[c] - 8, line), Qt::AlignVCenter | Qt::AlignLeft,
                             model_->headerData(c, Qt::Horizontal).toString());
        }
        painter.setFont(font);
        y += line;
    };
    headings();
    std::vector<QModelIndex> rows;
    VisibleRows(*tree_, {}, rows);
    for (const QModelIndex& row : rows) {
        if (y + line > page.height()) {
            device.newPage();
            y = 0;
            headings();
        }
        int depth = 0;
        for (QModelIndex p = row.parent(); p.isValid(); p = p.parent()) ++depth;
        const bool running = row.data(PeriodModel::RunningRole).toBool();
        if (running) painter.fillRect(QRect(0, y, page.width(), line), QColor(look::PaleYellow));
        painter.setFont(running ? Verdana(8, true) : font);
        for (int c = 0; c < PeriodModel::ColumnCount; ++c) {
            const QModelIndex cell = row.siblingAtColumn(c);
            const int pad = c == 0 ? 4 + depth * indent : 4;
            painter.drawText(QRect(left[c] + pad, y, left[c + 1] - left[c] - pad - 4, line),
                             Qt::AlignVCenter | Qt::AlignLeft, cell.data().toString());
        }
        painter.setPen(QColor(look::LightOrange));
        painter.drawLine(0, y + line - 1, page.width(), y + line - 1);
        painter.setPen(QColor(look::Black));
        y += line;
    }
}

void FrmPeriods::cmdSavePdf_Click() {
    const auto path = ChoosePeriodsFile(this, QStringLiteral("PDF document (*.pdf)"), QStringLiteral("pdf"));
    if (!path) return;
    // Drawn into a file of our own first, then put in place whole by the report's save.
    QTemporaryDir folder;
    const QString drawn = folder.filePath(QStringLiteral("periods.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(drawn);
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setDocName(windowTitle());
        paintDocument(printer);
    }
    QFile file(drawn);
    if (!folder.isValid() || !file.open(QIODevice::ReadOnly)) {
        ShowMessage(this, {"The PDF could not be drawn: " + file.errorString().toStdString(), Icon::Error});
        return;
    }
    const QByteArray bytes = file.readAll();
    WritePeriodsFile(this, *path, bytes.toStdString(), "PDF");
}

void FrmPeriods::cmdPrint_Click() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QString::fromLatin1(kProgramTitle));
    if (dialog.exec() != QDialog::Accepted) return;
    paintDocument(printer);
}

void FrmPeriods::cmdExportCalendar_Click() {
    ExportPeriods(this, PeriodExport::Calendar, birth_, settings_, QDateTime::currentSecsSinceEpoch());
}

void FrmPeriods::cmdExportTable_Click() {
    ExportPeriods(this, PeriodExport::Table, birth_, settings_, QDateTime::currentSecsSinceEpoch());
}

}  // namespace orvanta
