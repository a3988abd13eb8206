#include "gui/kit/frm_about.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/kit/about.h"
#include "gui/kit/appearance.h"
#include "orvanta_version.h"

namespace orvanta {

FrmAbout::FrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QString::fromLatin1(kWindowCaption));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    Paint(this, look::LightOrange, look::Brown);

    auto* name = new QLabel(QString::fromLatin1(kProgramTitle), this);
    name->setObjectName(QStringLiteral("lblProductName"));
    name->setFont(Verdana(14, true));
    Paint(name, look::Yellow, look::Brown);
    auto* version = new QLabel(QStringLiteral("Version " ORVANTA_VERSION), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setFont(Verdana(9.75, true));
    Paint(version, look::White, look::Brown);
    const std::string_view about = kAboutLine;
    auto* description = new QLabel(QString::fromUtf8(about.data(), static_cast<qsizetype>(about.size())), this);
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setWordWrap(true);
    description->setFont(Verdana(9));
    Paint(description, look::PaleYellow, look::Brown);
    auto* licence = new QLabel(QStringLiteral("Free software under the GNU Affero General Public License 3.0 or later"), this);
    licence->setObjectName(QStringLiteral("lblLicense"));
    licence->setWordWrap(true);
    licence->setFont(Verdana(8.25));
    Paint(licence, look::PaleYellow, look::Brown);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setFont(Verdana(8.25, true));
    ok->setDefault(true);
    PaintButton(ok);
    connect(ok, &QPushButton::clicked, this, &FrmAbout::cmdOK_Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(10);
    for (QLabel* label : {name, version, description, licence}) {
        label->setAlignment(Qt::AlignHCenter);
        layout->addWidget(label);
    }
#ifdef ORVANTA_HAVE_ATLAS
    // The atlas's data is GeoNames', and its licence asks for this credit.
    auto* atlasCredit = new QLabel(
        QStringLiteral("Place names, coordinates and time zones from GeoNames (geonames.org), licensed CC BY 4.0."), this);
    atlasCredit->setObjectName(QStringLiteral("lblAtlasCredit"));
    atlasCredit->setWordWrap(true);
    atlasCredit->setFont(Verdana(8.25));
    atlasCredit->setAlignment(Qt::AlignHCenter);
    Paint(atlasCredit, look::PaleYellow, look::Brown);
    layout->addWidget(atlasCredit);
#endif
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    description->setMinimumWidth(340);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmAbout::cmdOK_Click() { accept(); }

}  // namespace orvanta
