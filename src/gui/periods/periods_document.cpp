#include "gui/periods/periods_document.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <array>
#include <cmath>
#include <utility>

#include "gui/grahas/frm_chart.h"
#include "gui/kit/appearance.h"
#include "gui/periods/period_model.h"
#include "gui/periods/period_timeline.h"

namespace orvanta {

PeriodsDocument::PeriodsDocument(const PeriodModel& model, const PeriodTimeline& timeline, std::vector<QModelIndex> rows,
                                 Heading heading, QString notes, QString running, std::int64_t todayUtc)
    : model_(model), timeline_(timeline), rows_(std::move(rows)), heading_(std::move(heading)),
      notes_(std::move(notes)), running_(std::move(running)), todayUtc_(todayUtc) {}

// The line on top of every page: whose periods, born when and where, the settings used,
// and the page number. Returns where the page's own contents begin.
int PeriodsDocument::PaintPageHeading(QPainter& painter, const QRect& page, int pageNumber) const {
    const PreciseReport& report = model_.report();
    const int line = QFontMetrics(Verdana(8), painter.device()).height() * 5 / 4;
    painter.setFont(Verdana(11, true));
    painter.setPen(QColor(look::Brown));
    const QRect title(0, 0, page.width(), line * 3 / 2);
    painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Precise Periods of %1").arg(heading_.name));
    painter.setFont(Verdana(8));
    painter.drawText(title, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Page %1").arg(pageNumber));
    painter.setPen(QColor(look::Black));
    const auto degrees = [](double value, char positive, char negative) {
        const long minutes = std::lround(std::fabs(value) * 60);
        return QStringLiteral("%1\u00b0%2\u2032 %3")
            .arg(minutes / 60)
            .arg(minutes % 60, 2, 10, QLatin1Char('0'))
            .arg(QLatin1Char(value < 0 ? negative : positive));
    };
    QString text = QStringLiteral("Born %1, %2, at %3 %4.  %5 ayanamsa, year of %6")
                       .arg(QString::fromStdString(FormatCivil(report.chart.birth.local)).replace(u'T', u' '),
                            heading_.zone, degrees(report.chart.latitude, 'N', 'S'),
                            degrees(report.chart.longitude, 'E', 'W'), heading_.ayanamsa,
                            heading_.yearDays);
    if (heading_.uncertaintyMinutes > 0) {
        text += QStringLiteral(", birth time within \u00b1%1 minutes").arg(heading_.uncertaintyMinutes);
    }
    const QRect settings(0, title.bottom() + 1, page.width(), line);
    painter.drawText(settings, Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(text + u'.', Qt::ElideRight, page.width()));
    painter.setPen(QColor(look::LightOrange));
    painter.drawLine(0, settings.bottom() + line / 4, page.width(), settings.bottom() + line / 4);
    return settings.bottom() + line / 2;
}

// The first page's own part: the notes, the timeline and the provenance.
int PeriodsDocument::PaintSummary(QPainter& painter, const QRect& page, int y) const {
    const QFont font = Verdana(8);
    painter.setFont(font);
    const int line = painter.fontMetrics().height() * 5 / 4;
    painter.setPen(QColor(look::Black));
    const QString& text = notes_;
    if (!text.isEmpty()) {
        const QRect area = painter.boundingRect(QRect(0, y, page.width(), page.height()), Qt::TextWordWrap, text);
        painter.drawText(QRect(0, y, page.width(), area.height()), Qt::TextWordWrap | Qt::AlignLeft, text);
        y += area.height() + line / 2;
    }
    painter.drawText(QRect(0, y, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter, running_.split(u'\n').first());
    y += line;
    const QRect timeline(0, y + line / 2, page.width(), 6 * painter.fontMetrics().height() + 24);
    timeline_.paintTimeline(painter, timeline);
    y = timeline.bottom() + line;

    painter.setPen(QColor(look::Black));
    const auto lines = ProvenanceLines(model_.report());
    const int half = static_cast<int>(lines.size() + 1) / 2;
    const int caption = page.width() / 8, value = page.width() * 3 / 8 - line;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const int x = i < half ? 0 : page.width() / 2;
        const int rowY = y + (i % half) * line;
        painter.setFont(Verdana(8, true));
        painter.drawText(QRect(x, rowY, caption, line), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromStdString(lines[static_cast<std::size_t>(i)].first));
        painter.setFont(font);
        painter.drawText(QRect(x + caption, rowY, value, line), Qt::AlignLeft | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(
                             QString::fromStdString(lines[static_cast<std::size_t>(i)].second), Qt::ElideRight, value));
    }
    return y + half * line + line;
}

bool PeriodsDocument::paint(QPagedPaintDevice& device) const {
    QPainter painter(&device);
    if (!painter.isActive()) return false;
    PaintBirthChartPage(painter, device, model_.report().chart, heading_.name, todayUtc_);
    const QRect page(0, 0, device.width(), device.height());
    const QFont font = Verdana(8), bold = Verdana(8, true);
    painter.setFont(font);
    const int line = painter.fontMetrics().height() * 5 / 4;
    const PreciseReport& report = model_.report();
    // With a birth-time window a start is a range, laid out on two lines.
    const bool ranges = report.window.has_value();
    const int rowHeight = ranges ? 2 * line : line;
    int pageNumber = 1;
    int y = PaintPageHeading(painter, page, pageNumber);
    y = PaintSummary(painter, page, y);

    // Each column as wide as its widest text, the page's width shared out in proportion.
    const QFontMetrics metrics(bold, &device);
    const int pad = metrics.horizontalAdvance(u'M') / 2;
    const int indent = metrics.horizontalAdvance(QStringLiteral("MM"));
    const QString instant = QStringLiteral("0000-00-00 00:00:00");
    const std::array<QString, PeriodModel::ColumnCount> widest = {
        QStringLiteral("Mercury Pratyantar"), instant, instant, QStringLiteral("00y 00m 00d"),
        QStringLiteral("before birth"), QStringLiteral("Aug-18-1981"), QString()};
    std::array<int, PeriodModel::ColumnCount> natural{};
    int total = 0;
    for (int c = 0; c < PeriodModel::ColumnCount; ++c) {
        const auto k = static_cast<std::size_t>(c);
        natural[k] = std::max(metrics.horizontalAdvance(widest[k]),
                              metrics.horizontalAdvance(model_.headerData(c, Qt::Horizontal).toString())) +
                     2 * pad + (c == 0 ? (kMaxPeriodLevels - 1) * indent : 0);
        total += natural[k];
    }
    std::array<int, PeriodModel::ColumnCount + 1> left{};
    for (std::size_t c = 0; c < natural.size(); ++c) {
        left[c + 1] = left[c] + static_cast<int>(static_cast<long long>(natural[c]) * page.width() / total);
    }
    const auto cell = [&](int c, int top, int height, int inset, const QString& text, Qt::Alignment align) {
        const QRect box(left[static_cast<std::size_t>(c)] + pad + inset, top,
                        left[static_cast<std::size_t>(c) + 1] - left[static_cast<std::size_t>(c)] - 2 * pad - inset, height);
        painter.drawText(box, align | Qt::AlignVCenter, painter.fontMetrics().elidedText(text, Qt::ElideRight, box.width()));
    };
    const auto headings = [&] {
        painter.setFont(bold);
        painter.setPen(QColor(look::Black));
        painter.fillRect(QRect(0, y, page.width(), line), QColor(look::LightOrange));
        for (int c = 0; c < PeriodModel::ColumnCount; ++c) {
            cell(c, y, line, 0, model_.headerData(c, Qt::Horizontal).toString(), Qt::AlignLeft);
        }
        y += line;
    };
    headings();
    for (const QModelIndex& row : rows_) {
        if (y + rowHeight > page.height()) {
            device.newPage();
            y = PaintPageHeading(painter, page, ++pageNumber);
            headings();
        }
        const Period& period =
            report.chart.tree.periods[static_cast<std::size_t>(row.data(PeriodModel::PeriodIndexRole).toInt())];
        const bool running = row.data(PeriodModel::RunningRole).toBool();
        if (running) painter.fillRect(QRect(0, y, page.width(), rowHeight), QColor(look::PaleYellow));
        painter.setFont(running ? bold : font);
        painter.setPen(QColor(look::Black));
        // The level's name beside the lord, so that a deep row reads on its own.
        cell(0, y, rowHeight, (period.level - 1) * indent,
             row.data().toString() + u' ' + QString::fromUtf8(LevelName(period.level).data(),
                                                              static_cast<qsizetype>(LevelName(period.level).size())),
             Qt::AlignLeft);
        for (int c = 1; c < PeriodModel::ColumnCount; ++c) {
            const QString text = row.siblingAtColumn(c).data().toString();
            if (c == PeriodModel::Start && ranges) {
                const QStringList ends = text.split(QStringLiteral(" .. "));
                cell(c, y, line, 0, ends.value(0) + QStringLiteral(" .."), Qt::AlignLeft);
                cell(c, y + line, line, 0, ends.value(1), Qt::AlignLeft);
                continue;
            }
            cell(c, y, rowHeight, 0, text, Qt::AlignLeft);
        }
        painter.setPen(QColor(look::LightOrange));
        painter.drawLine(0, y + rowHeight - 1, page.width(), y + rowHeight - 1);
        y += rowHeight;
    }
    return painter.end();
}

}  // namespace orvanta
