#pragma once

#include <QDialog>

#include <memory>
#include <optional>
#include <vector>

#include "core/atlas/place.h"
#include "core/sky/birth_instant.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace orvanta {
namespace atlas {
class SearchCancel;
}

// "Find Birth Place": a search line over the offline atlas and a table of the matches with
// the zone each had at the birth time. Enter or a double-click takes the current match,
// Escape leaves without one. Searches run off the user-interface thread a moment after
// typing stops, one at a time: a newer search cancels the one still running. With no
// match the places of the closest names are shown.
class FrmBirthPlace : public QDialog {
    Q_OBJECT
public:
    // `birth` is the form's date and time (nothing when the form holds no real date).
    FrmBirthPlace(std::optional<CivilDateTime> birth, QWidget* parent = nullptr);
    ~FrmBirthPlace() override;

    // The match taken, once the window was accepted.
    std::optional<Place> chosen() const { return chosen_; }
    const std::vector<Place>& matches() const { return matches_; }
    // Recomputes the zone columns for another birth time.
    void setBirthTime(std::optional<CivilDateTime> birth);
    // Searches for `text` now, without the typing pause (the search line shows it).
    void search(const QString& text);

signals:
    // The table shows the answer to the latest search.
    void matchesShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StartSearch();
    void ShowMatches(std::vector<Place> places, const QString& text, const QString& closest = {});
    void FillZoneColumns();
    void TakeCurrent();

    std::optional<CivilDateTime> birth_;
    QLineEdit* txtSearch_ = nullptr;
    QTableWidget* grdPlaces_ = nullptr;
    QLabel* lblHint_ = nullptr;
    QPushButton* cmdTake_ = nullptr;
    QTimer* pause_ = nullptr;
    std::vector<Place> matches_;
    std::optional<Place> chosen_;
    quint64 generation_ = 0;
    std::shared_ptr<atlas::SearchCancel> running_;  // the search on its thread, if any
    bool searchQueued_ = false;                    // a newer text waits for it to end
};

}  // namespace orvanta
