#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>
#include <optional>

#include "chart/results.h"
#include "periods/period_view.h"

class QComboBox;
class QGridLayout;
class QLabel;
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
// again at once), the timeline, the period tree to five levels beside the classic
// starts, and the provenance of the figures; the period running today is expanded and
// marked. Modal over the results window, created afresh at each opening.
class FrmPeriods : public QDialog {
    Q_OBJECT
public:
    // Nothing opens when the birth cannot be computed: `error` then says why.
    static std::unique_ptr<FrmPeriods> Create(const PeriodsBirth& birth, const Results& classic, QWidget* parent,
                                              std::string& error);
    ~FrmPeriods() override;

    const PeriodsSettings& settings() const { return settings_; }
    PeriodModel* model() const { return model_; }
    QTreeView* tree() const { return tree_; }
    PeriodTimeline* timeline() const { return timeline_; }
    ConventionPanel* conventions() const { return conventions_; }

    // "Today", read from the clock when the window opens; tests fix it here.
    void setToday(std::int64_t utcSeconds);
    // Selects, expands and shows the periods running at a local time of the birth zone;
    // false (with a message) when that time does not exist there or lies outside the cycle.
    bool goToLocal(CivilDateTime local);
    // The timeline and the tree's rows as they are expanded, page by page.
    void paintDocument(QPagedPaintDevice& device) const;

public slots:
    void cmdGoToDate_Click();
    void cmdSavePdf_Click();
    void cmdPrint_Click();
    void cmdExportCalendar_Click();
    void cmdExportTable_Click();
    void settingChanged();

private:
    FrmPeriods(const PeriodsBirth& birth, const Results& classic, PreciseReport report, QWidget* parent);
    void BuildWindow();
    void ShowReport(PreciseReport report);
    void MarkToday();
    void ShowProvenance();

    PeriodsBirth birth_;
    Results classic_;
    PeriodsSettings settings_;
    std::int64_t todayUtc_ = 0;

    QComboBox* cboAyanamsa_ = nullptr;
    QComboBox* cboYearDays_ = nullptr;
    QComboBox* cboMoon_ = nullptr;
    ConventionPanel* conventions_ = nullptr;
    QSpinBox* spnUncertainty_ = nullptr;
    QLabel* lblZone_ = nullptr;
    PeriodTimeline* timeline_ = nullptr;
    QTreeView* tree_ = nullptr;
    PeriodModel* model_ = nullptr;
    QGridLayout* provenance_ = nullptr;
    QWidget* provenanceFrame_ = nullptr;
};

}  // namespace orvanta
