#pragma once

#include <QObject>
#include <QPointer>

#include <optional>

#include "core/atlas/place.h"
#include "core/atlas/place_form.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvanta {

class FrmMain;

// The atlas's part of the birth-details window: the "Find In Atlas" button, the File menu
// item, and the line saying what a chosen place filled in. A place taken from the atlas
// stays attached to the form, following date and time changes, until a latitude,
// longitude, zone or DST field is changed by hand.
class PlaceAttachment : public QObject {
    Q_OBJECT
public:
    // Finds the form's controls among the window's children by their object names.
    explicit PlaceAttachment(FrmMain* window);

    QPushButton* button() const { return cmdAtlas_; }
    QAction* menuAction() const { return mnuFindPlace_; }
    QLabel* statusLabel() const { return lblPlace_; }

    // The place attached to the form: its exact coordinates and its IANA zone.
    std::optional<Place> attached() const { return attached_; }
    // Why the classic reading may not run while the place is attached: the zone boxes
    // could not be given the zone in force at the birth. Nothing when they hold it.
    std::optional<std::string> classicRefusal() const;
    // The same sentence without what to do instead, for the periods window's note.
    std::optional<std::string> unheldZone() const { return attached_ ? unheld_ : std::nullopt; }

    // The reading chosen for a local time that occurs twice at the attached place;
    // Refuse while none was chosen.
    Fold fold() const { return fold_; }

    // Opens "Find Birth Place" over the window and takes the place chosen there; when the
    // zone boxes cannot hold its zone, a message says so.
    void openWindow();
    // Fills the form from `place` and attaches it. When the form's time occurs twice
    // there and `fold` does not say which reading is meant, the person is asked; if they
    // decline, nothing is taken. Returns the sentence saying why the zone boxes were left
    // alone, or nothing when they were filled.
    std::optional<std::string> take(const Place& place, std::optional<Fold> fold = std::nullopt);

signals:
    void attachmentChanged();

private:
    std::optional<std::string> Refill();
    std::optional<Fold> AskFold(const Place& place, const CivilDateTime& local);
    void EditedByHand();

    FrmMain* window_;
    QComboBox* cboMonth_;
    QComboBox* cboDate_;
    QComboBox* cboYear_;
    QComboBox* cboHH_;
    QComboBox* cboMM_;
    QLineEdit* txtZoneHour_;
    QLineEdit* txtZoneMinute_;
    QCheckBox* chkDST_;
    QLineEdit* txtLatD_;
    QLineEdit* txtLatM_;
    QRadioButton* optLatSouth_;
    QRadioButton* optLatNorth_;
    QLineEdit* txtLonD_;
    QLineEdit* txtLonM_;
    QRadioButton* optLongWest_;
    QRadioButton* optLongEast_;

    QPushButton* cmdAtlas_ = nullptr;
    QAction* mnuFindPlace_ = nullptr;
    QLabel* lblPlace_ = nullptr;
    std::optional<Place> attached_;
    Fold fold_ = Fold::Refuse;                  // chosen for the local time `foldLocal_`
    std::optional<CivilDateTime> foldLocal_;
    std::optional<std::string> unheld_;  // the sentence of the last filling that left the zone boxes alone
    bool preciseCan_ = false;            // ... and the precise periods can read the zone
    bool writing_ = false;  // the form's fields are being written from the atlas
};

}  // namespace orvanta
