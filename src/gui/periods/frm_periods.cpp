#include "gui/periods/frm_periods.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QTreeView>
#include <QVBoxLayout>

#include <array>

#include "core/dasha/dasha.h"
#include "gui/grahas/frm_chart.h"
#include "gui/kit/appearance.h"
#include "gui/kit/message_box.h"
#include "gui/periods/convention_panel.h"
#include "gui/periods/period_files.h"
#include "gui/periods/period_model.h"
#include "gui/periods/period_timeline.h"
#include "gui/periods/periods_document.h"
#include "gui/report/saved_files.h"

namespace orvanta {

namespace {

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

std::unique_ptr<FrmPeriods> FrmPeriods::Create(const PeriodsBirth& birth, const std::optional<DashaTable>& classic,
                                               QWidget* parent, std::string& error) {
    PeriodsSettings settings = RunPeriodsSettings();
    settings.levels = kMaxPeriodLevels;
    PeriodsOutcome outcome = ComputePeriods(birth, settings);
    if (!outcome.report) {
        error = outcome.error;
        return nullptr;
    }
    return std::unique_ptr<FrmPeriods>(new FrmPeriods(birth, classic, std::move(*outcome.report), parent));
}

FrmPeriods::FrmPeriods(const PeriodsBirth& birth, const std::optional<DashaTable>& classic, PreciseReport report,
                       QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      birth_(birth), classic_(classic), todayUtc_(QDateTime::currentSecsSinceEpoch()) {
    settings_ = RunPeriodsSettings();
    settings_.levels = kMaxPeriodLevels;
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
    // Everything scrolls as one where the screen is smaller than the window's least size
    // (a large scale factor); at any usual size no scroll bar shows.
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("periodsArea"));
    auto* layout = new QVBoxLayout(content);

    auto* heading = new QLabel(QStringLiteral("Precise Periods of %1").arg(QString::fromStdString(birth_.details.name)),
                               this);
    heading->setObjectName(QStringLiteral("lblHeading"));
    heading->setFont(Verdana(12, true, true));
    heading->setAlignment(Qt::AlignHCenter);
    Paint(heading, look::Yellow, look::Brown);
    layout->addWidget(heading);

    layout->addLayout(BuildSettings());
    lblNotes_ = new QLabel(this);
    lblNotes_->setObjectName(QStringLiteral("lblNotes"));
    lblNotes_->setWordWrap(true);
    lblNotes_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Paint(lblNotes_, look::PaleYellow, look::Brown);
    layout->addWidget(lblNotes_);

    timeline_ = new PeriodTimeline(this);
    layout->addWidget(timeline_);

    lblRunning_ = new QLabel(this);
    lblRunning_->setObjectName(QStringLiteral("lblRunning"));
    lblRunning_->setFont(Verdana(8.25, true));
    lblRunning_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Paint(lblRunning_, look::PaleYellow, look::Brown);
    layout->addWidget(lblRunning_);

    layout->addLayout(BuildPeriodsAndProvenance(), 1);
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

    BuildButtons(layout);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrPeriods"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->addWidget(scroll);
    FitScreen();
}

// The settings row: ayanamsa, year length, Moon, uncertainty and the zone read.
QHBoxLayout* FrmPeriods::BuildSettings() {
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
    ShowSettings();
    connect(cboAyanamsa_, &QComboBox::currentIndexChanged, this, &FrmPeriods::settingChanged);
    connect(cboYearDays_, &QComboBox::currentIndexChanged, this, &FrmPeriods::settingChanged);
    connect(cboMoon_, &QComboBox::currentIndexChanged, this, &FrmPeriods::settingChanged);
    connect(spnUncertainty_, &QSpinBox::valueChanged, this, &FrmPeriods::settingChanged);
    return settings;
}

// The period tree under its caption, beside the provenance frame.
QHBoxLayout* FrmPeriods::BuildPeriodsAndProvenance() {
    auto* middle = new QHBoxLayout;
    auto* treeColumn = new QVBoxLayout;
    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("treePeriods"));
    tree_->setUniformRowHeights(true);
    tree_->setAlternatingRowColors(true);
    tree_->setAllColumnsShowFocus(true);
    tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree_->setFont(Verdana(8.25));
    QPalette rows = PeriodRows(tree_->palette());
    rows.setColor(QPalette::WindowText, QColor(look::Brown));  // the branch arrows
    tree_->setPalette(rows);
    tree_->header()->setPalette(rows);
    treeColumn->addWidget(Caption(QStringLiteral("P&eriods (local time of the birth zone)"), tree_, this));
    treeColumn->addWidget(tree_, 1);
    middle->addLayout(treeColumn, 1);

