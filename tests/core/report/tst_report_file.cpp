#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "core/display/interpretation_texts.h"
#include "core/report/report_builder.h"
#include "core/report/report_file.h"
#include "core/report/rtf_writer.h"
#include "report_fixture.h"
#include "small_file_system.h"

#include <cerrno>
#include <cstring>

using namespace orvanta;
using namespace orvanta::testing;

namespace {

// Whether this process can create files in a folder without write permission (root can).
bool PermissionsEnforced(const QString& base) {
    QDir(base).mkdir("probe");
    const QString probe = base + "/probe";
    QFile::setPermissions(probe, QFile::ReadOwner | QFile::ExeOwner);
    QFile f(probe + "/x");
    const bool created = f.open(QIODevice::WriteOnly);
    f.close();
    QFile::remove(probe + "/x");
    QFile::setPermissions(probe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir(probe).removeRecursively();
    return !created;
}

// Runs LibreOffice without a window on `input`, with a profile of its own so that no
// user setting and no other running instance takes part. Returns the converted file.
QString ConvertWithLibreOffice(const QString& soffice, const QString& input, const QString& filter,
                               const QString& outDir, const QString& profileDir) {
    QProcess process;
    process.start(soffice, {"-env:UserInstallation=" + QUrl::fromLocalFile(profileDir).toString(),
                            "--headless", "--convert-to", filter, "--outdir", outDir, input});
    if (!process.waitForFinished(180000) || process.exitCode() != 0) return {};
    const QString extension = filter.section(':', 0, 0);
    const QString output = outDir + "/" + QFileInfo(input).completeBaseName() + "." + extension;
    return QFile::exists(output) ? output : QString();
}

}  // namespace

class TestReportFile : public QObject {
    Q_OBJECT
private slots:
    void save_data();
    void save();
    void readOnlyFolder();
    void fullDisk_data();
    void fullDisk();
    void deviceIsNotReplaced();
    void libreOfficeReadsReport();
};

void TestReportFile::save_data() {
    QTest::addColumn<QString>("target");     // relative to a fresh folder
    QTest::addColumn<QByteArray>("existing"); // what the target holds before; null: nothing
    QTest::addColumn<bool>("written");

    QTest::newRow("new file") << "report.rtf" << QByteArray() << true;
    QTest::newRow("existing file replaced") << "report.rtf" << QByteArray("old contents, longer than the new")
                                            << true;
    QTest::newRow("name with blanks and non-ASCII") << QString::fromUtf8("S K r\u00E9port.rtf")
                                                    << QByteArray() << true;
    QTest::newRow("parent is a file") << "blocker/report.rtf" << QByteArray() << false;
    QTest::newRow("folder missing") << "missing/report.rtf" << QByteArray() << false;
    QTest::newRow("target is a folder") << "folder" << QByteArray() << false;
    QTest::newRow("empty path") << "" << QByteArray() << false;
}

void TestReportFile::save() {
    QFETCH(QString, target);
    QFETCH(QByteArray, existing);
    QFETCH(bool, written);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(WriteAll(dir.filePath("blocker"), "a file, not a folder"));
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    const QString path = target.isEmpty() ? QString() : dir.filePath(target);
    if (!existing.isNull()) QVERIFY(WriteAll(path, existing));
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    const std::string rtf = WriteRtf(BuildReport(SampleBirth(), SampleResults(), SampleTexts()));
    const SaveOutcome outcome = SaveReportFile(path, rtf);
    QCOMPARE(outcome.saved, written);
    QCOMPARE(outcome.reason.isEmpty(), written);  // a failure always says why

    QStringList after = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    if (written) {
        QCOMPARE(ReadAll(path), QByteArray::fromStdString(rtf));
        after.removeOne(QFileInfo(path).fileName());
        QStringList expected = before;
        expected.removeOne(QFileInfo(path).fileName());
        QCOMPARE(after, expected);  // no temporary file left beside it
    } else {
        QCOMPARE(after, before);  // nothing created, nothing removed
        QCOMPARE(ReadAll(dir.filePath("blocker")), QByteArray("a file, not a folder"));
        QVERIFY(QFileInfo(dir.filePath("folder")).isDir());
        QVERIFY(!QFile::exists(dir.filePath("missing")));
    }
}

// Saving into a folder the user may not write to fails without leaving anything, and
// an existing file there stays as it was; so does a read-only file.
void TestReportFile::readOnlyFolder() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (!PermissionsEnforced(dir.path()))
        QSKIP("file permissions are not enforced for this user (root); the failed write itself is "
              "covered by the 'parent is a file' and 'folder missing' rows of save()");

