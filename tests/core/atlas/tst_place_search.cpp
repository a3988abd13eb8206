// GLib's headers name struct members "signals", which Qt defines as a keyword: they come first.
#include <geonames.h>

#include <QtTest>

#include <chrono>
#include <map>

#include "core/atlas/place_index.h"
#include "core/atlas/place_search.h"

using namespace orvanta;
using namespace orvanta::atlas;

// Expected entries are those of the GeoNames cities15000 data built into libgeonames 0.3.
class TestPlaceSearch : public QObject {
    Q_OBJECT
private slots:
    void folding_data();
    void folding();
    void search_data();
    void search();
    void nothingFound_data();
    void nothingFound();
    void closestNames_data();
    void closestNames();
    void indexAnswersAsTheLibrary_data();
    void indexAnswersAsTheLibrary();
    void queryTime();
};

void TestPlaceSearch::folding_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("accents") << "São Paulo" << QStringList{"sao", "paulo"};
    QTest::newRow("hyphen and case") << "SAINT-Étienne" << QStringList{"saint", "etienne"};
    QTest::newRow("sharp s") << "Gießen" << QStringList{"giessen"};
    QTest::newRow("stroke letters") << "Łódź Ørsta" << QStringList{"lodz", "orsta"};
    QTest::newRow("blanks only") << "  ,  " << QStringList{};
}

void TestPlaceSearch::folding() {
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QStringList got;
    for (const std::string& w : FoldedWords(text.toStdString())) got << QString::fromStdString(w);
    QCOMPARE(got, words);
}

void TestPlaceSearch::search_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");    // of the first match
    QTest::addColumn<QString>("state");   // of the first match
    QTest::addColumn<QString>("code");    // of every match
    QTest::addColumn<QString>("absent");  // "name|state" of a place no match may be

    QTest::newRow("plain") << "Pune" << "Pune" << "Maharashtra" << "IN" << "";
    QTest::newRow("comma state") << "Springfield, Illinois" << "Springfield" << "Illinois" << "US" << "Springfield|Missouri";
    QTest::newRow("blank state") << "Springfield illinois" << "Springfield" << "Illinois" << "US" << "Springfield|Missouri";
    QTest::newRow("state being typed") << "Springfield, Mass" << "Springfield" << "Massachusetts" << "US" << "";
    QTest::newRow("blank country") << "Delhi India" << "Delhi" << "National Capital Territory of Delhi" << "IN" << "";
    QTest::newRow("country code") << "London, CA" << "London" << "Ontario" << "CA" << "London|England";
    QTest::newRow("two qualifiers") << "London, Ontario, Canada" << "London" << "Ontario" << "CA" << "";
    QTest::newRow("country short name") << "London UK" << "London" << "England" << "GB" << "London|Ontario";
    QTest::newRow("accents folded") << "sao paulo" << "São Paulo" << "São Paulo" << "BR" << "";
    QTest::newRow("two-word name wins") << "new york" << "New York" << "New York" << "US" << "New Rochelle|New York";
    QTest::newRow("state of more words") << "Kolkata, West Bengal" << "Kolkata" << "State of West Bengal" << "IN" << "";
    QTest::newRow("US state code") << "Springfield, IL" << "Springfield" << "Illinois" << "US" << "Springfield|Missouri";
    QTest::newRow("blank state code") << "Springfield il" << "Springfield" << "Illinois" << "US" << "Springfield|Missouri";
    QTest::newRow("Canadian province code") << "London, ON" << "London" << "Ontario" << "CA" << "London|England";
    QTest::newRow("Australian state code") << "Perth WA" << "Perth" << "Western Australia" << "AU" << "Perth|Scotland";
    QTest::newRow("Indian state code") << "Aurangabad, MH" << "Aurangabad" << "Maharashtra" << "IN" << "Aurangabad|Bihar";
    QTest::newRow("Bombay") << "Bombay" << "Mumbai" << "Maharashtra" << "IN" << "";
    QTest::newRow("Bombay qualified") << "Bombay, India" << "Mumbai" << "Maharashtra" << "IN" << "";
    QTest::newRow("Calcutta") << "calcutta" << "Kolkata" << "State of West Bengal" << "IN" << "";
    QTest::newRow("Madras") << "Madras" << "Chennai" << "Tamil Nadu" << "IN" << "";
    QTest::newRow("Bangalore") << "Bangalore" << "Bengaluru" << "Karnataka" << "IN" << "";
    QTest::newRow("Thiruvananthapuram") << "Thiruvananthapuram" << "Trivandrum" << "Kerala" << "IN" << "";
    QTest::newRow("Gurugram") << "Gurugram" << "Gurgaon" << "Haryana" << "IN" << "";
    QTest::newRow("Mysuru") << "Mysuru" << "Mysore" << "Karnataka" << "IN" << "";
    QTest::newRow("Benares") << "Benares" << "Varanasi" << "State of Uttar Pradesh" << "IN" << "";
    QTest::newRow("Banaras") << "Banaras" << "Varanasi" << "State of Uttar Pradesh" << "IN" << "";
    QTest::newRow("Bhubaneshwar") << "Bhubaneshwar" << "Bhubaneswar" << "Odisha" << "IN" << "";
    QTest::newRow("Poona") << "Poona" << "Pune" << "Maharashtra" << "IN" << "";
    QTest::newRow("Peking") << "Peking" << "Beijing" << "Beijing Municipality" << "CN" << "";
    QTest::newRow("Saigon") << "Saigon" << "Ho Chi Minh City" << "Ho Chi Minh City" << "VN" << "";
}

