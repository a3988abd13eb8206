#include "gui/chart/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <exception>

#include "gui/astro/frm_time_zone.h"
#include "gui/chart/birth_files.h"
#ifdef ORVANTA_HAVE_ATLAS
#include "gui/chart/place_attachment.h"
#endif
#include "core/chart/computation_run.h"
#include "core/chart/coordinate_search.h"
#include "core/kit/text.h"
#include "gui/chart/key_filter.h"
#include "gui/display/frm_display.h"
#include "gui/kit/appearance.h"
#include "gui/kit/link_menus.h"
#include "gui/kit/message_box.h"
#include "gui/kit/web_links.h"
#include "gui/periods/frm_periods.h"

namespace orvanta {

namespace {

// The seconds list's entry, "0" .. "59"; the classic run never reads it, the precise
// periods do.
int SecondOfForm(const BirthForm& form) {
    const int second = QString::fromStdString(form.second).toInt();
    return second >= 0 && second <= 59 ? second : 0;
}

QLabel* Caption(const QString& text, QWidget* parent, QRgb colour = look::LightOrange) {
    auto* label = new QLabel(text, parent);
    label->setFont(Verdana(9, true));
    Paint(label, colour, look::Brown);
    return label;
}

QLineEdit* TextBox(const char* name, const QString& text, int width, QWidget* parent) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFont(Verdana(9));
    Paint(box, look::Black, look::PaleYellow);
    if (width > 0) box->setFixedWidth(width);
    return box;
}

// A selection-only list as wide as `widest` characters: sized from that, not by measuring
// every entry (the year list has 150), which keeps the window quick to open.
QComboBox* List(const char* name, int widest, QWidget* parent) {
    auto* list = new QComboBox(parent);  // not editable: the user can only pick an entry
    list->setObjectName(QString::fromLatin1(name));
    list->setFont(Verdana(9));
    list->setMaxVisibleItems(16);
    // Styles that open a list as a popup over its current entry (Fusion among them) ignore
    // the row count and make the 150 years a screen-high popup; this keeps a list of 16
    // rows below the box, with the scroll bar that such a popup leaves out.
    list->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    list->view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(widest);
    list->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    Paint(list, look::Black, look::PaleYellow);
    return list;
}

void Select(QComboBox* list, const std::string& entry) { list->setCurrentIndex(list->findText(QString::fromStdString(entry))); }

CaptionFrame* Frame(const char* name, const QString& caption, QWidget* parent) {
    return orvanta::Frame(QString::fromLatin1(name), caption, Colours(look::LightOrange, look::Brown), parent);
}

QRadioButton* Option(const char* name, const QString& caption, QWidget* parent) {
    auto* option = new QRadioButton(caption, parent);
    option->setObjectName(QString::fromLatin1(name));
    option->setFont(Verdana(9, true));
    PaintCheck(option);
    return option;
}

// The degrees and minutes of a latitude or longitude above its two hemispheres.
void FillPlaceFrame(CaptionFrame* frame, QLineEdit* degrees, QLineEdit* minutes,
                    const std::array<QRadioButton*, 2>& options) {
    auto* placeGrid = new QGridLayout(frame);
    placeGrid->setContentsMargins(12, frame->captionHeight() + 6, 12, 10);
    placeGrid->setHorizontalSpacing(8);
    placeGrid->setVerticalSpacing(6);
    placeGrid->addWidget(Caption(QStringLiteral("Deg"), frame), 0, 0);
    placeGrid->addWidget(degrees, 0, 1);
    placeGrid->addWidget(Caption(QStringLiteral("Min"), frame), 0, 2);
    placeGrid->addWidget(minutes, 0, 3);
    placeGrid->addWidget(options[0], 1, 0, 1, 2);
    placeGrid->addWidget(options[1], 1, 2, 1, 2);
    placeGrid->setColumnStretch(4, 1);
}

}  // namespace

FrmMain::FrmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(kWindowCaption));
    BuildWindow();
    BuildMenus();
    Form_Load();
}

FrmMain::~FrmMain() { delete display_.data(); }

FrmDisplay* FrmMain::resultsWindow() const { return display_.data(); }

std::optional<Place> FrmMain::attachedPlace() const {
#ifdef ORVANTA_HAVE_ATLAS
    return atlas_->attached();
#else
    return std::nullopt;
#endif
}

