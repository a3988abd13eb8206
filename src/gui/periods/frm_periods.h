#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/periods/period_view.h"

class QComboBox;
class QBoxLayout;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPageLayout;
class QPagedPaintDevice;
class QPrinter;
class QPushButton;
class QSpinBox;
class QTreeView;

namespace orvanta {

class ConventionPanel;
class PeriodModel;
class PeriodTimeline;

// The precise periods of one birth: the settings at the top (changing one computes
// again at once, and they stay for the run), the notes, the timeline, the line of the
// running periods, the period tree to five levels beside the classic starts, and the
// provenance of the figures; the period running today is expanded and marked. Modal over
// the results window or the birth-details window, created afresh at each opening, and
// never larger than the screen's free area.
class FrmPeriods : public QDialog {
    Q_OBJECT
public:
    // Nothing opens when the birth cannot be computed: `error` then says why. `classic` is
    // the classic reading's dasha table, set beside the precise starts; without one the
    // classic columns stay empty.
    static std::unique_ptr<FrmPeriods> Create(const PeriodsBirth& birth, const std::optional<DashaTable>& classic,
                                              QWidget* parent, std::string& error);
    ~FrmPeriods() override;

    const PeriodsSettings& settings() const { return settings_; }
    PeriodModel* model() const { return model_; }
    QTreeView* tree() const { return tree_; }
    PeriodTimeline* timeline() const { return timeline_; }
    ConventionPanel* conventions() const { return conventions_; }

    // The classic reading was not run for this birth, for `reason`: its columns stay empty
    // and the window says why.
    void setClassicMissing(const std::string& reason);
    // The notes under the settings: why the classic columns are empty or read another
    // instant, and where the birth-time window crosses into another Nakshatra.
    QString notes() const;
    // The line naming the periods running today at every level, and on the date gone to.
    QString runningLine() const;

    // "Today", read from the clock when the window opens; tests fix it here.
    void setToday(std::int64_t utcSeconds);
    // Selects, expands and shows the periods running at a local time of the birth zone;
    // false (with a message) when that time does not exist there or lies outside the cycle.
    bool goToLocal(CivilDateTime local);
    // The timeline and the tree's rows as they are expanded, page by page; false when the
    // device could not be drawn on.
    bool paintDocument(QPagedPaintDevice& device) const;
    // The print command on a given printer: the print dialog, then the document; printing
    // to a file saves it as Save as PDF does. Returns whether anything was printed.
    bool printWithDialog(QPrinter& printer);

public slots:
    void cmdGoToDate_Click();
    void cmdSavePdf_Click();
    void cmdPrint_Click();
    void cmdExportCalendar_Click();
    void cmdExportTable_Click();
    void cmdBirthChart_Click();
    void settingChanged();

private:
    FrmPeriods(const PeriodsBirth& birth, const std::optional<DashaTable>& classic, PreciseReport report,
               QWidget* parent);
    void BuildWindow();
    QHBoxLayout* BuildSettings();
    QHBoxLayout* BuildPeriodsAndProvenance();
    void BuildButtons(QBoxLayout* column);
    void ShowReport(PreciseReport report);
    void MarkToday();
    void ShowProvenance();
    void ShowNotes();
    void ShowSettings();
    void ShowRunning();
    void FitColumns();
    void FitScreen();
    // The document made in memory and saved whole through the report's save, or a message.
    bool SavePdf(const QString& path, const QPageLayout& layout, int resolution);

    PeriodsBirth birth_;
    std::optional<DashaTable> classic_;
    PeriodsSettings settings_;
    std::int64_t todayUtc_ = 0;
    std::string classicMissing_;

    QComboBox* cboAyanamsa_ = nullptr;
    QComboBox* cboYearDays_ = nullptr;
    QComboBox* cboMoon_ = nullptr;
    ConventionPanel* conventions_ = nullptr;
    QSpinBox* spnUncertainty_ = nullptr;
    QLabel* lblZone_ = nullptr;
    QLabel* lblNotes_ = nullptr;
    QLabel* lblRunning_ = nullptr;
    std::optional<CivilDateTime> goneTo_;
    PeriodTimeline* timeline_ = nullptr;
    QTreeView* tree_ = nullptr;
    PeriodModel* model_ = nullptr;
    QGridLayout* provenance_ = nullptr;
    QWidget* provenanceFrame_ = nullptr;
};

}  // namespace orvanta
