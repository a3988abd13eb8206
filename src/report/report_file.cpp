#include "report/report_file.h"

#include <QFileInfo>
#include <QSaveFile>

namespace orvanta {

bool SaveReportFile(const QString& path, const std::string& contents) {
    if (path.isEmpty()) return false;
    const QFileInfo target(path);
    if (target.exists() && (!target.isFile() || !target.isWritable())) return false;

    QSaveFile file(path);
    // Never fall back to writing the target in place: that could leave half a file.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const auto size = static_cast<qint64>(contents.size());
    if (file.write(contents.data(), size) != size) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace orvanta
