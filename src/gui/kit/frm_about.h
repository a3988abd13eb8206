#pragma once

#include <QDialog>

namespace orvanta {

// The about box: the program's name, its version and what it does.
class FrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit FrmAbout(QWidget* parent = nullptr);

public slots:
    void cmdOK_Click();
};

}  // namespace orvanta
