#pragma once

#include <QWidget>

#include <cstdint>
#include <vector>

#include "core/periods/period_view.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace orvanta {

// The birth under each compared convention (ayanamsa, year length, Moon position) beside
// the window's own: birth lord, balance, first Maha Dasha start, the periods running
// today and each start's difference. Folded until opened, and computed only while open;
// a row double-clicked, or chosen with Enter or "Use these settings", is offered to the
// window as its settings.
class ConventionPanel : public QWidget {
    Q_OBJECT
public:
    explicit ConventionPanel(QWidget* parent);

    // The birth and the settings the window shows now; "today" as a UTC second.
    void setBirth(const PeriodsBirth& birth, const PeriodsSettings& settings, std::int64_t todayUtc);

    QPushButton* toggle() const { return toggle_; }
    // Null until the panel is first opened.
    QTableWidget* table() const { return table_; }
    QLabel* sensitivity() const { return sensitivity_; }
    // The convention of each row of the table.
    const std::vector<Convention>& conventions() const { return conventions_; }

signals:
    void conventionChosen(orvanta::Convention convention);

private:
    void BuildBody();
    void Refresh();
    void ChooseRow(int row);

    PeriodsBirth birth_;
    PeriodsSettings settings_;
    std::int64_t todayUtc_ = 0;
    bool stale_ = true;
    std::vector<Convention> conventions_;
    QPushButton* toggle_ = nullptr;
    QWidget* body_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* sensitivity_ = nullptr;
    QPushButton* use_ = nullptr;
};

}  // namespace orvanta
