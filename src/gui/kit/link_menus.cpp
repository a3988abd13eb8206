#include "gui/kit/link_menus.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

#include "gui/kit/frm_about.h"
#include "gui/kit/frm_help.h"
#include "gui/kit/web_links.h"
#include "orvanta_version.h"

namespace orvanta {

namespace {
QAction* Item(QWidget* menu, const char* name, const QString& caption) {
    auto* action = new QAction(caption, menu);
    action->setObjectName(QString::fromLatin1(name));
    menu->addAction(action);
    return action;
}
}  // namespace

LinkMenus::LinkMenus(QMenuBar* menuBar, QWidget* window) : QObject(window), window_(window) {
    QMenu* help = menuBar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    connect(Item(help, "mnuOnline", QStringLiteral("&Online Help")), &QAction::triggered, this,
            &LinkMenus::mnuOnline_Click);
    connect(Item(help, "mnuVisit", QStringLiteral("&Visit Us Online")), &QAction::triggered, this,
            &LinkMenus::mnuVisit_Click);
    help->addSeparator();
    connect(Item(help, "mnuUpdate", QStringLiteral("Check for Software &Update")), &QAction::triggered, this,
            &LinkMenus::mnuUpdate_Click);
    help->addSeparator();
    connect(Item(help, "mnuAbout", QStringLiteral("&About Software")), &QAction::triggered, this,
            &LinkMenus::mnuAbout_Click);

    // Menu-bar entries without a menu: a click (or the access key) opens their page.
    QAction* donate = menuBar->addAction(QStringLiteral("&Donate"));
    donate->setObjectName(QStringLiteral("mnuDonate"));
    connect(donate, &QAction::triggered, this, &LinkMenus::mnuDonate_Click);
    QAction* money = menuBar->addAction(QStringLiteral("Make Money &Online"));
    money->setObjectName(QStringLiteral("mkmoney"));
    connect(money, &QAction::triggered, this, &LinkMenus::mkmoney_Click);
}

QString LinkMenus::UserGuideFile() {
    // Beside the program in the build folder (in the bundle's resources on macOS), then
    // in the documentation folder of the installed tree, found relative to the program
    // so that a tree unpacked or installed under another prefix works the same.
    const QDir here(QCoreApplication::applicationDirPath());
    const QString installed = QStringLiteral(ORVANTA_DOCDIR_FROM_BINDIR "/user_guide.html");
    for (const QString& candidate : {here.filePath(QStringLiteral("user_guide.html")),
                                     here.filePath(QStringLiteral("../Resources/user_guide.html")),
                                     here.filePath(installed)}) {
        if (QFileInfo(candidate).isFile()) return QFileInfo(candidate).absoluteFilePath();
    }
    return {};
}

void LinkMenus::mnuOnline_Click() {
    // The guide opens in the browser like any help page; where its file is missing or
    // no browser takes it, the copy built into the program is shown in a window.
    const QString guide = UserGuideFile();
    if (!guide.isEmpty() && OpenWebAddress(QUrl::fromLocalFile(guide))) return;
    if (!help_) help_ = new FrmHelp(window_);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void LinkMenus::mnuVisit_Click() { OpenWebAddress(WebLinkUrl(WebLink::VisitUs)); }
void LinkMenus::mnuUpdate_Click() { OpenWebAddress(WebLinkUrl(WebLink::SoftwareUpdate)); }
void LinkMenus::mnuDonate_Click() { OpenWebAddress(WebLinkUrl(WebLink::Donate)); }
void LinkMenus::mkmoney_Click() { OpenWebAddress(WebLinkUrl(WebLink::MakeMoneyOnline)); }

void LinkMenus::mnuAbout_Click() {
    FrmAbout about(window_);
    about.exec();
}

}  // namespace orvanta