void FrmMain::BuildWindow() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("mainArea"));
    central->setAutoFillBackground(true);
    Paint(central, look::LightOrange, look::Brown);
    Paint(this, look::LightOrange, look::Brown);
    setCentralWidget(central);

    lblVM_ = new QLabel(QStringLiteral("Vimshottari Dasha"), central);
    lblVM_->setObjectName(QStringLiteral("lblVM"));
    lblVM_->setFont(Verdana(14, true, true));
    lblVM_->setAlignment(Qt::AlignCenter);
    Paint(lblVM_, look::Yellow, look::Brown);

    lblVMD_ = new QLabel(Text(MainWindowDescription()), central);
    lblVMD_->setObjectName(QStringLiteral("lblVMD"));
    lblVMD_->setFont(Verdana(8.25));
    lblVMD_->setWordWrap(true);
    lblVMD_->setAlignment(Qt::AlignJustify | Qt::AlignTop);
    Paint(lblVMD_, look::PaleYellow, look::Brown);

    CaptionFrame* birth = BuildBirthDetails(central);
    auto* latitude = BuildLatitude(central);
    auto* longitude = BuildLongitude(central);
    CaptionFrame* search = BuildSearch(central);

    cmdRashi_ = Button("cmdRashi", QStringLiteral("Get My Vimshottari Dasha Reading"), central, 9);
    cmdRashi_->setFont(Verdana(11, true));
    cmdRashi_->setMinimumHeight(36);
    connect(cmdRashi_, &QPushButton::clicked, this, &FrmMain::cmdRashi_Click);

    lblVisit_ = Caption(QStringLiteral("Visit us online for more free Vedic astrology software"), central, look::PaleCyan);
    lblVisit_->setObjectName(QStringLiteral("lblVisit"));
    lblVisit_->setFont(Verdana(8.25, false, true));
    lblVisit_->setAlignment(Qt::AlignCenter);
    lblVisit_->setCursor(Qt::PointingHandCursor);
    lblVisit_->installEventFilter(this);

    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(14, 8, 14, 10);
    column->setSpacing(10);
    column->addWidget(lblVM_);
    column->addWidget(lblVMD_);
    column->addWidget(birth);
    auto* places = new QHBoxLayout;
    places->setSpacing(10);
    places->addWidget(latitude);
    places->addWidget(longitude);
    column->addLayout(places);
    column->addWidget(search);
#ifdef ORVANTA_HAVE_ATLAS
    column->addWidget(atlas_->statusLabel());
#endif
    column->addWidget(cmdRashi_);
    column->addWidget(lblVisit_);
    lblVMD_->setFixedWidth(600);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    WriteBoxes(BirthForm{});

    for (const FilteredBox& filtered : FilteredBoxes()) {
        filtered.box->installEventFilter(this);
        new PasteGuard(filtered.box, filtered.control, this);
    }

    const std::array<QWidget*, 21> tabOrder = {
        txtName_, cboMonth_, cboDate_, cboYear_, cboHH_, cboMM_, cboSS_, txtZoneHour_, txtZoneMinute_, chkDST_,
        txtLatD_, txtLatM_, optLat_[0], txtLonD_, txtLonM_, optLong_[0], txtMCity_, txtMState_, txtMCountry_,
        cmdBrowser_, cmdRashi_};
    for (std::size_t i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
#ifdef ORVANTA_HAVE_ATLAS
    setTabOrder(cmdBrowser_, atlas_->button());
    setTabOrder(atlas_->button(), cmdRashi_);
#endif
}

