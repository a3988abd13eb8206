#include "gui/chart/single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace orvanta {

QString SingleInstance::LockFilePath() {
    // The runtime directory is private to the user and to the login session (on Linux
    // $XDG_RUNTIME_DIR); where a platform has none, the user's temporary directory.
    QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (directory.isEmpty()) directory = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    QDir().mkpath(directory);
    return QDir(directory).filePath(QStringLiteral("orvanta-desktop.lock"));
}

SingleInstance::SingleInstance() : lock_(LockFilePath()) {
    lock_.setStaleLockTime(0);
    // Only a lock another instance holds refuses the start: where no lock can be made at all
    // (a full or read-only disk), nothing says another copy runs, so this one starts.
    first_ = lock_.tryLock(0) || lock_.error() != QLockFile::LockFailedError;
}

}  // namespace orvanta
