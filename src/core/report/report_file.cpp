#include "core/report/report_file.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <system_error>
#include <utility>

#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace orvanta {

namespace {

QString SystemReason(std::errc code) {
    return QString::fromStdString(std::generic_category().message(static_cast<int>(code)));
}

// Asks the system to put the file's bytes on the disk; some file systems report a full
// disk only here. Returns 0 or the system's error number. A file Qt opened without a C
// descriptor (-1, as on Windows) is left to commit(), which flushes it itself.
int SyncToDisk(int handle) {
    if (handle < 0) return 0;
#if defined(Q_OS_WIN)
    return _commit(handle) == 0 ? 0 : errno;
#else
    return ::fsync(handle) == 0 ? 0 : errno;
#endif
}

SaveOutcome Failed(QString reason) { return {false, std::move(reason)}; }

}  // namespace

SaveOutcome SaveReportFile(const QString& path, const std::string& contents) {
    if (path.isEmpty()) return Failed(SystemReason(std::errc::no_such_file_or_directory));
    const QFileInfo target(path);
    if (target.exists()) {
        if (target.isDir()) return Failed(SystemReason(std::errc::is_a_directory));
        // A device or a pipe cannot be replaced by a file, and must not be.
        if (!target.isFile()) return Failed(QStringLiteral("Not a regular file"));
        if (!target.isWritable()) return Failed(SystemReason(std::errc::permission_denied));
    }

    QSaveFile file(path);
    // Never fall back to writing the target in place: that could leave half a file.
    file.setDirectWriteFallback(false);
    // Unbuffered, so that every write reaches the system at once and reports its error
    // there: a buffered write succeeds and the full disk only shows when the buffer is
    // flushed inside commit(), which then still puts the short file in place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return Failed(file.errorString());
    const char* next = contents.data();
    auto left = static_cast<qint64>(contents.size());
    while (left > 0) {
        // A write cut short by a full disk is tried again for the rest, which then fails
        // with the system's reason.
        const qint64 written = file.write(next, left);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return Failed(reason);
        }
        next += written;
        left -= written;
    }
    if (const int error = SyncToDisk(file.handle()); error != 0) {
        file.cancelWriting();
        return Failed(QString::fromStdString(std::generic_category().message(error)));
    }
    if (!file.commit()) return Failed(file.errorString());
    return {true, {}};
}

}  // namespace orvanta