// The name, date, time and zone of the birth.
CaptionFrame* FrmMain::BuildBirthDetails(QWidget* parent) {
    CaptionFrame* birth = Frame("fraBirth", QStringLiteral("Birth Details"), parent);
    txtName_ = TextBox("txtName", {}, 0, birth);
    // The date and the time share their columns' widths: "September", then four digits.
    cboMonth_ = List("cboMonth", 9, birth);
    cboDate_ = List("cboDate", 4, birth);
    cboYear_ = List("cboYear", 4, birth);
    cboHH_ = List("cboHH", 9, birth);
    cboMM_ = List("cboMM", 4, birth);
    cboSS_ = List("cboSS", 4, birth);

    auto* fraZone = Frame("fraZone", {}, birth);
    txtZoneHour_ = TextBox("txtZoneHour", {}, 44, fraZone);
    txtZoneMinute_ = TextBox("txtZoneMinute", {}, 36, fraZone);
    auto* zoneRow = new QHBoxLayout(fraZone);
    zoneRow->setContentsMargins(8, 5, 8, 5);
    zoneRow->addWidget(Caption(QStringLiteral("Hour"), fraZone));
    zoneRow->addWidget(txtZoneHour_);
    zoneRow->addSpacing(8);
    zoneRow->addWidget(Caption(QStringLiteral("Min"), fraZone));
    zoneRow->addWidget(txtZoneMinute_);

    chkDST_ = new QCheckBox(QStringLiteral("DST"), birth);
    chkDST_->setObjectName(QStringLiteral("chkDST"));
    chkDST_->setFont(Verdana(9, true));
    PaintCheck(chkDST_);
    lblTZHelp_ = Caption(QStringLiteral("TZ Help"), birth, look::PaleCyan);
    lblTZHelp_->setObjectName(QStringLiteral("lblTZHelp"));
    lblTZHelp_->setFont(Verdana(9, true, true));
    lblTZHelp_->setCursor(Qt::PointingHandCursor);
    lblTZHelp_->setToolTip(QStringLiteral("Pick your time zone from a list"));
    lblTZHelp_->installEventFilter(this);

    auto* grid = new QGridLayout(birth);
    grid->setContentsMargins(12, birth->captionHeight() + 6, 12, 10);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    grid->addWidget(Caption(QStringLiteral("Name"), birth), 0, 0);
    grid->addWidget(txtName_, 0, 1, 1, 5);
    grid->addWidget(Caption(QStringLiteral("Date of Birth"), birth), 1, 0);
    grid->addWidget(cboMonth_, 1, 1);
    grid->addWidget(cboDate_, 1, 2);
    grid->addWidget(cboYear_, 1, 3);
    grid->addWidget(Caption(QStringLiteral("Time of Birth"), birth), 2, 0);
    grid->addWidget(cboHH_, 2, 1);
    grid->addWidget(cboMM_, 2, 2);
    grid->addWidget(cboSS_, 2, 3);
    grid->addWidget(Caption(QStringLiteral("HH:MM:SS"), birth), 2, 4, 1, 2);
    grid->addWidget(Caption(QStringLiteral("Zone"), birth), 3, 0);
    grid->addWidget(fraZone, 3, 1, 1, 3);
    grid->addWidget(chkDST_, 3, 4);
    grid->addWidget(lblTZHelp_, 3, 5, Qt::AlignLeft);
    grid->setColumnStretch(5, 1);
    return birth;
}

// The latitude's degrees, minutes and hemisphere; the longitude's below.
CaptionFrame* FrmMain::BuildLatitude(QWidget* parent) {
    CaptionFrame* latitude = Frame("fraLatitude", QStringLiteral("Latitude"), parent);
    txtLatD_ = TextBox("txtLatD", {}, 36, latitude);
    txtLatM_ = TextBox("txtLatM", {}, 36, latitude);
    optLat_ = {Option("optLat_0", QStringLiteral("North"), latitude), Option("optLat_1", QStringLiteral("South"), latitude)};
    FillPlaceFrame(latitude, txtLatD_, txtLatM_, optLat_);
    return latitude;
}

CaptionFrame* FrmMain::BuildLongitude(QWidget* parent) {
    CaptionFrame* longitude = Frame("fraLongitude", QStringLiteral("Longitude"), parent);
    txtLonD_ = TextBox("txtLonD", {}, 44, longitude);
    txtLonM_ = TextBox("txtLonM", {}, 36, longitude);
    optLong_ = {Option("optLong_0", QStringLiteral("East"), longitude), Option("optLong_1", QStringLiteral("West"), longitude)};
    FillPlaceFrame(longitude, txtLonD_, txtLonM_, optLong_);
    return longitude;
}

