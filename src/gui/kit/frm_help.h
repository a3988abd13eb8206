#pragma once

#include <QDialog>

class QTextBrowser;

namespace orvanta {

// The user guide that ships inside the program, shown in a window of its own (nothing
// is written to disk and no network is needed). Links to the web open in the browser.
class FrmHelp : public QDialog {
    Q_OBJECT
public:
    explicit FrmHelp(QWidget* parent = nullptr);
    static const char* GuideAddress();  // the guide's resource path

private:
    QTextBrowser* browser_;
};

}  // namespace orvanta
