#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

#include "core/grahas/grahas.h"

class QPainter;

namespace orvanta {

// South Indian: the signs in fixed squares round the edge, Pisces at the top left and the
// ascendant's square marked. North Indian: the houses fixed, the first at the top, the
// signs numbered in them.
enum class ChartStyle { SouthIndian, NorthIndian };

// The chart of the nine as drawn on the window and on paper: the Rasi (D1) and Navamsa
// (D9) charts side by side and the table of the nine. `marked` holds the period lords
// to mark (indices in DashaLord, outermost first, at most five), each level in a colour
// of its own.
class ChartDrawing {
public:
    ChartDrawing(GrahaChart chart, std::vector<int> marked, QString markedCaption);

    const GrahaChart& chart() const { return chart_; }
    const std::vector<int>& marked() const { return marked_; }
    // "Maha Dasha" .. "Prana Dasha" and the lord for each marked level: the legend.
    QString legend() const;
    // The colour of a graha's mark: its outermost marked level's; nothing when unmarked.
    std::optional<QRgb> markOf(Graha graha) const;

    // One chart in the square `square`: the signs of the Rasi or the Navamsa.
    void paintChart(QPainter& painter, const QRectF& square, ChartStyle style, bool navamsa) const;
    // Where a sign's or a house's grahas are written inside `square` (0 .. 11: the
    // sign for South Indian, the house less one for North Indian).
    static QRectF CellText(const QRectF& square, ChartStyle style, int cell);
    // The centre of a graha's name in the chart drawn in `square`.
    QPointF placeOf(Graha graha, const QRectF& square, ChartStyle style, bool navamsa) const;
    // The table of the nine, one row a graha, in `area`.
    void paintTable(QPainter& painter, const QRectF& area) const;
    // A page: the title and the line under it, both charts, the legend and the table.
    void paintPage(QPainter& painter, const QRectF& page, ChartStyle style, const QString& title,
                   const QString& subtitle) const;

    static QRgb LevelColour(int level);  // 0 Maha .. 4 Prana

private:
    int cellOf(const GrahaPlace& place, ChartStyle style, bool navamsa) const;

    GrahaChart chart_;
    std::vector<int> marked_;
    QString markedCaption_;
};

// The table's columns as the window and the page show them.
QStringList ChartTableHeadings();
QStringList ChartTableRow(const GrahaPlace& place);

}  // namespace orvanta