// The coordinate search: city, state and country, and the buttons that look them up.
CaptionFrame* FrmMain::BuildSearch(QWidget* parent) {
    auto* search = Frame("fraSearch", QStringLiteral("Do Not Know The Latitude and Longitude?"), parent);
    txtMCity_ = TextBox("txtMCity", {}, 0, search);
    txtMState_ = TextBox("txtMState", {}, 0, search);
    txtMCountry_ = TextBox("txtMCountry", {}, 0, search);
    cmdBrowser_ = Button("cmdBrowser", QStringLiteral("Click Here To Find Latitude && Longitude"), search, 9);
    auto* searchGrid = new QGridLayout(search);
    searchGrid->setContentsMargins(12, search->captionHeight() + 6, 12, 10);
    searchGrid->setHorizontalSpacing(8);
    searchGrid->setVerticalSpacing(8);
    searchGrid->addWidget(Caption(QStringLiteral("City"), search), 0, 0);
    searchGrid->addWidget(txtMCity_, 0, 1);
    searchGrid->addWidget(Caption(QStringLiteral("State"), search), 0, 2);
    searchGrid->addWidget(txtMState_, 0, 3);
    searchGrid->addWidget(Caption(QStringLiteral("Country"), search), 0, 4);
    searchGrid->addWidget(txtMCountry_, 0, 5);
    auto* searchButtons = new QHBoxLayout;
    searchButtons->addWidget(cmdBrowser_);
#ifdef ORVANTA_HAVE_ATLAS
    atlas_ = new PlaceAttachment(this);
    searchButtons->addWidget(atlas_->button());
#endif
    searchGrid->addLayout(searchButtons, 1, 0, 1, 6, Qt::AlignHCenter);
    connect(cmdBrowser_, &QPushButton::clicked, this, &FrmMain::cmdBrowser_Click);
    return search;
}

void FrmMain::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    auto* next = file->addAction(QStringLiteral("Get My Vimshottari Dasha Reading"));
    next->setObjectName(QStringLiteral("mnuNext"));
    connect(next, &QAction::triggered, this, &FrmMain::mnuNext_Click);
#ifdef ORVANTA_HAVE_ATLAS
    file->addAction(atlas_->menuAction());
#endif
    // The precise periods straight from the form.
    auto* periods = file->addAction(QStringLiteral("Precise &Periods..."));
    periods->setObjectName(QStringLiteral("mnuPrecisePeriods"));
    connect(periods, &QAction::triggered, this, &FrmMain::mnuPrecisePeriods_Click);
    // Birth files: open, save, save as.
    files_ = new BirthFiles(this);
    file->addSeparator();
    file->addAction(files_->openAction());
    file->addAction(files_->saveAction());
    file->addAction(files_->saveAsAction());
    file->addSeparator();
    auto* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("mnuExit"));
    connect(exit, &QAction::triggered, this, &FrmMain::mnuExit_Click);
    new LinkMenus(menuBar(), this);
}

void FrmMain::Form_Load() {
    const std::array<std::pair<QComboBox*, const std::vector<std::string>*>, 6> lists = {{
        {cboMonth_, &MonthEntries()},
        {cboDate_, &DayEntries()},
        {cboYear_, &YearEntries()},
        {cboHH_, &HourEntries()},
        {cboMM_, &MinuteEntries()},
        {cboSS_, &MinuteEntries()},
    }};
    for (const auto& [list, entries] : lists) {
        QStringList items;
        items.reserve(static_cast<qsizetype>(entries->size()));
        for (const auto& entry : *entries) items << QString::fromStdString(entry);
        list->clear();
        list->addItems(items);
    }
    WriteLists(BirthForm{});
    texts_ = LoadInterpretationTexts();
}

BirthForm FrmMain::ReadForm() const {
    BirthForm form;
    form.name = txtName_->text().toStdString();
    form.month = cboMonth_->currentText().toStdString();
    form.day = cboDate_->currentText().toStdString();
    form.year = cboYear_->currentText().toStdString();
    form.hour = cboHH_->currentText().toStdString();
    form.minute = cboMM_->currentText().toStdString();
    form.second = cboSS_->currentText().toStdString();
    form.zoneHour = txtZoneHour_->text().toStdString();
    form.zoneMinute = txtZoneMinute_->text().toStdString();
    form.dst = chkDST_->isChecked();
    form.latD = txtLatD_->text().toStdString();
    form.latM = txtLatM_->text().toStdString();
    form.south = optLat_[1]->isChecked();
    form.lonD = txtLonD_->text().toStdString();
    form.lonM = txtLonM_->text().toStdString();
    form.west = optLong_[1]->isChecked();
    return form;
}

void FrmMain::WriteBoxes(const BirthForm& form) {
    txtName_->setText(QString::fromStdString(form.name));
    txtZoneHour_->setText(QString::fromStdString(form.zoneHour));
    txtZoneMinute_->setText(QString::fromStdString(form.zoneMinute));
    chkDST_->setChecked(form.dst);
    txtLatD_->setText(QString::fromStdString(form.latD));
    txtLatM_->setText(QString::fromStdString(form.latM));
    optLat_[form.south ? 1 : 0]->setChecked(true);
    txtLonD_->setText(QString::fromStdString(form.lonD));
    txtLonM_->setText(QString::fromStdString(form.lonM));
    optLong_[form.west ? 1 : 0]->setChecked(true);
}

