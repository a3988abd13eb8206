#pragma once

#include <QObject>
#include <QPointer>

class QMenuBar;
class QWidget;

namespace orvanta {

class FrmHelp;

// The menus the main and results windows share after their File menu: "&Help" (the
// user guide, the web site, the update check, the about box), "&Donate" and
// "Make Money &Online". The web addresses come from WebLinks.
class LinkMenus : public QObject {
    Q_OBJECT
public:
    LinkMenus(QMenuBar* menuBar, QWidget* window);

    // The user guide shipped beside the program or in the installed documentation folder,
    // or empty when it is in neither.
    static QString UserGuideFile();

public slots:
    void mnuOnline_Click();
    void mnuVisit_Click();
    void mnuUpdate_Click();
    void mnuAbout_Click();
    void mnuDonate_Click();
    void mkmoney_Click();

private:
    QWidget* window_;
    QPointer<FrmHelp> help_;
};

}  // namespace orvanta
