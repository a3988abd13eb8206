#include <QtTest>

#include <cmath>

#include "core/grahas/grahas.h"
#include "../sky/swetest_angles.h"

using orvanta::Ayanamsa;
using orvanta::Dignity;
using orvanta::Graha;
using orvanta::Node;

Q_DECLARE_METATYPE(orvanta::Ayanamsa)
Q_DECLARE_METATYPE(orvanta::Dignity)
Q_DECLARE_METATYPE(orvanta::Graha)
Q_DECLARE_METATYPE(orvanta::Node)

namespace {

constexpr double kTolerance = 0.01 / 3600.0;  // 0.01"; swetest prints 1e-7 degrees
constexpr double kSpeedTolerance = 1.5e-7;     // degrees a day, swetest's last digit

}  // namespace

class TestGrahas : public QObject {
    Q_OBJECT
private slots:
    void againstSwetest_data();
    void againstSwetest();
    void dignityEdges_data();
    void dignityEdges();
    void navamsaAndHouse();
};

// Each row is the Swiss Ephemeris' own program for the instant (UT Julian day), the
// ayanamsa (-sid) and the node (m mean, t true), run with -edir/usr/share/libswe/ephe,
// its output pasted as it printed it: name, longitude, speed in degrees a day.
void TestGrahas::againstSwetest_data() {
    QTest::addColumn<double>("julianDayUT");
    QTest::addColumn<Ayanamsa>("ayanamsa");
    QTest::addColumn<Node>("node");
    QTest::addColumn<QString>("printed");
    QTest::newRow("swetest -bj2378497.3 -ut -sid1 -p0142536m -fPls -head")
        << 2378497.3 << Ayanamsa::Lahiri << Node::Mean
        << "Sun 260.1827619 1.0195229\nMoon 337.3371581 12.2842577\nMars 223.8291404 0.6946214\n"
           "Mercury 246.6578193 -0.7125547\nJupiter 63.3645984 -0.1246852\nVenus 213.4028559 1.0495394\n"
           "Saturn 107.6833682 -0.0675621\nRahu 12.1390184 -0.0529922";
    QTest::newRow("swetest -bj2451545.0 -ut -sid27 -p0142536t -fPls -head")
        << 2451545.0 << Ayanamsa::TrueCitra << Node::True
        << "Sun 256.5327706 1.0192952\nMoon 199.4876031 12.0211652\nMars 304.1271544 0.7755351\n"
           "Mercury 248.0531289 1.5561192\nJupiter 1.4169397 0.0406223\nVenus 217.7296402 1.2089042\n"
           "Saturn 16.5595153 -0.0200839\nRahu 100.1178757 -0.0548774";
    QTest::newRow("swetest -bj2597640.7 -ut -sid5 -p0142536t -fPls -head")
        << 2597640.7 << Ayanamsa::Krishnamurti << Node::True
        << "Sun 249.6089282 1.0186325\nMoon 285.7903169 11.9924471\nMars 219.0703632 0.6916037\n"
           "Mercury 228.3882838 1.2001538\nJupiter 261.8499388 0.2303245\nVenus 238.4714204 1.2574261\n"
           "Saturn 237.8163872 0.1164264\nRahu 278.0805994 0.0132318";
    QTest::newRow("swetest -bj2444835.25 -ut -sid3 -p0142536m -fPls -head")
        << 2444835.25 << Ayanamsa::Raman << Node::Mean
        << "Sun 123.5313013 0.9618415\nMoon 342.6359147 14.0648165\nMars 88.6402948 0.6488848\n"
           "Mercury 132.0514824 1.8694050\nJupiter 166.9984451 0.1827337\nVenus 158.0613596 1.1922128\n"
           "Saturn 165.0719945 0.1019845\nRahu 98.1969379 -0.0529920";
}

void TestGrahas::againstSwetest() {
    QFETCH(double, julianDayUT);
    QFETCH(Ayanamsa, ayanamsa);
    QFETCH(Node, node);
    QFETCH(QString, printed);
    orvanta::PreciseChart chart;
    chart.birth.julianDayUT = julianDayUT;
    chart.ayanamsa = ayanamsa;
    const orvanta::GrahaOutcome outcome = orvanta::ComputeGrahas(chart, node);
    QVERIFY2(outcome.chart, outcome.error.c_str());
    const QStringList lines = printed.split(u'\n');
    QCOMPARE(lines.size(), 8);
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(u' ');
        const orvanta::GrahaPlace& place = outcome.chart->grahas[static_cast<std::size_t>(i)];
        QCOMPARE(QString::fromUtf8(orvanta::GrahaNames[static_cast<std::size_t>(place.graha)].data()), fields[0]);
        QVERIFY2(std::fabs(AngleDifference(place.longitude, fields[1].toDouble())) < kTolerance, qPrintable(lines[i]));
        QVERIFY2(std::fabs(place.speed - fields[2].toDouble()) < kSpeedTolerance, qPrintable(lines[i]));
        QCOMPARE(place.retrograde, fields[2].startsWith(u'-'));
    }
    const orvanta::GrahaPlace& rahu = outcome.chart->grahas[7];
    const orvanta::GrahaPlace& ketu = outcome.chart->grahas[8];
    QCOMPARE(ketu.graha, Graha::Ketu);
    QCOMPARE(std::fabs(AngleDifference(ketu.longitude, rahu.longitude)), 180.0);
    QCOMPARE(ketu.speed, rahu.speed);
}

