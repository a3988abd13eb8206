#include "gui/astro/frm_time_zone.h"

#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/astro/time_zones.h"
#include "core/kit/text.h"
#include "gui/kit/appearance.h"

namespace orvanta {

FrmTimeZone::FrmTimeZone(QLineEdit* zoneHour, QLineEdit* zoneMinute, QWidget* parent)
    : QDialog(parent),
      zoneHour_(zoneHour),
      zoneMinute_(zoneMinute),
      lstTimeZone_(new QListWidget(this)),
      cmdQuit_(new QPushButton(QStringLiteral("&Quit"), this)) {
    setObjectName(QStringLiteral("FrmTimeZone"));
    setWindowTitle(QString::fromLatin1(kWindowCaption));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    Paint(this, look::LightOrange, look::Brown);

    lstTimeZone_->setObjectName(QStringLiteral("lstTimeZone"));
    lstTimeZone_->setFont(Verdana(8.25));
    lstTimeZone_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstTimeZone_->viewport()->installEventFilter(this);
    Paint(lstTimeZone_, look::Black, look::White);

    cmdQuit_->setObjectName(QStringLiteral("cmdQuit"));
    cmdQuit_->setFont(Verdana(8.25));
    cmdQuit_->setAutoDefault(false);
    PaintButton(cmdQuit_);
    connect(cmdQuit_, &QPushButton::clicked, this, &FrmTimeZone::cmdQuit_Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(lstTimeZone_);
    layout->addWidget(cmdQuit_, 0, Qt::AlignHCenter);

    Form_Load();
    const QFontMetrics metrics(lstTimeZone_->font());
    int widest = 0;
    for (const auto& zone : TimeZones) widest = std::max(widest, metrics.horizontalAdvance(Text(zone.text)));
    lstTimeZone_->setMinimumWidth(widest + 2 * lstTimeZone_->frameWidth() + 32);
    lstTimeZone_->setMinimumHeight(16 * metrics.height());
}

void FrmTimeZone::Form_Load() {
    lstTimeZone_->clear();
    for (const auto& zone : TimeZones) lstTimeZone_->addItem(Text(zone.text));
}

void FrmTimeZone::lstTimeZone_DblClick() {
    const QList<QListWidgetItem*> selected = lstTimeZone_->selectedItems();
    const int row = selected.isEmpty() ? -1 : lstTimeZone_->row(selected.front());
    if (row >= 0 && row < static_cast<int>(TimeZones.size())) {
        // Written as they stand: these texts do not pass through the key filters, and
        // the minute box keeps "-30" whole although it takes two typed characters.
        const TimeZoneRow& zone = TimeZones[static_cast<std::size_t>(row)];
        zoneHour_->setText(Text(zone.zoneHour));
        zoneMinute_->setText(Text(zone.zoneMinute));
    }
    done(QDialog::Accepted);
}

void FrmTimeZone::cmdQuit_Click() { done(QDialog::Rejected); }

bool FrmTimeZone::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstTimeZone_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        lstTimeZone_DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace orvanta
