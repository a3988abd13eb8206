// The batch core on texts in memory: rows in input order, output in flight bounded by
// bytes, a read that fails partway, records the reader cuts.
#include <QTest>

#include <algorithm>
#include <atomic>
#include <mutex>

#include "batch.h"

using namespace orvanta;

namespace {

// Gives `text`, then fails as a disk would.
class FailingSource : public ByteSource {
public:
    explicit FailingSource(std::string_view text) : text_(text) {}
    std::size_t Read(char* into, std::size_t size) override {
        const std::size_t n = text_.Read(into, std::min<std::size_t>(size, 7));  // short reads, cutting records
        if (n == 0) failed_ = true;
        return n;
    }
    std::string failure() const override { return failed_ ? "Input/output error" : ""; }

private:
    TextSource text_;
    bool failed_ = false;
};

struct Written {
    std::string text;
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t end = text.find('\n', at);
            out.push_back(text.substr(at, end - at));
            at = end + 1;
        }
        return out;
    }
};

// Each row's line is its name followed by as many dots as the day column says.
std::string Line(std::span<const GivenOption> row) {
    std::string name, day = "1";
    for (const GivenOption& g : row) {
        if (g.option->name == "name") name = *g.value;
        if (g.option->name == "day") day = *g.value;
    }
    return name + std::string(std::stoul(day), '.');
}
void Echo(std::span<const GivenOption> row, std::string& out) { out += Line(row); }

std::string ErrorLine(std::string_view message) { return "error: " + std::string(message); }

}  // namespace

class TestBatch : public QObject {
    Q_OBJECT
private slots:
    void rowsKeepTheirOrderAndBound();
    void theLastRowsWaitingForRoomAreWritten();
    void aFailedReadKeepsTheWholeRowsBefore();
    void recordsTheReaderCuts_data();
    void recordsTheReaderCuts();
};

// Rows of 1 MB and of a few bytes mixed, on 8 threads with room for 4 MB: the lines come
// in input order. These rows' sizes do not follow from their columns, so until a first
// large row is made every worker may be making one on the small estimate: the rows made
// and not yet written never hold more than the room, the block being gathered (under
// 1 MiB and one line), one line a worker and the line being made. Without the room the
// pending chunks alone would hold some 27 MB.
void TestBatch::rowsKeepTheirOrderAndBound() {
    std::string csv = "name,day\n";
    for (int i = 0; i < 200; ++i) csv += "r" + std::to_string(i) + "," + (i % 4 == 3 ? "5" : "1000000") + "\n";
    std::mutex mutex;
    std::size_t held = 0, most = 0;
    const RowJson row = [&](std::span<const GivenOption> given, std::string& out) {
        const std::string text = Line(given);
        const std::lock_guard lock(mutex);
        held += text.size();
        most = std::max(most, held);
        out += text;
    };
    Written out;
    TextSource in(csv);
    // One row at a time.
    BatchSettings settings{.jobs = 8, .precise = false, .inFlightBytes = 4u << 20, .chunkRows = 1};
    const BatchOutcome outcome = RunBatch(in, settings, row, ErrorLine, [&](std::string_view block) {
        out.text += block;
        const std::lock_guard lock(mutex);
        for (char c : block) held -= c != '\n';
        return true;
    });
    QCOMPARE(int(outcome.end), int(BatchEnd::Done));
    QCOMPARE(outcome.rows, std::size_t(200));
    const auto lines = out.lines();
    QCOMPARE(lines.size(), std::size_t(200));
    for (std::size_t i = 0; i < lines.size(); ++i) QVERIFY(lines[i].starts_with("r" + std::to_string(i) + "."));
    QVERIFY2(most <= (4u << 20) + (1u << 20) + (settings.jobs + 2) * 1000008, std::to_string(most).c_str());
}

// The input ends while its last rows wait for room behind a long first row that the
// writer is slow to take: they are written all the same, and the end comes after them.
void TestBatch::theLastRowsWaitingForRoomAreWritten() {
    for (int run = 0; run < 20; ++run) {
        TextSource in("name,day\na,100000\nb,1\nc,1\n");
        Written out;
        BatchSettings settings{.jobs = 1, .precise = false, .inFlightBytes = 1, .chunkRows = 64};
        const BatchOutcome outcome = RunBatch(in, settings, Echo, ErrorLine, [&](std::string_view block) {
            if (block.size() > 1000) QTest::qSleep(20);
            out.text += block;
            return true;
        });
        QCOMPARE(int(outcome.end), int(BatchEnd::Done));
        QCOMPARE(outcome.rows, std::size_t(3));
        QCOMPARE(out.lines().size(), std::size_t(3));
        QCOMPARE(out.lines().back(), std::string("c."));
    }
}

// The read fails inside the fourth record: three lines, then the failure with its reason.
void TestBatch::aFailedReadKeepsTheWholeRowsBefore() {
    FailingSource in("name,day\na,1\nb,1\nc,1\nd");
    Written out;
    const BatchOutcome outcome = RunBatch(in, BatchSettings{.jobs = 2}, Echo, ErrorLine, [&](std::string_view block) {
        out.text += block;
        return true;
    });
    QCOMPARE(int(outcome.end), int(BatchEnd::ReadFailed));
    QCOMPARE(outcome.message, std::string("Input/output error"));
    QCOMPARE(out.text, std::string("a.\nb.\nc.\n"));
}

void TestBatch::recordsTheReaderCuts_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("end");
    QTest::addColumn<QByteArray>("output");  // the lines, or the header's message
    const QByteArray huge(int(CsvReader::kMostRecordBytes) + 10, 'x');
    QTest::newRow("a header quote never closed") << QByteArray("name,\"day\na,1\n") << int(BatchEnd::BadHeader)
                                                 << QByteArray("the header has a quoted field that is not closed");
    QTest::newRow("an unknown column, shown cut") << QByteArray("name," + QByteArray(100, 'x') + "\n") << int(BatchEnd::BadHeader)
                                                  << QByteArray("the header names an unknown column: \"" +
                                                                QByteArray(40, 'x') + "\"...");
    QTest::newRow("a record over the limit, and the next one") << QByteArray("name,day\n" + huge + ",1\nb,1\n")
                                                               << int(BatchEnd::Done)
                                                               << QByteArray("error: line 2: longer than 65536 bytes\nb.\n");
    QTest::newRow("empty cells are missing columns") << QByteArray("name,day\n,\n\"\",\"\"\n") << int(BatchEnd::Done)
                                                     << QByteArray(".\n.\n");
}

void TestBatch::recordsTheReaderCuts() {
    QFETCH(QByteArray, csv);
    QFETCH(int, end);
    QFETCH(QByteArray, output);
    TextSource in(std::string_view(csv.constData(), std::size_t(csv.size())));
    Written out;
    const BatchOutcome outcome = RunBatch(in, BatchSettings{}, Echo, ErrorLine, [&](std::string_view block) {
        out.text += block;
        return true;
    });
    QCOMPARE(int(outcome.end), end);
    QCOMPARE(QByteArray::fromStdString(end == int(BatchEnd::BadHeader) ? outcome.message : out.text), output);
}

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
