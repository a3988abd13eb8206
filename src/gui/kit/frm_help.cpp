#include "gui/kit/frm_help.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/kit/appearance.h"
#include "gui/kit/web_links.h"

// The guide is a resource of a static library: it has to be registered by hand.
static void RegisterGuide() { Q_INIT_RESOURCE(orvanta); }

namespace orvanta {

const char* FrmHelp::GuideAddress() { return "qrc:/orvanta/user_guide.html"; }

FrmHelp::FrmHelp(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    RegisterGuide();
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QString::fromLatin1(kWindowCaption) + QStringLiteral(" - User Guide"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinMaxButtonsHint);
    browser_->setObjectName(QStringLiteral("browser"));
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme() == QLatin1String("qrc") || url.isRelative()) browser_->setSource(url);
        else OpenWebAddress(url);
    });
    browser_->setSource(QUrl(QString::fromLatin1(GuideAddress())));

    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    PaintButton(close);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
    layout->addWidget(close, 0, Qt::AlignRight);
    Paint(this, look::LightOrange, look::Brown);
    Paint(browser_, look::Black, look::White);
    resize(680, 620);
}

}  // namespace orvanta
