// The program runs once per user and desktop: a second start is refused and leaves the
// first alone, and a lock left behind by a crashed instance does not block the next start.
// Runs the built program itself, on the offscreen platform, with a private runtime directory.

#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>

#include "../../core/report/small_file_system.h"
#include "gui/chart/single_instance.h"

using namespace orvanta;

namespace {

constexpr char kRefusal[] = "Application is already running";

QString ProgramPath() {
    const QString path = QStringLiteral(ORVANTA_PROGRAM_PATH);
    return QFileInfo::exists(path) ? path : QString();
}

qint64 LockHolder() {
    QLockFile lock(SingleInstance::LockFilePath());
    qint64 pid = 0;
    QString host, program;
    return lock.getLockInfo(&pid, &host, &program) ? pid : 0;
}

// Waits until `condition` holds, at most `ms`.
template <typename Condition>
bool WaitFor(Condition condition, int ms = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms) return false;
        QTest::qWait(20);
    }
    return true;
}

}  // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void secondStartRefused();
    void crashedInstanceDoesNotBlock();
    void noRoomForTheLockDoesNotBlock();

private:
    QProcess* Start();
    // Whether the process has written `text` on its error stream so far.
    bool Says(QProcess* process, const char* text) {
        errors_[process] += process->readAllStandardError();
        return errors_[process].contains(text);
    }

    QTemporaryDir runtime_;
    QString program_;
    std::vector<std::unique_ptr<QProcess>> processes_;
    std::map<QProcess*, QByteArray> errors_;
};

void TestSingleInstance::initTestCase() {
    program_ = ProgramPath();
    QVERIFY2(!program_.isEmpty(), "the program is built next to the tests");
    QVERIFY(runtime_.isValid());
    QFile::setPermissions(runtime_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());  // for this test and the programs it starts
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QVERIFY(SingleInstance::LockFilePath().startsWith(runtime_.path()));
}

QProcess* TestSingleInstance::Start() {
    processes_.push_back(std::make_unique<QProcess>());
    QProcess* process = processes_.back().get();
    process->setProgram(program_);
    process->start();
    return process;
}

void TestSingleInstance::cleanup() {
    for (auto& process : processes_) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
    processes_.clear();
    errors_.clear();
    QFile::remove(SingleInstance::LockFilePath());
}

void TestSingleInstance::secondStartRefused() {
    QProcess* first = Start();
    QVERIFY(first->waitForStarted());
    QVERIFY2(WaitFor([&] { return LockHolder() == first->processId(); }), "the first instance takes the lock");

    QProcess* second = Start();
    QVERIFY(second->waitForStarted());
    // The second instance says why it does not start and waits for its message to be read;
    // the offscreen platform has nobody to press OK, so the test ends it.
    QVERIFY2(WaitFor([&] { return Says(second, kRefusal); }), "the second start is refused with the message");
    QCOMPARE(first->state(), QProcess::Running);
    QCOMPARE(LockHolder(), first->processId());
    second->kill();
    QVERIFY(second->waitForFinished());
    QTest::qWait(300);
    QCOMPARE(first->state(), QProcess::Running);
    QCOMPARE(LockHolder(), first->processId());
    QVERIFY(!Says(first, kRefusal));
}

void TestSingleInstance::crashedInstanceDoesNotBlock() {
    QProcess* crashed = Start();
    QVERIFY(crashed->waitForStarted());
    QVERIFY(WaitFor([&] { return LockHolder() == crashed->processId(); }));
    crashed->kill();  // no chance to remove its lock
    QVERIFY(crashed->waitForFinished());
    QVERIFY2(QFileInfo::exists(SingleInstance::LockFilePath()), "the crash leaves the lock file behind");

    QProcess* next = Start();
    QVERIFY(next->waitForStarted());
    QVERIFY2(WaitFor([&] { return LockHolder() == next->processId(); }), "the next start takes the stale lock over");
    QTest::qWait(300);
    QCOMPARE(next->state(), QProcess::Running);
    QVERIFY(!Says(next, kRefusal));

    QProcess* another = Start();  // and it is now the one instance
    QVERIFY(another->waitForStarted());
    QVERIFY(WaitFor([&] { return Says(another, kRefusal); }));
    QCOMPARE(LockHolder(), next->processId());
}

// A runtime folder that cannot be made on a full disk holds no lock: the program starts
// all the same instead of saying that it is already running.
void TestSingleInstance::noRoomForTheLockDoesNotBlock() {
    const testing::SmallFileSystem disk("size=16k");
    if (!disk.mounted()) QSKIP(qPrintable(disk.whyNot()));
    QVERIFY(disk.Fill(0));
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", disk.filePath("runtime").toLocal8Bit());
    const auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", runtime); });
    QProcess* process = Start();
    QVERIFY(process->waitForStarted());
    QTest::qWait(1000);
    QCOMPARE(process->state(), QProcess::Running);
    QVERIFY(!Says(process, kRefusal));
}

QTEST_MAIN(TestSingleInstance)
#include "tst_single_instance.moc"