    CaptionFrame* frame = Frame(QStringLiteral("fraProvenance"), QStringLiteral("Provenance"),
                                Colours(look::White, look::Brown), this, look::PaleCyan);
    provenanceFrame_ = frame;
    provenance_ = new QGridLayout(frame);
    provenance_->setContentsMargins(10, frame->captionHeight() + 6, 10, 10);
    provenance_->setVerticalSpacing(4);
    middle->addWidget(frame);
    return middle;
}

// The commands along the bottom of `column`, in the order Tab reaches them after the tree
// (set once they are in the column, which holds the boxes above them).
void FrmPeriods::BuildButtons(QBoxLayout* column) {
    auto* buttons = new QHBoxLayout;
    QPushButton* goTo = Button("cmdGoToDate", QStringLiteral("&Go to date..."), this);
    QPushButton* expand = Button("cmdExpandAll", QStringLiteral("E&xpand All"), this);
    QPushButton* collapse = Button("cmdCollapseAll", QStringLiteral("C&ollapse All"), this);
    QPushButton* calendar = Button("cmdExportCalendar", QStringLiteral("Export Ca&lendar (.ics)..."), this);
    QPushButton* table = Button("cmdExportTable", QStringLiteral("Export &Table (CSV)..."), this);
    QPushButton* chart = Button("cmdBirthChart", QStringLiteral("Birth C&hart..."), this);
    QPushButton* pdf = Button("cmdSavePdf", QStringLiteral("Save as &PDF..."), this);
    QPushButton* print = Button("cmdPrint", QStringLiteral("P&rint..."), this);
    QPushButton* close = Button("cmdClose", QStringLiteral("&Close"), this);
    for (QPushButton* b : {goTo, expand, collapse, calendar, table, chart}) buttons->addWidget(b);
    buttons->addStretch(1);
    for (QPushButton* b : {pdf, print, close}) buttons->addWidget(b);
    connect(goTo, &QPushButton::clicked, this, &FrmPeriods::cmdGoToDate_Click);
    connect(expand, &QPushButton::clicked, tree_, &QTreeView::expandAll);
    connect(collapse, &QPushButton::clicked, tree_, &QTreeView::collapseAll);
    connect(calendar, &QPushButton::clicked, this, &FrmPeriods::cmdExportCalendar_Click);
    connect(table, &QPushButton::clicked, this, &FrmPeriods::cmdExportTable_Click);
    connect(chart, &QPushButton::clicked, this, &FrmPeriods::cmdBirthChart_Click);
    connect(pdf, &QPushButton::clicked, this, &FrmPeriods::cmdSavePdf_Click);
    connect(print, &QPushButton::clicked, this, &FrmPeriods::cmdPrint_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    column->addLayout(buttons);
    const std::array<QWidget*, 15> order = {cboAyanamsa_, cboYearDays_, cboMoon_, spnUncertainty_, tree_,
                                            goTo,         expand,       collapse, calendar,        table,
                                            chart,        pdf,          print,    close,           conventions_->toggle()};
    for (std::size_t i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
}

// As designed, 1120 by 720, but never larger than the screen's free area, the frame
// included, and placed inside it.
void FrmPeriods::FitScreen() {
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        resize(1120, 720);
        return;
    }
    const QRect free = screen->availableGeometry();
    const QSize frame(16, 40);  // the window manager's borders and title bar, about
    const QSize size(std::min(1120, free.width() - frame.width()), std::min(720, free.height() - frame.height()));
    resize(size);
    QRect placed(QPoint(0, 0), size + frame);
    placed.moveCenter(free.center());
    move(placed.topLeft());
}

// Column widths from the widest text each can hold, measured once: sizing to contents
// measures every shown row.
void FrmPeriods::FitColumns() {
    const QFontMetrics bold(Verdana(8.25, true));
    const auto width = [&](const QString& text) { return bold.horizontalAdvance(text) + 16; };
    QHeaderView* header = tree_->header();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(true);
    const QString instant = QStringLiteral("0000-00-00 00:00:00");
    const std::array<int, PeriodModel::ColumnCount> widths = {
        tree_->indentation() * kMaxPeriodLevels + width(QStringLiteral("Mercury")),
        width(model_->report().window ? instant + QStringLiteral(" .. ") + instant : instant),
        width(instant),
        width(QStringLiteral("00y 00m 00d")),
        width(QStringLiteral("Age at start")),
        width(QStringLiteral("Classic start")),
        width(QStringLiteral("Days from classic"))};
    for (int c = 0; c < PeriodModel::ColumnCount; ++c) header->resizeSection(c, widths[static_cast<std::size_t>(c)]);
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
    FitColumns();
    ShowProvenance();
    ShowNotes();
    MarkToday();
    conventions_->setBirth(birth_, settings_, todayUtc_);
}

void FrmPeriods::setClassicMissing(const std::string& reason) {
    classicMissing_ = reason;
    ShowNotes();
}

QString FrmPeriods::notes() const {
    QStringList lines;
    if (!classicMissing_.empty()) {
        lines << QStringLiteral("The classic columns are empty: the classic reading was not run. ") +
                     QString::fromStdString(classicMissing_);
    } else if (const auto difference = InstantDifference(birth_, model_->report())) {
        lines << QString::fromStdString(*difference);
    }
    if (const auto change = NakshatraChangeText(model_->report())) lines << QString::fromStdString(*change);
    return lines.join(u'\n');
}

void FrmPeriods::ShowNotes() {
    const QString text = notes();
    lblNotes_->setText(text);
    lblNotes_->setVisible(!text.isEmpty());
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
    ShowRunning();
}

QString FrmPeriods::runningLine() const {
    const PreciseReport& report = model_->report();
    const PeriodTree& tree = report.chart.tree;
    const BirthInstant& birth = report.chart.birth;
    const auto at = [&](const std::vector<int>& chain) {
        return chain.empty() ? QStringLiteral("no period (outside the 120 years)")
                             : QString::fromStdString(ChainText(tree, chain));
    };
    std::string today = FormatCivil(CivilOfSeconds(todayUtc_ + UtcOffsetAt(birth, todayUtc_))).substr(0, 10);
    QString line = QStringLiteral("Today, %1: %2").arg(QString::fromStdString(today), at(model_->running()));
    if (goneTo_) {
        const UtcResult utc = UtcOfLocal(birth, *goneTo_, Fold::Earlier);
        if (utc.utcSeconds) {
            std::string when = FormatCivil(*goneTo_);
            when[10] = ' ';
            line += QStringLiteral("\nOn %1: %2").arg(QString::fromStdString(when),
                                                     at(RunningChain(tree, TreeSeconds(tree, *utc.utcSeconds),
                                                                     tree.request.levels)));
        }
    }
    return line;
}

void FrmPeriods::ShowRunning() { lblRunning_->setText(runningLine()); }

void FrmPeriods::settingChanged() {
    PeriodsSettings next = settings_;
    next.ayanamsa = kAyanamsaChoices[static_cast<std::size_t>(std::max(0, cboAyanamsa_->currentIndex()))].ayanamsa;
    next.yearDays = cboYearDays_->currentData().toDouble();
    next.moonPosition = static_cast<MoonPosition>(std::max(0, cboMoon_->currentIndex()));
    next.uncertaintyMinutes = spnUncertainty_->value();
    PeriodsOutcome outcome = ComputePeriods(birth_, next);
    if (!outcome.report) {
        ShowMessage(this, {outcome.error, Icon::Error});
        ShowSettings();  // the controls go back to the settings the tree shows
        return;
    }
    settings_ = next;
    // Kept for the run: the next opening and the results window's exports use them.
    PeriodsSettings& kept = RunPeriodsSettings();
    kept.ayanamsa = next.ayanamsa;
    kept.yearDays = next.yearDays;
    kept.uncertaintyMinutes = next.uncertaintyMinutes;
    ShowReport(std::move(*outcome.report));
}

void FrmPeriods::ShowSettings() {
    const QSignalBlocker a(cboAyanamsa_), y(cboYearDays_), m(cboMoon_), u(spnUncertainty_);
    for (std::size_t i = 0; i < kAyanamsaChoices.size(); ++i) {
        if (kAyanamsaChoices[i].ayanamsa == settings_.ayanamsa) cboAyanamsa_->setCurrentIndex(static_cast<int>(i));
    }
    cboYearDays_->setCurrentIndex(cboYearDays_->findData(settings_.yearDays));
    cboMoon_->setCurrentIndex(static_cast<int>(settings_.moonPosition));
    spnUncertainty_->setValue(settings_.uncertaintyMinutes);
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
    goneTo_ = local;
    ShowRunning();
    return true;
}

void FrmPeriods::cmdGoToDate_Click() {
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("dlgGoToDate"));
    dialog.setWindowTitle(QString::fromLatin1(kProgramTitle));
    Paint(&dialog, look::White, look::Brown);
    auto* layout = new QVBoxLayout(&dialog);
    // A plain text box: what is typed, pasted or replaced is what is read.
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName(QStringLiteral("txtGoTo"));
    edit->setMaxLength(40);
    edit->setPlaceholderText(QStringLiteral("YYYY-MM-DD HH:MM:SS"));
    const BirthInstant& birth = model_->report().chart.birth;
    std::string now = FormatCivil(CivilOfSeconds(todayUtc_ + UtcOffsetAt(birth, todayUtc_)));
    now[10] = ' ';
    edit->setText(QString::fromStdString(now));
    edit->selectAll();
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + 24);
    Paint(edit, look::Black, look::PaleYellow);
    layout->addWidget(Caption(QStringLiteral("&Local time of the birth zone (YYYY-MM-DD HH:MM:SS):"), edit, &dialog));
    layout->addWidget(edit);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    for (QAbstractButton* b : box->buttons()) PaintButton(b);
    layout->addWidget(box);
    std::optional<CivilDateTime> chosen;
    connect(box, &QDialogButtonBox::accepted, &dialog, [&] {
        chosen = ReadCivil(edit->text().toStdString());
        if (!chosen) {
            ShowMessage(&dialog, {"\"" + edit->text().toStdString() +
                                      "\" is not a date and time of the calendar: type it as 2001-09-11 08:46:00 "
                                      "(the seconds, or the whole time, may be left out).",
                                  Icon::Error});
            edit->setFocus(Qt::OtherFocusReason);
            return;
        }
        dialog.accept();
    });
    connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted || !chosen) return;
    goToLocal(*chosen);
}

