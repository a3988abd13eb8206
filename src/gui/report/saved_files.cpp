#include "gui/report/saved_files.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QScopeGuard>

#include "core/report/report_file.h"
#include "gui/kit/appearance.h"
#include "gui/kit/message_box.h"
#include "gui/kit/pdf_in_memory.h"

namespace orvanta {

namespace {

// Qt's own save dialog, which can keep the user in it when the chosen folder does not
// exist, as the system dialogs do.
class SaveFileDialog : public QFileDialog {
public:
    SaveFileDialog() {
        setObjectName(QStringLiteral("saveFileDialog"));
        setOption(QFileDialog::DontUseNativeDialog, true);
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
    }

    void accept() override {
        const QStringList chosen = selectedFiles();
        if (!chosen.isEmpty()) {
            const QDir folder = QFileInfo(chosen.first()).absoluteDir();
            if (!folder.exists()) {
                ShowMessage(this, {"The folder " + QDir::toNativeSeparators(folder.path()).toStdString() +
                                       " does not exist.",
                                   Icon::Error});
                return;
            }
        }
        QFileDialog::accept();
    }
};

SaveFileDialog& SaveDialog() {
    static auto* const dialog = new SaveFileDialog;
    return *dialog;
}

}  // namespace

std::optional<QString> ChooseSavePath(QWidget* parent, const QString& filter, const QString& suffix) {
    SaveFileDialog& dialog = SaveDialog();
    // The dialog belongs to the caller only while it is open, so that closing the
    // caller does not destroy it.
    dialog.setParent(parent, dialog.windowFlags());
    const auto release = qScopeGuard([&dialog] { dialog.setParent(nullptr, dialog.windowFlags()); });
    dialog.setWindowTitle(QString::fromLatin1(kProgramTitle));
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.selectFile(QString());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.first();
}

bool SaveFileOrSay(QWidget* parent, const QString& path, const std::string& contents, const char* what) {
    const SaveOutcome outcome = SaveReportFile(path, contents);
    if (outcome.saved) return true;
    ShowMessage(parent, {std::string("The ") + what + " could not be saved as " +
                             QDir::toNativeSeparators(path).toStdString() + ".\n\n" + outcome.reason.toStdString(),
                         Icon::Error});
    return false;
}

bool SavePdfOrSay(QWidget* parent, const QString& path, const QPageLayout& layout, int resolution, const QString& title,
                  const std::function<bool(QPagedPaintDevice&)>& paint, const char* drawn, const char* saved) {
    const auto pdf = DrawPdf(layout, resolution, title, paint);
    if (!pdf) {
        ShowMessage(parent, {std::string("The ") + drawn + " could not be drawn as a PDF.", Icon::Error});
        return false;
    }
    return SaveFileOrSay(parent, path, pdf->toStdString(), saved);
}

}  // namespace orvanta
