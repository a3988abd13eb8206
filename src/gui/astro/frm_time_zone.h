#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace orvanta {

// The time-zone picker: the 71 named zones; a double-click writes the chosen zone's
// two texts into the birth-details window's zone hour and zone minute boxes and closes.
// It holds no state: it is filled at each opening and discarded on closing.
class FrmTimeZone : public QDialog {
    Q_OBJECT
public:
    FrmTimeZone(QLineEdit* zoneHour, QLineEdit* zoneMinute, QWidget* parent = nullptr);

public slots:
    void Form_Load();
    void lstTimeZone_DblClick();
    void cmdQuit_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* zoneHour_;
    QLineEdit* zoneMinute_;
    QListWidget* lstTimeZone_;
    QPushButton* cmdQuit_;
};

}  // namespace orvanta
