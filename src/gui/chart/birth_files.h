#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

#include "core/birthfile/birth_record.h"

class QAction;

namespace orvanta {

class FrmMain;

// The birth-details window's files: "Open...", "Save..." and "Save As..." of its File
// menu. Opening fills the form from a file of the program's own format, .jhd or AAF (a
// list to choose from when the file holds several people) and attaches the file's place
// as the atlas does; a file that cannot be read leaves the form exactly as it was.
// Saving writes the form through the checked save, so a failed save keeps the old file.
class BirthFiles : public QObject {
    Q_OBJECT
public:
    // Finds the form's controls among the window's children by their object names.
    explicit BirthFiles(FrmMain* window);

    QAction* openAction() const { return open_; }
    QAction* saveAction() const { return save_; }
    QAction* saveAsAction() const { return saveAs_; }

    // Fills the form from the file; false, with a message shown, when it cannot.
    bool openFile(const QString& path);
    // Writes the form to the file, its format by the extension; false, with a message
    // shown, when nothing was written.
    bool saveFile(const QString& path);
    QString currentPath() const { return path_; }

    // The choice among several records and the file dialogs; tests replace them.
    std::function<std::optional<int>(const QStringList& labels)> chooseRecord;
    std::function<QString(bool forSaving, const QString& suggested)> chooseFile;

public slots:
    void mnuOpen_Click();
    void mnuSave_Click();
    void mnuSaveAs_Click();

private:
    birthfile::BirthRecord CurrentRecord() const;
    void Fill(const birthfile::ReadRecord& read);

    FrmMain* window_;
    QAction* open_ = nullptr;
    QAction* save_ = nullptr;
    QAction* saveAs_ = nullptr;
    QString path_;  // the file last opened or saved
    // What the window does not show but a save writes back: the precise settings and
    // the note of the file last opened.
    std::optional<PeriodsSettings> settings_;
    std::string note_;
};

}  // namespace orvanta
