#pragma once

#include <QObject>
#include <QPointer>

#include <optional>

#include "atlas/place.h"
#include "atlas/place_form.h"

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

    // Opens "Find Birth Place" over the window and takes the place chosen there; when the
    // zone boxes cannot hold its zone, a message says so.
    void openWindow();
    // Fills the form from `place` and attaches it. Returns the sentence saying why the
    // zone boxes were left alone, or nothing when they were filled.
    std::optional<std::string> take(const Place& place);

signals:
    void attachmentChanged();

private:
    std::optional<std::string> Refill();
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
    bool writing_ = false;  // the form's fields are being written from the atlas
};

}  // namespace orvanta
