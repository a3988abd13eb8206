#include "core/sky/ephemeris_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <mutex>

namespace orvanta {
namespace {

struct PackageFile {
    QByteArray md5;      // lower-case hex
    QString installedAt;  // absolute path
    QString package;
};

// File name -> the package's record of it, from every installed package of the library's
// data (swe-basic-data, swe-standard-data, ...). Empty where there is no such list.
QHash<QString, PackageFile> ReadPackageLists() {
    QHash<QString, PackageFile> files;
#ifdef Q_OS_LINUX
    const QDir info(QStringLiteral("/var/lib/dpkg/info"));
    for (const QString& list : info.entryList({QStringLiteral("swe-*.md5sums")}, QDir::Files)) {
        QFile file(info.filePath(list));
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString package = list.section(QLatin1Char('.'), 0, 0).section(QLatin1Char(':'), 0, 0);
        while (!file.atEnd()) {
            // "<32 hex digits>  usr/share/libswe/ephe/semo_18.se1"
            const QByteArray line = file.readLine(4096).trimmed();
            const qsizetype gap = line.indexOf("  ");
            if (gap != 32) continue;
            const QString path = QLatin1Char('/') + QFile::decodeName(line.mid(gap + 2));
            if (!path.endsWith(QStringLiteral(".se1"))) continue;
            files.insert(QFileInfo(path).fileName(), {line.left(32).toLower(), path, package});
        }
    }
#endif
    return files;
}

FileVerdict Verify(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return {FileTrust::Missing, {}};
    const std::string name = QFile::encodeName(path).toStdString();
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        const QString reason = info.isFile() ? file.errorString() : QStringLiteral("not a regular file");
        return {FileTrust::Refused, "The ephemeris file " + name + " cannot be read (" + reason.toStdString() +
                                        "): make it readable, or point SE_EPHE_PATH at a folder whose files are."};
    }
    static const QHash<QString, PackageFile> lists = ReadPackageLists();
    const auto listed = lists.constFind(info.fileName());
    if (listed == lists.constEnd()) return {FileTrust::Unlisted, {}};
    const QFileInfo installed(listed->installedAt);
    const bool isThePackages = info.canonicalFilePath() == installed.canonicalFilePath();
    // Another size is another release of the files, or a truncated copy: nothing to hash.
    if (!isThePackages && (!installed.exists() || installed.size() != info.size())) {
        return {FileTrust::Unlisted, {}, true};
    }
    QCryptographicHash md5(QCryptographicHash::Md5);
    if (!md5.addData(&file) || file.error() != QFileDevice::NoError) {
        return {FileTrust::Refused, "The ephemeris file " + name + " cannot be read (" +
                                        file.errorString().toStdString() + "): replace it with an undamaged copy."};
    }
    if (md5.result().toHex() == listed->md5) return {FileTrust::Checksum, {}};
    const std::string package = listed->package.toStdString();
    return {FileTrust::Refused,
            "The ephemeris file " + name + " is damaged: its bytes differ from those the package " + package +
                " lists for " + QFile::encodeName(listed->installedAt).toStdString() + " (MD5 checksum); " +
                (isThePackages ? "reinstall the package (apt-get install --reinstall " + package + ")."
                               : "replace it with the package's file, or point SE_EPHE_PATH elsewhere."),
            true};
}

}  // namespace

FileVerdict VerifyEphemerisFile(const std::string& path) {
    static std::mutex lock;
    static QHash<QString, FileVerdict> verdicts;
    const QString key = QFile::decodeName(QByteArray::fromStdString(path));
    {
        const std::lock_guard guard(lock);
        if (const auto known = verdicts.constFind(key); known != verdicts.constEnd()) return *known;
    }
    FileVerdict verdict = Verify(key);
    const std::lock_guard guard(lock);
    verdicts.insert(key, verdict);
    return verdict;
}

}  // namespace orvanta