    QVERIFY(QDir(dir.path()).mkdir("locked"));
    const QString locked = dir.filePath("locked");
    QVERIFY(WriteAll(locked + "/old.rtf", "old"));
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));

    const std::string rtf = WriteRtf(BuildReport(SampleBirth(), SampleResults(), SampleTexts()));
    const bool savedNew = SaveReportFile(locked + "/new.rtf", rtf).saved;
    const bool savedOld = SaveReportFile(locked + "/old.rtf", rtf).saved;
    const QStringList left = QDir(locked).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY(!savedNew);
    QVERIFY(!savedOld);
    QCOMPARE(left, QStringList{"old.rtf"});
    QCOMPARE(ReadAll(locked + "/old.rtf"), QByteArray("old"));

    // A read-only file in a writable folder is refused too, though a rename could replace it.
    const QString readOnlyFile = dir.filePath("read-only.rtf");
    QVERIFY(WriteAll(readOnlyFile, "kept"));
    QVERIFY(QFile::setPermissions(readOnlyFile, QFile::ReadOwner));
    QVERIFY(!SaveReportFile(readOnlyFile, rtf).saved);
    QCOMPARE(ReadAll(readOnlyFile), QByteArray("kept"));
}

void TestReportFile::fullDisk_data() {
    QTest::addColumn<qint64>("room");  // bytes left free beyond the old file, before the save
    QTest::addColumn<bool>("written");
    QTest::newRow("no room at all") << qint64(0) << false;
    QTest::newRow("room for one page of it") << qint64(4096) << false;
    QTest::newRow("room for all of it") << qint64(40960) << true;
}

// A file system that runs out of room during the save: the old report stays byte for
// byte, no temporary file is left, and the reason is the system's.
void TestReportFile::fullDisk() {
    QFETCH(qint64, room);
    QFETCH(bool, written);

    // The program's own texts make a report of several pages.
    const std::string rtf = WriteRtf(BuildReport(SampleBirth(), SampleResults(), LoadInterpretationTexts()));
    QVERIFY2(rtf.size() > 8192 && rtf.size() < 36864, "the rows assume a report of 8 to 36 KiB");

    const SmallFileSystem disk("size=128k");
    if (!disk.mounted()) QSKIP(qPrintable(disk.whyNot()));
    const QByteArray old("{\\rtf1 the report saved before}");
    const QString path = disk.filePath("report.rtf");
    QVERIFY(WriteAll(path, old));
    QVERIFY(disk.Fill(room));
    const QStringList before = QDir(disk.filePath({})).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    const SaveOutcome outcome = SaveReportFile(path, rtf);
    QCOMPARE(outcome.saved, written);
    QCOMPARE(QDir(disk.filePath({})).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    if (written) {
        QVERIFY(outcome.reason.isEmpty());
        QCOMPARE(ReadAll(path), QByteArray::fromStdString(rtf));
    } else {
        QCOMPARE(outcome.reason, QString::fromLocal8Bit(std::strerror(ENOSPC)));
        QCOMPARE(ReadAll(path), old);
    }
}

// A device in the place of the file is refused before anything is written, and nothing
// is created beside it.
void TestReportFile::deviceIsNotReplaced() {
    const QString device = QStringLiteral("/dev/full");
    if (!QFileInfo::exists(device)) QSKIP("this system has no /dev/full");
    const QStringList before = QDir("/dev").entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    const SaveOutcome outcome = SaveReportFile(device, "{\\rtf1 }");
    QVERIFY(!outcome.saved);
    QVERIFY(!outcome.reason.isEmpty());
    QVERIFY(QFileInfo(device).exists() && !QFileInfo(device).isFile());
    QCOMPARE(QDir("/dev").entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), before);
}