void FrmMain::WriteLists(const BirthForm& form) {
    Select(cboMonth_, form.month);
    Select(cboDate_, form.day);
    Select(cboYear_, form.year);
    Select(cboHH_, form.hour);
    Select(cboMM_, form.minute);
    Select(cboSS_, form.second);
}

std::array<FrmMain::FilteredBox, 7> FrmMain::FilteredBoxes() const {
    return {{
        {txtName_, Control::txtName, &FrmMain::txtName_KeyPress},
        {txtZoneHour_, Control::txtZoneHour, &FrmMain::txtZoneHour_KeyPress},
        {txtZoneMinute_, Control::txtZoneMinute, &FrmMain::txtZoneMinute_KeyPress},
        {txtLatD_, Control::txtLatD, &FrmMain::txtLatD_KeyPress},
        {txtLatM_, Control::txtLatM, &FrmMain::txtLatM_KeyPress},
        {txtLonD_, Control::txtLonD, &FrmMain::txtLonD_KeyPress},
        {txtLonM_, Control::txtLonM, &FrmMain::txtLonM_KeyPress},
    }};
}

QLineEdit* FrmMain::Box(Control control) const {
    switch (control) {
    case Control::txtName: return txtName_;
    case Control::txtZoneHour: return txtZoneHour_;
    case Control::txtZoneMinute: return txtZoneMinute_;
    case Control::txtLatD: return txtLatD_;
    case Control::txtLatM: return txtLatM_;
    case Control::txtLonD: return txtLonD_;
    case Control::txtLonM: return txtLonM_;
    case Control::txtMCity: return txtMCity_;
    case Control::txtMState: return txtMState_;
    case Control::txtMCountry: return txtMCountry_;
    case Control::None: return nullptr;
    }
    return nullptr;
}

void FrmMain::ShowMessageAndFocus(const Message& message) {
    ShowMessage(this, message);
    if (QLineEdit* box = Box(message.focus)) box->setFocus(Qt::OtherFocusReason);
}

std::optional<AttachedPlace> FrmMain::PeriodsPlace() const {
#ifdef ORVANTA_HAVE_ATLAS
    if (const std::optional<Place> attached = atlas_->attached()) {
        return AttachedPlace{attached->latitude, attached->longitude, attached->timeZone, atlas_->fold()};
    }
#endif
    return std::nullopt;
}

std::optional<std::string> FrmMain::ClassicRefusal() const {
#ifdef ORVANTA_HAVE_ATLAS
    return atlas_->classicRefusal();
#else
    return std::nullopt;
#endif
}

void FrmMain::cmdRashi_Click() {
    // The zone boxes are not the attached place's: the classic reading would be another birth.
    if (const auto refusal = ClassicRefusal()) {
        ShowMessage(this, Message{*refusal, Icon::Information, Control::None});
        return;
    }
    RunOutcome outcome;
    try {
        outcome = RunChart(ReadForm());
    } catch (const std::exception& error) {
        // The engine is not expected to throw; if it ever does, the form stays as it is.
        ShowMessage(this, Message{std::string("The chart could not be computed: ") + error.what(), Icon::Error,
                                  Control::None});
        return;
    }
    if (outcome.rejection) {
        ShowMessageAndFocus(*outcome.rejection);
        return;
    }
    if (!outcome.computed()) return;  // the lists hold nothing but their entries
    if (display_) {  // only reachable when a run is started while results are open
        display_->disconnect(this);
        display_->close();
    }
    auto* display = new FrmDisplay(outcome.chart, texts_);
    display->setPreciseBirth({outcome.chart.birth, SecondOfForm(ReadForm()), PeriodsPlace()});
    display->setAttribute(Qt::WA_DeleteOnClose);
    connect(display, &FrmDisplay::backRequested, this, &FrmMain::DisplayClosedByBack);
    connect(display, &FrmDisplay::exitRequested, this, &FrmMain::EndProgram);
    display_ = display;
    display->show();
    hide();
}

void FrmMain::mnuNext_Click() { cmdRashi_Click(); }