// Brihat Parashara Hora Shastra, chapter 3; a range holds its start, not its end.
void TestGrahas::dignityEdges_data() {
    QTest::addColumn<Graha>("graha");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<Dignity>("dignity");
    const auto row = [](const char* name, Graha g, double longitude, Dignity d) {
        QTest::newRow(name) << g << longitude << d;
    };
    row("Sun 10 Aries, deepest exaltation", Graha::Sun, 10, Dignity::Exalted);
    row("Sun 29.99 Aries", Graha::Sun, 29.99, Dignity::Exalted);
    row("Sun 10 Libra", Graha::Sun, 190, Dignity::Debilitated);
    row("Sun 0 Leo", Graha::Sun, 120, Dignity::Moolatrikona);
    row("Sun 20 Leo", Graha::Sun, 140, Dignity::OwnSign);
    row("Sun 0 Gemini", Graha::Sun, 60, Dignity::None);
    row("Moon 2.99 Taurus", Graha::Moon, 32.99, Dignity::Exalted);
    row("Moon 3 Taurus", Graha::Moon, 33, Dignity::Moolatrikona);
    row("Moon 29.99 Taurus", Graha::Moon, 59.99, Dignity::Moolatrikona);
    row("Moon 3 Scorpio", Graha::Moon, 213, Dignity::Debilitated);
    row("Moon in Cancer", Graha::Moon, 100, Dignity::OwnSign);
    row("Mars 11.99 Aries", Graha::Mars, 11.99, Dignity::Moolatrikona);
    row("Mars 12 Aries", Graha::Mars, 12, Dignity::OwnSign);
    row("Mars in Scorpio", Graha::Mars, 225, Dignity::OwnSign);
    row("Mars 28 Capricorn", Graha::Mars, 298, Dignity::Exalted);
    row("Mars in Cancer", Graha::Mars, 95, Dignity::Debilitated);
    row("Mercury 14.99 Virgo", Graha::Mercury, 164.99, Dignity::Exalted);
    row("Mercury 15 Virgo", Graha::Mercury, 165, Dignity::Moolatrikona);
    row("Mercury 20 Virgo", Graha::Mercury, 170, Dignity::OwnSign);
    row("Mercury in Gemini", Graha::Mercury, 75, Dignity::OwnSign);
    row("Mercury in Pisces", Graha::Mercury, 345, Dignity::Debilitated);
    row("Jupiter 5 Cancer", Graha::Jupiter, 95, Dignity::Exalted);
    row("Jupiter 9.99 Sagittarius", Graha::Jupiter, 249.99, Dignity::Moolatrikona);
    row("Jupiter 10 Sagittarius", Graha::Jupiter, 250, Dignity::OwnSign);
    row("Jupiter in Pisces", Graha::Jupiter, 335, Dignity::OwnSign);
    row("Jupiter in Capricorn", Graha::Jupiter, 275, Dignity::Debilitated);
    row("Venus 27 Pisces", Graha::Venus, 357, Dignity::Exalted);
    row("Venus 14.99 Libra", Graha::Venus, 194.99, Dignity::Moolatrikona);
    row("Venus 15 Libra", Graha::Venus, 195, Dignity::OwnSign);
    row("Venus in Taurus", Graha::Venus, 45, Dignity::OwnSign);
    row("Venus in Virgo", Graha::Venus, 165, Dignity::Debilitated);
    row("Saturn 20 Libra", Graha::Saturn, 200, Dignity::Exalted);
    row("Saturn 19.99 Aquarius", Graha::Saturn, 319.99, Dignity::Moolatrikona);
    row("Saturn 20 Aquarius", Graha::Saturn, 320, Dignity::OwnSign);
    row("Saturn in Capricorn", Graha::Saturn, 280, Dignity::OwnSign);
    row("Saturn in Aries", Graha::Saturn, 20, Dignity::Debilitated);
    row("Rahu in Taurus", Graha::Rahu, 45, Dignity::None);
    row("Ketu in Scorpio", Graha::Ketu, 225, Dignity::None);
}

void TestGrahas::dignityEdges() {
    QFETCH(Graha, graha);
    QFETCH(double, longitude);
    QFETCH(Dignity, dignity);
    QCOMPARE(orvanta::DignityOf(graha, longitude), dignity);
}

// The ninths of 3°20' run on through the zodiac: a fiery sign's start from Aries, an
// earthy one's from Capricorn, an airy one's from Libra, a watery one's from Cancer.
void TestGrahas::navamsaAndHouse() {
    QCOMPARE(orvanta::NavamsaSignOf(0), 0);
    QCOMPARE(orvanta::NavamsaSignOf(3.3333), 0);
    QCOMPARE(orvanta::NavamsaSignOf(3.34), 1);
    QCOMPARE(orvanta::NavamsaSignOf(30), 9);
    QCOMPARE(orvanta::NavamsaSignOf(60), 6);
    QCOMPARE(orvanta::NavamsaSignOf(90), 3);
    QCOMPARE(orvanta::NavamsaSignOf(359.99), 11);
    QCOMPARE(orvanta::HouseOf(0, 0), 1);
    QCOMPARE(orvanta::HouseOf(0, 11), 2);
    QCOMPARE(orvanta::HouseOf(10, 11), 12);
}

QTEST_GUILESS_MAIN(TestGrahas)
#include "tst_grahas.moc"
