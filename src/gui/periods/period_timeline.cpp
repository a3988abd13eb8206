#include "gui/periods/period_timeline.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

#include "core/dasha/dasha.h"
#include "core/periods/period_view.h"
#include "gui/kit/appearance.h"

namespace orvanta {

namespace {

constexpr double kSecondsPerYear = 365.2425 * 86400;  // the age scale's year: the calendar's mean

const Period& PeriodOf(const PreciseReport& report, int index) {
    return report.chart.tree.periods[static_cast<std::size_t>(index)];
}

}  // namespace

PeriodTimeline::PeriodTimeline(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("periodTimeline"));
    setMouseTracking(true);
    setAutoFillBackground(true);
    Paint(this, look::White, look::Brown);
    setFont(Verdana(8.25));
}

void PeriodTimeline::setReport(const PreciseReport* report) {
    report_ = report;
    update();
}

void PeriodTimeline::setToday(std::optional<double> seconds) {
    today_ = seconds;
    update();
}

QSize PeriodTimeline::sizeHint() const { return {760, 6 * fontMetrics().height() + 24}; }
QSize PeriodTimeline::minimumSizeHint() const { return {320, 6 * fontMetrics().height() + 24}; }

PeriodTimeline::Bands PeriodTimeline::bandsOf(const QRect& area, const QFontMetrics& metrics) const {
    const int line = metrics.height();
    const QRect inner = area.adjusted(line / 2, line + 4, -line / 2, -4);  // the markers' captions above
    Bands bands;
    bands.maha = QRect(inner.left(), inner.top(), inner.width(), 2 * line);
    bands.antar = QRect(inner.left(), bands.maha.bottom() + 3, inner.width(), line);
    bands.scale = QRect(inner.left(), bands.antar.bottom() + 3, inner.width(), inner.bottom() - bands.antar.bottom() - 3);
    return bands;
}

double PeriodTimeline::xOf(const QRect& band, double seconds) const {
    const PeriodTree& tree = report_->chart.tree;
    const double from = tree.periods.front().start;
    const double to = tree.periods[kLords - 1].end;
    return band.left() + (seconds - from) / (to - from) * band.width();
}

void PeriodTimeline::paintTimeline(QPainter& painter, const QRect& area) const {
    painter.save();
    painter.fillRect(area, QColor(look::Brown));
    if (report_ == nullptr || report_->chart.tree.periods.size() < kLords) {
        painter.restore();
        return;
    }
    const PeriodTree& tree = report_->chart.tree;
    const QFontMetrics metrics = painter.fontMetrics();
    const Bands bands = bandsOf(area, metrics);
    const QColor pale(look::PaleYellow), orange(look::LightOrange), brown(look::Brown);

    for (int m = 0; m < kLords; ++m) {
        const Period& maha = PeriodOf(*report_, m);
        const QRectF bar(QPointF(xOf(bands.maha, maha.start), bands.maha.top()),
                         QPointF(xOf(bands.maha, maha.end), bands.maha.bottom()));
        painter.fillRect(bar, m % 2 == 0 ? pale : orange);
        painter.setPen(brown);
        painter.drawRect(bar);
        const QString name = QString::fromUtf8(DashaLord[static_cast<std::size_t>(maha.lords[0])].data(),
                                               static_cast<int>(DashaLord[static_cast<std::size_t>(maha.lords[0])].size()));
        QString caption = name;
        if (metrics.horizontalAdvance(caption) > bar.width() - 4) caption = name.left(2);
        if (metrics.horizontalAdvance(caption) <= bar.width() - 2) {
            painter.setPen(QColor(look::Black));
            painter.drawText(bar, Qt::AlignCenter, caption);
        }
        if (maha.firstChild < 0) continue;
        for (int a = maha.firstChild; a < maha.firstChild + kLords; ++a) {
            const Period& antar = PeriodOf(*report_, a);
            const QRectF cell(QPointF(xOf(bands.antar, antar.start), bands.antar.top()),
                              QPointF(xOf(bands.antar, antar.end), bands.antar.bottom()));
            painter.fillRect(cell, (a - maha.firstChild) % 2 == 0 ? orange : pale);
            painter.setPen(brown);
            painter.drawRect(cell);
        }
    }

    // The age scale: a tick every ten years from the birth, a small one every five.
    painter.setPen(QColor(look::White));
    const int axis = bands.scale.top() + 1;
    painter.drawLine(bands.scale.left(), axis, bands.scale.right(), axis);
    const double birth = tree.request.birthSeconds;
    for (int age = 0;; age += 5) {
        const double x = xOf(bands.scale, birth + age * kSecondsPerYear);
        if (x > bands.scale.right() + 0.5) break;
        const bool labelled = age % 10 == 0;
        painter.drawLine(QPointF(x, axis), QPointF(x, axis + (labelled ? 5 : 3)));
        if (!labelled) continue;
        const QString text = QString::number(age);
        const int w = metrics.horizontalAdvance(text);
        const double left = std::clamp(x - w / 2.0, double(area.left()), double(area.right() - w));
        painter.drawText(QPointF(left, axis + 6 + metrics.ascent()), text);
    }
    const QString unit = QStringLiteral("age in years");
    painter.drawText(QRect(bands.scale.left(), axis + 6 + metrics.height(), bands.scale.width(), metrics.height()),
                     Qt::AlignRight | Qt::AlignTop, unit);

    // The markers: a white line at the birth, a pale cyan one today, captioned above.
    const auto marker = [&](double seconds, QRgb colour, const QString& caption) {
        const double x = xOf(bands.maha, seconds);
        if (x < bands.maha.left() - 0.5 || x > bands.maha.right() + 0.5) return;
        painter.setPen(QPen(QColor(colour), 2));
        painter.drawLine(QPointF(x, bands.maha.top() - 2), QPointF(x, bands.antar.bottom() + 2));
        const int w = metrics.horizontalAdvance(caption);
        const double left = std::clamp(x - w / 2.0, double(area.left()), double(area.right() - w));
        painter.drawText(QPointF(left, bands.maha.top() - 4 - metrics.descent()), caption);
    };
    marker(birth, look::White, QStringLiteral("Birth"));
    if (today_) marker(*today_, look::PaleCyan, QStringLiteral("Today"));
    painter.restore();
}

int PeriodTimeline::periodAt(const QPoint& point) const {
    if (report_ == nullptr || report_->chart.tree.periods.size() < kLords) return -1;
    const Bands bands = bandsOf(rect(), fontMetrics());
    const bool inMaha = bands.maha.contains(point), inAntar = bands.antar.contains(point);
    if (!inMaha && !inAntar) return -1;
    const PeriodTree& tree = report_->chart.tree;
    const double from = tree.periods.front().start, to = tree.periods[kLords - 1].end;
    const double at = from + (point.x() - bands.maha.left() + 0.5) / bands.maha.width() * (to - from);
    const std::vector<int> chain = RunningChain(tree, at, inAntar ? 2 : 1);
    return chain.empty() ? -1 : chain.back();
}

QString PeriodTimeline::periodText(int period) const {
    if (report_ == nullptr || period < 0 || static_cast<std::size_t>(period) >= report_->chart.tree.periods.size()) {
        return {};
    }
    const Period& p = PeriodOf(*report_, period);
    return QString::fromStdString(LordsText(p, " / ") + "\n" + LocalText(*report_, p.start) + " to " +
                                  LocalText(*report_, p.end) + "\nage at start " + AgeText(*report_, p));
}

void PeriodTimeline::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    paintTimeline(painter, rect());
}

bool PeriodTimeline::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = periodText(periodAt(help->pos()));
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace orvanta