void FrmMain::mnuPrecisePeriods_Click() {
    const BirthForm form = ReadForm();
    if (FindUnlistedText(form)) return;  // the lists hold nothing but their entries
    std::optional<AttachedPlace> place = PeriodsPlace();
    BirthDetails details;
    std::optional<DashaTable> classic;
    std::string classicMissing;
#ifdef ORVANTA_HAVE_ATLAS
    if (const auto unheld = atlas_->unheldZone()) classicMissing = *unheld;
#endif
    if (classicMissing.empty()) {
        const RunOutcome outcome = RunChart(form);
        if (outcome.rejection) {
            ShowMessageAndFocus(*outcome.rejection);
            return;
        }
        details = outcome.chart.birth;
        classic = outcome.chart.dasha;
    } else {
        // Only the date, the time and the name are read from the form: the place gives the rest.
        const BirthReading reading = CheckAndReadBirthDetails(form);
        if (reading.refusal) {
            ShowMessageAndFocus(*reading.refusal);
            return;
        }
        details = reading.birth;
    }
    // Made once its details are read: GCC 12 at -O3 takes a birth filled in later for
    // one whose name may be read uninitialised.
    const PeriodsBirth birth{details, SecondOfForm(form), std::move(place)};
    std::string error;
    const std::unique_ptr<FrmPeriods> periods = FrmPeriods::Create(birth, classic, this, error);
    if (!periods) {
        ShowMessage(this, {error, Icon::Error});
        return;
    }
    if (!classicMissing.empty()) periods->setClassicMissing(classicMissing);
    periods->exec();
}

void FrmMain::mnuExit_Click() { close(); }

void FrmMain::DisplayClosedByBack() {
    show();
    activateWindow();
}

void FrmMain::EndProgram() {
    if (ending_) return;
    ending_ = true;
    emit programEnded();
    if (display_) display_->close();
    QApplication::closeAllWindows();
    close();
    QCoreApplication::quit();
}

void FrmMain::closeEvent(QCloseEvent* event) {
    event->accept();
    EndProgram();
}

void FrmMain::lblTZHelp_Click() {
    FrmTimeZone picker(txtZoneHour_, txtZoneMinute_, this);
    // Beside the label's lower right corner: the window's outer left edge plus the label's
    // right edge within the window; the outer top edge plus the label's bottom edge within
    // the client area plus 600 twips.
    const int labelRight = lblTZHelp_->mapTo(this, QPoint(lblTZHelp_->width(), 0)).x();
    const int labelBottom = lblTZHelp_->mapTo(centralWidget(), QPoint(0, lblTZHelp_->height())).y();
    const QRect outer = frameGeometry();
    picker.move(outer.left() + labelRight, outer.top() + labelBottom + Twips(this).y(600));
    picker.exec();
}

void FrmMain::cmdBrowser_Click() {
    const std::string city = txtMCity_->text().toStdString();
    const std::string state = txtMState_->text().toStdString();
    const std::string country = txtMCountry_->text().toStdString();
    if (const auto message = CheckCoordinateSearch(city, state, country)) {
        ShowMessageAndFocus(*message);
        return;
    }
    OpenWebAddress(CoordinateSearchUrl(QString::fromStdString(CoordinateSearchText(city, state, country))));
}

void FrmMain::lblVisit_Click() { OpenWebAddress(WebLinkUrl(WebLink::VisitUs)); }

bool FrmMain::txtName_KeyPress(QKeyEvent* event) { return FilterTypedKey(txtName_, Control::txtName, event, this); }
bool FrmMain::txtZoneHour_KeyPress(QKeyEvent* event) {
    return FilterTypedKey(txtZoneHour_, Control::txtZoneHour, event, this);
}
bool FrmMain::txtZoneMinute_KeyPress(QKeyEvent* event) {
    return FilterTypedKey(txtZoneMinute_, Control::txtZoneMinute, event, this);
}
bool FrmMain::txtLatD_KeyPress(QKeyEvent* event) { return FilterTypedKey(txtLatD_, Control::txtLatD, event, this); }
bool FrmMain::txtLatM_KeyPress(QKeyEvent* event) { return FilterTypedKey(txtLatM_, Control::txtLatM, event, this); }
bool FrmMain::txtLonD_KeyPress(QKeyEvent* event) { return FilterTypedKey(txtLonD_, Control::txtLonD, event, this); }
bool FrmMain::txtLonM_KeyPress(QKeyEvent* event) { return FilterTypedKey(txtLonM_, Control::txtLonM, event, this); }

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        for (const FilteredBox& filtered : FilteredBoxes()) {
            if (watched == filtered.box) return (this->*filtered.keyPress)(static_cast<QKeyEvent*>(event));
        }
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == lblTZHelp_) {
            lblTZHelp_Click();
            return true;
        }
        if (watched == lblVisit_) {
            lblVisit_Click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace orvanta
