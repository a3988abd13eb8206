#include <QtTest>

#include <QComboBox>
#include <QPolygonF>

#include "gui/grahas/frm_chart.h"

using orvanta::ChartStyle;
using orvanta::Graha;

namespace {

orvanta::PreciseChart Birth() {
    orvanta::PreciseRequest request;
    request.local = {1981, 8, 18, 23, 30, 0};
    request.zoneHours = 5;
    request.zoneMinutes = 30;
    request.latitude = 23;
    request.longitude = 80;
    return *orvanta::ComputePreciseChart(request).chart;
}

// Pixels of `colour` in a box of 2r x r around `at`.
int PixelsOf(const QImage& image, QPointF at, QRgb colour, int r) {
    int count = 0;
    for (int y = static_cast<int>(at.y()) - r / 2; y <= static_cast<int>(at.y()) + r / 2; ++y) {
        for (int x = static_cast<int>(at.x()) - r; x <= static_cast<int>(at.x()) + r; ++x) {
            if (image.rect().contains(x, y) && (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++count;
        }
    }
    return count;
}

}  // namespace

class TestFrmChart : public QObject {
    Q_OBJECT
private slots:
    void southIndian();
    void northIndian();

private:
    // Opens the window in `style` with Saturn / Mercury / Ketu marked and checks the Maha
    // Dasha lord's name sits in `expected` of the Rasi's square and carries its mark.
    void check(ChartStyle style, const std::function<QPolygonF(const QRectF&, const orvanta::GrahaChart&)>& expected);
};

void TestFrmChart::check(ChartStyle style,
                         const std::function<QPolygonF(const QRectF&, const orvanta::GrahaChart&)>& expected) {
    orvanta::FrmChart window(Birth(), QStringLiteral("S K"), {7, 8, 0}, QStringLiteral("the selected period"));
    QVERIFY2(window.valid(), window.error().c_str());
    window.styleBox()->setCurrentIndex(style == ChartStyle::SouthIndian ? 0 : 1);
    QCOMPARE(orvanta::RunChartChoices().style, style);
    window.resize(window.sizeHint());
    QVERIFY(window.width() <= 1024 && window.height() <= 740);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage image = window.view()->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const QRectF square = window.view()->square(false);
    const QPointF saturn = window.drawing()->placeOf(Graha::Saturn, square, style, false);
    QVERIFY2(expected(square, window.drawing()->chart()).containsPoint(saturn, Qt::OddEvenFill),
             "Saturn is drawn outside its sign's place");
    QVERIFY2(PixelsOf(image, saturn * ratio, orvanta::ChartDrawing::LevelColour(0), 8) > 10,
             "the Maha Dasha lord is not marked");
    const QPointF sun = window.drawing()->placeOf(Graha::Sun, square, style, false);
    QCOMPARE(PixelsOf(image, sun * ratio, orvanta::ChartDrawing::LevelColour(0), 8), 0);
}

// Signs fixed: Pisces at the top left, then clockwise round the edge of a 4 x 4 grid.
void TestFrmChart::southIndian() {
    check(ChartStyle::SouthIndian, [](const QRectF& square, const orvanta::GrahaChart& chart) {
        const int sign = chart.grahas[static_cast<std::size_t>(Graha::Saturn)].sign;  // Virgo in 1981
        const int cell = (sign + 1) % 12;  // from Pisces
        const int row = cell < 4 ? 0 : cell < 6 ? cell - 3 : cell < 10 ? 3 : 12 - cell;
        const int column = cell < 4 ? cell : cell < 6 ? 3 : cell < 10 ? 9 - cell : 0;
        const double side = square.width() / 4;
        return QPolygonF(QRectF(square.left() + column * side, square.top() + row * side, side, side));
    });
}

// Houses fixed: the first the top diamond, the second the triangle left of it, on
// counter-clockwise; the style stays chosen for the next window of the run.
void TestFrmChart::northIndian() {
    check(ChartStyle::NorthIndian, [](const QRectF& s, const orvanta::GrahaChart& chart) {
        const int house = chart.grahas[static_cast<std::size_t>(Graha::Saturn)].house;
        const auto p = [&s](double x, double y) { return QPointF(s.left() + x * s.width(), s.top() + y * s.height()); };
        const std::array<QPolygonF, 12> houses = {
            QPolygonF({p(.5, 0), p(.75, .25), p(.5, .5), p(.25, .25)}), QPolygonF({p(0, 0), p(.5, 0), p(.25, .25)}),
            QPolygonF({p(0, 0), p(.25, .25), p(0, .5)}),  QPolygonF({p(0, .5), p(.25, .25), p(.5, .5), p(.25, .75)}),
            QPolygonF({p(0, .5), p(.25, .75), p(0, 1)}),  QPolygonF({p(0, 1), p(.25, .75), p(.5, 1)}),
            QPolygonF({p(.5, 1), p(.25, .75), p(.5, .5), p(.75, .75)}), QPolygonF({p(.5, 1), p(.75, .75), p(1, 1)}),
            QPolygonF({p(1, 1), p(.75, .75), p(1, .5)}), QPolygonF({p(1, .5), p(.75, .75), p(.5, .5), p(.75, .25)}),
            QPolygonF({p(1, .5), p(.75, .25), p(1, 0)}), QPolygonF({p(1, 0), p(.75, .25), p(.5, 0)})};
        return houses[static_cast<std::size_t>(house - 1)];
    });
    orvanta::FrmChart next(Birth(), QStringLiteral("S K"), {}, {});
    QCOMPARE(next.styleBox()->currentIndex(), 1);
}

QTEST_MAIN(TestFrmChart)
#include "tst_frm_chart.moc"