void TestPlaceSearch::search() {
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(QString, state);
    QFETCH(QString, code);
    QFETCH(QString, absent);
    const std::vector<Place> found = SearchPlaces(text.toStdString());
    QVERIFY(!found.empty());
    QCOMPARE(QString::fromStdString(found.front().name), name);
    QCOMPARE(QString::fromStdString(found.front().state), state);
    for (std::size_t i = 0; i < found.size(); ++i) {
        const Place& p = found[i];
        QCOMPARE(QString::fromStdString(p.countryCode), code);
        QVERIFY2(QString::fromStdString(p.name + "|" + p.state) != absent, p.name.c_str());
        if (i > 0) QVERIFY(found[i - 1].population >= p.population);
    }
}

void TestPlaceSearch::nothingFound_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks and commas") << " , ,";
    QTest::newRow("no such name") << "Xyzzyqq";
    QTest::newRow("no such state") << "Springfield, Atlantis";
    QTest::newRow("qualifier without a name") << ", India";
    QTest::newRow("middle of a word") << "ombay";
}

void TestPlaceSearch::nothingFound() {
    QFETCH(QString, text);
    QVERIFY(SearchPlaces(text.toStdString()).empty());
}

void TestPlaceSearch::closestNames_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("shown");  // the first names offered
    QTest::newRow("a letter left out, known by another name") << "Banglore" << QStringList{"Bengaluru (Bangalore)", "Mangalore"};
    QTest::newRow("two letters swapped") << "Pnue, India" << QStringList{"Pune"};
    QTest::newRow("nothing near") << "Xyzzyqq" << QStringList{};
    QTest::newRow("too short to guess") << "Qz" << QStringList{};
}

void TestPlaceSearch::closestNames() {
    QFETCH(QString, text);
    QFETCH(QStringList, shown);
    QVERIFY(SearchPlaces(text.toStdString()).empty());
    const std::vector<ClosestName> closest = ClosestNames(text.toStdString());
    QVERIFY(closest.size() >= std::size_t(shown.size()));
    for (qsizetype i = 0; i < shown.size(); ++i) {
        QCOMPARE(QString::fromStdString(closest[std::size_t(i)].shown), shown[i]);
        QVERIFY(!closest[std::size_t(i)].places.empty());
    }
}

// The index gives the library's own answer to a word: the same places, and weights that
// order them as the library does. The library sorts by weight taking weights within
// 1e-5 as equal (so it may put 1.0153456 before 1.0153560 when 1.0153514 is between),
// which keeps every two neighbours of its answer in order within 1e-5.
void TestPlaceSearch::indexAnswersAsTheLibrary_data() {
    QTest::addColumn<QString>("word");
    QTest::newRow("a first word") << "pune";
    QTest::newRow("a later word only: New York at its weight") << "york";
    QTest::newRow("an accent matched by its ASCII spelling") << "sao";
    QTest::newRow("a letter of its own (Łódź)") << "lodz";
    QTest::newRow("a word after a hyphen") << "etienne";
    QTest::newRow("one letter, thousands of places") << "s";
    QTest::newRow("digits") << "1";
    QTest::newRow("a word of no place") << "xyzzyqq";
}

void TestPlaceSearch::indexAnswersAsTheLibrary() {
    QFETCH(QString, word);
    guint length = 0;
    gint* found = geonames_query_cities_sync(word.toUtf8().constData(), GEONAMES_QUERY_DEFAULT, &length, nullptr, nullptr);
    const std::vector<int> library(found, found + length);
    g_free(found);
    const std::optional<std::vector<WeighedPlace>> indexed = LibraryMatches(word.toStdString());
    QVERIFY(indexed);
    QCOMPARE(indexed->size(), library.size());
    std::map<int, double> weight;
    for (const WeighedPlace& p : *indexed) weight[p.index] = p.weight;
    for (std::size_t i = 0; i < library.size(); ++i) {
        QVERIFY2(weight.count(library[i]), qPrintable(QString::number(library[i])));
        if (i > 0) QVERIFY2(weight[library[i - 1]] >= weight[library[i]] - 1e-5, qPrintable(QString::number(i)));
    }
}

// Searches of every size, the longest refused, in bounded time; the bound is generous:
// a shared build machine is noisy (speed is measured by bench_atlas).
void TestPlaceSearch::queryTime() {
    QVERIFY(PlaceCount() > 20000);
    std::string many, thousand;  // 16 words, the most a search reads; 1,000 words
    for (int i = 0; i < 16; ++i) many += "a ";
    for (int i = 0; i < 1000; ++i) thousand += "a ";
    const std::string kQueries[] = {"Pune", "Springfield, Illinois", "sao paulo", "a", many, "Banglore",
                                    many + "a", thousand, std::string(100000, 'x')};
    for (const std::string& query : kQueries) {
        const char* text = query.size() > 40 ? "(a long text)" : query.c_str();
        // The last three hold more than a place's name and are refused as such.
        QCOMPARE(bool(QueryProblem(query)), &query >= &kQueries[6]);
        const auto start = std::chrono::steady_clock::now();
        const std::size_t count = SearchPlaces(query).size() + ClosestNames(query).size();
        const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        qInfo("%-24s %4zu matches in %6.1f ms", text, count, ms);
        QVERIFY2(ms < 3000, text);
    }
}

QTEST_GUILESS_MAIN(TestPlaceSearch)
#include "tst_place_search.moc"
