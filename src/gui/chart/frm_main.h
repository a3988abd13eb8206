#pragma once

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <optional>

#include "core/atlas/place.h"
#include "core/chart/birth_form.h"
#include "core/display/interpretation_texts.h"
#include "core/periods/period_view.h"

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvanta {

class BirthFiles;
class CaptionFrame;
class FrmDisplay;
class PlaceAttachment;

// The birth-details window: the program's main window. It reads its controls into a
// BirthForm, hands that to the chart engine and shows what comes back.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmMain(QWidget* parent = nullptr);
    ~FrmMain() override;

    // The form as its controls hold it now.
    BirthForm ReadForm() const;
    // The results window of the last run while it is open.
    FrmDisplay* resultsWindow() const;
    const InterpretationTexts& texts() const { return texts_; }
    // The atlas place the form was filled from, while no latitude, longitude, zone or DST
    // field has been changed by hand since: exact coordinates and IANA zone for the precise
    // periods. Always empty when the program is built without the atlas.
    std::optional<Place> attachedPlace() const;
    PlaceAttachment* atlas() const { return atlas_; }
    // The File menu's Open, Save and Save As.
    BirthFiles* files() const { return files_; }

signals:
    // The program is ending: every window has been told to close.
    void programEnded();

public slots:
    void Form_Load();
    void cmdRashi_Click();
    void mnuNext_Click();
    void mnuExit_Click();
    void lblTZHelp_Click();
    void cmdBrowser_Click();
    void lblVisit_Click();
    // "Precise &Periods...": the precise periods of the form's birth, also where the
    // classic reading is refused for the attached place's zone.
    void mnuPrecisePeriods_Click();

    // One key handler per filtered text box; true when the key was consumed.
    bool txtName_KeyPress(QKeyEvent* event);
    bool txtZoneHour_KeyPress(QKeyEvent* event);
    bool txtZoneMinute_KeyPress(QKeyEvent* event);
    bool txtLatD_KeyPress(QKeyEvent* event);
    bool txtLatM_KeyPress(QKeyEvent* event);
    bool txtLonD_KeyPress(QKeyEvent* event);
    bool txtLonM_KeyPress(QKeyEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // A text box whose typed keys and pasted text go through the form's key filter.
    struct FilteredBox {
        QLineEdit* box;
        Control control;
        bool (FrmMain::*keyPress)(QKeyEvent*);
    };
    std::array<FilteredBox, 7> FilteredBoxes() const;
    // The controls from a form, the way ReadForm reads them back: the text boxes, the
    // options and the check box, and the six lists.
    void WriteBoxes(const BirthForm& form);
    void WriteLists(const BirthForm& form);

    void BuildWindow();
    CaptionFrame* BuildBirthDetails(QWidget* parent);
    CaptionFrame* BuildLatitude(QWidget* parent);
    CaptionFrame* BuildLongitude(QWidget* parent);
    CaptionFrame* BuildSearch(QWidget* parent);
    void BuildMenus();
    void ShowMessageAndFocus(const Message& message);
    // The attached place as the precise periods read it; nothing without one.
    std::optional<AttachedPlace> PeriodsPlace() const;
    // The sentence refusing the classic reading while the attached place's zone cannot
    // be held by the zone boxes; nothing when it may run.
    std::optional<std::string> ClassicRefusal() const;
    QLineEdit* Box(Control control) const;
    void DisplayClosedByBack();
    void EndProgram();

    InterpretationTexts texts_;

    QLabel* lblVM_ = nullptr;
    QLabel* lblVMD_ = nullptr;
    QLineEdit* txtName_ = nullptr;
    QComboBox* cboMonth_ = nullptr;
    QComboBox* cboDate_ = nullptr;
    QComboBox* cboYear_ = nullptr;
    QComboBox* cboHH_ = nullptr;
    QComboBox* cboMM_ = nullptr;
    QComboBox* cboSS_ = nullptr;
    QLineEdit* txtZoneHour_ = nullptr;
    QLineEdit* txtZoneMinute_ = nullptr;
    QCheckBox* chkDST_ = nullptr;
    QLabel* lblTZHelp_ = nullptr;
    QLineEdit* txtLatD_ = nullptr;
    QLineEdit* txtLatM_ = nullptr;
    std::array<QRadioButton*, 2> optLat_{};
    QLineEdit* txtLonD_ = nullptr;
    QLineEdit* txtLonM_ = nullptr;
    std::array<QRadioButton*, 2> optLong_{};
    QLineEdit* txtMCity_ = nullptr;
    QLineEdit* txtMState_ = nullptr;
    QLineEdit* txtMCountry_ = nullptr;
    QPushButton* cmdBrowser_ = nullptr;
    QPushButton* cmdRashi_ = nullptr;
    QLabel* lblVisit_ = nullptr;

    PlaceAttachment* atlas_ = nullptr;  // null without the atlas
    BirthFiles* files_ = nullptr;
    QPointer<FrmDisplay> display_;
    bool ending_ = false;
};

}  // namespace orvanta
