#include "atlas/gui/place_attachment.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "atlas/gui/frm_birth_place.h"
#include "chart/gui/appearance.h"
#include "chart/gui/frm_main.h"
#include "chart/gui/message_box.h"

namespace orvanta {
namespace {

template <class T>
T* Find(QObject* window, const char* name) {
    T* control = window->findChild<T*>(QString::fromLatin1(name));
    Q_ASSERT_X(control, "PlaceAttachment", name);
    return control;
}

const QString kByHand = QStringLiteral("Latitude, longitude and zone entered by hand");

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

    mnuFindPlace_ = new QAction(QStringLiteral("Find Birth &Place..."), this);
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

std::optional<std::string> PlaceAttachment::take(const Place& place) {
    attached_ = place;
    auto problem = Refill();
    emit attachmentChanged();
    return problem;
}

std::optional<std::string> PlaceAttachment::Refill() {
    if (!attached_) return std::nullopt;
    const Place& place = *attached_;
    const std::optional<CivilDateTime> local = atlas::FormLocalTime(window_->ReadForm());
    atlas::ZoneAtBirth zone;
    if (local) {
        zone = atlas::ReadZoneAt(place.timeZone, *local);
    } else {
        zone.timeZone = place.timeZone;
        zone.problem = "The birth date on the form is not a date of the calendar.";
    }
    const atlas::FormFilling filling = atlas::FillForm(place, zone);
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
    if (filling.zoneFilled) return std::nullopt;
    return filling.problem;
}

void PlaceAttachment::EditedByHand() {
    if (writing_ || !attached_) return;
    attached_.reset();
    lblPlace_->setText(kByHand);
    emit attachmentChanged();
}

}  // namespace orvanta
