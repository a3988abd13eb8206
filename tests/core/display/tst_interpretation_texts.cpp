#include <QtTest>

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/display/interpretation_texts.h"

using namespace orvanta;

namespace {

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

int FilledSlots(const std::array<std::string_view, 4>& passages) {
    int count = 0;
    for (std::string_view passage : passages) count += passage.empty() ? 0 : 1;
    return count;
}

// Every text the program shows, with a name for the failure message.
std::vector<std::pair<QByteArray, std::string>> AllTexts() {
    const InterpretationTexts texts = LoadInterpretationTexts();
    std::vector<std::pair<QByteArray, std::string>> all;
    for (int i = 0; i < 2; ++i) all.emplace_back("intro " + QByteArray::number(i), texts.introTexts[i]);
    for (int i = 0; i < 9; ++i) {
        all.emplace_back("title " + QByteArray::number(i), texts.dashaTitles[i]);
        all.emplace_back("description " + QByteArray::number(i), texts.dashaDescriptions[i]);
    }
    all.emplace_back("main window", std::string(MainWindowDescription()));
    return all;
}

}  // namespace

class TestInterpretationTexts : public QObject {
    Q_OBJECT

private slots:
    // Every passage and introduction: its opening words and its exact length.
    void openingAndLength_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("opening");
        QTest::addColumn<int>("length");
        const struct { int index, slot; const char* opening; int length; } rows[] = {
            {0, 0, "Surya Dasha is well known for wealth, accession of valuable", 183},
            {0, 1, "But care should be taken of health because under its", 640},
            {0, 2, "If you are a Cancerian, then this dasha will bring", 460},
            {1, 0, "You will be enjoying garlands, fame, honor, jewels, domestic happiness", 539},
            {1, 1, "Whereas the dasha of the Moon goddess in its weak", 719},
            {2, 0, "Kuja Dasha is the effect of the planet Mars.", 994},
            {3, 0, "Unlike the other planets the planet Rahu is not visible", 943},
            {3, 1, "Under the Rahu Dasha, the Arians will be having auspicious", 338},
            {4, 0, "Under the strong phase of Guru Dasha, the native will", 692},
            {4, 1, "In case of Cancers, political success, promotion, exalted position", 512},
            {5, 0, "A powerful Sani Dasha will help you in various gains,", 833},
            {5, 1, "Arians will suffer from unexpected loss, disappointments in each", 320},
            {6, 0, "Under the strong phase of the Budha Dasha or the", 986},
            {7, 0, "As per the Hindu mythology, the descending lunar mode is", 568},
            {7, 1, "Under the ordinary phase you may obtain wealth from superiors", 123},
            {7, 2, "Under its malefic effects, you will succumb to injuries and", 261},
            {7, 3, "Under this dasa, the Arians will face several disgraceful", 402},
            {8, 0, "The native under a powerful Shukra dasha will be experiencing", 255},
            {8, 1, "Monetary gains from trade and cultivation and increase of your", 842},
        };
        for (const auto& r : rows) {
            QTest::addRow("passage %d.%d", r.index, r.slot)
                << Q(DescriptionPassages(r.index)[static_cast<std::size_t>(r.slot)]) << QString(r.opening) << r.length;
        }
        const InterpretationTexts texts = LoadInterpretationTexts();
        QTest::newRow("intro 0") << Q(texts.introTexts[0]) << "The Hindus take the exact position of the Moon at" << 706;
        QTest::newRow("intro 1") << Q(texts.introTexts[1])
                                 << "This software displays the details pertaining to your input birth" << 235;
    }
    void openingAndLength() {
        QFETCH(QString, text);
        QFETCH(QString, opening);
        QFETCH(int, length);
        QVERIFY2(text.startsWith(opening), qPrintable(text.left(opening.size())));
        QCOMPARE(text.size(), length);
    }

    // Each description is its passages run together; inner passages end in ". " so
    // that the sentences stay apart, the last ends on the full stop.
    void description_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("passageCount");
        QTest::addColumn<int>("length");
        QTest::newRow("Sun") << 0 << 3 << 183 + 640 + 460;
        QTest::newRow("Moon") << 1 << 2 << 539 + 719;
        QTest::newRow("Mars") << 2 << 1 << 994;
        QTest::newRow("Rahu") << 3 << 2 << 943 + 338;
        QTest::newRow("Jupiter") << 4 << 2 << 692 + 512;
        QTest::newRow("Saturn") << 5 << 2 << 833 + 320;
        QTest::newRow("Mercury") << 6 << 1 << 986;
        QTest::newRow("Ketu") << 7 << 4 << 1354;
        QTest::newRow("Venus") << 8 << 2 << 255 + 842;
    }
    void description() {
        QFETCH(int, index);
        QFETCH(int, passageCount);
        QFETCH(int, length);
        const auto passages = DescriptionPassages(index);
        QCOMPARE(FilledSlots(passages), passageCount);
        std::string joined;
        for (int i = 0; i < passageCount; ++i) {
            const std::string_view passage = passages[static_cast<std::size_t>(i)];
            joined.append(passage);
            const std::string_view ending = i + 1 < passageCount ? ". " : ".";
            QVERIFY2(passage.ends_with(ending), qPrintable("ends: " + Q(passage.substr(passage.size() - 10))));
        }
        const std::string description = LoadInterpretationTexts().dashaDescriptions[static_cast<std::size_t>(index)];
        QCOMPARE(description, joined);
        QCOMPARE(int(description.size()), length);

        std::set<std::string> seen;
        for (const QString& sentence : Q(description).split(". ", Qt::SkipEmptyParts)) {
            QVERIFY2(seen.insert(sentence.trimmed().toStdString()).second, qPrintable("repeated: " + sentence));
        }
        QVERIFY(seen.size() >= 3);
    }

    void dashaTitlesInIndexOrder() {
        const std::array<std::string, 9> expected = {"Surya Dasha", "Chandra Dasha", "Kuja Dasha",
                                                     "Rahu Dasha",  "Guru Dasha",    "Sani Dasha",
                                                     "Budha Dasha", "Ketu Dasha",    "Sukra Dasha"};
        QVERIFY(LoadInterpretationTexts().dashaTitles == expected);
    }

    // Row titles are matched exactly and case-sensitively; the Sanskrit titles are not keys.
    void indexOfTitle_data() {
        QTest::addColumn<QString>("englishTitle");
        QTest::addColumn<int>("index");
        int index = 0;
        for (const char* title : {"Sun Dasha", "Moon Dasha", "Mars Dasha", "Rahu Dasha", "Jupiter Dasha",
                                  "Saturn Dasha", "Mercury Dasha", "Ketu Dasha", "Venus Dasha"}) {
            QTest::newRow(title) << QString(title) << index++;
        }
        for (const char* title : {"sun dasha", "SATURN DASHA", "Venus dasha", "Sani Dasha", " Moon Dasha",
                                  "Mars Dasha ", "Mars", "Pluto Dasha", ""}) {
            QTest::addRow("unknown '%s'", title) << QString(title) << -1;
        }
    }
    void indexOfTitle() {
        QFETCH(QString, englishTitle);
        QFETCH(int, index);
        QCOMPARE(DescriptionIndexOfTitle(englishTitle.toStdString()), index);
    }

    void passagesOutsideTheTable() {
        for (int index : {-1, 9, 100}) QCOMPARE(FilledSlots(DescriptionPassages(index)), 0);
    }

    void shortTexts() {
        const QString main = Q(MainWindowDescription());
        QVERIFY(main.startsWith("The Hindus take the exact position of the Moon"));
        QVERIFY(main.toStdString() != LoadInterpretationTexts().introTexts[0]);
    }

    // Plain printable ASCII, one line, no web addresses.
    void plainText_data() {
        QTest::addColumn<QByteArray>("text");
        for (const auto& [name, text] : AllTexts()) QTest::newRow(name.constData()) << QByteArray::fromStdString(text);
    }
    void plainText() {
        QFETCH(QByteArray, text);
        QVERIFY(!text.isEmpty());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char c = text[i];
            QVERIFY2(c >= 0x20 && c <= 0x7e, qPrintable(QString("character %1 at %2").arg(int(c)).arg(i)));
        }
        QVERIFY(!text.contains("://") && !text.contains("www.") && !text.contains("  "));
    }
};

QTEST_APPLESS_MAIN(TestInterpretationTexts)
#include "tst_interpretation_texts.moc"
