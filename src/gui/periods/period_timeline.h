#pragma once

#include <QWidget>

#include <optional>

#include "core/periods/period_export.h"

namespace orvanta {

// The nine Maha Dashas as bars across the cycle, their Antar divisions beneath, a
// birth and a "today" marker and an age scale. Resting the mouse on a bar names the
// period; paintTimeline draws the same picture on any painter (a printer's page).
class PeriodTimeline : public QWidget {
    Q_OBJECT
public:
    explicit PeriodTimeline(QWidget* parent = nullptr);

    void setReport(const PreciseReport* report);  // not owned; nullptr shows nothing
    void setToday(std::optional<double> seconds);  // from the tree's epoch

    void paintTimeline(QPainter& painter, const QRect& area) const;
    // The innermost period (Maha or Antar) drawn at `point`, or -1.
    int periodAt(const QPoint& point) const;
    QString periodText(int period) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Bands {
        QRect maha;
        QRect antar;
        QRect scale;
    };
    Bands bandsOf(const QRect& area, const QFontMetrics& metrics) const;
    double xOf(const QRect& band, double seconds) const;

    const PreciseReport* report_ = nullptr;
    std::optional<double> today_;
};

}  // namespace orvanta
