#include "gui/grahas/chart_drawing.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>

#include <array>
#include <cmath>
#include <functional>

#include "core/astro/astronomy.h"
#include "core/dasha/dasha.h"
#include "gui/kit/appearance.h"

namespace orvanta {

namespace {

constexpr std::array<const char*, kMaxPeriodLevels> kLevelNames = {"Maha Dasha", "Antar Dasha", "Pratyantar Dasha",
                                                                   "Sookshma Dasha", "Prana Dasha"};
constexpr std::array<QRgb, kMaxPeriodLevels> kLevelColours = {look::LightOrange, look::Yellow, look::PaleCyan,
                                                              qRgb(192, 255, 192), qRgb(255, 208, 232)};

// South Indian squares (row, column) of the signs from Aries: Pisces at the top left,
// the signs running clockwise round the edge.
constexpr std::array<std::array<int, 2>, 12> kSouthSquares = {{{0, 1}, {0, 2}, {0, 3}, {1, 3}, {2, 3}, {3, 3},
                                                               {3, 2}, {3, 1}, {3, 0}, {2, 0}, {1, 0}, {0, 0}}};

QString SignCode(int sign) {
    return QString::fromLatin1(SignCodes.substr(static_cast<std::size_t>(sign) * 3, 3).data(), 3);
}

QString Latin(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// North Indian houses as fractions of the square: the centre of their writing, the
// point of the house nearest the middle, and the writing's size.
struct NorthHouse {
    QPointF centre;
    QPointF inner;
    QSizeF size;
};
constexpr double kQ = 0.25;
const std::array<NorthHouse, 12>& NorthHouses() {
    static const std::array<NorthHouse, 12> houses = {{
        {{0.5, 0.25}, {0.5, 0.5}, {0.34, 0.24}},        // 1, the top diamond
        {{0.25, 1.0 / 12}, {kQ, kQ}, {0.34, 0.15}},      // 2
        {{1.0 / 12, 0.25}, {kQ, kQ}, {0.16, 0.34}},      // 3
        {{0.25, 0.5}, {0.5, 0.5}, {0.34, 0.24}},         // 4, the left diamond
        {{1.0 / 12, 0.75}, {kQ, 1 - kQ}, {0.16, 0.34}},  // 5
        {{0.25, 11.0 / 12}, {kQ, 1 - kQ}, {0.34, 0.15}}, // 6
        {{0.5, 0.75}, {0.5, 0.5}, {0.34, 0.24}},         // 7, the bottom diamond
        {{0.75, 11.0 / 12}, {1 - kQ, 1 - kQ}, {0.34, 0.15}},  // 8
        {{11.0 / 12, 0.75}, {1 - kQ, 1 - kQ}, {0.16, 0.34}},  // 9
        {{0.75, 0.5}, {0.5, 0.5}, {0.34, 0.24}},         // 10, the right diamond
        {{11.0 / 12, 0.25}, {1 - kQ, kQ}, {0.16, 0.34}},  // 11
        {{0.75, 1.0 / 12}, {1 - kQ, kQ}, {0.34, 0.15}},   // 12
    }};
    return houses;
}

QPointF At(const QRectF& square, QPointF fraction) {
    return {square.left() + fraction.x() * square.width(), square.top() + fraction.y() * square.height()};
}

QFont ChartFont(const QRectF& square, double share = 1.0) {
    QFont font = Verdana(8);
    font.setPixelSize(std::max(4, static_cast<int>(square.width() / 21 * share)));
    return font;
}

// One name in a cell, with the graha it stands for (none for the ascendant's mark).
struct Item {
    QString text;
    std::optional<Graha> graha;
    QRectF box;
};

// The names in lines centred in `cell`, each as wide as its text, the font shrunk in
// small steps until they fit.
std::vector<Item> LayOut(std::vector<Item> items, const QRectF& cell, QFont& font) {
    for (int attempt = 0;; ++attempt) {
        const QFontMetricsF metrics(font);
        const double pad = metrics.horizontalAdvance(u' ') * 0.6;
        const double lineHeight = metrics.height() * 1.1;
        std::vector<std::vector<std::size_t>> lines(1);
        std::vector<double> widths(1, 0.0);
        for (std::size_t i = 0; i < items.size(); ++i) {
            const double width = metrics.horizontalAdvance(items[i].text) + 2 * pad;
            if (!lines.back().empty() && widths.back() + width > cell.width()) {
                lines.emplace_back();
                widths.push_back(0);
            }
            lines.back().push_back(i);
            items[i].box.setWidth(width);
            widths.back() += width;
        }
        const bool fits = static_cast<double>(lines.size()) * lineHeight <= cell.height() &&
                          *std::max_element(widths.begin(), widths.end()) <= cell.width();
        if (fits || attempt == 10 || font.pixelSize() <= 5) {
            double y = cell.center().y() - static_cast<double>(lines.size()) * lineHeight / 2;
            for (std::size_t l = 0; l < lines.size(); ++l) {
                double x = cell.center().x() - widths[l] / 2;
                for (const std::size_t i : lines[l]) {
                    items[i].box = QRectF(x, y, items[i].box.width(), lineHeight);
                    x += items[i].box.width();
                }
                y += lineHeight;
            }
            return items;
        }
        font.setPixelSize(std::max(5, static_cast<int>(font.pixelSize() * 0.92)));
    }
}

}  // namespace

ChartDrawing::ChartDrawing(GrahaChart chart, std::vector<int> marked, QString markedCaption)
    : chart_(chart), marked_(std::move(marked)), markedCaption_(std::move(markedCaption)) {
    if (marked_.size() > kLevelNames.size()) marked_.resize(kLevelNames.size());
}

QRgb ChartDrawing::LevelColour(int level) {
    return kLevelColours[static_cast<std::size_t>(std::clamp(level, 0, kMaxPeriodLevels - 1))];
}

QString ChartDrawing::legend() const {
    if (marked_.empty()) return {};
    QStringList parts;
    for (std::size_t l = 0; l < marked_.size(); ++l) {
        parts << QStringLiteral("%1 %2").arg(QLatin1String(kLevelNames[l]),
                                             Latin(DashaLord[static_cast<std::size_t>(marked_[l])]));
    }
    return QStringLiteral("Marked, %1: %2").arg(markedCaption_, parts.join(QStringLiteral(", ")));
}

std::optional<QRgb> ChartDrawing::markOf(Graha graha) const {
    for (std::size_t l = 0; l < marked_.size(); ++l) {
        if (GrahaOfLord(marked_[l]) == graha) return LevelColour(static_cast<int>(l));
    }
    return std::nullopt;
}

int ChartDrawing::cellOf(const GrahaPlace& place, ChartStyle style, bool navamsa) const {
    const int sign = navamsa ? place.navamsaSign : place.sign;
    if (style == ChartStyle::SouthIndian) return sign;
    return HouseOf(sign, navamsa ? chart_.ascendantNavamsaSign : chart_.ascendantSign) - 1;
}

QRectF ChartDrawing::CellText(const QRectF& square, ChartStyle style, int cell) {
    if (style == ChartStyle::SouthIndian) {
        const double side = square.width() / 4;
        const auto& [row, column] = kSouthSquares[static_cast<std::size_t>(cell)];
        return QRectF(square.left() + column * side, square.top() + row * side, side, side)
            .adjusted(side * 0.06, side * 0.2, -side * 0.06, -side * 0.06);
    }
    const NorthHouse& house = NorthHouses()[static_cast<std::size_t>(cell)];
    const QSizeF size(house.size.width() * square.width(), house.size.height() * square.height());
    const QPointF centre = At(square, house.centre);
    return QRectF(centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(), size.height());
}

namespace {

std::vector<Item> ItemsOf(const GrahaChart& chart, int cell, ChartStyle style, bool navamsa,
                          const std::function<int(const GrahaPlace&)>& cellOf) {
    std::vector<Item> items;
    const int ascendant = navamsa ? chart.ascendantNavamsaSign : chart.ascendantSign;
    if ((style == ChartStyle::SouthIndian && cell == ascendant) || (style == ChartStyle::NorthIndian && cell == 0)) {
        items.push_back({QStringLiteral("Asc"), std::nullopt, {}});
    }
    for (const GrahaPlace& place : chart.grahas) {
        if (cellOf(place) != cell) continue;
        QString text = Latin(GrahaAbbreviation(place.graha));
        // The nodes always move backward with the mean node: only the others are marked.
        if (place.retrograde && place.graha != Graha::Rahu && place.graha != Graha::Ketu) text += QStringLiteral("(R)");
        items.push_back({text, place.graha, {}});
    }
    return items;
}

}  // namespace

void ChartDrawing::paintChart(QPainter& painter, const QRectF& square, ChartStyle style, bool navamsa) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double line = std::max(1.0, square.width() / 250);
    painter.fillRect(square, QColor(look::PaleYellow));
    painter.setPen(QPen(QColor(look::Brown), line));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(square);
    const int ascendant = navamsa ? chart_.ascendantNavamsaSign : chart_.ascendantSign;
    if (style == ChartStyle::SouthIndian) {
        const double side = square.width() / 4;
        for (int i = 1; i < 4; ++i) {
            const double x = square.left() + i * side;
            const double y = square.top() + i * side;
            painter.drawLine(QPointF(x, square.top()), QPointF(x, i == 2 ? square.top() + side : square.bottom()));
            painter.drawLine(QPointF(x, square.bottom() - (i == 2 ? side : 0)), QPointF(x, square.bottom()));
            painter.drawLine(QPointF(square.left(), y), QPointF(i == 2 ? square.left() + side : square.right(), y));
            painter.drawLine(QPointF(square.right() - (i == 2 ? side : 0), y), QPointF(square.right(), y));
        }
        // The ascendant's square: a stroke across its upper left corner.
        const auto& [row, column] = kSouthSquares[static_cast<std::size_t>(ascendant)];
        const QPointF corner(square.left() + column * side, square.top() + row * side);
        painter.drawLine(corner + QPointF(0, side * 0.3), corner + QPointF(side * 0.3, 0));
        QFont small = ChartFont(square, 0.75);
        painter.setFont(small);
        painter.setPen(QColor(look::Brown));
        for (int sign = 0; sign < 12; ++sign) {
            const auto& [r, c] = kSouthSquares[static_cast<std::size_t>(sign)];
            painter.drawText(QRectF(square.left() + c * side, square.top() + r * side, side - side * 0.06, side * 0.2),
                             Qt::AlignRight | Qt::AlignVCenter, SignCode(sign));
        }
        QFont title = ChartFont(square, 1.5);
        title.setBold(true);
        painter.setFont(title);
        painter.drawText(QRectF(square.left() + side, square.top() + side, 2 * side, 2 * side), Qt::AlignCenter,
                         navamsa ? QStringLiteral("Navamsa\nD9") : QStringLiteral("Rasi\nD1"));
    } else {
        painter.drawLine(square.topLeft(), square.bottomRight());
        painter.drawLine(square.topRight(), square.bottomLeft());
        const QPointF top = At(square, {0.5, 0}), right = At(square, {1, 0.5}), bottom = At(square, {0.5, 1}),
                      left = At(square, {0, 0.5});
        painter.drawPolygon(QPolygonF({top, right, bottom, left}));
        QFont small = ChartFont(square, 0.8);
        painter.setFont(small);
        painter.setPen(QColor(look::Brown));
        const QFontMetricsF metrics(small);
        for (int house = 0; house < 12; ++house) {
            const NorthHouse& h = NorthHouses()[static_cast<std::size_t>(house)];
            const QPointF centre = At(square, h.centre), inner = At(square, h.inner);
            const QPointF at = centre + (inner - centre) * 0.72;
            const QRectF box(at.x() - metrics.height(), at.y() - metrics.height() / 2, 2 * metrics.height(),
                             metrics.height());
            painter.drawText(box, Qt::AlignCenter, QString::number((ascendant + house) % 12 + 1));
        }
    }
    const auto cellOfPlace = [&](const GrahaPlace& p) { return cellOf(p, style, navamsa); };
    for (int cell = 0; cell < 12; ++cell) {
        QFont font = ChartFont(square);
        const std::vector<Item> items =
            LayOut(ItemsOf(chart_, cell, style, navamsa, cellOfPlace), CellText(square, style, cell), font);
        for (const Item& item : items) {
            const std::optional<QRgb> mark = item.graha ? markOf(*item.graha) : std::nullopt;
            QFont itemFont = font;
            itemFont.setBold(mark.has_value() || !item.graha);
            painter.setFont(itemFont);
            if (mark) {
                painter.setPen(QPen(QColor(look::Brown), line));
                painter.setBrush(QColor(*mark));
                painter.drawRoundedRect(item.box.adjusted(1, 1, -1, -1), item.box.height() / 4, item.box.height() / 4);
            }
            painter.setPen(QColor(item.graha ? (mark ? look::DarkRedBrown : look::Black) : look::Brown));
            painter.drawText(item.box, Qt::AlignCenter, item.text);
        }
    }
    painter.restore();
}

QPointF ChartDrawing::placeOf(Graha graha, const QRectF& square, ChartStyle style, bool navamsa) const {
    const GrahaPlace& place = chart_.grahas[static_cast<std::size_t>(graha)];
    const int cell = cellOf(place, style, navamsa);
    QFont font = ChartFont(square);
    const auto cellOfPlace = [&](const GrahaPlace& p) { return cellOf(p, style, navamsa); };
    for (const Item& item : LayOut(ItemsOf(chart_, cell, style, navamsa, cellOfPlace), CellText(square, style, cell), font)) {
        if (item.graha == graha) return item.box.center();
    }
    return CellText(square, style, cell).center();
}

QStringList ChartTableHeadings() {
    return {QStringLiteral("Graha"), QStringLiteral("Longitude"), QStringLiteral("Nakshatra"), QStringLiteral("Pada"),
            QStringLiteral("Lord"),  QStringLiteral("Speed /day"), QStringLiteral("House"),   QStringLiteral("Navamsa"),
            QStringLiteral("Dignity")};
}

QStringList ChartTableRow(const GrahaPlace& p) {
    const QString speed = QString::number(p.speed, 'f', 4) + QStringLiteral("\u00b0") +
                          (p.retrograde ? QStringLiteral(" R") : QString());
    const QString dignity = p.dignity == Dignity::None ? QStringLiteral("-") : Latin(DignityName(p.dignity));
    return {Latin(GrahaNames[static_cast<std::size_t>(p.graha)]),
            QString::fromStdString(FormatSignPosition(p.longitude)),
            QStringLiteral("%1 %2").arg(p.nakshatra.nakshatra + 1).arg(
                Latin(NakshatraNames[static_cast<std::size_t>(p.nakshatra.nakshatra)])),
            QString::number(p.nakshatra.pada),
            Latin(DashaLord[static_cast<std::size_t>(p.nakshatra.lord)]),
            speed,
            QString::number(p.house),
            SignCode(p.navamsaSign),
            dignity};
}

void ChartDrawing::paintTable(QPainter& painter, const QRectF& area) const {
    painter.save();
    static constexpr std::array<int, 9> kShares = {10, 15, 17, 6, 10, 13, 7, 9, 13};  // percent
    std::array<double, 10> left{};
    left[0] = area.left();
    for (std::size_t c = 0; c < kShares.size(); ++c) left[c + 1] = left[c] + area.width() * kShares[c] / 100.0;
    const double line = area.height() / 10;
    QFont font = Verdana(8);
    font.setPixelSize(std::max(4, static_cast<int>(line * 0.55)));
    QFont bold = font;
    bold.setBold(true);
    const auto row = [&](double y, const QStringList& cells) {
        for (int c = 0; c < cells.size() && c < 9; ++c) {
            painter.drawText(QRectF(left[static_cast<std::size_t>(c)] + line * 0.2, y,
                                    left[static_cast<std::size_t>(c) + 1] - left[static_cast<std::size_t>(c)] - line * 0.4,
                                    line),
                             Qt::AlignLeft | Qt::AlignVCenter, cells[c]);
        }
    };
    painter.fillRect(QRectF(area.left(), area.top(), area.width(), line), QColor(look::LightOrange));
    painter.setFont(bold);
    painter.setPen(QColor(look::Black));
    row(area.top(), ChartTableHeadings());
    for (int i = 0; i < kGrahas; ++i) {
        const GrahaPlace& place = chart_.grahas[static_cast<std::size_t>(i)];
        const double y = area.top() + (i + 1) * line;
        const std::optional<QRgb> mark = markOf(place.graha);
        if (mark) painter.fillRect(QRectF(area.left(), y, area.width(), line), QColor(*mark));
        painter.setFont(mark ? bold : font);
        painter.setPen(QColor(look::Black));
        row(y, ChartTableRow(place));
        painter.setPen(QColor(look::LightOrange));
        painter.drawLine(QPointF(area.left(), y + line), QPointF(area.right(), y + line));
    }
    painter.restore();
}

void ChartDrawing::paintPage(QPainter& painter, const QRectF& page, ChartStyle style, const QString& title,
                             const QString& subtitle) const {
    painter.save();
    const double line = page.height() / 30;
    QFont heading = Verdana(12, true);
    heading.setPixelSize(std::max(4, static_cast<int>(line * 0.8)));
    painter.setFont(heading);
    painter.setPen(QColor(look::Brown));
    painter.drawText(QRectF(page.left(), page.top(), page.width(), 1.5 * line), Qt::AlignLeft | Qt::AlignVCenter, title);
    QFont font = Verdana(8);
    font.setPixelSize(std::max(4, static_cast<int>(line * 0.55)));
    painter.setFont(font);
    painter.setPen(QColor(look::Black));
    painter.drawText(QRectF(page.left(), page.top() + 1.5 * line, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                     subtitle);
    const double side = std::min(page.width() / 2 - line, page.height() * 0.52);
    const double top = page.top() + 3 * line;
    const double gap = page.width() - 2 * side;
    paintChart(painter, QRectF(page.left() + gap / 3, top, side, side), style, false);
    paintChart(painter, QRectF(page.left() + 2 * gap / 3 + side, top, side, side), style, true);
    painter.setFont(font);
    painter.setPen(QColor(look::Black));
    const double below = top + side + line * 0.2;
    const QString about = QStringLiteral("Rasi (D1) and Navamsa (D9) in the %1 style; houses in whole signs from the "
                                         "ascendant; Rahu from the %2 node, Ketu opposite.")
                              .arg(style == ChartStyle::SouthIndian ? QStringLiteral("South Indian")
                                                                    : QStringLiteral("North Indian"),
                                   Latin(NodeName(chart_.node)));
    painter.drawText(QRectF(page.left(), below, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter, about);
    painter.drawText(QRectF(page.left(), below + line, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter, legend());
    const double tableTop = below + 2.3 * line;
    paintTable(painter, QRectF(page.left(), tableTop, page.width(), std::min(page.bottom() - tableTop, 10 * line)));
    painter.restore();
}

}  // namespace orvanta