// A real RTF reader gets the report's text and formatting back: LibreOffice converts
// a saved report to plain text and to HTML.
void TestReportFile::libreOfficeReadsReport() {
    QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty()) soffice = QStandardPaths::findExecutable("libreoffice");
    if (soffice.isEmpty()) QSKIP("LibreOffice (soffice) is not installed");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    BirthDetails birth = SampleBirth();
    birth.name = "  Jos\xC3\xA9 {K} \\ Rao ";
    const auto pieces = BuildReport(birth, SampleResults(), SampleTexts());
    const QString rtfPath = dir.filePath("report.rtf");
    QVERIFY(SaveReportFile(rtfPath, WriteRtf(pieces)).saved);

    QString expected;
    for (const ReportPiece& piece : pieces) expected += QString::fromStdString(piece.text);
    expected.replace("\r\n", "\n");

    const QString profile = dir.filePath("profile");
    const QString txt = ConvertWithLibreOffice(soffice, rtfPath, "txt:Text (encoded):UTF8",
                                               dir.path(), profile);
    QVERIFY2(!txt.isEmpty(), "LibreOffice did not convert the report to text");
    QString text = QString::fromUtf8(ReadAll(txt));
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    // LibreOffice's reader puts a six-per-em space before each blank of a run of
    // blanks; the blanks themselves all arrive.
    text.remove(QChar(0x2006));
    text.replace("\r\n", "\n");
    QCOMPARE(text, expected);

    const QString html = ConvertWithLibreOffice(soffice, rtfPath, "html", dir.path(), profile);
    QVERIFY2(!html.isEmpty(), "LibreOffice did not convert the report to HTML");
    QString markup = QString::fromUtf8(ReadAll(html));
    markup.replace(QRegularExpression("\\s+"), " ");

    // Each paragraph's plain text and its markup.
    QHash<QString, QString> paragraphs;
    const QRegularExpression paragraph("<p[^>]*>(.*?)</p>");
    const QRegularExpression tag("<[^>]*>");
    for (auto it = paragraph.globalMatch(markup); it.hasNext();) {
        const auto match = it.next();
        QString plain = match.captured(1);
        plain.remove(tag);
        paragraphs.insert(plain.trimmed(), match.captured(0));
    }
    struct Expectation {
        const char* text;
        const char* colour;
        bool bold;
        bool underlined;
    };
    const Expectation expectations[] = {
        {"You Details", "#800000", true, false},
        {"Vimshottari Dasha", "#800000", true, false},
        {"Vedic Details", "#800000", true, true},
        {"Surya Dasha", "#ff0000", true, true},
        {"Description 0 of Surya Dasha.", "#ff0000", true, true},
        {"Intro to the Vedic details.", "#000000", false, true},
    };
    for (const Expectation& e : expectations) {
        const QString p = paragraphs.value(e.text);
        QVERIFY2(!p.isEmpty(), e.text);
        QVERIFY2(p.contains(QString("color=\"%1\"").arg(e.colour), Qt::CaseInsensitive), qPrintable(p));
        QVERIFY2(p.contains("<b>") == e.bold, qPrintable(p));
        QVERIFY2(p.contains("<u>") == e.underlined, qPrintable(p));
    }
}

QTEST_GUILESS_MAIN(TestReportFile)
#include "tst_report_file.moc"
