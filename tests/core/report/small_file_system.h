#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>

#if defined(Q_OS_LINUX)
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#endif

namespace orvanta::testing {

// A file's whole contents; empty when it cannot be read.
inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes `data` as the whole file; whether all of it went in.
inline bool WriteAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// A small tmpfs mounted on a fresh folder for one test and unmounted after it, to run
// out of room for real. Mounting needs Linux and the right to mount (root); whyNot()
// says why there is none.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const char* size) {
#if defined(Q_OS_LINUX)
        if (!dir_.isValid() || !QDir(dir_.path()).mkdir("small")) {
            whyNot_ = QStringLiteral("no temporary folder");
            return;
        }
        path_ = dir_.filePath("small");
        if (::mount("tmpfs", qPrintable(path_), "tmpfs", 0, size) != 0) {
            whyNot_ = QStringLiteral("cannot mount a small tmpfs here: ") + QString::fromLocal8Bit(std::strerror(errno));
            path_.clear();
        }
#else
        Q_UNUSED(size);
        whyNot_ = QStringLiteral("mounting a small file system for the test needs Linux");
#endif
    }
    ~SmallFileSystem() {
#if defined(Q_OS_LINUX)
        if (!path_.isEmpty()) ::umount2(qPrintable(path_), MNT_DETACH);
#endif
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return !path_.isEmpty(); }
    const QString& whyNot() const { return whyNot_; }
    QString filePath(const QString& name) const { return path_ + "/" + name; }

    // Fills the file system page by page with a file "filler", then gives `room` bytes
    // back. Returns whether the file system was full before that.
    bool Fill(qint64 room) const {
        QFile filler(filePath("filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
        const QByteArray page(4096, 'x');
        while (filler.write(page) == page.size()) {}
        return filler.resize(std::max<qint64>(0, filler.size() / page.size() * page.size() - room));
    }

private:
    QTemporaryDir dir_;
    QString path_;
    QString whyNot_;
};

}  // namespace orvanta::testing
