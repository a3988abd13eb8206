#include "gui/atlas/frm_birth_place.h"

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

#include "core/atlas/place_form.h"
#include "core/atlas/place_search.h"
#include "gui/kit/appearance.h"

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

const QString kHint = QStringLiteral("Type a place: Pune; Springfield, IL; Delhi India");

// A text the person typed, inside a sentence: its first few dozen characters.
QString Quoted(const QString& text) {
    constexpr int kMost = 40;
    const QString trimmed = text.trimmed();
    return QLatin1Char('"') + (trimmed.size() > kMost ? trimmed.left(kMost) + QStringLiteral("...") : trimmed) +
           QLatin1Char('"');
}

struct Answer {
    std::vector<Place> places;
    QString closest;  // the closest names, when no place matched and those are shown
};

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
    grdPlaces_->setPalette(PaleYellowRows(grdPlaces_->palette(), QColor(look::White)));
    grdPlaces_->installEventFilter(this);
    connect(grdPlaces_, &QTableWidget::cellDoubleClicked, this, [this] { TakeCurrent(); });

    lblHint_ = new QLabel(kHint, this);
    lblHint_->setObjectName(QStringLiteral("lblPlaceHint"));
    lblHint_->setFont(Verdana(8.25));
    // A long text must not widen the window past the screen: the hint is cut instead.
    lblHint_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblHint_->setMinimumWidth(200);
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

FrmBirthPlace::~FrmBirthPlace() {
    if (running_) running_->Cancel();
}

void FrmBirthPlace::search(const QString& text) {
    txtSearch_->setText(text);
    pause_->stop();
    StartSearch();
}

void FrmBirthPlace::StartSearch() {
    const quint64 generation = ++generation_;
    const QString text = txtSearch_->text();
    if (running_) {  // it ends soon; the newest text is searched then
        running_->Cancel();
        searchQueued_ = true;
        lblHint_->setText(QStringLiteral("Searching..."));
        return;
    }
    if (text.trimmed().isEmpty()) {
        ShowMatches({}, text);
        return;
    }
    const std::string query = text.toStdString();
    if (const auto problem = atlas::QueryProblem(query)) {
        matches_.clear();
        grdPlaces_->setRowCount(0);
        cmdTake_->setEnabled(false);
        lblHint_->setText(QString::fromStdString(*problem));
        emit matchesShown();
        return;
    }
    lblHint_->setText(QStringLiteral("Searching..."));
    // The thread outlives the window if need be: it deletes itself when done, and the
    // answer is dropped when the window is gone or a newer search was started.
    auto cancel = std::make_shared<atlas::SearchCancel>();
    running_ = cancel;
    auto answer = std::make_shared<Answer>();
    QThread* worker = QThread::create([answer, cancel, query] {
        answer->places = atlas::SearchPlaces(query, kMostMatches, cancel.get());
        if (!answer->places.empty() || cancel->cancelled()) return;
        for (const atlas::ClosestName& name : atlas::ClosestNames(query)) {
            answer->closest += (answer->closest.isEmpty() ? "" : ", ") + QString::fromStdString(name.shown);
            for (const Place& place : name.places) {
                if (answer->places.size() < kMostMatches) answer->places.push_back(place);
            }
        }
    });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &QThread::finished, this, [this, answer, generation, text] {
        running_.reset();
        if (searchQueued_) {
            searchQueued_ = false;
            StartSearch();
        } else if (generation == generation_) {
            ShowMatches(std::move(answer->places), text, answer->closest);
        }
    });
    worker->start();
}

void FrmBirthPlace::ShowMatches(std::vector<Place> places, const QString& text, const QString& closest) {
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
        lblHint_->setText(QStringLiteral("No place in the atlas matches %1.").arg(Quoted(text)));
    } else if (!closest.isEmpty()) {
        lblHint_->setText(QStringLiteral("No place matches %1; the closest names are shown: %2.").arg(Quoted(text), closest));
    } else {
        lblHint_->setText(QStringLiteral("%1 %2: Enter or a double-click takes one.")
                              .arg(matches_.size())
                              .arg(matches_.size() == 1 ? QStringLiteral("match") : QStringLiteral("matches")));
    }
    lblHint_->setToolTip(lblHint_->text());
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
