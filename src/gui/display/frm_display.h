#pragma once

#include <QMainWindow>

#include <array>

#include "core/chart/computation_run.h"
#include "core/display/interpretation_texts.h"
#include "core/periods/period_view.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTabBar;

namespace orvanta {

class CaptionFrame;
class FittingLabel;
class Twips;

// The results window of one run: the nine Maha Dasha rows, the nine stacked sub-period
// panels (hovering a row's name brings its panel to the front and shows its
// interpretation), the Vimshottari and Vedic-details panels behind a tab strip, and the
// Exit, Print and Back commands. Sizes are laid out in twips as designed.
class FrmDisplay : public QMainWindow {
    Q_OBJECT
public:
    FrmDisplay(const ChartRun& chart, const InterpretationTexts& texts, QWidget* parent = nullptr);

    const Results& results() const { return results_; }

    // The birth as the precise periods read it: the seconds the form shows and the
    // atlas place when one is attached. Until it is set, the run's details at second 0.
    void setPreciseBirth(const PeriodsBirth& birth) { preciseBirth_ = birth; }
    const PeriodsBirth& preciseBirth() const { return preciseBirth_; }

signals:
    // "&Back": the window has closed and the birth-details window is to be shown again.
    void backRequested();
    // "&Exit", "E&xit" or the close box: the program is to end.
    void exitRequested();

public slots:
    void Form_Load();
    void TabStrip1_Click();
    void txtDashaName_MouseMove(int index);
    void cmdOK_Click();
    void mnuFileBack_Click();
    void cmdExit_Click();
    void mnuExit_Click();
    void cmdPrint_Click();
    void Label1_Click();
    void lblHomeLink_Click();
    // The "&Periods" menu: the precise periods window, and its calendar and table
    // exports with the settings last chosen in that window during this run.
    void mnuPrecisePeriods_Click();
    void mnuBirthChart_Click();
    void mnuExportCalendar_Click();
    void mnuExportTable_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Look;
    void BuildWindow();
    void BuildHeadings(const Twips& tw, const Look& looks, QWidget* area);
    void BuildMahaDashaRows(const Twips& tw, const Look& looks, QWidget* frame1);
    void BuildSubDashaPanels(const Twips& tw, const Look& looks, QWidget* frame1);
    void BuildInterpretation(const Twips& tw, const Look& looks, QWidget* frame1);
    void BuildInformationPanels(const Twips& tw, const Look& looks, QWidget* frame1);
    void BuildVedicDetails(const Twips& tw, QWidget* panel);
    void BuildButtons(const Twips& tw, const Look& looks, QWidget* frame1);
    void BuildMenus();
    void ShowResults();
    void EnterPressed();

    BirthDetails birth_;
    Results results_;
    DashaTable dasha_;  // the precise periods set their classic starts beside it
    InterpretationTexts texts_;
    PeriodsBirth preciseBirth_;
    bool goingBack_ = false;

    FittingLabel* Label15_ = nullptr;
    FittingLabel* lblDashaAtTimeOfBirth_ = nullptr;
    FittingLabel* lblHomeLink_ = nullptr;
    FittingLabel* lblBottomLink_ = nullptr;
    std::array<QLineEdit*, Results::kRows> txtDashaName_{};
    std::array<QLineEdit*, Results::kRows> txtDashaStarts_{};
    std::array<QLineEdit*, Results::kRows> txtDashaEnd_{};
    FittingLabel* Label1_ = nullptr;
    QStackedWidget* subDashaPanels_ = nullptr;
    std::array<CaptionFrame*, Results::kRows> fraSubDasha_{};
    // lblSubDashaNameZero .. lblSubDashaNameEight: [panel k][sub-period s]
    std::array<std::array<FittingLabel*, 9>, Results::kRows> lblSubDashaName_{};
    std::array<QLineEdit*, Results::kCells + 1> txtSubDasha_{};  // 1..162; [0] unused
    FittingLabel* lblMahaDasha_ = nullptr;
    QPlainTextEdit* txtMahaDashaDesc_ = nullptr;
    QStackedWidget* infoPanels_ = nullptr;
    QWidget* fraVimshottariCaption_ = nullptr;
    QWidget* fraVedicDetails_ = nullptr;
    QLabel* lblJulianDay_ = nullptr;
    QLabel* lblAyanamsha_ = nullptr;
    QLabel* lblLagna_ = nullptr;
    QLabel* lblLagnaPosition_ = nullptr;
    QLabel* lblNakshatra_ = nullptr;
    QLabel* lblRashi_ = nullptr;
    QLabel* lblLord_ = nullptr;
    QTabBar* TabStrip1_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
    QPushButton* cmdPrint_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
};

// The names of the nine lord-label arrays, panel 0 to 8.
extern const std::array<const char*, Results::kRows> SubDashaLabelArrays;

}  // namespace orvanta
