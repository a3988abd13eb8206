#include <QtTest>

#include "core/chart/coordinate_search.h"

using namespace orvanta;

// The coordinate search asks for the first of City, State and Country that is empty and
// otherwise hands one line of the three texts to the web search.
class TestCoordinateSearch : public QObject {
    Q_OBJECT
private slots:
    void check_data();
    void check();
    void searchText();
};

void TestCoordinateSearch::check_data() {
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("country");
    QTest::addColumn<QString>("message");  // empty: no message
    QTest::addColumn<int>("focus");

    const int city = static_cast<int>(Control::txtMCity);
    const int state = static_cast<int>(Control::txtMState);
    const int country = static_cast<int>(Control::txtMCountry);
    QTest::newRow("all three") << "Pune" << "MH" << "India" << "" << 0;
    QTest::newRow("a blank is a text") << " " << " " << " " << "" << 0;
    QTest::newRow("no city") << "" << "MH" << "India" << "Please Enter City" << city;
    QTest::newRow("nothing: the city first") << "" << "" << "" << "Please Enter City" << city;
    QTest::newRow("no state") << "Pune" << "" << "" << "Please Enter State" << state;
    QTest::newRow("no country") << "Pune" << "MH" << "" << "Please Enter Country" << country;
}

void TestCoordinateSearch::check() {
    QFETCH(QString, city);
    QFETCH(QString, state);
    QFETCH(QString, country);
    QFETCH(QString, message);
    QFETCH(int, focus);
    const auto outcome = CheckCoordinateSearch(city.toStdString(), state.toStdString(), country.toStdString());
    QCOMPARE(outcome.has_value(), !message.isEmpty());
    if (!outcome) return;
    QCOMPARE(QString::fromStdString(outcome->text), message);
    QCOMPARE(outcome->icon, Icon::Information);
    QCOMPARE(static_cast<int>(outcome->focus), focus);
}

void TestCoordinateSearch::searchText() {
    QCOMPARE(CoordinateSearchText("São Paulo", "SP", "Brasil"), std::string("São Paulo SP Brasil Latitude Longitude"));
    QCOMPARE(CoordinateSearchText(" a ", "b", "c"), std::string(" a  b c Latitude Longitude"));
}

QTEST_APPLESS_MAIN(TestCoordinateSearch)
#include "tst_coordinate_search.moc"
