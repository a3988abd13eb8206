#include "atlas/gui/frm_birth_place.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <memory>

#include "atlas/place_form.h"
#include "atlas/place_search.h"
#include "chart/gui/appearance.h"

namespace orvanta {
namespace {

// Long enough to let a word be typed, short enough to feel immediate.
constexpr int kTypingPauseMs = 250;
constexpr std::size_t kMostMatches = 200;

enum Column { Name, State, Country, Latitude, Longitude, Zone, Offset, Dst, ColumnCount };

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

QString Angle(double value, char positive, char negative) {
    const long minutes = std::lround(std::fabs(value) * 60.0);
    return QStringLiteral("%1°%2' %3")
        .arg(minutes / 60)
        .arg(minutes % 60, 2, 10, QLatin1Char('0'))
        .arg(QLatin1Char(value < 0 ? negative : positive));
}

const QString kHint = QStringLiteral("Type a place: Pune; Springfield, Illinois; Delhi India");

}  // namespace

FrmBirthPlace::FrmBirthPlace(std::optional<CivilDateTime> birth, QWidget* parent)
    : QDialog(parent), birth_(birth) {
    setObjectName(QStringLiteral("frmBirthPlace"));
    setWindowTitle(QStringLiteral("Find Birth Place"));
    setModal(true);
    Paint(this, look::LightOrange, look::Brown);

    auto* caption = new QLabel(QStringLiteral("Place of Birth"), this);
    caption->setFont(Verdana(9, true));
    Paint(caption, look::LightOrange, look::Brown);
    txtSearch_ = new QLineEdit(this);
    txtSearch_->setObjectName(QStringLiteral("txtPlaceSearch"));
    txtSearch_->setFont(Verdana(9));
    txtSearch_->setPlaceholderText(QStringLiteral("City, state or country"));
    Paint(txtSearch_, look::Black, look::PaleYellow);
    txtSearch_->installEventFilter(this);

    grdPlaces_ = new QTableWidget(0, ColumnCount, this);
    grdPlaces_->setObjectName(QStringLiteral("grdPlaces"));
    grdPlaces_->setHorizontalHeaderLabels({QStringLiteral("Place"), QStringLiteral("State"), QStringLiteral("Country"),
                                           QStringLiteral("Latitude"), QStringLiteral("Longitude"),
                                           QStringLiteral("Zone"), QStringLiteral("UTC Offset"), QStringLiteral("DST")});
    grdPlaces_->setFont(Verdana(8.25));
    grdPlaces_->horizontalHeader()->setFont(Verdana(8.25, true));
    grdPlaces_->verticalHeader()->hide();
    grdPlaces_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdPlaces_->setSelectionMode(QAbstractItemView::SingleSelection);
    grdPlaces_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdPlaces_->setAlternatingRowColors(true);
    grdPlaces_->horizontalHeader()->setStretchLastSection(true);
    grdPlaces_->setMinimumSize(820, 300);
    {
        QPalette palette = grdPlaces_->palette();
        palette.setColor(QPalette::Base, QColor(look::PaleYellow));
        palette.setColor(QPalette::AlternateBase, QColor(look::White));
        palette.setColor(QPalette::Text, QColor(look::Black));
        grdPlaces_->setPalette(palette);
    }
    grdPlaces_->installEventFilter(this);
    connect(grdPlaces_, &QTableWidget::cellDoubleClicked, this, [this] { TakeCurrent(); });

    lblHint_ = new QLabel(kHint, this);
    lblHint_->setObjectName(QStringLiteral("lblPlaceHint"));
    lblHint_->setFont(Verdana(8.25));
    Paint(lblHint_, look::PaleYellow, look::Brown);

    cmdTake_ = new QPushButton(QStringLiteral("&Take This Place"), this);
    cmdTake_->setObjectName(QStringLiteral("cmdTakePlace"));
    cmdTake_->setFont(Verdana(8.25, true));
    cmdTake_->setEnabled(false);
    PaintButton(cmdTake_);
    connect(cmdTake_, &QPushButton::clicked, this, [this] { TakeCurrent(); });
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancelPlace"));
    cancel->setFont(Verdana(8.25, true));
    PaintButton(cancel);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(caption);
    searchRow->addWidget(txtSearch_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblHint_, 1);
    buttons->addWidget(cmdTake_);
    buttons->addWidget(cancel);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(14, 12, 14, 12);
    column->setSpacing(8);
    column->addLayout(searchRow);
    column->addWidget(grdPlaces_, 1);
    column->addLayout(buttons);

    pause_ = new QTimer(this);
    pause_->setSingleShot(true);
    pause_->setInterval(kTypingPauseMs);
    connect(pause_, &QTimer::timeout, this, &FrmBirthPlace::StartSearch);
    connect(txtSearch_, &QLineEdit::textEdited, pause_, qOverload<>(&QTimer::start));
    txtSearch_->setFocus();
}

FrmBirthPlace::~FrmBirthPlace() = default;

void FrmBirthPlace::search(const QString& text) {
    txtSearch_->setText(text);
    pause_->stop();
    StartSearch();
}

void FrmBirthPlace::StartSearch() {
    const quint64 generation = ++generation_;
    const QString text = txtSearch_->text();
    if (text.trimmed().isEmpty()) {
        ShowMatches({}, text);
        return;
    }
    lblHint_->setText(QStringLiteral("Searching..."));
    // The thread outlives the window if need be: it deletes itself when done, and the
    // answer is dropped when the window is gone or a newer search was started.
    auto answer = std::make_shared<std::vector<Place>>();
    QThread* worker = QThread::create([answer, query = text.toStdString()] {
        *answer = atlas::SearchPlaces(query, kMostMatches);
    });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &QThread::finished, this, [this, answer, generation, text] {
        if (generation == generation_) ShowMatches(std::move(*answer), text);
    });
    worker->start();
}