bool FrmPeriods::paintDocument(QPagedPaintDevice& device) const {
    std::vector<QModelIndex> rows;
    VisibleRows(*tree_, {}, rows);
    const PeriodsDocument::Heading heading{QString::fromStdString(birth_.details.name),
                                           QString::fromStdString(ZoneText(birth_)), cboAyanamsa_->currentText(),
                                           YearDaysLabel(settings_.yearDays), settings_.uncertaintyMinutes};
    return PeriodsDocument(*model_, *timeline_, std::move(rows), heading, notes(), runningLine(), todayUtc_).paint(device);
}

void FrmPeriods::cmdSavePdf_Click() {
    const auto path = ChooseSavePath(this, QStringLiteral("PDF document (*.pdf)"), QStringLiteral("pdf"));
    if (!path) return;
    QPrinter printer(QPrinter::HighResolution);  // the page size of the system's locale
    printer.setPageOrientation(QPageLayout::Landscape);
    SavePdf(*path, printer.pageLayout(), printer.resolution());
}

bool FrmPeriods::SavePdf(const QString& path, const QPageLayout& layout, int resolution) {
    return SavePdfOrSay(
        this, path, layout, resolution, windowTitle(),
        [this](QPagedPaintDevice& device) { return paintDocument(device); }, "periods", "PDF");
}

