#include "gui/chart/place_attachment.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include <tuple>

#include "gui/atlas/frm_birth_place.h"
#include "gui/chart/frm_main.h"
#include "gui/kit/appearance.h"
#include "gui/kit/message_box.h"

namespace orvanta {
namespace {

template <class T>
T* Find(QObject* window, const char* name) {
    T* control = window->findChild<T*>(QString::fromLatin1(name));
    Q_ASSERT_X(control, "PlaceAttachment", name);
    return control;
}

const QString kByHand = QStringLiteral("Latitude, longitude and zone entered by hand");
// What the person can do when the zone boxes cannot hold the place's zone.
constexpr const char* kPreciseInstead = " Choose File, Precise Periods to read the birth in the place's own zone.";

}  // namespace

PlaceAttachment::PlaceAttachment(FrmMain* window)
    : QObject(window),
      window_(window),
      cboMonth_(Find<QComboBox>(window, "cboMonth")),
      cboDate_(Find<QComboBox>(window, "cboDate")),
      cboYear_(Find<QComboBox>(window, "cboYear")),
      cboHH_(Find<QComboBox>(window, "cboHH")),
      cboMM_(Find<QComboBox>(window, "cboMM")),
      txtZoneHour_(Find<QLineEdit>(window, "txtZoneHour")),
      txtZoneMinute_(Find<QLineEdit>(window, "txtZoneMinute")),
      chkDST_(Find<QCheckBox>(window, "chkDST")),
      txtLatD_(Find<QLineEdit>(window, "txtLatD")),
      txtLatM_(Find<QLineEdit>(window, "txtLatM")),
      optLatSouth_(Find<QRadioButton>(window, "optLat_1")),
      optLatNorth_(Find<QRadioButton>(window, "optLat_0")),
      txtLonD_(Find<QLineEdit>(window, "txtLonD")),
      txtLonM_(Find<QLineEdit>(window, "txtLonM")),
      optLongWest_(Find<QRadioButton>(window, "optLong_1")),
      optLongEast_(Find<QRadioButton>(window, "optLong_0")) {
    cmdAtlas_ = new QPushButton(QStringLiteral("Find In Atlas"));
    cmdAtlas_->setObjectName(QStringLiteral("cmdAtlas"));
    cmdAtlas_->setFont(Verdana(9, true));
    cmdAtlas_->setToolTip(QStringLiteral("Find the birth place in the offline atlas: coordinates and time zone"));
    PaintButton(cmdAtlas_);
    connect(cmdAtlas_, &QPushButton::clicked, this, &PlaceAttachment::openWindow);

    mnuFindPlace_ = new QAction(QStringLiteral("Find &Birth Place..."), this);
    mnuFindPlace_->setObjectName(QStringLiteral("mnuFindPlace"));
    connect(mnuFindPlace_, &QAction::triggered, this, &PlaceAttachment::openWindow);

    lblPlace_ = new QLabel(kByHand);
    lblPlace_->setObjectName(QStringLiteral("lblPlace"));
    lblPlace_->setFont(Verdana(8.25));
    lblPlace_->setWordWrap(true);
    Paint(lblPlace_, look::PaleYellow, look::Brown);

    for (QComboBox* list : {cboMonth_, cboDate_, cboYear_, cboHH_, cboMM_}) {
        connect(list, &QComboBox::currentIndexChanged, this, &PlaceAttachment::Refill);
    }
    for (QLineEdit* box : {txtZoneHour_, txtZoneMinute_, txtLatD_, txtLatM_, txtLonD_, txtLonM_}) {
        connect(box, &QLineEdit::textChanged, this, &PlaceAttachment::EditedByHand);
    }
    for (QAbstractButton* choice :
         std::initializer_list<QAbstractButton*>{chkDST_, optLatSouth_, optLatNorth_, optLongWest_, optLongEast_}) {
        connect(choice, &QAbstractButton::toggled, this, &PlaceAttachment::EditedByHand);
    }
}

void PlaceAttachment::openWindow() {
    FrmBirthPlace window(atlas::FormLocalTime(window_->ReadForm()), window_);
    if (window.exec() != QDialog::Accepted || !window.chosen()) return;
    if (const auto problem = take(*window.chosen())) {
        ShowMessage(window_, Message{*problem, Icon::Information, Control::None});
    }
}

std::optional<std::string> PlaceAttachment::take(const Place& place, std::optional<Fold> fold) {
    const std::optional<CivilDateTime> local = atlas::FormLocalTime(window_->ReadForm());
    if (local && !fold && atlas::ReadZoneAt(place.timeZone, *local).kind == atlas::LocalTimeKind::Doubled) {
        fold = AskFold(place, *local);
        if (!fold) return std::nullopt;
    }
    attached_ = place;
    fold_ = fold.value_or(Fold::Refuse);
    foldLocal_ = local;
    auto problem = Refill();
    emit attachmentChanged();
    return problem;
}

// The question for a wall-clock time that occurs twice: one button for each reading,
// named by its offset, and Cancel.
std::optional<Fold> PlaceAttachment::AskFold(const Place& place, const CivilDateTime& local) {
    const atlas::ZoneAtBirth earlier = atlas::ReadZoneAt(place.timeZone, local, Fold::Earlier);
    const atlas::ZoneAtBirth later = atlas::ReadZoneAt(place.timeZone, local, Fold::Later);
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kProgramTitle),
                    QString::fromStdString(earlier.problem.substr(0, earlier.problem.find("; the ")) +
                                           ". Which of the two was the birth?"),
                    QMessageBox::Cancel, window_);
    box.setObjectName(QStringLiteral("msgFold"));
    const auto button = [&](const atlas::ZoneAtBirth& zone, const char* name, const QString& which) {
        QPushButton* b = box.addButton(QString::fromStdString(atlas::OffsetText(zone.utcOffsetSeconds)) + which,
                                       QMessageBox::AcceptRole);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    QPushButton* first = button(earlier, "cmdFoldEarlier", QStringLiteral(" (the first)"));
    QPushButton* second = button(later, "cmdFoldLater", QStringLiteral(" (the second)"));
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == first) return Fold::Earlier;
    if (box.clickedButton() == second) return Fold::Later;
    return std::nullopt;
}