void FrmBirthPlace::ShowMatches(std::vector<Place> places, const QString& text) {
    matches_ = std::move(places);
    grdPlaces_->setRowCount(static_cast<int>(matches_.size()));
    for (int row = 0; row < static_cast<int>(matches_.size()); ++row) {
        const Place& place = matches_[static_cast<std::size_t>(row)];
        const QString cells[] = {Utf8(place.name),
                                 Utf8(place.state),
                                 Utf8(place.country),
                                 Angle(place.latitude, 'N', 'S'),
                                 Angle(place.longitude, 'E', 'W'),
                                 Utf8(place.timeZone)};
        for (int column = 0; column < static_cast<int>(std::size(cells)); ++column) {
            grdPlaces_->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
    }
    FillZoneColumns();
    grdPlaces_->resizeColumnsToContents();
    if (!matches_.empty()) grdPlaces_->selectRow(0);
    cmdTake_->setEnabled(!matches_.empty());
    if (text.trimmed().isEmpty()) {
        lblHint_->setText(kHint);
    } else if (matches_.empty()) {
        lblHint_->setText(QStringLiteral("No place in the atlas matches \"%1\".").arg(text.trimmed()));
    } else {
        lblHint_->setText(QStringLiteral("%1 %2: Enter or a double-click takes one.")
                              .arg(matches_.size())
                              .arg(matches_.size() == 1 ? QStringLiteral("match") : QStringLiteral("matches")));
    }
    emit matchesShown();
}

void FrmBirthPlace::setBirthTime(std::optional<CivilDateTime> birth) {
    birth_ = birth;
    FillZoneColumns();
}

void FrmBirthPlace::FillZoneColumns() {
    for (int row = 0; row < static_cast<int>(matches_.size()); ++row) {
        QString offset = QStringLiteral("?");
        QString dst;
        if (birth_) {
            const atlas::ZoneAtBirth zone = atlas::ReadZoneAt(matches_[static_cast<std::size_t>(row)].timeZone, *birth_);
            switch (zone.kind) {
            case atlas::LocalTimeKind::Single:
            case atlas::LocalTimeKind::Doubled:
                offset = Utf8(atlas::OffsetText(zone.utcOffsetSeconds));
                dst = zone.daylightTime ? QStringLiteral("Yes") : QStringLiteral("No");
                if (zone.kind == atlas::LocalTimeKind::Doubled) dst += QStringLiteral(" (time occurs twice)");
                break;
            case atlas::LocalTimeKind::Skipped: dst = QStringLiteral("time skipped by the clocks"); break;
            case atlas::LocalTimeKind::Unknown: dst = QStringLiteral("zone unknown"); break;
            }
            grdPlaces_->setItem(row, Offset, new QTableWidgetItem(offset));
            grdPlaces_->setItem(row, Dst, new QTableWidgetItem(dst));
            if (!zone.problem.empty()) {
                grdPlaces_->item(row, Offset)->setToolTip(Utf8(zone.problem));
                grdPlaces_->item(row, Dst)->setToolTip(Utf8(zone.problem));
            }
        } else {
            grdPlaces_->setItem(row, Offset, new QTableWidgetItem(offset));
            grdPlaces_->setItem(row, Dst, new QTableWidgetItem(QStringLiteral("no birth date")));
        }
    }
}

void FrmBirthPlace::TakeCurrent() {
    const int row = grdPlaces_->currentRow();
    if (row < 0 || row >= static_cast<int>(matches_.size())) return;
    chosen_ = matches_[static_cast<std::size_t>(row)];
    accept();
}

bool FrmBirthPlace::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == txtSearch_ && pause_->isActive()) {
                // Enter before the pause ran out: search now; the next Enter takes a match.
                search(txtSearch_->text());
                return true;
            }
            TakeCurrent();
            return true;
        }
        if (watched == txtSearch_ && (key == Qt::Key_Down || key == Qt::Key_Up) && !matches_.empty()) {
            grdPlaces_->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace orvanta