void FrmPeriods::cmdPrint_Click() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printWithDialog(printer);
}

bool FrmPeriods::printWithDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QString::fromLatin1(kProgramTitle));
    if (dialog.exec() != QDialog::Accepted) return false;
    // "Print to file" is a file the window writes: whole or not at all, as Save as PDF.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        return SavePdf(printer.outputFileName(), printer.pageLayout(), printer.resolution());
    }
    if (paintDocument(printer)) return true;
    ShowMessage(this, {"The periods could not be printed.", Icon::Error});
    return false;
}

void FrmPeriods::cmdExportCalendar_Click() {
    ExportPeriods(this, PeriodExport::Calendar, birth_, settings_, QDateTime::currentSecsSinceEpoch());
}

void FrmPeriods::cmdBirthChart_Click() {
    const QVariant period = tree_->currentIndex().data(PeriodModel::PeriodIndexRole);
    if (!period.isValid()) {
        // No row chosen: the periods running today, in this window's settings.
        OpenBirthChartAt(this, model_->report().chart, QString::fromStdString(birth_.details.name), todayUtc_);
        return;
    }
    const Period& p = model_->report().chart.tree.periods[static_cast<std::size_t>(period.toInt())];
    OpenBirthChart(this, model_->report().chart, QString::fromStdString(birth_.details.name),
                   std::vector<int>(p.lords.begin(), p.lords.begin() + p.level), QStringLiteral("the selected period"));
}

void FrmPeriods::cmdExportTable_Click() {
    ExportPeriods(this, PeriodExport::Table, birth_, settings_, QDateTime::currentSecsSinceEpoch());
}

}  // namespace orvanta