std::optional<std::string> PlaceAttachment::Refill() {
    if (!attached_) return std::nullopt;
    const Place& place = *attached_;
    const std::optional<CivilDateTime> local = atlas::FormLocalTime(window_->ReadForm());
    const auto same = [](const CivilDateTime& a, const CivilDateTime& b) {
        return std::tie(a.year, a.month, a.day, a.hour, a.minute) == std::tie(b.year, b.month, b.day, b.hour, b.minute);
    };
    // A reading chosen for one doubled time says nothing about another.
    const Fold fold = local && foldLocal_ && same(*local, *foldLocal_) ? fold_ : Fold::Refuse;
    atlas::ZoneAtBirth zone;
    if (local) {
        zone = atlas::ReadZoneAt(place.timeZone, *local, fold == Fold::Refuse ? Fold::Earlier : fold);
    } else {
        zone.timeZone = place.timeZone;
        zone.problem = "The birth date on the form is not a date of the calendar.";
    }
    atlas::FormFilling filling = atlas::FillForm(place, zone);
    const bool unchosen = zone.kind == atlas::LocalTimeKind::Doubled && fold == Fold::Refuse;
    if (unchosen) {
        filling.zoneFilled = false;
        filling.problem = zone.problem.substr(0, zone.problem.find("; the ")) +
                          ". Take the place again in Find Birth Place to say which is the birth's.";
        zone.instant.reset();
        zone.problem = filling.problem;
    }
    writing_ = true;
    const auto set = [](QLineEdit* box, const std::string& text) { box->setText(QString::fromStdString(text)); };
    set(txtLatD_, filling.latD);
    set(txtLatM_, filling.latM);
    (filling.south ? optLatSouth_ : optLatNorth_)->setChecked(true);
    set(txtLonD_, filling.lonD);
    set(txtLonM_, filling.lonM);
    (filling.west ? optLongWest_ : optLongEast_)->setChecked(true);
    if (filling.zoneFilled) {
        set(txtZoneHour_, filling.zoneHour);
        set(txtZoneMinute_, filling.zoneMinute);
        chkDST_->setChecked(filling.dst);
    }
    writing_ = false;
    lblPlace_->setText(QString::fromStdString(atlas::PlaceSummary(place, zone, filling)));
    unheld_.reset();
    if (filling.zoneFilled) return std::nullopt;
    unheld_ = filling.problem;
    // Where the zone has a reading the boxes cannot hold, the precise periods can read it.
    preciseCan_ = zone.instant.has_value();
    return classicRefusal();
}

std::optional<std::string> PlaceAttachment::classicRefusal() const {
    if (!attached_ || !unheld_) return std::nullopt;
    return *unheld_ + (preciseCan_ ? kPreciseInstead : "");
}

void PlaceAttachment::EditedByHand() {
    if (writing_ || !attached_) return;
    attached_.reset();
    unheld_.reset();
    lblPlace_->setText(kByHand);
    emit attachmentChanged();
}

}  // namespace orvanta
