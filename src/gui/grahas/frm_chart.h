#pragma once

#include <QDialog>
#include <QWidget>

#include <memory>
#include <vector>

#include "core/periods/period_view.h"
#include "gui/grahas/chart_drawing.h"

class QComboBox;
class QLabel;
class QPainter;
class QPagedPaintDevice;
class QTableWidget;

namespace orvanta {

// The style and the node chosen last: kept for the run, every chart opens with them.
struct ChartChoices {
    ChartStyle style = ChartStyle::SouthIndian;
    Node node = Node::Mean;
};
ChartChoices& RunChartChoices();

// The two charts, drawn to fit the widget.
class ChartView : public QWidget {
    Q_OBJECT
public:
    explicit ChartView(QWidget* parent = nullptr);
    void setChart(const ChartDrawing* drawing, ChartStyle style);
    // The Rasi's and the Navamsa's squares in the widget.
    QRectF square(bool navamsa) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ChartDrawing* drawing_ = nullptr;
    ChartStyle style_ = ChartStyle::SouthIndian;
};

// The birth chart of the nine: Rasi and Navamsa side by side in the chosen style, the
// table of the nine below them, the given period lords marked. Modal.
class FrmChart : public QDialog {
    Q_OBJECT
public:
    // `marked`: the period lords to mark, outermost first; `caption` says which
    // ("running on 2026-12-09", "of the selected period").
    FrmChart(const PreciseChart& chart, const QString& name, std::vector<int> marked, const QString& caption,
             QWidget* parent = nullptr);
    ~FrmChart() override;

    const ChartDrawing* drawing() const { return drawing_.get(); }
    ChartView* view() const { return view_; }
    QComboBox* styleBox() const { return cboStyle_; }
    QComboBox* nodeBox() const { return cboNode_; }
    QTableWidget* table() const { return table_; }
    // The page the PDF and the printer get; false when nothing could be drawn.
    bool paintDocument(QPagedPaintDevice& device) const;
    // Whether the nine could be computed; the error otherwise.
    bool valid() const { return drawing_ != nullptr; }
    const std::string& error() const { return error_; }

public slots:
    void cmdSavePdf_Click();
    void cmdPrint_Click();

private:
    void BuildWindow();
    void Recompute();
    void ShowChart();

    PreciseChart chart_;
    QString name_;
    std::vector<int> marked_;
    QString caption_;
    std::unique_ptr<ChartDrawing> drawing_;
    std::string error_;
    QComboBox* cboStyle_ = nullptr;
    QComboBox* cboNode_ = nullptr;
    QLabel* lblLegend_ = nullptr;
    ChartView* view_ = nullptr;
    QTableWidget* table_ = nullptr;
    int tableHeight_ = 0;
};

// Opens the chart of a birth's precise chart, the given lords marked; a chart whose
// grahas cannot be computed is a message instead.
void OpenBirthChart(QWidget* parent, const PreciseChart& chart, const QString& name, std::vector<int> marked,
                    const QString& caption);
// The results window's command: the precise chart with the default settings and the
// lords of the periods running at `nowUtcSeconds`.
void OpenBirthChartAt(QWidget* parent, const PeriodsBirth& birth, std::int64_t nowUtcSeconds);
// The same for a precise chart already computed.
void OpenBirthChartAt(QWidget* parent, const PreciseChart& chart, const QString& name, std::int64_t nowUtcSeconds);
// The chart as the first page of another document, in the run's style and node, the
// lords running at `nowUtcSeconds` marked, then a new page; false (nothing drawn) when the
// grahas cannot be computed.
bool PaintBirthChartPage(QPainter& painter, QPagedPaintDevice& device, const PreciseChart& chart, const QString& name,
                         std::int64_t nowUtcSeconds);

}  // namespace orvanta
